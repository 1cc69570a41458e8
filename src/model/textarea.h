#pragma once

#include "model/design.h"
#include "model/linebreaker.h"

#include <QCache>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

namespace qm {

// What decides where the Title and Blurb areas of the design surface wrap a
// text: their face, the frame and margin inside their rectangle, and the
// wrapping rule. The areas on the surface are built from these values, and
// the window-free line breaker below lays texts out with the same ones, so
// both give the same display lines. The face and its size are the ones the
// runtimes draw the design's font in, so those lines are the lines a browser
// draws, none wider than its box.
namespace area {

// The face each of the applet's font names is drawn in: quillmap.js names it
// first among a name's families and the applet looks for it first (a test
// holds both to this table). Liberation's faces have the metrics of Times
// New Roman, Arial and Courier New, which stand in for them where a visitor
// has those; no symbol face is shipped, so Symbol draws as Times Roman does.
// The face's ascent, descent and line gap, in units of a 2048-unit em, give
// the step from one line to the next (see lineStep).
struct RuntimeFace {
    const char *appletName;
    const char *family;
    int ascent;
    int descent;
    int lineGap;
};
inline constexpr RuntimeFace RuntimeFaces[] = {
    {"timesroman", "Liberation Serif", 1825, 443, 87},
    {"helvetica", "Liberation Sans", 1854, 434, 67},
    {"courier", "Liberation Mono", 1705, 615, 0},
    {"dialog", "Liberation Sans", 1854, 434, 67},
    {"symbol", "Liberation Serif", 1825, 443, 87},
};
// The sunken edge drawn inside the area's rectangle, on every side.
inline constexpr int FrameWidth = 2;
// Space between the edge and the text, on every side.
inline constexpr int DocumentMargin = 1;
// Widgets are never wider than this.
inline constexpr int MaxWidgetExtent = 16777215;

} // namespace area

// The applet's name for a design's font ("Times Roman" is "timesroman");
// names the dialogs never offer are the applet's default face.
QString appletFontName(const QString &designFont);

// The face the runtimes draw a design's font in (see RuntimeFaces).
QString areaFamily(const QString &designFont);

// The step in pixels from one line of an area to the next, for a design's
// font at a pixel size: the face's ascent, descent and line gap, each
// rounded to 1/64 pixel, added and rounded up, which is where the areas'
// text layout puts the next line. The runtimes set it as the line height,
// so no browser's own rounding moves a line.
int lineStep(const QString &designFont, int pixels);

// The pixel size the runtimes draw a design's font size in: the block's
// head_size and mainbox_size, the size in points plus two. At least one
// pixel; sizes no face can draw are capped.
int fontPixels(int points);

// The face, pixel size and style an area shows its text in.
QFont areaFont(const QString &designFont, int points, AreaStyle style);

// Where an area draws the ink of each of its display lines, relative to the
// area's top-left corner: the pixels at least a quarter covered. An empty
// rectangle for a line without ink. For tools that check that a runtime
// draws each line where the editor does.
QList<QRect> areaInk(const QFont &font, int step, const QStringList &lines);

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

    // The display lines of `text` in an area of the given width and font.
    static QStringList layoutLines(const QString &text, int areaWidth, const QFont &font);

private:
    const Design &m_design;
    mutable QCache<QString, QStringList> m_lines{65536};
};

} // namespace qm
