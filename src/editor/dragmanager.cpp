#include "editor/dragmanager.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

DragManager::DragManager(QObject *parent)
    : QObject(parent)
{
}

DragManager::~DragManager()
{
    stop();
}

DragManager::Entry &DragManager::entry(QWidget *control)
{
    if (!m_entries.contains(control)) {
        // A destroyed control may leave its address to a new one.
        connect(control, &QObject::destroyed, this, [this, control] { m_entries.remove(control); });
    }
    return m_entries[control];
}

void DragManager::addTarget(QWidget *control, DragOverHandler dragOver, DropHandler drop)
{
    Entry &e = entry(control);
    e.target = true;
    e.dragOver = std::move(dragOver);
    e.drop = std::move(drop);
}

void DragManager::setClientMapper(QWidget *control, ClientMapper mapper)
{
    entry(control).mapper = std::move(mapper);
}

void DragManager::setEndDragHandler(QWidget *source, EndDragHandler handler)
{
    entry(source).endDrag = std::move(handler);
}

QWidget *DragManager::controlAt(QPoint global) const
{
    QWidget *w = QApplication::widgetAt(global);
    while (w) {
        const auto it = m_entries.constFind(w);
        if (it != m_entries.constEnd() && it->target)
            return w;
        w = w->parentWidget();
    }
    return nullptr;
}

QPoint DragManager::clientPos(QWidget *control, QPoint global) const
{
    const auto it = m_entries.constFind(control);
    if (it != m_entries.constEnd() && it->mapper)
        return it->mapper(global);
    return control->mapFromGlobal(global);
}

bool DragManager::beginDrag(QWidget *source, bool immediate, QPoint global, int threshold)
{
    if (m_phase != Phase::Idle)
        cancelDrag();
    if (!source || !source->window()->isVisible())
        return false;
    m_source = source;
    m_target = nullptr;
    m_lastAccepting = nullptr;
    m_pressGlobal = global;
    m_threshold = threshold;
    m_phase = Phase::Pending;
    // A source destroyed mid-drag ends the drag without further events.
    m_sourceGone = connect(source, &QObject::destroyed, this, [this] { stop(); });
    qApp->installEventFilter(this);
    if (immediate)
        activate(global);
    return true;
}

void DragManager::cancelDrag()
{
    if (m_phase == Phase::Active)
        finish(false, QCursor::pos());
    else
        stop();
}

void DragManager::activate(QPoint global)
{
    m_phase = Phase::Active;
    QWidget *window = m_source->window();
    // The window holds the mouse and the keyboard, so the drag sees every
    // move, the release and Escape wherever the mouse goes.
    if (!QWidget::mouseGrabber()) {
        m_grabber = window;
        window->grabMouse();
        window->grabKeyboard();
    }
    QGuiApplication::setOverrideCursor(Qt::DragMoveCursor);
    m_cursorSet = true;
    dragTo(global);
}

bool DragManager::sendDragOver(QWidget *control, TDragState state, QPoint global)
{
    const auto it = m_entries.constFind(control);
    if (it == m_entries.constEnd() || !it->dragOver)
        return false;
    DragOver event;
    event.target = control;
    event.source = m_source;
    event.pos = clientPos(control, global);
    event.state = state;
    event.accept = true;
    // A copy: the handler may register or forget controls.
    const DragOverHandler handler = it->dragOver;
    handler(event);
    return event.accept;
}

void DragManager::dragTo(QPoint global)
{
    QWidget *control = controlAt(global);
    TDragState state = TDragState::dsDragMove;
    if (control != m_target) {
        if (QWidget *old = m_target) {
            sendDragOver(old, TDragState::dsDragLeave, global);
            if (m_phase != Phase::Active)
                return;
        }
        m_target = control;
        state = TDragState::dsDragEnter;
        // Leaving may have moved things; the control under the mouse is the
        // one the mouse entered.
    }
    bool accepted = false;
    if (control) {
        QPointer<QWidget> alive(control);
        accepted = sendDragOver(control, state, global);
        if (m_phase != Phase::Active)
            return;
        if (accepted && alive)
            m_lastAccepting = control;
    }
    if (m_cursorSet)
        QGuiApplication::changeOverrideCursor(accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void DragManager::finish(bool drop, QPoint global)
{
    QPointer<QWidget> source = m_source;
    QPointer<QWidget> target = drop ? m_lastAccepting : nullptr;
    // Idle before the handlers run: they may start another drag.
    stop();
    if (target && source) {
        const auto it = m_entries.constFind(target.data());
        if (it != m_entries.constEnd() && it->drop) {
            const DropHandler handler = it->drop;
            handler(target, source, clientPos(target, global));
        }
    }
    if (source) {
        const auto it = m_entries.constFind(source.data());
        if (it != m_entries.constEnd() && it->endDrag) {
            const EndDragHandler handler = it->endDrag;
            const QPoint pos = target ? clientPos(target, global) : clientPos(source, global);
            handler(source, target, pos);
        }
    }
}

void DragManager::stop()
{
    if (m_phase == Phase::Idle)
        return;
    m_phase = Phase::Idle;
    disconnect(m_sourceGone);
    qApp->removeEventFilter(this);
    if (m_grabber) {
        if (QWidget::mouseGrabber() == m_grabber)
            m_grabber->releaseMouse();
        if (QWidget::keyboardGrabber() == m_grabber)
            m_grabber->releaseKeyboard();
    }
    m_grabber = nullptr;
    if (m_cursorSet) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
    m_source = nullptr;
    m_target = nullptr;
    m_lastAccepting = nullptr;
}

bool DragManager::eventFilter(QObject *watched, QEvent *event)
{
    // Events reach widgets after their window; taking them at the widget
    // leaves the window's own bookkeeping (implicit grab, double clicks) intact.
    if (!watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        const QPoint global = me->globalPosition().toPoint();
        if (m_phase == Phase::Pending) {
            if (!(me->buttons() & Qt::LeftButton)) {
                // The release went elsewhere: the press was a click.
                stop();
                return false;
            }
            const QPoint d = global - m_pressGlobal;
            if (qAbs(d.x()) >= m_threshold || qAbs(d.y()) >= m_threshold)
                activate(global);
        } else {
            dragTo(global);
        }
        event->accept();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_phase == Phase::Pending) {
            // A release before the threshold is an ordinary click.
            stop();
            return false;
        }
        finish(true, static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        event->accept();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
        if (m_phase == Phase::Active) {
            event->accept();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            cancelDrag();
            return true;
        }
        return m_phase == Phase::Active;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return m_phase == Phase::Active;
    default:
        return false;
    }
}
