// Pressing, resizing and the hot zones of the design's controls, and the
// editor's imitation of the mouse-over picture swap.

#include "editor/controlkinds.h"
#include "editor/resizezones.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/surfacecontroller.h"
#include "editor/tmainform.h"
#include "editor/areaedit.h"

#include <utility>

namespace {

// The widget that shows a control's cursor: a text area's viewport, the
// surface's canvas, otherwise the control itself.
QWidget *cursorHolder(QWidget *control, DesignSurface *surface)
{
    if (auto *memo = qobject_cast<AreaEdit *>(control))
        return memo->viewport();
    if (control == surface)
        return surface->canvas();
    return control;
}

} // namespace

Qt::CursorShape SurfaceController::controlCursor(const QWidget *control) const
{
    return cursorHolder(const_cast<QWidget *>(control), m_form.Background)->cursor().shape();
}

void SurfaceController::setControlCursor(QWidget *control, Qt::CursorShape shape)
{
    // A text area's own cursor is the text cursor; it stands for the arrow.
    if (shape == Qt::ArrowCursor && qobject_cast<AreaEdit *>(control))
        shape = Qt::IBeamCursor;
    QWidget *holder = cursorHolder(control, m_form.Background);
    // Called at every mouse move: only a change reaches the window system.
    if (holder->cursor().shape() != shape)
        holder->setCursor(shape);
}

// --- Hot zones and resizing ----------------------------------------------------

void SurfaceController::ResizeMouseMove(QObject *Sender, Qt::KeyboardModifiers, int X, int Y)
{
    using namespace qm::resize;
    auto *control = qobject_cast<QWidget *>(Sender);
    if (!control)
        return;
    if (control == m_form.Background) {
        setControlCursor(control, Qt::ArrowCursor);
    } else {
        const ZoneTable table = isExactly<AreaEdit>(control) ? ZoneTable::Memo : ZoneTable::Frame;
        const Direction zone = hotZone(table, QPoint(X, Y), control->size(), ResizeMargin);
        setControlCursor(control, zoneCursor(zone));
        // While resizing the direction stays the one the press found.
        if (zone != Direction::None && !Resizing)
            ResizeDirection = directionName(zone);
        if (Resizing && ResizedControl) {
            const Direction d = directionFromName(ResizeDirection);
            const QRect bounds = snappedResize(
                ResizedControl, resizeStep(ResizedControl->geometry(), d, QPoint(X, Y), MinResizeWidth, MinResizeHeight), d);
            if (bounds != ResizedControl->geometry())
                placeControl(ResizedControl, bounds);
        }
    }

    // The Blurb text and picture share one rectangle.
    if ((control == m_form.Blurb || control == m_form.BlurbImage) && m_form.Blurb->geometry() != m_form.BlurbImage->geometry())
        placeControl(control, control->geometry());
}

void SurfaceController::BlurbImageMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    ResizeMouseMove(Sender, Shift, X, Y);
}

// --- Pressing and releasing ----------------------------------------------------

bool SurfaceController::pressControl(QWidget *control, int X, int Y)
{
    DragStartX = X;
    DragStartY = Y;
    if (!qm::resize::isSizingCursor(controlCursor(control)))
        return false;
    ResizedControl = control;
    Resizing = true;
    beginGesture(control);
    return true;
}

void SurfaceController::ButtonMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    auto *button = qobject_cast<QWidget *>(Sender);
    if (!button)
        return;
    // Shift+click adds the button to the selection or takes it out.
    if (Button == Qt::LeftButton && (Shift & Qt::ShiftModifier) && m_form.extendSelection(button))
        return;
    // A press on one of several selected buttons keeps them all selected
    // (it becomes the one the areas show), so that a drag moves them all.
    QList<int> others = m_form.document().selectedButtons();
    const bool keep = others.removeAll(int(m_form.ButtonControls.indexOf(qobject_cast<TCleanMyButton *>(button)))) > 0;
    m_form.HighlightButton(button);
    if (keep)
        m_form.document().setAlsoSelected(others);
    // A plain click selects; only a move of 5 pixels makes it a move.
    if (!pressControl(button, X, Y) && Button == Qt::LeftButton)
        beginDrag(button, false, button->mapToGlobal(QPoint(X, Y) + clientOffset(button)));
}

void SurfaceController::MemoMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y)
{
    auto *memo = qobject_cast<QWidget *>(Sender);
    if (!memo)
        return;
    PressedTextControl = memo;
    // With DragText the press is the text's own: caret and selection.
    if (!pressControl(memo, X, Y) && !m_form.program().DragText && Button == Qt::LeftButton)
        beginDrag(memo, true, memo->mapToGlobal(QPoint(X, Y) + clientOffset(memo)));
}

void SurfaceController::BlurbImageMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y)
{
    auto *image = qobject_cast<QWidget *>(Sender);
    if (!image)
        return;
    PressedTextControl = image;
    // The picture has no text to select: it moves whatever DragText says.
    if (!pressControl(image, X, Y) && Button == Qt::LeftButton)
        beginDrag(image, true, image->mapToGlobal(QPoint(X, Y) + clientOffset(image)));
}

void SurfaceController::BackgroundMouseDown(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    // The click selects the background.
}

void SurfaceController::ResizeMouseUp(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    const bool wasResizing = std::exchange(Resizing, false);
    if (m_guides)
        m_guides->setLines({}, {});
    if (wasResizing)
        endGesture(ResizedControl);
}

// --- Mouse-over ------------------------------------------------------------------

void SurfaceController::ButtonMouseOver(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (isExactly<TCleanMyButton>(Sender)) {
        auto *button = static_cast<TCleanMyButton *>(Sender);
        if (button != LastMouseOverButton)
            ResetLastMouseOverButton(button);
        const QString &mouseOver = m_form.buttonData(button).MouseOverImagePath;
        // One read of the reported name per move: it costs a stat, and the
        // answer cannot change again within this event.
        if (button->ImageName() != mouseOver) {
            if (!mouseOver.isEmpty())
                button->setImageName(mouseOver);
            LastMouseOverButton = button;
            MouseOverState = 1;
        }
    }
    ResizeMouseMove(Sender, Shift, X, Y);
}

void SurfaceController::ResetLastMouseOverButton(QObject *Sender)
{
    if (MouseOverState != 1 || Sender == LastMouseOverButton || !LastMouseOverButton)
        return;
    TCleanMyButton *last = LastMouseOverButton;
    const qm::ButtonData &d = m_form.buttonData(last);
    if (last->ImageName() == d.MouseOverImagePath) {
        last->setImageName(d.DefImagePath);
        MouseOverState = 0;
    }
}

void SurfaceController::BackgroundAndMemoMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    ResetLastMouseOverButton(Sender);
    ResizeMouseMove(Sender, Shift, X, Y);
}
