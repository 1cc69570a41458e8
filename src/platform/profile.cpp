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

// A value enclosed in one pair of matching double or single quotes is read
// without them, as the Windows profile functions read it.
QString unquotedValue(const QString &value)
{
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        return value.mid(1, value.size() - 2);
    return value;
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
            return unquotedValue(v).left(qMax(0, bufferSize - 1));
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

namespace {

// One line of a file as it lies on the disk: its bytes and the line end that
// follows them ("\r\n", "\n", or nothing for a last line without one).
struct RawLine {
    QByteArray bytes;
    QByteArray end;
};

QList<RawLine> splitRawLines(const QByteArray &data)
{
    QList<RawLine> lines;
    qsizetype from = 0;
    while (from < data.size()) {
        const qsizetype nl = data.indexOf('\n', from);
        if (nl < 0) {
            lines.append({data.mid(from), QByteArray()});
            break;
        }
        const bool cr = nl > from && data.at(nl - 1) == '\r';
        lines.append({data.mid(from, nl - from - (cr ? 1 : 0)), cr ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n")});
        from = nl + 1;
    }
    return lines;
}

} // namespace

bool writeString(const QString &fileName, const QString &section, const QString &key,
                 const QString &value, QString *error)
{
    QByteArray data;
    QFile f(fileName);
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly)) {
            if (error)
                *error = f.errorString();
            return false;
        }
        data = f.readAll();
        f.close();
    }
    // Every line the write does not concern keeps its bytes: its text, its
    // code page and its line end. New lines take the file's own line end
    // (a new file gets CR LF, as Windows writes them).
    QList<RawLine> lines = splitRawLines(data);
    bool utf8 = isValidUtf8(data);
    QByteArray lineEnd = QByteArrayLiteral("\r\n");
    for (const RawLine &l : std::as_const(lines)) {
        if (!l.end.isEmpty()) {
            lineEnd = l.end;
            break;
        }
    }
    auto text = [&utf8](const QByteArray &bytes) { return utf8 ? QString::fromUtf8(bytes) : decodeWindows1252(bytes); };

    QByteArray entry;
    const QString entryText = key + QLatin1Char('=') + value;
    if (utf8) {
        entry = entryText.toUtf8();
    } else {
        bool fits = false;
        entry = encodeWindows1252(entryText, &fits);
        if (!fits) {
            // The value needs more than the file's code page: the whole file
            // moves to UTF-8, every line keeping its text.
            for (RawLine &l : lines)
                l.bytes = decodeWindows1252(l.bytes).toUtf8();
            entry = entryText.toUtf8();
            utf8 = true;
        }
    }

    qsizetype sectionStart = -1; // index of the header line
    qsizetype sectionEnd = -1;   // index after the last line of the section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionName(text(lines.at(i).bytes));
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

    auto insertAt = [&](qsizetype at, const QByteArray &bytes) {
        if (at > 0 && lines.at(at - 1).end.isEmpty())
            lines[at - 1].end = lineEnd;
        lines.insert(at, RawLine{bytes, lineEnd});
    };

    bool replaced = false;
    if (sectionStart >= 0) {
        for (qsizetype i = sectionStart + 1; i < sectionEnd; ++i) {
            QString k, v;
            if (splitEntry(text(lines.at(i).bytes), &k, &v) && same(k, key)) {
                lines[i].bytes = entry;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            // Added after the last non-empty line of the section.
            qsizetype at = sectionEnd;
            while (at > sectionStart + 1 && text(lines.at(at - 1).bytes).trimmed().isEmpty())
                --at;
            insertAt(at, entry);
        }
    } else {
        const QByteArray header = '[' + (utf8 ? section.toUtf8() : encodeWindows1252(section)) + ']';
        insertAt(lines.size(), header);
        insertAt(lines.size(), entry);
    }

    QByteArray out;
    out.reserve(data.size() + entry.size() + 16);
    for (const RawLine &l : std::as_const(lines))
        out += l.bytes + l.end;
    return writeFileAtomically(fileName, out, error);
}

} // namespace qm::profile
