// Moving the design's controls by drag-and-drop: the handlers the drag
// manager calls, the "Move" commands and Add Button's placing.

#include "editor/controlkinds.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/snapguides.h"
#include "editor/surfacecontroller.h"
#include "editor/tmainform.h"
#include "editor/areaedit.h"
#include "model/arrange.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>

void SurfaceController::setUp()
{
    m_drag = new DragManager(this);
    using Handler = void (SurfaceController::*)(QObject *, QObject *, int, int, TDragState, bool &);
    auto over = [this](Handler handler) {
        return [this, handler](DragManager::DragOver &e) {
            (this->*handler)(e.target, e.source, e.pos.x(), e.pos.y(), e.state, e.accept);
        };
    };
    auto client = [this](QWidget *control) {
        return [this, control](QPoint global) { return control->mapFromGlobal(global) - clientOffset(control); };
    };
    auto endDrag = [this](QWidget *source, QWidget *target, QPoint pos) {
        MouseOnEndDrag(source, target, pos.x(), pos.y());
    };

    m_drag->addTarget(&m_form, over(&SurfaceController::FormDragOver));
    // The tool bar and the command row have no drag-over handler: they refuse.
    for (QWidget *w : std::initializer_list<QWidget *>{m_form.SpeedButton1, m_form.NewButton, m_form.OpenButton, m_form.SaveButton,
                                                        m_form.CompileButton, m_form.OptionsButton, m_form.QuitButton, m_form.HelpButton,
                                                        m_form.AddButton, m_form.EditButton, m_form.DeleteButton, m_form.BackgroundButton})
        m_drag->addTarget(w);

    // Over the bare surface positions are design positions.
    QWidget *canvas = m_form.Background->canvas();
    m_drag->addTarget(m_form.Background, over(&SurfaceController::BackgroundDragOver));
    m_drag->setClientMapper(m_form.Background, [canvas](QPoint global) { return canvas->mapFromGlobal(global); });

    for (AreaEdit *memo : {m_form.Title, m_form.Blurb}) {
        m_drag->addTarget(memo, over(&SurfaceController::MemoDragOver));
        m_drag->setClientMapper(memo, client(memo));
        m_drag->setEndDragHandler(memo, endDrag);
    }
    m_drag->addTarget(m_form.BlurbImage, over(&SurfaceController::BlurbImageDragOver));
    m_drag->setClientMapper(m_form.BlurbImage, client(m_form.BlurbImage));
    // The picture is dropped back at the origin like the text areas.
    m_drag->setEndDragHandler(m_form.BlurbImage, endDrag);
    m_form.BlurbImage->setMouseTracking(true);
}

void SurfaceController::attachButtonHandlers(TCleanMyButton *button)
{
    m_drag->addTarget(
        button,
        [this](DragManager::DragOver &e) { ButtonDragOver(e.target, e.source, e.pos.x(), e.pos.y(), e.state, e.accept); },
        [this](QWidget *target, QWidget *source, QPoint pos) { ButtonDragDrop(target, source, pos.x(), pos.y()); });
    m_drag->setClientMapper(button, [this, button](QPoint global) {
        return button->mapFromGlobal(global) - clientOffset(button);
    });
    m_drag->setEndDragHandler(button, [this](QWidget *source, QWidget *target, QPoint pos) {
        MouseOnEndDrag(source, target, pos.x(), pos.y());
    });
}

bool SurfaceController::beginDrag(QWidget *source, bool immediate, QPoint global)
{
    // A drag still running ends first, with its own step.
    finishGesture();
    beginGesture(source);
    return m_drag->beginDrag(source, immediate, global);
}

QPoint SurfaceController::clientOffset(const QWidget *control) const
{
    if (const auto *memo = qobject_cast<const AreaEdit *>(control))
        return memo->viewport()->pos();
    if (const auto *image = qobject_cast<const TPMultiImage *>(control))
        return image->contentsRect().topLeft();
    return QPoint(0, 0);
}

void SurfaceController::placeControl(QWidget *control, const QRect &bounds)
{
    if (isExactly<TCleanMyButton>(control)) {
        auto *button = static_cast<TCleanMyButton *>(control);
        const int index = button->Tag;
        if (index >= 0 && index < m_form.ButtonControls.size() && m_form.ButtonControls.at(index) == button) {
            // The buttons selected with it go along; the step at the end of
            // the drag moves them all in the design.
            const QPoint by = bounds.topLeft() - button->pos();
            if (button == m_form.SelectedButton && bounds.size() == button->size() && !by.isNull()) {
                for (int other : m_form.document().alsoSelected())
                    m_form.ButtonControls.at(other)->move(m_form.ButtonControls.at(other)->pos() + by);
            }
            button->setGeometry(bounds);
            // The selection frame follows the selected button.
            if (button == m_form.SelectedButton)
                m_form.ButtonBevel->setGeometry(bounds.adjusted(-2, -2, 2, 2));
        }
    } else if (control == m_form.Title) {
        m_form.Title->setGeometry(bounds);
    } else if (control == m_form.Blurb || control == m_form.BlurbImage) {
        // One rectangle for the Blurb area, whichever of the two shows it.
        m_form.Blurb->setGeometry(bounds);
        m_form.BlurbImage->setGeometry(bounds);
    } else if (control) {
        control->setGeometry(bounds);
    }
}

void SurfaceController::dragOverMove(QObject *target, QObject *source, int X, int Y, bool placement)
{
    auto *over = qobject_cast<QWidget *>(target);
    auto *moved = qobject_cast<QWidget *>(source);
    if (!over || !moved)
        return;
    // The mouse in design coordinates.
    const QPoint mouse = over == m_form.Background ? QPoint(X, Y) : over->pos() + clientOffset(over) + QPoint(X, Y);

    // A button just added waits for the mouse to reach the surface; its
    // top-left corner goes there. Only the button being placed is placed:
    // the flag never moves a button that is not the one dragged.
    if (placement && DragOverFlag && m_form.SelectedButton && m_form.SelectedButton == moved) {
        DragOverFlag = false;
        placeControl(m_form.SelectedButton, QRect(mouse, m_form.SelectedButton->size()));
        m_form.SelectedButton->show();
    }

    // The press point stays under the mouse, unless an edge or centre snaps.
    if (isExactly<AreaEdit>(moved) || isExactly<TCleanMyButton>(moved) || isExactly<TPMultiImage>(moved)) {
        const QPoint topLeft = snapped(moved, mouse - QPoint(DragStartX, DragStartY) - clientOffset(moved));
        if (topLeft != moved->pos()) {
            placeControl(moved, QRect(topLeft, moved->size()));
        }
    }
}

bool SurfaceController::snapGuides(QWidget *moved, QList<int> &xs, QList<int> &ys)
{
    if (!m_guides)
        m_guides = new SnapGuides(m_form.Background->canvas());
    // Alt held moves freely, as in other design tools.
    if (!m_snapping || (QGuiApplication::keyboardModifiers() & Qt::AltModifier)) {
        m_guides->setLines({}, {});
        return false;
    }
    const QList<int> &also = m_form.document().alsoSelected();
    for (TCleanMyButton *b : std::as_const(m_form.ButtonControls)) {
        if (b != moved && !b->isHidden() && !also.contains(b->Tag))
            qm::addGuides(b->geometry(), xs, ys);
    }
    const bool blurbMoved = moved == m_form.Blurb || moved == m_form.BlurbImage;
    if (moved != m_form.Title && !m_form.Title->isHidden())
        qm::addGuides(m_form.Title->geometry(), xs, ys);
    if (!blurbMoved && m_form.design().ShowTitleAndBlurb)
        qm::addGuides(m_form.design().BlurbRect, xs, ys);
    // The centre of the part of the surface in view.
    const QWidget *view = m_form.Background->viewport();
    const QPoint centre = m_form.Background->canvas()->mapFrom(view, view->rect().center());
    xs << centre.x();
    ys << centre.y();
    return true;
}

QPoint SurfaceController::snapped(QWidget *moved, QPoint topLeft)
{
    QList<int> xs, ys;
    if (!snapGuides(moved, xs, ys))
        return topLeft;
    const qm::Snapped s = qm::snapped(QRect(topLeft, moved->size()), xs, ys, SnapReach);
    m_guides->setLines(s.xGuides, s.yGuides);
    return s.topLeft;
}

QRect SurfaceController::snappedResize(QWidget *resized, QRect bounds, qm::resize::Direction d)
{
    using D = qm::resize::Direction;
    QList<int> xs, ys;
    if (!snapGuides(resized, xs, ys))
        return bounds;
    QList<int> onX, onY;
    const auto has = [d](std::initializer_list<D> sides) { return std::find(sides.begin(), sides.end(), d) != sides.end(); };
    // Only the edges the resize moves snap (`far`: the right or bottom one),
    // and never below the smallest size: the span's new start and length.
    const auto edge = [](int start, int length, bool far, const QList<int> &guides, int least, QList<int> &on) {
        const int end = start + length;
        const std::optional<int> g = qm::nearestGuide(far ? end : start, guides, SnapReach);
        if (!g || (far ? *g - start : end - *g) < least)
            return std::pair{start, length};
        on << *g;
        return far ? std::pair{start, *g - start} : std::pair{*g, end - *g};
    };
    const bool east = has({D::E, D::NE, D::SE}), south = has({D::S, D::SE, D::SW});
    if (east || has({D::W, D::NW, D::SW})) {
        const auto [x, w] = edge(bounds.left(), bounds.width(), east, xs, MinResizeWidth, onX);
        bounds.setRect(x, bounds.top(), w, bounds.height());
    }
    if (south || has({D::N, D::NE, D::NW})) {
        const auto [y, h] = edge(bounds.top(), bounds.height(), south, ys, MinResizeHeight, onY);
        bounds.setRect(bounds.left(), y, bounds.width(), h);
    }
    m_guides->setLines(onX, onY);
    return bounds;
}

void SurfaceController::BackgroundDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState, bool &)
{
    dragOverMove(Sender, Source, X, Y, true);
}

void SurfaceController::MemoDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState, bool &)
{
    dragOverMove(Sender, Source, X, Y, true);
}

void SurfaceController::ButtonDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState, bool &)
{
    dragOverMove(Sender, Source, X, Y, true);
}

void SurfaceController::BlurbImageDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState, bool &)
{
    dragOverMove(Sender, Source, X, Y, false);
}

void SurfaceController::FormDragOver(QObject *, QObject *, int, int, TDragState, bool &)
{
    // Outside the surface the drag is accepted and nothing moves.
}

void SurfaceController::MouseOnEndDrag(QObject *Sender, QObject *, int, int)
{
    auto *source = qobject_cast<QWidget *>(Sender);
    if (!source)
        return;
    if (m_guides)
        m_guides->setLines({}, {});
    // The placing drag is over however it ended; a button that never
    // reached the surface shows where it is rather than stay unseen.
    if (DragOverFlag) {
        DragOverFlag = false;
        if (isExactly<TCleanMyButton>(source) && source->isHidden())
            source->show();
    }

    // Nothing stays left of or above the design's origin.
    QScrollBar *h = m_form.Background->horizontalScrollBar();
    QScrollBar *v = m_form.Background->verticalScrollBar();
    const int hPos = h->value();
    h->setValue(0);
    QRect bounds = source->geometry();
    if (bounds.left() < 0)
        bounds.moveLeft(0);
    const int vPos = v->value();
    v->setValue(0);
    if (bounds.top() < 0)
        bounds.moveTop(0);
    if (bounds != source->geometry())
        placeControl(source, bounds);
    // The scroll range and the view follow the extent the move gave.
    m_form.Background->updateExtent();
    h->setValue(hPos);
    v->setValue(vPos);
    m_form.Background->ensureWidgetVisible(source, 0, 0);

    if (isExactly<TCleanMyButton>(source))
        m_form.HighlightButton(source);
    endGesture(source);
}

void SurfaceController::ButtonDragDrop(QObject *, QObject *, int, int)
{
    // A button dropped on a button stays where it was let go: the end of
    // the drag makes its step.
}

void SurfaceController::Move1Click()
{
    if (m_form.SelectedButton)
        beginDrag(m_form.SelectedButton, true, QCursor::pos());
}

void SurfaceController::MoveField1Click()
{
    if (PressedTextControl)
        beginDrag(PressedTextControl, true, QCursor::pos());
}

void SurfaceController::placeNewButton(TCleanMyButton *button)
{
    DragOverFlag = true;
    DragStartX = 0;
    DragStartY = 0;
    m_placing = button;
    if (!beginDrag(button, true, QCursor::pos())) {
        DragOverFlag = false;
        endGesture(button);
    }
}
