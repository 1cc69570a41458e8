// The main window follows its document: every step changes the document,
// and the document's signals reach the controls here, each touching only
// what changed. The commands that make steps of typing and of the property
// dialogs are here too.

#include "editor/controlkinds.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/tmainform.h"
#include "editor/areaedit.h"

#include <QFrame>
#include <QPushButton>
#include <QUndoStack>

using namespace qm::edit;
using qm::TextArea;

void TMainForm::setUpSteps()
{
    m_document = new qm::DesignDocument(this);
    m_files = new qm::DocumentFiles(*m_document, *this, m_services.prompts, m_services.recovery, this);
    m_files->setRecent(m_services.recent);
    using Doc = qm::DesignDocument;
    connect(m_document, &Doc::selectionChanging, this, &TMainForm::selectionChanging);
    connect(m_document, &Doc::selectionChanged, this, &TMainForm::selectionChanged);
    connect(m_document, &Doc::buttonMoved, this, &TMainForm::pushButtonToControl);
    connect(m_document, &Doc::buttonChanged, this, &TMainForm::buttonChanged);
    connect(m_document, &Doc::buttonInserted, this, &TMainForm::buttonInserted);
    connect(m_document, &Doc::buttonRemoved, this, &TMainForm::buttonRemoved);
    connect(m_document, &Doc::areaMoved, this, &TMainForm::areaMoved);
    connect(m_document, &Doc::textChanged, this, &TMainForm::textChanged);
    connect(m_document, &Doc::backgroundChanged, this, [this] {
        pushBackgroundToControls();
        showSelection();
    });
}

void TMainForm::markSaved()
{
    m_document->markSaved();
}

void TMainForm::Undo()
{
    finishGesture();
    // What comes after an undo or a redo is a step of its own.
    ++m_typingSession;
    m_surface->endKeyRun();
    undoStack()->undo();
    ++m_typingSession;
}

void TMainForm::Redo()
{
    finishGesture();
    ++m_typingSession;
    m_surface->endKeyRun();
    undoStack()->redo();
    ++m_typingSession;
}

int TMainForm::selectionIndex() const
{
    return m_document->selection();
}

// --- Following the document -------------------------------------------------------------

void TMainForm::selectionChanging(int from, int to)
{
    // Selecting something else ends a typing session and a run of arrow keys.
    if (from != to) {
        ++m_typingSession;
        m_surface->endKeyRun(false);
    }
    // Selecting, also the selection again, stores what was typed into it.
    writeBackMemoTexts(from);
}

void TMainForm::selectionChanged(int selection)
{
    const bool button = selection >= 0 && selection < ButtonControls.size();
    EditButton->setEnabled(button);
    DeleteButton->setEnabled(button);
    if (!button) {
        SelectedButton = nullptr;
        ButtonBevel->hide();
    } else {
        SelectedButton = ButtonControls.at(selection);
        ButtonBevel->setGeometry(SelectedButton->geometry().adjusted(-2, -2, 2, 2));
        ButtonBevel->show();
        ButtonBevel->lower();
    }
    if (!design().ShowTitleAndBlurb)
        return;
    const qm::ButtonData *b = button ? &design().Buttons.at(selection) : nullptr;
    const QString picture = b ? b->MouseOverBlurbImage : design().BlurbImagePath;
    if (!picture.isEmpty()) {
        BlurbImage->setImageName(picture);
        if (BlurbImage->isHidden())
            ToggleBlurb();
    } else if (Blurb->isHidden()) {
        ToggleBlurb();
    }
    Blurb->setText(b ? b->BlurbText : design().BgBlurbText);
    Title->setText(b ? b->TitleText : design().BgTitleText);
}

void TMainForm::showSelection()
{
    if (!design().ShowTitleAndBlurb) {
        Title->hide();
        Blurb->hide();
        BlurbImage->hide();
        return;
    }
    const int selected = selectionIndex();
    const qm::ButtonData *b = selected >= 0 ? &design().Buttons.at(selected) : nullptr;
    const QString picture = b ? b->MouseOverBlurbImage : design().BlurbImagePath;
    if (!picture.isEmpty())
        BlurbImage->setImageName(picture);
    BlurbImage->setVisible(!picture.isEmpty());
    Blurb->setVisible(picture.isEmpty());
    Title->show();
    Title->setText(b ? b->TitleText : design().BgTitleText);
    Blurb->setText(b ? b->BlurbText : design().BgBlurbText);
}

void TMainForm::textChanged(int owner, TextArea area)
{
    if (owner != selectionIndex())
        return;
    const qm::ButtonData *b = owner >= 0 ? &design().Buttons.at(owner) : nullptr;
    if (area == TextArea::Title)
        Title->setText(b ? b->TitleText : design().BgTitleText);
    else
        Blurb->setText(b ? b->BlurbText : design().BgBlurbText);
}

void TMainForm::reloadButtonPicture(int index)
{
    TCleanMyButton *b = ButtonControls.at(index);
    b->setStretch(true);
    b->setImageName(design().Buttons.at(index).DefImagePath);
}

void TMainForm::buttonChanged(int index)
{
    pushButtonToControl(index);
    reloadButtonPicture(index);
    if (index == selectionIndex())
        showSelection();
}

void TMainForm::areaMoved(TextArea area)
{
    if (area == TextArea::Title) {
        Title->setGeometry(design().TitleRect);
    } else {
        Blurb->setGeometry(design().BlurbRect);
        BlurbImage->setGeometry(design().BlurbRect);
    }
}

void TMainForm::buttonInserted(int index)
{
    TCleanMyButton *b = createButtonControl(index);
    b->EditOnDoubleClick = m_document->editsOnDoubleClick(index);
    b->setImageName(design().Buttons.at(index).DefImagePath);
    ButtonControls.insert(index, b);
    for (qsizetype i = index; i < ButtonControls.size(); ++i)
        ButtonControls[i]->Tag = int(i);
    // Later buttons lie over earlier ones, as they did.
    if (index + 1 < ButtonControls.size())
        b->stackUnder(ButtonControls.at(index + 1));
    b->show();
    ButtonBevel->lower();
    Background->updateExtent();
}

void TMainForm::buttonRemoved(int index)
{
    TCleanMyButton *doomed = ButtonControls.takeAt(index);
    if (LastMouseOverButton == doomed)
        LastMouseOverButton = nullptr;
    // The command may come from the button's own menu, so the control goes
    // once its events are done.
    doomed->hide();
    doomed->deleteLater();
    for (qsizetype i = index; i < ButtonControls.size(); ++i)
        ButtonControls[i]->Tag = int(i);
}

// --- Making the steps ---------------------------------------------------------------------

void TMainForm::areaEdited(AreaEdit *area, const QString &before)
{
    const TextArea which = area == Title ? TextArea::Title : TextArea::Blurb;
    m_document->push(new TypingStep(*m_document, which, selectionIndex(), before, area->text(), m_typingSession));
}

void TMainForm::applyButtonProperties(int index, const qm::ButtonData &edited)
{
    // What the areas show is part of the button as it stands before the step.
    flushSelection();
    const qm::ButtonData before = design().Buttons.at(index);
    if (edited == before) {
        // Nothing changed; the selection shows the button as OK would.
        reloadButtonPicture(index);
        HighlightButton(ButtonControls.at(index));
        return;
    }
    m_document->push(new ButtonPropertiesStep(*m_document, index, before, edited));
}

void TMainForm::applyBackgroundProperties(const qm::BackgroundData &edited)
{
    const qm::BackgroundData before = design().background();
    if (edited != before)
        m_document->push(new BackgroundPropertiesStep(*m_document, before, edited));
}
