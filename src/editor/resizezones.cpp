#include "editor/resizezones.h"

namespace qm::resize {

Direction hotZone(ZoneTable table, QPoint p, QSize size, int margin)
{
    const int x = p.x(), y = p.y(), w = size.width(), h = size.height(), m = margin;
    // How much further in the far-side zones of a text area lie.
    const int in = table == ZoneTable::Memo ? 6 : 0;
    const bool nearLeft = x <= m;
    const bool nearTop = y <= m;
    const bool farRight = x >= w - m - in;
    const bool farBottom = y >= h - m - in;
    if (nearLeft && nearTop)
        return Direction::NW;
    if (farRight && farBottom)
        return Direction::SE;
    if (x <= m + in && farBottom)
        return Direction::SW;
    if (farRight && y <= m + in)
        return Direction::NE;
    if (nearTop)
        return Direction::N;
    if (farBottom)
        return Direction::S;
    if (nearLeft)
        return Direction::W;
    if (farRight)
        return Direction::E;
    return Direction::None;
}

Qt::CursorShape zoneCursor(Direction direction)
{
    switch (direction) {
    case Direction::NW:
    case Direction::SE:
        return Qt::SizeFDiagCursor;
    case Direction::NE:
    case Direction::SW:
        return Qt::SizeBDiagCursor;
    case Direction::N:
    case Direction::S:
        return Qt::SizeVerCursor;
    case Direction::W:
    case Direction::E:
        return Qt::SizeHorCursor;
    case Direction::None:
        break;
    }
    return Qt::ArrowCursor;
}

bool isSizingCursor(Qt::CursorShape shape)
{
    return shape == Qt::SizeFDiagCursor || shape == Qt::SizeBDiagCursor || shape == Qt::SizeVerCursor
        || shape == Qt::SizeHorCursor;
}

namespace {
struct Named {
    Direction direction;
    const char *name;
};
constexpr Named kNames[] = {
    {Direction::None, "None"}, {Direction::N, "N"},   {Direction::S, "S"},   {Direction::E, "E"},  {Direction::W, "W"},
    {Direction::NE, "NE"},     {Direction::NW, "NW"}, {Direction::SE, "SE"}, {Direction::SW, "SW"},
};
} // namespace

QString directionName(Direction direction)
{
    for (const Named &n : kNames)
        if (n.direction == direction)
            return QString::fromLatin1(n.name);
    return QStringLiteral("None");
}

Direction directionFromName(const QString &name)
{
    for (const Named &n : kNames)
        if (name == QLatin1String(n.name))
            return n.direction;
    return Direction::None;
}

QRect resizeStep(const QRect &bounds, Direction d, QPoint p, int minWidth, int minHeight)
{
    int left = bounds.left(), top = bounds.top(), width = bounds.width(), height = bounds.height();
    const int x = p.x(), y = p.y();
    // Each side tests its own condition; a corner moves one horizontal and
    // one vertical side.
    if (d == Direction::NW || d == Direction::W || d == Direction::SW) {
        if (width - x >= minWidth) {
            left += x;
            width -= x;
        }
    }
    if (d == Direction::NE || d == Direction::E || d == Direction::SE) {
        if (x >= minWidth)
            width = x;
    }
    if (d == Direction::NW || d == Direction::N || d == Direction::NE) {
        if (height - y >= minHeight) {
            top += y;
            height -= y;
        }
    }
    if (d == Direction::SW || d == Direction::S || d == Direction::SE) {
        if (y >= minHeight)
            height = y;
    }
    if (left < 0 && left + width <= 0)
        left = 1;
    if (top < 0 && top + height <= 0)
        top = 1;
    return QRect(left, top, width, height);
}

} // namespace qm::resize
