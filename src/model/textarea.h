#pragma once

#include "model/design.h"
#include "model/linebreaker.h"

#include <QCache>
#include <QFont>
#include <QString>
#include <QStringList>

namespace qm {

// What decides where the Title and Blurb areas of the design surface wrap a
// text: their face, the frame and margin inside their rectangle, and the
// wrapping rule. The areas on the surface are built from these values, and
// the window-free line breaker below lays texts out with the same ones, so
// both give the same display lines.
namespace area {

// The editor's own face for both areas, whatever font the applet is given.
inline constexpr const char *FontFamily = "Times New Roman";
// The sunken edge drawn inside the area's rectangle, on every side.
inline constexpr int FrameWidth = 2;
// Space between the edge and the text, on every side.
inline constexpr int DocumentMargin = 1;
// Widgets are never wider than this.
inline constexpr int MaxWidgetExtent = 16777215;

} // namespace area

// Point size to pixel size at 96 pixels per inch, as on the standard Windows
// screen, so that where a text wraps does not depend on this screen's DPI.
// At least one pixel; sizes no face can draw are capped.
int pointsToPixels(int points);

// The face, pixel size and style an area shows its text in.
QFont areaFont(int points, AreaStyle style);

// Width available to a line of text in an area `areaWidth` pixels wide;
// an area too narrow to hold any text does not wrap at all.
qreal areaLineWidth(int areaWidth);

// Between the design's form of a text (CR LF line breaks) and an area's form
// (one line feed per break; a lone CR also breaks).
QString toAreaText(const QString &crlfText);
QString fromAreaText(const QString &areaText);

// What a text becomes when an area shows it and gives it back: every kind of
// line break an area knows (CR, LF, CR LF, the Unicode line and paragraph
// separators) comes back as CR LF. Selecting the background again stores
// its texts this way.
QString throughArea(const QString &crlfText);

// The display lines of the Title and Blurb areas of a design, computed with
// QTextLayout from the design's rectangles, font sizes and styles: the lines
// the areas on the design surface show, without a window. Needs a
// QGuiApplication (the offscreen platform does where there is no display).
// Laying a text out is the costly part of building the applet block, so the
// lines are kept per text and per everything that decides where the area
// wraps.
class AreaLineBreaker : public LineBreaker {
public:
    explicit AreaLineBreaker(const Design &design) : m_design(design) {}
    QStringList displayLines(TextArea area, const QString &text) const override;

    // The display lines of `text` in an area of the given width, size and style.
    static QStringList layoutLines(const QString &text, int areaWidth, int points, AreaStyle style);

private:
    const Design &m_design;
    mutable QCache<QString, QStringList> m_lines{65536};
};

} // namespace qm
