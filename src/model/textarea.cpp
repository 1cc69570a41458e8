#include "model/textarea.h"

#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <QtMath>
#include <climits>

namespace qm {

namespace {

// No face draws text taller than this usefully; beyond it a size from a
// damaged file would only make the layout slow.
constexpr double kMaxPixels = 4096;

// The characters at which an area starts a new paragraph of its own: the
// line feed, the Unicode paragraph separator and the two frame marks a
// plain text area turns into breaks.
bool isParagraphBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

} // namespace

QString appletFontName(const QString &designFont)
{
    if (designFont == QLatin1String("Courier"))
        return QStringLiteral("courier");
    if (designFont == QLatin1String("Helvetica"))
        return QStringLiteral("helvetica");
    if (designFont == QLatin1String("Dialog"))
        return QStringLiteral("dialog");
    if (designFont == QLatin1String("Times Roman"))
        return QStringLiteral("timesroman");
    if (designFont == QLatin1String("Symbol"))
        return QStringLiteral("symbol");
    return QStringLiteral("timesroman");
}

namespace {

const area::RuntimeFace &runtimeFace(const QString &designFont)
{
    const QString applet = appletFontName(designFont);
    for (const area::RuntimeFace &face : area::RuntimeFaces) {
        if (applet == QLatin1String(face.appletName))
            return face;
    }
    return area::RuntimeFaces[0];
}

} // namespace

QString areaFamily(const QString &designFont)
{
    return QString::fromLatin1(runtimeFace(designFont).family);
}

int lineStep(const QString &designFont, int pixels)
{
    const area::RuntimeFace &face = runtimeFace(designFont);
    const qint64 px = qBound(1, pixels, int(kMaxPixels));
    const auto sixtyFourths = [px](int units) { return (qint64(units) * px * 64 + 1024) / 2048; };
    const qint64 sum = sixtyFourths(face.ascent) + sixtyFourths(face.descent) + sixtyFourths(face.lineGap);
    return int((sum + 63) / 64);
}

int fontPixels(int points)
{
    return int(qBound(1.0, double(points) + 2.0, kMaxPixels));
}

QFont areaFont(const QString &designFont, int points, AreaStyle style)
{
    QFont f(areaFamily(designFont));
    f.setPixelSize(fontPixels(points));
    f.setBold(style.bold);
    f.setItalic(style.italic);
    return f;
}

QList<QRect> areaInk(const QFont &font, int step, const QStringList &lines)
{
    const int inset = area::FrameWidth + area::DocumentMargin;
    QList<QRect> ink;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QTextLayout layout(lines.at(i), font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setLineWidth(qreal(INT_MAX / 4));
        layout.endLayout();
        const int width = line.isValid() ? int(std::ceil(line.naturalTextWidth())) + 2 * step : 0;
        QImage canvas(qMax(1, width), qMax(1, 2 * step), QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        {
            QPainter p(&canvas);
            p.setPen(Qt::black);
            layout.draw(&p, QPointF(step, 0));
        }
        QRect drawn;
        for (int y = 0; y < canvas.height(); ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                if (qAlpha(row[x]) >= 64)
                    drawn |= QRect(x, y, 1, 1);
            }
        }
        ink << (drawn.isEmpty() ? QRect() : drawn.translated(inset - step, inset + int(i) * step));
    }
    return ink;
}

qreal areaLineWidth(int areaWidth)
{
    // A widget's width lies between 0 and the largest extent; the text sits
    // inside the frame, and a text view with no width left does not wrap.
    const int viewport = qMax(0, qBound(0, areaWidth, area::MaxWidgetExtent) - 2 * area::FrameWidth);
    const qreal available = viewport <= 0 ? qreal(INT_MAX) : qreal(viewport);
    return available - 2 * area::DocumentMargin;
}

QString toAreaText(const QString &crlfText)
{
    QString t = crlfText;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString fromAreaText(const QString &areaText)
{
    QString t = areaText;
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

QString throughArea(const QString &crlfText)
{
    QString t = toAreaText(crlfText);
    for (QChar &c : t) {
        if (isParagraphBreak(c) || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return fromAreaText(t);
}

QStringList AreaLineBreaker::layoutLines(const QString &text, int areaWidth, const QFont &font)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal width = areaLineWidth(areaWidth);

    const QString all = toAreaText(text);
    QStringList lines;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = start;
        while (end < all.size() && !isParagraphBreak(all.at(end)))
            ++end;
        const QString paragraph = all.mid(start, end - start);
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        int count = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
            ++count;
        }
        layout.endLayout();
        if (count == 0)
            lines << paragraph;
        if (end >= all.size())
            break;
        start = end + 1;
    }
    // A trailing empty line is no display line.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList AreaLineBreaker::displayLines(TextArea which, const QString &text) const
{
    const bool title = which == TextArea::Title;
    const int width = (title ? m_design.TitleRect : m_design.BlurbRect).width();
    const QFont font = areaFont(title ? m_design.TitleFont : m_design.BlurbFont,
                                title ? m_design.TitleFontSize : m_design.BlurbFontSize,
                                title ? m_design.TitleAreaStyle : m_design.BlurbAreaStyle);
    const QString key = QString::number(width) + QLatin1Char('/') + font.key() + QLatin1Char('\n') + text;
    if (const QStringList *known = m_lines.object(key))
        return *known;
    const QStringList lines = layoutLines(text, width, font);
    // Long texts count by their length, so the kept lines of a large design
    // all stay without the texts taking much memory.
    m_lines.insert(key, new QStringList(lines), 1 + key.size() / 1024);
    return lines;
}

} // namespace qm
