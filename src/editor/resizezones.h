#pragma once

#include <QRect>
#include <QString>

// The hot zones along a control's edges, the sizing cursors they show and
// the arithmetic of one resize step. Pure functions, shared by the design
// surface's mouse handlers and their tests.
namespace qm::resize {

// Buttons and the Blurb picture have their zones at the very edge; the
// text areas' far-side zones lie 6 pixels further in, past their border.
enum class ZoneTable { Frame, Memo };

enum class Direction { None, N, S, E, W, NE, NW, SE, SW };

// The first zone that holds (x, y), tested in the order NW, SE, SW, NE, N,
// S, W, E; None when no zone holds it. `size` is the control's outer size,
// (x, y) is relative to its client area, `margin` the zones' depth.
Direction hotZone(ZoneTable table, QPoint p, QSize size, int margin);

// The sizing cursor of a zone (Qt::ArrowCursor for None).
Qt::CursorShape zoneCursor(Direction direction);
bool isSizingCursor(Qt::CursorShape shape);

// "None", "N", "S", "E", "W", "NE", "NW", "SE", "SW".
QString directionName(Direction direction);
Direction directionFromName(const QString &name);

// One resize step of a control whose bounds are `bounds`, with the mouse at
// `p` relative to its client area. A step that would take the width (or the
// height) below the minimum leaves that dimension and its Left (or Top) as
// they were; a control pushed wholly left of or above the origin is put
// back at 1.
QRect resizeStep(const QRect &bounds, Direction direction, QPoint p, int minWidth, int minHeight);

} // namespace qm::resize
