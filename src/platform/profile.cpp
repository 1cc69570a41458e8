#include "platform/profile.h"

#include "platform/fileops.h"
#include "platform/textcodec.h"

#include <QFile>
#include <QStringList>

namespace qm::profile {

namespace {

QStringList readLines(const QString &fileName, bool *ok = nullptr)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    const QString text = decode8Bit(f.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// "[name]" → name, or a null string when the line is no section header.
QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return QString();
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return QString();
    return t.mid(1, close - 1).trimmed();
}

// Splits "key = value"; false for lines without '=' and for comments.
bool splitEntry(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = t.left(eq).trimmed();
    *value = t.mid(eq + 1).trimmed();
    return true;
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString readString(const QString &fileName, const QString &section, const QString &key,
                   const QString &defaultValue, int bufferSize)
{
    const QStringList lines = readLines(fileName);
    bool inSection = false;
    for (const QString &line : lines) {
        const QString name = sectionName(line);
        if (!name.isNull()) {
            if (inSection)
                break; // the first section of that name wins
            inSection = same(name, section);
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(line, &k, &v) && same(k, key))
            return v.left(qMax(0, bufferSize - 1));
    }
    return defaultValue.left(qMax(0, bufferSize - 1));
}

int readInt(const QString &fileName, const QString &section, const QString &key, int defaultValue)
{
    const QString marker = QStringLiteral("\x01missing");
    const QString text = readString(fileName, section, key, marker);
    if (text == marker)
        return defaultValue;
    bool ok = false;
    int value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = int(text.mid(2).toUInt(&ok, 16));
    else
        value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool writeString(const QString &fileName, const QString &section, const QString &key,
                 const QString &value)
{
    QStringList lines = readLines(fileName);
    const QString entry = key + QLatin1Char('=') + value;

    qsizetype sectionStart = -1; // index of the header line
    qsizetype sectionEnd = -1;   // index after the last line of the section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionName(lines.at(i));
        if (name.isNull())
            continue;
        if (sectionStart >= 0) {
            sectionEnd = i;
            break;
        }
        if (same(name, section))
            sectionStart = i;
    }
    if (sectionStart >= 0 && sectionEnd < 0)
        sectionEnd = lines.size();

    bool done = false;
    if (sectionStart >= 0) {
        for (qsizetype i = sectionStart + 1; i < sectionEnd; ++i) {
            QString k, v;
            if (splitEntry(lines.at(i), &k, &v) && same(k, key)) {
                lines[i] = entry;
                done = true;
                break;
            }
        }
        if (!done) {
            // Add after the last non-empty line of the section.
            qsizetype at = sectionEnd;
            while (at > sectionStart + 1 && lines.at(at - 1).trimmed().isEmpty())
                --at;
            lines.insert(at, entry);
            done = true;
        }
    } else {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    }

    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return writeFileAtomically(fileName, out, nullptr);
}

} // namespace qm::profile
