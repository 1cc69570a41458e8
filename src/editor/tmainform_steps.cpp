// The main window's undo history: every change of the design becomes a step,
// and the steps reach the design and its controls through the functions here.

#include "editor/controlkinds.h"
#include "editor/tcleanmybutton.h"
#include "editor/tdesignsurface.h"
#include "editor/tmainform.h"
#include "editor/tmemo.h"

#include <QFrame>
#include <QUndoStack>

using namespace qm::edit;

void TMainForm::setUpSteps()
{
    m_steps = new QUndoStack(this);
    // Saved is the stack's clean state: an undo back to the design as it was
    // saved or opened leaves nothing to ask about, every other step does.
    connect(m_steps, &QUndoStack::indexChanged, this, [this] { Saved = m_steps->isClean(); });
}

void TMainForm::markSaved()
{
    m_steps->setClean();
    Saved = true;
}

void TMainForm::finishGesture()
{
    // A drag ends as Escape ends it, a resize as a release does: what they
    // changed so far becomes their step.
    if (m_drag->isDragging() || m_drag->isPending())
        m_drag->cancelDrag();
    if (Resizing)
        ResizeMouseUp(ResizedControl, Qt::NoButton, {}, 0, 0);
}

void TMainForm::Undo()
{
    finishGesture();
    // What comes after an undo or a redo is a step of its own.
    ++m_typingSession;
    ++m_keyRun;
    m_steps->undo();
    ++m_typingSession;
}

void TMainForm::Redo()
{
    finishGesture();
    ++m_typingSession;
    ++m_keyRun;
    m_steps->redo();
    ++m_typingSession;
}

int TMainForm::selectionIndex() const
{
    return SelectedButton ? int(ButtonControls.indexOf(SelectedButton)) : BackgroundSelected;
}

void TMainForm::selectionChanging(QObject *next)
{
    if (next == SelectedButton)
        return;
    ++m_typingSession;
    ++m_keyRun;
    m_keyArea = nullptr;
}

// --- What the steps do to the design and its controls ------------------------------

void TMainForm::restoreSelection(int selection)
{
    if (selection == selectionIndex())
        return;
    if (selection >= 0 && selection < ButtonControls.size())
        HighlightButton(ButtonControls.at(selection));
    else
        HighlightTable();
}

void TMainForm::showSelection()
{
    if (!ShowTitleAndBlurb) {
        Title->hide();
        Blurb->hide();
        BlurbImage->hide();
        return;
    }
    const qm::ButtonData *b = SelectedButton ? &buttonData(SelectedButton) : nullptr;
    const QString picture = b ? b->MouseOverBlurbImage : BlurbImagePath;
    if (!picture.isEmpty())
        BlurbImage->setImageName(picture);
    BlurbImage->setVisible(!picture.isEmpty());
    Blurb->setVisible(picture.isEmpty());
    Title->show();
    Title->setText(b ? b->TitleText : BgTitleText);
    Blurb->setText(b ? b->BlurbText : BgBlurbText);
}

void TMainForm::setAreaText(TextArea area, const QString &text)
{
    (area == TextArea::Title ? Title : Blurb)->setText(text);
}

void TMainForm::reloadButtonPicture(int index)
{
    TCleanMyButton *b = ButtonControls.at(index);
    b->setStretch(true);
    b->setImageName(Buttons.at(index).DefImagePath);
}

void TMainForm::insertButton(int index, const qm::ButtonData &data, bool editOnDoubleClick)
{
    Buttons.insert(index, data);
    renumber();
    TCleanMyButton *b = createButtonControl(index);
    b->EditOnDoubleClick = editOnDoubleClick;
    b->setImageName(data.DefImagePath);
    ButtonControls.insert(index, b);
    for (qsizetype i = 0; i < ButtonControls.size(); ++i)
        ButtonControls[i]->Tag = int(i);
    // Later buttons lie over earlier ones, as they did.
    if (index + 1 < ButtonControls.size())
        b->stackUnder(ButtonControls.at(index + 1));
    b->show();
    ButtonBevel->lower();
    Background->updateExtent();
}

void TMainForm::removeButton(int index)
{
    TCleanMyButton *doomed = ButtonControls.at(index);
    const bool selected = doomed == SelectedButton;
    if (LastMouseOverButton == doomed)
        LastMouseOverButton = nullptr;
    ButtonControls.removeAt(index);
    Buttons.removeAt(index);
    // The command may come from the button's own menu, so the control goes
    // once its events are done.
    doomed->hide();
    doomed->deleteLater();
    if (selected) {
        // The areas hold the background's own texts before the background
        // is selected, so the button's texts never reach it.
        SelectedButton = nullptr;
        Title->setText(BgTitleText);
        Blurb->setText(BgBlurbText);
        HighlightTable();
    }
    renumber();
    for (qsizetype i = 0; i < ButtonControls.size(); ++i)
        ButtonControls[i]->Tag = int(i);
}

// --- Making the steps ---------------------------------------------------------------------

void TMainForm::areaEdited(TMemo *area, const QString &before)
{
    const TextArea which = area == Title ? TextArea::Title : TextArea::Blurb;
    m_steps->push(new TypingStep(*this, which, selectionIndex(), before, area->text(), m_typingSession));
}

std::optional<Place> TMainForm::placeOf(const QWidget *control) const
{
    if (control == Title)
        return Place{Place::Kind::Title};
    if (control == Blurb || control == BlurbImage)
        return Place{Place::Kind::BlurbArea};
    if (isExactly<TCleanMyButton>(control)) {
        const int index = int(ButtonControls.indexOf(static_cast<const TCleanMyButton *>(control)));
        if (index >= 0)
            return Place{Place::Kind::Button, index};
    }
    return std::nullopt;
}

void TMainForm::beginGesture(QWidget *control)
{
    if (control == m_placing)
        return;
    m_gesture.control = control;
    m_gesture.before = control->geometry();
    m_gesture.saved = Saved;
}

void TMainForm::endGesture(QWidget *control)
{
    if (control && control == m_placing) {
        // Add Button is one step once the button is placed.
        m_placing = nullptr;
        const int index = int(ButtonControls.indexOf(static_cast<TCleanMyButton *>(control)));
        if (index >= 0)
            m_steps->push(new AddButtonStep(*this, index, Buttons.at(index), m_selectionBeforePlacing));
        return;
    }
    if (!control || control != m_gesture.control)
        return;
    m_gesture.control = nullptr;
    const std::optional<Place> place = placeOf(control);
    const QRect after = control->geometry();
    if (!place || after == m_gesture.before) {
        // Back where it started: nothing changed.
        Saved = m_gesture.saved;
        return;
    }
    m_steps->push(new PlaceStep(*this, *place, m_gesture.before, after, selectionIndex()));
}

void TMainForm::applyButtonProperties(int index, const qm::ButtonData &edited)
{
    // What the areas show is part of the button as it stands before the step.
    flushSelection();
    const qm::ButtonData before = Buttons.at(index);
    if (edited == before) {
        // Nothing changed; the selection shows the button as OK would.
        reloadButtonPicture(index);
        HighlightButton(ButtonControls.at(index));
        return;
    }
    m_steps->push(new ButtonPropertiesStep(*this, index, before, edited));
}

void TMainForm::applyBackgroundProperties(const qm::BackgroundData &edited)
{
    const qm::BackgroundData before = background();
    if (edited != before)
        m_steps->push(new BackgroundPropertiesStep(*this, before, edited));
}
