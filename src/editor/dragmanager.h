#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>

// Where a drag-over event stands in the passage of the mouse over a target.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// Moving controls by drag-and-drop inside the program. Qt's own QDrag is
// system drag-and-drop with data and a drop site; the editor instead moves
// the dragged control itself while the mouse goes over other controls, so
// it keeps a small drag manager built on mouse grabbing:
//
// - a drag starts at once (immediate) or once the mouse has gone
//   `threshold` pixels horizontally or vertically from the press point with
//   the left button held (deferred); a release before that is a plain click;
// - while dragging, the source's window holds the mouse and the keyboard;
//   every mouse move sends a drag-over event to the registered control under
//   the mouse, with its accept flag preset to true when the control has a
//   drag-over handler (a control without one refuses);
// - a release drops on the control that accepted last, then the source gets
//   its end of drag; Escape cancels (no drop, end of drag without target).
//
// Controls are registered with their handlers; a widget that is not
// registered stands for the nearest registered parent.
class DragManager : public QObject {
    Q_OBJECT
public:
    struct DragOver {
        QWidget *target = nullptr;
        QWidget *source = nullptr;
        QPoint pos;           // mouse position in the target's client coordinates
        TDragState state = TDragState::dsDragMove;
        bool accept = true;
    };
    using DragOverHandler = std::function<void(DragOver &)>;
    using DropHandler = std::function<void(QWidget *target, QWidget *source, QPoint pos)>;
    // target is null when the drag was cancelled or nothing accepted it.
    using EndDragHandler = std::function<void(QWidget *source, QWidget *target, QPoint pos)>;
    // The client coordinates of a control for a global position.
    using ClientMapper = std::function<QPoint(QPoint global)>;

    static constexpr int DefaultThreshold = 5;

    explicit DragManager(QObject *parent = nullptr);
    ~DragManager() override;

    // Makes `control` a drag target; without a drag-over handler it refuses
    // every drag (and so shields its parents).
    void addTarget(QWidget *control, DragOverHandler dragOver = {}, DropHandler drop = {});
    // Positions given to the control's handlers (default: its own widget
    // coordinates).
    void setClientMapper(QWidget *control, ClientMapper mapper);
    void setEndDragHandler(QWidget *source, EndDragHandler handler);

    // Starts dragging `source`; `global` is the press point (deferred) or the
    // mouse position (immediate). A running drag is cancelled first. False
    // when the source's window is not on screen: no mouse can drag there.
    bool beginDrag(QWidget *source, bool immediate, QPoint global, int threshold = DefaultThreshold);
    // Ends the drag as Escape does; a pending (deferred) drag just ends.
    void cancelDrag();

    bool isDragging() const { return m_phase == Phase::Active; }
    bool isPending() const { return m_phase == Phase::Pending; }
    QWidget *source() const { return m_source; }
    // The control the mouse was last over during this drag.
    QWidget *currentTarget() const { return m_target; }

    // The registered control that stands for the widget at `global`.
    QWidget *controlAt(QPoint global) const;
    QPoint clientPos(QWidget *control, QPoint global) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Phase { Idle, Pending, Active };
    struct Entry {
        bool target = false;
        DragOverHandler dragOver;
        DropHandler drop;
        EndDragHandler endDrag;
        ClientMapper mapper;
    };

    Entry &entry(QWidget *control);
    void activate(QPoint global);
    void dragTo(QPoint global);
    bool sendDragOver(QWidget *control, TDragState state, QPoint global);
    void finish(bool drop, QPoint global);
    // Back to idle: releases the grabs, the cursor and the event filter.
    void stop();

    QHash<const QWidget *, Entry> m_entries;
    Phase m_phase = Phase::Idle;
    QPointer<QWidget> m_source;
    QPointer<QWidget> m_target;
    QPointer<QWidget> m_lastAccepting;
    QPointer<QWidget> m_grabber;
    QPoint m_pressGlobal;
    int m_threshold = DefaultThreshold;
    bool m_cursorSet = false;
    QMetaObject::Connection m_sourceGone;
};
