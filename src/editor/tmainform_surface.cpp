// The main window's face for the design surface: the handlers of the
// surface's mouse, drag and keys keep their names here and are the surface
// controller's.

#include "editor/surfacecontroller.h"
#include "editor/tmainform.h"

#include <QEvent>

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    return fileDropEvent(watched, event) || m_surface->filter(watched, event) || QWidget::eventFilter(watched, event);
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
