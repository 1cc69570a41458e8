#include "editor/snapguides.h"

#include <QPainter>

SnapGuides::SnapGuides(QWidget *canvas)
    : QWidget(canvas)
{
    setObjectName(QStringLiteral("SnapGuides"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void SnapGuides::setLines(const QList<int> &xs, const QList<int> &ys)
{
    if (xs == m_xs && ys == m_ys)
        return;
    m_xs = xs;
    m_ys = ys;
    if (xs.isEmpty() && ys.isEmpty()) {
        hide();
        return;
    }
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
}

void SnapGuides::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Magenta is seldom a menu's colour and shows on dark and light alike.
    p.setPen(QPen(QColor(255, 0, 200), 1));
    for (int x : std::as_const(m_xs))
        p.drawLine(x, 0, x, height());
    for (int y : std::as_const(m_ys))
        p.drawLine(0, y, width(), y);
}
