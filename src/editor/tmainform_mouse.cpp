// Mouse routing of the design surface: every press, move, release and
// popup request of a button, a text area, the Blurb picture or the bare
// surface goes to its handler with the position in the control's client
// coordinates.

#include "editor/controlkinds.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/tmainform.h"
#include "editor/areaedit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == Background)
        return surfaceKey(static_cast<QKeyEvent *>(event));
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
        return routeMouse(watched, event);
    default:
        return QWidget::eventFilter(watched, event);
    }
}

bool TMainForm::routeMouse(QObject *watched, QEvent *event)
{
    QWidget *canvas = Background ? Background->canvas() : nullptr;
    const QEvent::Type type = event->type();

    if (type == QEvent::ContextMenu) {
        QMenu *menu = nullptr;
        if (isExactly<TCleanMyButton>(watched))
            menu = ButtMenu;
        else if (watched == canvas)
            menu = BackgroundMenu;
        else if (watched == BlurbImage || (Title && (watched == Title->viewport() || watched == Blurb->viewport())))
            menu = TextMenu;
        if (!menu)
            return false;
        // The popup takes the release of the press that opened it, so the
        // press ends here.
        ResizeMouseUp(watched, Qt::RightButton, {}, 0, 0);
        menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }

    auto *me = static_cast<QMouseEvent *>(event);
    const Qt::KeyboardModifiers shift = me->modifiers();
    const Qt::MouseButton button = me->button();
    // A release that never arrived (the window lost the mouse while the
    // button was held) must not leave every later move resizing.
    if (type == QEvent::MouseMove && Resizing && me->buttons() == Qt::NoButton)
        ResizeMouseUp(watched, Qt::NoButton, shift, 0, 0);

    // A press on the surface gives it the keyboard, for the arrow keys; a
    // text area takes it itself.
    if (type == QEvent::MouseButtonPress && Background && !Background->hasFocus()
        && (isExactly<TCleanMyButton>(watched) || watched == BlurbImage || watched == canvas))
        Background->setFocus(Qt::MouseFocusReason);

    if (isExactly<TCleanMyButton>(watched)) {
        auto *b = static_cast<TCleanMyButton *>(watched);
        const QPoint p = me->position().toPoint() - clientOffset(b);
        switch (type) {
        case QEvent::MouseButtonPress:
            m_keyArea = nullptr;
            ++m_keyRun;
            ButtonMouseDown(b, button, shift, p.x(), p.y());
            break;
        case QEvent::MouseButtonDblClick:
            if (b->EditOnDoubleClick)
                EditButtonClick(b);
            break;
        case QEvent::MouseButtonRelease:
            ResizeMouseUp(b, button, shift, p.x(), p.y());
            break;
        default:
            ButtonMouseOver(b, shift, p.x(), p.y());
            break;
        }
        // A button's mouse events are its own; they never reach the surface.
        return true;
    }

    if (watched == BlurbImage) {
        const QPoint p = me->position().toPoint() - clientOffset(BlurbImage);
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_keyArea = BlurbImage;
            ++m_keyRun;
            BlurbImageMouseDown(BlurbImage, button, shift, p.x(), p.y());
            break;
        case QEvent::MouseButtonRelease:
            ResizeMouseUp(BlurbImage, button, shift, p.x(), p.y());
            break;
        default:
            BlurbImageMouseMove(BlurbImage, shift, p.x(), p.y());
            break;
        }
        return true;
    }

    if (Title && (watched == Title->viewport() || watched == Blurb->viewport())) {
        AreaEdit *memo = watched == Title->viewport() ? Title : Blurb;
        const QPoint p = me->position().toPoint();
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_keyArea = memo;
            ++m_keyRun;
            MemoMouseDown(memo, button, shift, p.x(), p.y());
            // A press that starts a resize is not the text's; otherwise the
            // text area places its caret (and, with DragText, selects).
            return Resizing;
        case QEvent::MouseButtonRelease: {
            const bool wasResizing = Resizing;
            ResizeMouseUp(memo, button, shift, p.x(), p.y());
            return wasResizing;
        }
        default:
            BackgroundAndMemoMouseMove(memo, shift, p.x(), p.y());
            // While resizing, the moves must not select text.
            return Resizing;
        }
    }

    if (watched == canvas) {
        const QPoint p = canvas->mapTo(Background->viewport(), me->position().toPoint());
        switch (type) {
        case QEvent::MouseButtonPress:
            m_keyArea = nullptr;
            ++m_keyRun;
            BackgroundMouseDown(Background, button, shift, p.x(), p.y());
            m_surfacePressed = button == Qt::LeftButton;
            break;
        case QEvent::MouseButtonRelease:
            // A click on the bare surface selects the background.
            if (m_surfacePressed && button == Qt::LeftButton && canvas->rect().contains(me->position().toPoint()))
                HighlightTable(Background);
            m_surfacePressed = false;
            break;
        case QEvent::MouseMove:
            BackgroundAndMemoMouseMove(Background, shift, p.x(), p.y());
            break;
        default:
            break;
        }
        return false;
    }
    return false;
}
