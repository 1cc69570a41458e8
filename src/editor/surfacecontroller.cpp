// The design surface's mouse and keys: the routing of the controls' mouse
// events to the handlers, the arrow keys, Tab and the keys that open or
// delete, and the step each gesture makes when it ends.

#include "editor/surfacecontroller.h"

#include "editor/areaedit.h"
#include "editor/controlkinds.h"
#include "editor/designsurface.h"
#include "editor/tcleanmybutton.h"
#include "editor/tmainform.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>

using namespace qm::edit;

namespace {

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr;
}

} // namespace

SurfaceController::SurfaceController(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
}

void SurfaceController::endKeyRun(bool keepArea)
{
    ++m_keyRun;
    if (!keepArea)
        m_keyArea = nullptr;
}

bool SurfaceController::filter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == m_form.Background)
        return surfaceKey(static_cast<QKeyEvent *>(event));
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
        return routeMouse(watched, event);
    default:
        return false;
    }
}

bool SurfaceController::routeMouse(QObject *watched, QEvent *event)
{
    QWidget *canvas = m_form.Background ? m_form.Background->canvas() : nullptr;
    const QEvent::Type type = event->type();

    if (type == QEvent::ContextMenu) {
        QMenu *menu = nullptr;
        if (isExactly<TCleanMyButton>(watched))
            menu = m_form.ButtMenu;
        else if (watched == canvas)
            menu = m_form.BackgroundMenu;
        else if (watched == m_form.BlurbImage || (m_form.Title && (watched == m_form.Title->viewport() || watched == m_form.Blurb->viewport())))
            menu = m_form.TextMenu;
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
    if (type == QEvent::MouseButtonPress && m_form.Background && !m_form.Background->hasFocus()
        && (isExactly<TCleanMyButton>(watched) || watched == m_form.BlurbImage || watched == canvas))
        m_form.Background->setFocus(Qt::MouseFocusReason);

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
                m_form.EditButtonClick(b);
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

    if (watched == m_form.BlurbImage) {
        const QPoint p = me->position().toPoint() - clientOffset(m_form.BlurbImage);
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_keyArea = m_form.BlurbImage;
            ++m_keyRun;
            BlurbImageMouseDown(m_form.BlurbImage, button, shift, p.x(), p.y());
            break;
        case QEvent::MouseButtonRelease:
            ResizeMouseUp(m_form.BlurbImage, button, shift, p.x(), p.y());
            break;
        default:
            BlurbImageMouseMove(m_form.BlurbImage, shift, p.x(), p.y());
            break;
        }
        return true;
    }

    // A text area's visible border is its own (the text lies in its
    // viewport): a press there resizes as one just inside does, and the
    // resize it starts goes on there. Another event the viewport passed on
    // to the area lies inside the viewport and is left alone.
    const bool onBorder = m_form.Title && (watched == m_form.Title || watched == m_form.Blurb)
        && (Resizing || !static_cast<AreaEdit *>(watched)->viewport()->geometry().contains(me->position().toPoint()));
    if (m_form.Title && (watched == m_form.Title->viewport() || watched == m_form.Blurb->viewport() || onBorder)) {
        AreaEdit *memo = watched == m_form.Title->viewport() || watched == m_form.Title ? m_form.Title : m_form.Blurb;
        const QPoint p = me->position().toPoint() - (onBorder ? memo->viewport()->pos() : QPoint());
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
        const QPoint p = canvas->mapTo(m_form.Background->viewport(), me->position().toPoint());
        switch (type) {
        case QEvent::MouseButtonPress:
            m_keyArea = nullptr;
            ++m_keyRun;
            BackgroundMouseDown(m_form.Background, button, shift, p.x(), p.y());
            m_surfacePressed = button == Qt::LeftButton;
            m_bandStart = me->position().toPoint();
            break;
        case QEvent::MouseButtonRelease:
            if (m_band && m_band->isVisible()) {
                m_band->hide();
                selectInBand(m_band->geometry(), shift & Qt::ShiftModifier);
            } else if (m_surfacePressed && button == Qt::LeftButton && canvas->rect().contains(me->position().toPoint())) {
                // A click on the bare surface selects the background.
                m_form.HighlightTable(m_form.Background);
            }
            m_surfacePressed = false;
            break;
        case QEvent::MouseMove:
            // A drag across the bare surface draws a band that selects the
            // buttons it touches.
            if (m_surfacePressed && (me->buttons() & Qt::LeftButton) && !m_drag->isDragging() && !DragOverFlag
                && ((m_band && m_band->isVisible())
                    || (me->position().toPoint() - m_bandStart).manhattanLength() >= QApplication::startDragDistance())) {
                if (!m_band)
                    m_band = new QRubberBand(QRubberBand::Rectangle, canvas);
                m_band->setGeometry(QRect(m_bandStart, me->position().toPoint()).normalized());
                m_band->show();
                m_band->raise();
            }
            BackgroundAndMemoMouseMove(m_form.Background, shift, p.x(), p.y());
            break;
        default:
            break;
        }
        return false;
    }
    return false;
}

// --- The surface's keys ---------------------------------------------------------------

QWidget *SurfaceController::keyTarget() const
{
    if (m_keyArea && !m_keyArea->isHidden())
        return m_keyArea;
    return m_form.SelectedButton;
}

bool SurfaceController::surfaceKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (isModifierKey(key))
        return false;

    int dx = 0;
    int dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: break;
    }
    if ((dx || dy) && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        // With nothing to move the arrows scroll the surface.
        if (!keyTarget())
            return false;
        const int step = modifiers == Qt::ShiftModifier ? 10 : 1;
        nudge(dx * step, dy * step);
        return true;
    }
    // Alt moves the text area last clicked, or the Title, whatever is selected.
    if ((dx || dy) && (modifiers == Qt::AltModifier || modifiers == (Qt::AltModifier | Qt::ShiftModifier))) {
        QWidget *area = m_keyArea ? m_keyArea.data() : m_form.Title;
        if (!m_form.design().ShowTitleAndBlurb)
            return false;
        const int step = modifiers & Qt::ShiftModifier ? 10 : 1;
        nudge(dx * step, dy * step, area);
        return true;
    }

    // Any other key ends a run of arrow moves.
    ++m_keyRun;
    if (modifiers == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Backspace:
            m_form.DeleteButtonClick(m_form.DeleteButton);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_form.EditField1Click(m_form.EditField1);
            return true;
        case Qt::Key_Tab:
            return selectNextButton(true);
        default:
            break;
        }
    }
    if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && modifiers == Qt::ShiftModifier))
        return selectNextButton(false);
    return false;
}

void SurfaceController::nudge(int dx, int dy, QWidget *target)
{
    if (!target)
        target = keyTarget();
    const std::optional<Place> place = target ? placeOf(target) : std::nullopt;
    if (!place)
        return;
    finishGesture();
    if (place->kind == Place::Kind::Button && !m_form.document().alsoSelected().isEmpty()) {
        moveSelectedButtons(QPoint(dx, dy), m_keyRun);
        return;
    }
    const QRect before = designRect(*place);
    QRect after = before.translated(dx, dy);
    // As at the end of a drag, nothing stays left of or above the origin.
    if (after.left() < 0)
        after.moveLeft(0);
    if (after.top() < 0)
        after.moveTop(0);
    if (after == before)
        return;
    m_form.document().push(new PlaceStep(m_form.document(), *place, before, after, m_form.selectionIndex(), m_keyRun));
    m_form.Background->ensureWidgetVisible(target, 0, 0);
}

void SurfaceController::moveSelectedButtons(QPoint by, int keyRun)
{
    qm::DesignDocument &doc = m_form.document();
    const QList<int> buttons = doc.selectedButtons();
    QList<QRect> before, after;
    QRect around;
    for (int index : buttons) {
        before << doc.design().Buttons.at(index).rect();
        around = around.united(before.last());
    }
    // As one piece: the first to reach the surface's edge stops them all.
    by.setX(std::max(by.x(), -around.left()));
    by.setY(std::max(by.y(), -around.top()));
    for (const QRect &r : std::as_const(before))
        after << r.translated(by);
    if (after == before) {
        // The dragged control may have moved on its own.
        m_form.pushButtonToControl(buttons.first());
        return;
    }
    doc.push(new qm::edit::ButtonRectsStep(doc, QStringLiteral("Move Buttons"), buttons, before, after, keyRun));
    m_form.Background->updateExtent();
}

void SurfaceController::selectInBand(const QRect &band, bool adding)
{
    qm::DesignDocument &doc = m_form.document();
    QList<int> touched;
    for (int i = 0; i < m_form.ButtonControls.size(); ++i) {
        if (!m_form.ButtonControls.at(i)->isHidden() && m_form.ButtonControls.at(i)->geometry().intersects(band))
            touched << i;
    }
    if (adding && doc.selection() >= 0) {
        doc.setAlsoSelected(doc.alsoSelected() + touched);
        return;
    }
    if (touched.isEmpty()) {
        m_form.HighlightTable(m_form.Background);
        return;
    }
    m_form.HighlightButton(m_form.ButtonControls.at(touched.takeFirst()));
    doc.setAlsoSelected(touched);
}

bool SurfaceController::selectNextButton(bool forward)
{
    // The order runs from the background through the buttons in list order.
    const int next = m_form.selectionIndex() + (forward ? 1 : -1);
    if (next >= m_form.ButtonControls.size() || next < BackgroundSelected)
        return false;
    if (next == BackgroundSelected) {
        m_form.HighlightTable(m_form.Background);
        return true;
    }
    TCleanMyButton *button = m_form.ButtonControls.at(next);
    m_form.HighlightButton(button);
    m_form.Background->ensureWidgetVisible(button, 0, 0);
    return true;
}

// --- The gestures' steps ------------------------------------------------------------------

void SurfaceController::finishGesture()
{
    // A drag ends as Escape ends it, a resize as a release does: what they
    // changed so far becomes their step.
    if (m_drag->isDragging() || m_drag->isPending())
        m_drag->cancelDrag();
    if (Resizing)
        ResizeMouseUp(ResizedControl, Qt::NoButton, {}, 0, 0);
}

std::optional<Place> SurfaceController::placeOf(const QWidget *control) const
{
    if (control == m_form.Title)
        return Place{Place::Kind::Title};
    if (control == m_form.Blurb || control == m_form.BlurbImage)
        return Place{Place::Kind::BlurbArea};
    if (isExactly<TCleanMyButton>(control)) {
        const int index = int(m_form.ButtonControls.indexOf(static_cast<const TCleanMyButton *>(control)));
        if (index >= 0)
            return Place{Place::Kind::Button, index};
    }
    return std::nullopt;
}

QRect SurfaceController::designRect(const Place &place) const
{
    switch (place.kind) {
    case Place::Kind::Title:
        return m_form.design().TitleRect;
    case Place::Kind::BlurbArea:
        return m_form.design().BlurbRect;
    case Place::Kind::Button:
        break;
    }
    return m_form.design().Buttons.at(place.button).rect();
}

void SurfaceController::beginGesture(QWidget *control)
{
    if (control == m_placing)
        return;
    m_gesture.control = control;
    m_gesture.before = control->geometry();
}

void SurfaceController::endGesture(QWidget *control)
{
    const bool placing = control && control == m_placing;
    if (placing)
        m_placing = nullptr;
    else if (!control || control != m_gesture.control)
        return;
    else
        m_gesture.control = nullptr;
    const std::optional<Place> place = placeOf(control);
    if (!place)
        return;
    // The gesture has moved only the control; its step moves the design.
    const QRect before = designRect(*place);
    const QRect after = control->geometry();
    if (after == before)
        return;
    // A move of the selection moves the buttons selected with it as well.
    if (!placing && place->kind == Place::Kind::Button && place->button == m_form.selectionIndex()
        && after.size() == before.size() && !m_form.document().alsoSelected().isEmpty()) {
        moveSelectedButtons(after.topLeft() - before.topLeft(), PlaceStep::NoRun);
        return;
    }
    // Add Button is one step, with the place the button was put at.
    m_form.document().push(new PlaceStep(m_form.document(), *place, before, after, m_form.selectionIndex(),
                                   placing ? PlaceStep::Placing : PlaceStep::NoRun));
}
