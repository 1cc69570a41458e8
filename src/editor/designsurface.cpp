#include "editor/designsurface.h"

#include <QEvent>
#include <QResizeEvent>

DesignSurface::DesignSurface(QWidget *parent)
    : QScrollArea(parent)
    , m_canvas(new QWidget)
{
    m_canvas->setObjectName(QStringLiteral("BackgroundCanvas"));
    m_canvas->setAutoFillBackground(true);
    m_canvas->setMouseTracking(true);
    m_canvas->installEventFilter(this);
    setWidget(m_canvas);
    setWidgetResizable(false);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSurfaceColor(Qt::black);
    setFontColor(Qt::white);
}

void DesignSurface::setSurfaceColor(const QColor &color)
{
    QPalette p = m_canvas->palette();
    p.setColor(QPalette::Window, color);
    m_canvas->setPalette(p);
    QPalette vp = viewport()->palette();
    vp.setColor(QPalette::Window, color);
    viewport()->setPalette(vp);
    viewport()->setAutoFillBackground(true);
}

QColor DesignSurface::surfaceColor() const
{
    return m_canvas->palette().color(QPalette::Window);
}

void DesignSurface::setFontColor(const QColor &color)
{
    QPalette p = m_canvas->palette();
    p.setColor(QPalette::WindowText, color);
    m_canvas->setPalette(p);
}

void DesignSurface::updateExtent()
{
    m_extentPending = false;
    ++m_extentPasses;
    QRect extent(QPoint(0, 0), viewport()->size());
    for (QObject *child : m_canvas->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (w && !w->isHidden())
            extent = extent.united(QRect(QPoint(0, 0), w->geometry().bottomRight()));
    }
    if (m_canvas->size() != extent.size())
        m_canvas->resize(extent.size());
}

void DesignSurface::scheduleExtent()
{
    // Opening a design moves and shows thousands of controls; looking at
    // every control after each of them would take time that grows with the
    // square of their number.
    if (m_extentPending)
        return;
    m_extentPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_extentPending)
                updateExtent();
        },
        Qt::QueuedConnection);
}

void DesignSurface::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    updateExtent();
}

bool DesignSurface::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_canvas && event->type() == QEvent::ChildAdded) {
        if (auto *w = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
            w->installEventFilter(this);
    } else if (watched != m_canvas && watched->parent() == m_canvas) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            scheduleExtent();
            break;
        default:
            break;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}
