#include "model/projectfile.h"

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

class Writer {
public:
    void value(const QString &v) { m_text += Quotes(v) + QLatin1String("\r\n"); }
    void number(int n) { value(QString::number(n)); }
    void colour(TColor c) { number(qint32(c)); }
    void boolean(bool b) { value(boolText(b)); }
    QByteArray bytes() const { return m_text.toUtf8(); }

private:
    QString m_text;
};

struct Corrupt {};

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

    QString line()
    {
        if (atEnd())
            throw Corrupt{};
        return m_lines.at(m_next++);
    }

    QString text() { return RemoveQuotes(line()); }

    int number()
    {
        bool ok = false;
        const int n = text().toInt(&ok, 10);
        if (!ok)
            throw Corrupt{};
        return n;
    }

    void marker(const QString &expected)
    {
        if (text() != expected)
            throw Corrupt{};
    }

    // A value that may span lines: it ends with the first non-empty line
    // that ends with a double quote. A first line that is a lone double
    // quote opens a value whose first line is empty: no complete value is
    // that short, and taking it for one would lose the rest of the text.
    QString multiLine()
    {
        QString joined = line();
        if (joined.size() >= 2 && joined.endsWith(QLatin1Char('"')))
            return RemoveQuotes(joined);
        for (;;) {
            const QString next = line();
            joined += QLatin1String("\r\n") + next;
            if (!next.isEmpty() && next.endsWith(QLatin1Char('"')))
                break;
        }
        return RemoveQuotes(joined);
    }

private:
    QStringList m_lines;
    qsizetype m_next = 0;
};

} // namespace

QByteArray writeProject(const Design &d, const LineBreaker &lines)
{
    Writer w;
    w.value(kVersionMarker);
    w.value(d.FileVersion);
    w.value(kGlobalsMarker);
    w.number(d.TitleRect.top());
    w.number(d.TitleRect.left());
    w.number(d.TitleRect.height());
    w.number(d.TitleRect.width());
    w.number(d.BlurbRect.top());
    w.number(d.BlurbRect.left());
    w.number(d.BlurbRect.height());
    w.number(d.BlurbRect.width());
    w.colour(d.BackgroundColor);
    w.colour(d.TextColor);
    w.number(d.TitleFontSize);
    w.value(d.TitleFont);
    w.value(d.TitleStyle);
    w.number(d.BlurbFontSize);
    w.value(d.BlurbFont);
    w.value(d.BlurbStyle);
    w.boolean(d.ShowTitleAndBlurb);

    w.value(kBackgroundMarker);
    w.value(lines.firstLine(TextArea::Title, d.BgTitleText));
    w.value(d.BgBlurbText);
    w.value(d.BlurbImageName);
    w.boolean(d.StretchBlurbImages);

    for (const ButtonData &b : d.Buttons) {
        w.value(kButtonMarker);
        w.number(b.Top);
        w.number(b.Left);
        w.number(b.Height);
        w.number(b.Width);
        w.value(b.DefImageName);
        w.value(b.MouseOverImage);
        w.value(lines.firstLine(TextArea::Title, b.TitleText));
        w.value(b.BlurbText);
        w.value(b.MouseOverBlurbImage);
        w.value(b.LinkURL);
        w.boolean(b.URLRelative);
        w.value(b.MouseOverSound);
        w.value(b.Target);
    }
    return w.bytes();
}

std::optional<Design> readProject(const QByteArray &bytes, const Design &base)
{
    Design d = base;
    d.Buttons.clear();
    Reader r(decode8Bit(bytes));
    try {
        r.marker(kVersionMarker);
        if (!r.line().contains(QLatin1String("1.")))
            throw Corrupt{};
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
        d.BlurbImagePath = d.BlurbImageName;
        d.StretchBlurbImages = r.line() == QLatin1String("\"true\"");

        while (!r.atEnd()) {
            r.marker(kButtonMarker);
            ButtonData b;
            b.Tag = int(d.Buttons.size());
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
            d.Buttons.append(b);
        }
    } catch (const Corrupt &) {
        return std::nullopt;
    }
    d.Saved = true;
    return d;
}

} // namespace qm
