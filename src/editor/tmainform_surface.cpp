// The main window's face for the design surface: the handlers of the
// surface's mouse, drag and keys keep their names here and are the surface
// controller's.

#include "editor/surfacecontroller.h"
#include "editor/tmainform.h"
#include "editor/areaedit.h"
#include "editor/designsurface.h"
#include "editor/placereadout.h"
#include "editor/tcleanmybutton.h"

#include <QEvent>

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    watchForReadout(watched, event);
    return fileDropEvent(watched, event) || m_surface->filter(watched, event) || QWidget::eventFilter(watched, event);
}

void TMainForm::setUpReadout()
{
    Readout = new PlaceReadout(Background);
    Background->viewport()->installEventFilter(this);
    connect(m_document, &qm::DesignDocument::selectionChanged, this, [this] { followInReadout(SelectedButton); });
}

void TMainForm::followInReadout(QWidget *control)
{
    const int button = int(ButtonControls.indexOf(qobject_cast<TCleanMyButton *>(control)));
    if (button >= 0)
        Readout->follow(control, QStringLiteral("Button %1").arg(button + 1));
    else if (control == Title)
        Readout->follow(control, QStringLiteral("Title"));
    else if (control == Blurb || control == BlurbImage)
        Readout->follow(control, QStringLiteral("Blurb"));
    else
        Readout->follow(nullptr, QString());
}

void TMainForm::watchForReadout(QObject *watched, QEvent *event)
{
    if (!Readout)
        return;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched == Background->viewport())
            Readout->update(Readout->followed());
        else
            Readout->update(qobject_cast<QWidget *>(watched));
        break;
    case QEvent::MouseButtonPress:
        // What the mouse takes hold of is shown while it moves or resizes it.
        if (watched == Title->viewport() || watched == Blurb->viewport())
            followInReadout(static_cast<QWidget *>(watched)->parentWidget());
        else if (watched == BlurbImage || ButtonControls.contains(qobject_cast<TCleanMyButton *>(watched)))
            followInReadout(static_cast<QWidget *>(watched));
        break;
    default:
        break;
    }
}

DragManager *TMainForm::dragManager() const
{
    return m_surface->dragManager();
}

void TMainForm::finishGesture()
{
    m_surface->finishGesture();
}

void TMainForm::ButtonMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->ButtonMouseDown(Sender, Button, Shift, X, Y);
}

void TMainForm::MemoMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->MemoMouseDown(Sender, Button, Shift, X, Y);
}

void TMainForm::BlurbImageMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->BlurbImageMouseDown(Sender, Button, Shift, X, Y);
}

void TMainForm::BackgroundMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->BackgroundMouseDown(Sender, Button, Shift, X, Y);
}

void TMainForm::ResizeMouseUp(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->ResizeMouseUp(Sender, Button, Shift, X, Y);
}

void TMainForm::ResizeMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->ResizeMouseMove(Sender, Shift, X, Y);
}

void TMainForm::BlurbImageMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->BlurbImageMouseMove(Sender, Shift, X, Y);
}

void TMainForm::BackgroundDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    m_surface->BackgroundDragOver(Sender, Source, X, Y, State, Accept);
}

void TMainForm::MemoDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    m_surface->MemoDragOver(Sender, Source, X, Y, State, Accept);
}

void TMainForm::ButtonDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    m_surface->ButtonDragOver(Sender, Source, X, Y, State, Accept);
}

void TMainForm::BlurbImageDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    m_surface->BlurbImageDragOver(Sender, Source, X, Y, State, Accept);
}

void TMainForm::FormDragOver(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    m_surface->FormDragOver(Sender, Source, X, Y, State, Accept);
}

void TMainForm::MouseOnEndDrag(QObject *Sender, QObject *Target, int X, int Y)
{
    m_surface->MouseOnEndDrag(Sender, Target, X, Y);
}

void TMainForm::ButtonDragDrop(QObject *Sender, QObject *Source, int X, int Y)
{
    m_surface->ButtonDragDrop(Sender, Source, X, Y);
}

void TMainForm::ButtonMouseOver(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->ButtonMouseOver(Sender, Shift, X, Y);
}

void TMainForm::BackgroundAndMemoMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    m_surface->BackgroundAndMemoMouseMove(Sender, Shift, X, Y);
}

void TMainForm::ResetLastMouseOverButton(QObject *Sender)
{
    m_surface->ResetLastMouseOverButton(Sender);
}

void TMainForm::Move1Click(QObject *)
{
    m_surface->Move1Click();
}

void TMainForm::MoveField1Click(QObject *)
{
    m_surface->MoveField1Click();
}
