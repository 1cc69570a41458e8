#include "platform/textcodec.h"

#include <QStringDecoder>

namespace qm {

namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five bytes the code page leaves undefined,
// which are taken as the C1 control of the same number.
const char16_t kHighControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};
} // namespace

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = dec.decode(bytes);
    Q_UNUSED(decoded);
    return !dec.hasError();
}

QString decodeWindows1252(const QByteArray &bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes.at(i));
        if (c >= 0x80 && c < 0xA0 && kHighControls[c - 0x80] != 0)
            d[i] = QChar(kHighControls[c - 0x80]);
        else
            d[i] = QChar(char16_t(c));
    }
    return out;
}

QByteArray encodeWindows1252(const QString &text, bool *ok)
{
    QByteArray out;
    out.reserve(text.size());
    bool all = true;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        int byte = -1;
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            byte = u;
        } else {
            for (int i = 0; i < 32; ++i) {
                // Undefined bytes stand for the C1 control of the same number.
                const char16_t mapped = kHighControls[i] ? kHighControls[i] : char16_t(0x80 + i);
                if (mapped == u) {
                    byte = 0x80 + i;
                    break;
                }
            }
        }
        if (byte < 0) {
            all = false;
            byte = '?';
        }
        out += char(byte);
    }
    if (ok)
        *ok = all;
    return out;
}

QString decode8Bit(const QByteArray &bytes)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = dec.decode(bytes);
    if (!dec.hasError())
        return s;
    return decodeWindows1252(bytes);
}

} // namespace qm
