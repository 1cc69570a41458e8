#pragma once

#include <QIcon>
#include <QImage>

class QPainter;
class QRectF;

// The program's own artwork, drawn with QPainter at run time: the glyphs of
// the tool bar and the command row, and the logo painted under the command
// row. Everything is vector-drawn, so any size and pixel ratio is sharp.
//
// Results are built on first use and cached; call these from the GUI thread.
namespace qm::artwork {

enum Glyph : int {
    Preview,
    New,
    Open,
    Save,
    Compile,
    Options,
    Quit,
    Help,
    AddButton,
    EditButton,
    DeleteButton,
    Background,
};

inline constexpr int GlyphCount = Background + 1;

// Edge length of a glyph in device-independent pixels.
inline constexpr int GlyphSize = 32;

// Size of the logo picture.
inline constexpr int LogoWidth = 395;
inline constexpr int LogoHeight = 40;

// The glyph alone: a square ARGB32 picture of GlyphSize × ratio pixels with
// a transparent background; its devicePixelRatio is set to ratio.
QImage glyphImage(Glyph g, qreal ratio = 1.0);

// Draws the glyph scaled into target (best square).
void paintGlyph(QPainter &p, Glyph g, const QRectF &target);

// The 395×40 logo: feather mark, "Quillmap" and the tag line on a
// transparent ARGB32 picture, made to sit on a light window background.
QImage logo();

// The program's icon: the logo's feather over a small menu on a light
// tile, a square transparent ARGB32 picture of the given edge length.
QImage appIcon(int pixels);

// The command a glyph stands for ("Preview", "Add Button", ...).
const char *glyphCaption(Glyph g);

} // namespace qm::artwork
