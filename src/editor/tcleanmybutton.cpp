#include "editor/tcleanmybutton.h"

#include <QPainter>

TMyButton::TMyButton(QWidget *owner, const qm::ImageViewContext &context)
    : TPMultiImage(owner, context)
{
    setStretch(true);
    setAutoSize(false);
    setMouseTracking(true);
}

void TCleanMyButton::setAlsoSelected(bool also)
{
    if (also == m_also)
        return;
    m_also = also;
    update();
}

void TCleanMyButton::paintEvent(QPaintEvent *event)
{
    TMyButton::paintEvent(event);
    if (!m_also)
        return;
    // Black and white dashes show on any picture and any surface colour.
    QPainter p(this);
    const QRect edge = rect().adjusted(0, 0, -1, -1);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(edge);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(edge);
}
