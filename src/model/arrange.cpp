#include "model/arrange.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <numeric>

namespace qm {

QString arrangementName(Arrangement how)
{
    switch (how) {
    case Arrangement::AlignLeft: return QStringLiteral("Align Left");
    case Arrangement::AlignRight: return QStringLiteral("Align Right");
    case Arrangement::AlignTop: return QStringLiteral("Align Top");
    case Arrangement::AlignBottom: return QStringLiteral("Align Bottom");
    case Arrangement::AlignCentres: return QStringLiteral("Align Centres");
    case Arrangement::AlignMiddles: return QStringLiteral("Align Middles");
    case Arrangement::SpaceHorizontally: return QStringLiteral("Space Evenly Across");
    case Arrangement::SpaceVertically: return QStringLiteral("Space Evenly Down");
    case Arrangement::SameWidth: return QStringLiteral("Same Width");
    case Arrangement::SameHeight: return QStringLiteral("Same Height");
    case Arrangement::SameSize: return QStringLiteral("Same Size");
    }
    return QString();
}

namespace {

// Equal gaps along one axis: the first and the last (by position) stay, the
// ones between follow each other with the same gap; what an even share
// leaves over goes one pixel each to the first gaps.
void space(QList<QRect> &rects, bool across)
{
    const auto start = [across](const QRect &r) { return across ? r.x() : r.y(); };
    const auto length = [across](const QRect &r) { return across ? r.width() : r.height(); };
    QList<int> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return start(rects.at(a)) < start(rects.at(b)); });
    const QRect &first = rects.at(order.first());
    const QRect &last = rects.at(order.last());
    qint64 free = qint64(start(last)) + length(last) - start(first);
    for (const QRect &r : std::as_const(rects))
        free -= length(r);
    const qint64 gaps = rects.size() - 1;
    // Floor division, so that overlapping buttons (negative room) share it alike.
    const qint64 gap = free >= 0 ? free / gaps : -((-free + gaps - 1) / gaps);
    qint64 extra = free - gap * gaps;
    qint64 at = qint64(start(first)) + length(first);
    for (qsizetype i = 1; i + 1 < order.size(); ++i) {
        at += gap + (extra > 0 ? 1 : 0);
        extra -= extra > 0 ? 1 : 0;
        QRect &r = rects[order.at(i)];
        if (across)
            r.moveLeft(int(at));
        else
            r.moveTop(int(at));
        at += length(r);
    }
}

} // namespace

void addGuides(const QRect &r, QList<int> &xGuides, QList<int> &yGuides)
{
    xGuides << r.left() << r.left() + r.width() / 2 << r.left() + r.width();
    yGuides << r.top() << r.top() + r.height() / 2 << r.top() + r.height();
}

std::optional<int> nearestGuide(int line, const QList<int> &guides, int reach)
{
    std::optional<int> best;
    for (int g : guides) {
        if (std::abs(g - line) <= reach && (!best || std::abs(g - line) < std::abs(*best - line)))
            best = g;
    }
    return best;
}

namespace {

// The shortest move of one of the three lines of a span (start, middle, end)
// onto a guide, when it is within reach.
std::optional<int> snapSpan(int start, int length, const QList<int> &guides, int reach)
{
    std::optional<int> best;
    for (int line : {start, start + length / 2, start + length}) {
        if (const std::optional<int> g = nearestGuide(line, guides, reach)) {
            if (!best || std::abs(*g - line) < std::abs(*best))
                best = *g - line;
        }
    }
    return best;
}

QList<int> onGuides(int start, int length, const QList<int> &guides)
{
    QList<int> out;
    for (int g : guides) {
        if ((g == start || g == start + length / 2 || g == start + length) && !out.contains(g))
            out << g;
    }
    return out;
}

} // namespace

Snapped snapped(const QRect &moving, const QList<int> &xGuides, const QList<int> &yGuides, int reach)
{
    QPoint at = moving.topLeft();
    at.rx() += snapSpan(at.x(), moving.width(), xGuides, reach).value_or(0);
    at.ry() += snapSpan(at.y(), moving.height(), yGuides, reach).value_or(0);
    return {at, onGuides(at.x(), moving.width(), xGuides), onGuides(at.y(), moving.height(), yGuides)};
}

QList<QRect> arranged(const QList<QRect> &rects, Arrangement how)
{
    const bool spacing = how == Arrangement::SpaceHorizontally || how == Arrangement::SpaceVertically;
    if (rects.size() < (spacing ? 3 : 2))
        return rects;
    QList<QRect> out = rects;
    QRect around;
    for (const QRect &r : rects)
        around = around.united(r);
    const QSize size = rects.first().size();
    for (QRect &r : out) {
        switch (how) {
        case Arrangement::AlignLeft: r.moveLeft(around.left()); break;
        case Arrangement::AlignRight: r.moveRight(around.right()); break;
        case Arrangement::AlignTop: r.moveTop(around.top()); break;
        case Arrangement::AlignBottom: r.moveBottom(around.bottom()); break;
        case Arrangement::AlignCentres: r.moveLeft(around.left() + (around.width() - r.width()) / 2); break;
        case Arrangement::AlignMiddles: r.moveTop(around.top() + (around.height() - r.height()) / 2); break;
        case Arrangement::SameWidth: r.setWidth(size.width()); break;
        case Arrangement::SameHeight: r.setHeight(size.height()); break;
        case Arrangement::SameSize: r.setSize(size); break;
        case Arrangement::SpaceHorizontally:
        case Arrangement::SpaceVertically: break;
        }
    }
    if (spacing)
        space(out, how == Arrangement::SpaceHorizontally);
    for (QRect &r : out)
        r.moveTopLeft(QPoint(std::max(0, r.left()), std::max(0, r.top())));
    return out;
}

} // namespace qm
