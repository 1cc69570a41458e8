#include "model/projectfile.h"

#include "model/textlimits.h"

#include "platform/textcodec.h"

#include <QStringList>

namespace qm {

QString Quotes(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString RemoveQuotes(const QString &line)
{
    if (line.size() < 2)
        return QString();
    return line.mid(1, line.size() - 2);
}

namespace {

const QString kVersionMarker = QStringLiteral("Quillmap Version:");
const QString kGlobalsMarker = QStringLiteral("Globals:");
const QString kBackgroundMarker = QStringLiteral("Background:");
const QString kButtonMarker = QStringLiteral("Button:");

QString boolText(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}


// A multi-line value: every line break (CR LF, CR or LF) becomes CR LF, as
// the reader joins lines with it, and a line other than the last that ends
// with a double quote gets a space, since the reader ends the value at such
// a line.
QString multiLine(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    for (qsizetype j = 0; j + 1 < lines.size(); ++j)
        if (lines.at(j).endsWith(QLatin1Char('"')))
            lines[j] += QLatin1Char(' ');
    return lines.join(QLatin1String("\r\n"));
}

class ValueList {
public:
    void line(const QString &field, const QString &text) { m_values.append({field, oneLine(text)}); }
    void lines(const QString &field, const QString &text) { m_values.append({field, multiLine(text)}); }
    void number(const QString &field, int n) { line(field, QString::number(n)); }
    void colour(const QString &field, TColor c) { number(field, qint32(c)); }
    void boolean(const QString &field, bool b) { line(field, boolText(b)); }
    void marker(const QString &marker) { line(QStringLiteral("file layout"), marker); }
    QList<StoredValue> take() { return std::move(m_values); }

private:
    QList<StoredValue> m_values;
};

struct Corrupt {};

// Reads the values of a file line by line, counting the values it has read
// whole, so that a reading that stops can tell where.
class Reader {
public:
    explicit Reader(const QString &text)
    {
        m_lines = text.split(QLatin1Char('\n'));
        // The line end of the last line is no line of its own.
        if (!m_lines.isEmpty() && m_lines.constLast().isEmpty())
            m_lines.removeLast();
        for (QString &l : m_lines)
            if (l.endsWith(QLatin1Char('\r')))
                l.chop(1);
    }

    bool atEnd() const { return m_next >= m_lines.size(); }
    qsizetype valuesRead() const { return m_values; }

    // A value's line as it stands, quotes included.
    QString raw() { return counted(line()); }

    QString text() { return counted(RemoveQuotes(line())); }

    int number()
    {
        bool ok = false;
        const int n = RemoveQuotes(line()).toInt(&ok, 10);
        if (!ok)
            throw Corrupt{};
        ++m_values;
        return n;
    }

    void marker(const QString &expected)
    {
        if (RemoveQuotes(line()) != expected)
            throw Corrupt{};
        ++m_values;
    }

    // Any version 1.x is read.
    void version()
    {
        if (!line().contains(QLatin1String("1.")))
            throw Corrupt{};
        ++m_values;
    }

    // A value that may span lines: it ends with the first non-empty line
    // that ends with a double quote. A first line that is a lone double
    // quote opens a value whose first line is empty: no complete value is
    // that short, and taking it for one would lose the rest of the text.
    QString multiLine()
    {
        QString joined = line();
        if (joined.size() >= 2 && joined.endsWith(QLatin1Char('"')))
            return counted(RemoveQuotes(joined));
        for (;;) {
            const QString next = line();
            joined += QLatin1String("\r\n") + next;
            if (!next.isEmpty() && next.endsWith(QLatin1Char('"')))
                break;
        }
        return counted(RemoveQuotes(joined));
    }

private:
    QString line()
    {
        if (atEnd())
            throw Corrupt{};
        return m_lines.at(m_next++);
    }

    QString counted(const QString &value)
    {
        ++m_values;
        return value;
    }

    QStringList m_lines;
    qsizetype m_next = 0;
    qsizetype m_values = 0;
};

// Reads the whole file into `d`; throws Corrupt where it cannot go on,
// leaving in `d` what it has read so far.
void readInto(Reader &r, Design &d)
{
    r.marker(kVersionMarker);
    r.version();
    r.marker(kGlobalsMarker);

    // Geometry is stored Top, Left, Height, Width.
    auto readRect = [&r] {
        const int top = r.number();
        const int left = r.number();
        const int height = r.number();
        const int width = r.number();
        return QRect(left, top, width, height);
    };
    d.TitleRect = readRect();
    d.BlurbRect = readRect();

    d.BackgroundColor = TColor(r.number());
    d.TextColor = TColor(r.number());
    d.TitleFontSize = r.number();
    d.TitleFont = r.text();
    d.TitleStyle = r.text();
    applyStyleName(d.TitleAreaStyle, d.TitleStyle);
    d.BlurbFontSize = r.number();
    d.BlurbFont = r.text();
    d.BlurbStyle = r.text();
    applyStyleName(d.BlurbAreaStyle, d.BlurbStyle);
    d.ShowTitleAndBlurb = r.text() == QLatin1String("true");

    r.marker(kBackgroundMarker);
    d.BgTitleText = r.text();
    d.BgBlurbText = r.multiLine();
    d.BlurbImageName = r.text();
    // The name the Background dialog's preview would report, as for the
    // buttons' pictures: the name as typed would make OK with nothing
    // changed a change.
    d.BlurbImagePath = d.BlurbImageName.toUpper();
    d.StretchBlurbImages = r.raw() == QLatin1String("\"true\"");

    while (!r.atEnd()) {
        r.marker(kButtonMarker);
        ButtonData &b = d.Buttons.emplaceBack();
        b.Tag = int(d.Buttons.size() - 1);
        b.Top = r.number();
        b.Left = r.number();
        b.Height = r.number();
        b.Width = r.number();
        b.DefImageName = r.text();
        b.DefImagePath = b.DefImageName.toUpper();
        b.MouseOverImage = r.text();
        b.MouseOverImagePath = b.MouseOverImage.toUpper();
        b.TitleText = r.text();
        b.BlurbText = r.multiLine();
        b.MouseOverBlurbImage = r.text();
        b.LinkURL = r.text();
        // Older files have no URLRelative line: then this is the sound.
        QString next = r.text();
        if (next == QLatin1String("true") || next == QLatin1String("false")) {
            b.URLRelative = next == QLatin1String("true");
            next = r.text();
        } else {
            b.URLRelative = false;
        }
        b.MouseOverSound = next;
        b.Target = r.text();
    }
}

} // namespace

QList<StoredValue> storedValues(const Design &d, const LineBreaker &lines)
{
    ValueList v;
    v.marker(kVersionMarker);
    v.line(QStringLiteral("file version"), d.FileVersion);
    v.marker(kGlobalsMarker);
    auto rect = [&v](const QString &area, const QRect &r) {
        v.number(area + QLatin1String(" top"), r.top());
        v.number(area + QLatin1String(" left"), r.left());
        v.number(area + QLatin1String(" height"), r.height());
        v.number(area + QLatin1String(" width"), r.width());
    };
    rect(QStringLiteral("Title area"), d.TitleRect);
    rect(QStringLiteral("Blurb area"), d.BlurbRect);
    v.colour(QStringLiteral("background colour"), d.BackgroundColor);
    v.colour(QStringLiteral("text colour"), d.TextColor);
    v.number(QStringLiteral("Title font size"), d.TitleFontSize);
    v.line(QStringLiteral("Title font"), d.TitleFont);
    v.line(QStringLiteral("Title font style"), d.TitleStyle);
    v.number(QStringLiteral("Blurb font size"), d.BlurbFontSize);
    v.line(QStringLiteral("Blurb font"), d.BlurbFont);
    v.line(QStringLiteral("Blurb font style"), d.BlurbStyle);
    v.boolean(QStringLiteral("Use and Show Title and Blurb setting"), d.ShowTitleAndBlurb);

    v.marker(kBackgroundMarker);
    v.line(QStringLiteral("background's Title Text"), lines.firstLine(TextArea::Title, d.BgTitleText));
    v.lines(QStringLiteral("background's Blurb Text"), d.BgBlurbText);
    v.line(QStringLiteral("background's Blurb Image"), d.BlurbImageName);
    v.boolean(QStringLiteral("Blurb image fitting"), d.StretchBlurbImages);

    for (qsizetype i = 0; i < d.Buttons.size(); ++i) {
        const ButtonData &b = d.Buttons.at(i);
        const QString of = QStringLiteral(" of button %1").arg(i + 1);
        v.marker(kButtonMarker);
        v.number(QLatin1String("From Top") + of, b.Top);
        v.number(QLatin1String("From Left") + of, b.Left);
        v.number(QLatin1String("Height") + of, b.Height);
        v.number(QLatin1String("Width") + of, b.Width);
        v.line(QLatin1String("Image") + of, b.DefImageName);
        v.line(QLatin1String("New Image") + of, b.MouseOverImage);
        v.line(QLatin1String("Title Text") + of, lines.firstLine(TextArea::Title, b.TitleText));
        v.lines(QLatin1String("Blurb Text") + of, b.BlurbText);
        v.line(QLatin1String("Blurb Image") + of, b.MouseOverBlurbImage);
        v.line(QLatin1String("Click URL") + of, b.LinkURL);
        v.boolean(QLatin1String("Make URL Relative setting") + of, b.URLRelative);
        v.line(QLatin1String("AU Sound") + of, b.MouseOverSound);
        v.line(QLatin1String("Target") + of, b.Target);
    }
    return v.take();
}

QByteArray projectBytes(const QList<StoredValue> &values)
{
    QString text;
    for (const StoredValue &v : values)
        text += Quotes(v.text) + QLatin1String("\r\n");
    return text.toUtf8();
}

QByteArray writeProject(const Design &d, const LineBreaker &lines)
{
    return projectBytes(storedValues(d, lines));
}

std::optional<Design> readProject(const QByteArray &bytes, const Design &base)
{
    Design d = base;
    d.Buttons.clear();
    Reader r(decode8Bit(bytes));
    try {
        readInto(r, d);
    } catch (const Corrupt &) {
        return std::nullopt;
    }
    return d;
}

std::optional<QString> fieldNotReadBack(const QByteArray &bytes, const QList<StoredValue> &values,
                                        const Design &base)
{
    // Open's own limits hold here too: a file Save writes is a file Open reads.
    if (bytes.size() > MaxProjectFileBytes)
        return QStringLiteral("file size (%1 bytes, at most %2)").arg(bytes.size()).arg(MaxProjectFileBytes);
    // Open's own limits hold here too: a file Save writes is a file Open reads.
    if (bytes.size() > MaxProjectFileBytes)
        return QStringLiteral("file size (%1 bytes, at most %2)").arg(bytes.size()).arg(MaxProjectFileBytes);
    Design d = base;
    d.Buttons.clear();
    Reader r(decode8Bit(bytes));
    bool whole = true;
    try {
        readInto(r, d);
    } catch (const Corrupt &) {
        whole = false;
    }
    // What was read, in the form it was written: a Title read back is a
    // single line already, so it is taken as it is.
    static const FixedWidthLineBreaker asRead;
    const QList<StoredValue> back = storedValues(d, asRead);
    const qsizetype read = qMin(r.valuesRead(), back.size());
    qsizetype i = 0;
    for (; i < read && i < values.size(); ++i)
        if (back.at(i).text != values.at(i).text)
            return values.at(i).field;
    if (whole && back.size() == values.size()) {
        const QString overlong = overlongField(d);
        return overlong.isEmpty() ? std::nullopt : std::optional<QString>(overlong);
    }
    // Reading stopped early, or found more than was written.
    return i < values.size() ? values.at(i).field : QStringLiteral("file layout");
}

QString oneLine(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return text.left(i);
    }
    return text;
}

} // namespace qm
