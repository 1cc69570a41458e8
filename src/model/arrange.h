#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

namespace qm {

// What the button menu's Arrange commands do to several selected buttons.
enum class Arrangement {
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    AlignCentres,      // one vertical line through their centres
    AlignMiddles,      // one horizontal line through their centres
    SpaceHorizontally, // equal gaps from the leftmost to the rightmost
    SpaceVertically,   // equal gaps from the topmost to the lowest
    SameWidth,
    SameHeight,
    SameSize,
};

// The command's name in the menu and in Undo's text ("Align Left").
QString arrangementName(Arrangement how);

// The rectangles arranged. Alignments line them up on the edge or centre
// of the rectangle around them all; spacing keeps the outermost two where
// they are; the sizes become those of the first rectangle (the selection).
// Fewer than two (three for spacing) come back as they are; nothing is
// moved left of or above the origin.
QList<QRect> arranged(const QList<QRect> &rects, Arrangement how);

// Snapping a moved rectangle to guide lines: its left edge, centre or right
// edge to the nearest vertical guide within `reach` pixels, and likewise its
// top, middle or bottom to a horizontal one.
struct Snapped {
    QPoint topLeft;        // where the rectangle goes
    QList<int> xGuides;    // the guides it lies on now, to be drawn
    QList<int> yGuides;
};
Snapped snapped(const QRect &moving, const QList<int> &xGuides, const QList<int> &yGuides, int reach);

// The guide nearest to `line` within `reach` pixels (a resized edge snaps
// onto it); nullopt when none is that close.
std::optional<int> nearestGuide(int line, const QList<int> &guides, int reach);

// The guides of rectangles: their edges and centres, across and down.
void addGuides(const QRect &r, QList<int> &xGuides, QList<int> &yGuides);

} // namespace qm
