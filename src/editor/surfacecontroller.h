#pragma once

#include "editor/dragmanager.h"
#include "editor/resizezones.h"
#include "model/designsteps.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <optional>

class QEvent;
class QKeyEvent;
class QWidget;
class TCleanMyButton;
class SnapGuides;
class QRubberBand;
class TMainForm;

// The design surface's mouse and keys: pressing, moving and resizing the
// design's controls with the mouse and the arrow keys, the menus a press
// opens, the mouse-over pictures the editor imitates, and the one step each
// gesture makes when it ends. A gesture moves only the controls, as a
// preview; its step moves the design. The main window keeps the handlers'
// names and hands them on to this.
class SurfaceController : public QObject {
    Q_OBJECT
public:
    explicit SurfaceController(TMainForm &form);

    // Connects the surface's controls, once the window has made them.
    void setUp();
    // Makes a new button's control a drop target that can be moved.
    void attachButtonHandlers(TCleanMyButton *button);
    // The mouse and key events of the surface's controls; true when taken.
    bool filter(QObject *watched, QEvent *event);

    // The state the handlers share.
    QString ResizeDirection = QStringLiteral("None");
    bool DragOverFlag = false;
    int ResizeMargin = 5;
    int MinResizeWidth = 10;
    int MinResizeHeight = 10;
    int DragStartX = 0;
    int DragStartY = 0;
    QPointer<QWidget> PressedTextControl;
    bool Resizing = false;
    QPointer<QWidget> ResizedControl;
    int MouseOverState = 0;
    TCleanMyButton *LastMouseOverButton = nullptr;

    // Mouse handlers; X, Y are relative to the client area of the control
    // that receives the event (Sender).
    void ButtonMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MemoMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void BlurbImageMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void BackgroundMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ResizeMouseUp(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ResizeMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void BlurbImageMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    // Drag-and-drop handlers; X, Y are relative to the target (Sender).
    void BackgroundDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void MemoDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void ButtonDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void BlurbImageDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void FormDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept);
    void MouseOnEndDrag(QObject *Sender, QObject *Target, int X, int Y);
    void ButtonDragDrop(QObject *Sender, QObject *Source, int X, int Y);
    // Mouse-over.
    void ButtonMouseOver(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void BackgroundAndMemoMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void ResetLastMouseOverButton(QObject *Sender);
    // The "Move" commands of the button's and the text areas' menus.
    void Move1Click();
    void MoveField1Click();

    // Add Button: the new button's control follows the mouse until it is
    // dropped, and where it is dropped joins the Add Button step.
    void placeNewButton(TCleanMyButton *button);
    // Ends a drag or resize in progress, with its step.
    void finishGesture();
    // Something else is selected, or a step is undone or redone: the arrow
    // keys start a run of their own (and move the selection again).
    void endKeyRun(bool keepArea = true);

    DragManager *dragManager() const { return m_drag; }

private:
    // Moving by drag-and-drop (surfacecontroller_drag.cpp).
    bool beginDrag(QWidget *source, bool immediate, QPoint global);
    // Shows a control of the design at new bounds while the mouse moves or
    // resizes it, with the controls that go with it: the selection frame
    // around the selected button, the Blurb text and picture together. The
    // design changes once, by the gesture's step, when it ends.
    void placeControl(QWidget *control, const QRect &bounds);
    // Where a control's client area starts inside it.
    QPoint clientOffset(const QWidget *control) const;
    void dragOverMove(QObject *target, QObject *source, int X, int Y, bool placement);

    // Pressing and resizing (surfacecontroller_resize.cpp). A press records
    // its point; on a sizing cursor it starts a resize (and returns true).
    bool pressControl(QWidget *control, int X, int Y);
    void setControlCursor(QWidget *control, Qt::CursorShape shape);
    Qt::CursorShape controlCursor(const QWidget *control) const;

    // The mouse routing and the keys (surfacecontroller.cpp).
    bool routeMouse(QObject *watched, QEvent *event);
    bool surfaceKey(QKeyEvent *event);
    // What the arrow keys move: the text area or Blurb picture last pressed,
    // else the selected button; none with nothing to move.
    QWidget *keyTarget() const;
    // Moves the key target by (dx, dy) as a drag would leave it.
    // Moves `target` (by default the selection, or the area the keys are for).
    void nudge(int dx, int dy, QWidget *target = nullptr);
    // Selects the next (previous) button in the design's order; false at
    // the end of the order, where the focus moves on.
    // Where a control dragged to `topLeft` goes: an edge or centre within
    // reach of another control's, or of the view's centre, snaps onto it.
    QPoint snapped(QWidget *moved, QPoint topLeft);
    // A resize step's bounds with the edges it moves snapped likewise.
    QRect snappedResize(QWidget *resized, QRect bounds, qm::resize::Direction d);
    // The guides a control may snap to; false when snapping is off (Alt).
    bool snapGuides(QWidget *moved, QList<int> &xs, QList<int> &ys);
    static constexpr int SnapReach = 5;
public:
    // Drags snap unless this is off (tools and tests that need drags to
    // follow the mouse exactly).
    void setSnapping(bool on) { m_snapping = on; }
private:
    bool m_snapping = true;
    // Selects the buttons a band drawn across the surface touches (adding
    // them to the selection with Shift).
    void selectInBand(const QRect &band, bool adding);
    // Moves every selected button by `by` as one step (one per run of keys).
    void moveSelectedButtons(QPoint by, int keyRun);
    bool selectNextButton(bool forward);

    // Moving or resizing with the mouse: where the control was before, and
    // the step once it is let go.
    void beginGesture(QWidget *control);
    void endGesture(QWidget *control);
    std::optional<qm::edit::Place> placeOf(const QWidget *control) const;
    // Where the design has the rectangle a control shows.
    QRect designRect(const qm::edit::Place &place) const;

    TMainForm &m_form;
    DragManager *m_drag = nullptr;
    bool m_surfacePressed = false;
    // The control a mouse gesture moves or resizes, and where it was.
    struct Gesture {
        QPointer<QWidget> control;
        QRect before;
    } m_gesture;
    // A button being placed by Add Button.
    QPointer<TCleanMyButton> m_placing;
    // The lines a drag snaps to, made at the first drag.
    SnapGuides *m_guides = nullptr;
    QRubberBand *m_band = nullptr;
    QPoint m_bandStart;
    // Arrow keys merge into one step until another key, a press or a
    // selection comes between.
    int m_keyRun = 0;
    // The text area or Blurb picture the arrow keys move.
    QPointer<QWidget> m_keyArea;
};
