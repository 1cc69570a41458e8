// The main window: its making and start-up, the reset of a new design, the
// selection and the button commands of the command row and the menus.

#include "editor/tmainform.h"

#include "dialogs/tbuttonoptions.h"
#include "dialogs/toptionsform.h"
#include "dialogs/tsplashform.h"
#include "dialogs/ttableform.h"
#include "editor/areaedit.h"
#include "editor/designsurface.h"
#include "editor/tcleanmybutton.h"
#include "platform/prompts.h"
#include "preview/tddeform.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

// Client size of the window at its design size; the window is never smaller.
constexpr int kMinClientWidth = 450;
constexpr int kMinClientHeight = 454;

bool isExactlyButton(const QObject *obj)
{
    return obj && obj->metaObject() == &TCleanMyButton::staticMetaObject;
}

} // namespace

TMainForm::TMainForm(const MainFormServices &services, QWidget *parent)
    : QWidget(parent)
    , m_surface(new SurfaceController(*this))
    , LastMouseOverButton(m_surface->LastMouseOverButton)
    , MouseOverState(m_surface->MouseOverState)
    , ResizeDirection(m_surface->ResizeDirection)
    , DragOverFlag(m_surface->DragOverFlag)
    , ResizeMargin(m_surface->ResizeMargin)
    , MinResizeWidth(m_surface->MinResizeWidth)
    , MinResizeHeight(m_surface->MinResizeHeight)
    , DragStartX(m_surface->DragStartX)
    , DragStartY(m_surface->DragStartY)
    , PressedTextControl(m_surface->PressedTextControl)
    , Resizing(m_surface->Resizing)
    , ResizedControl(m_surface->ResizedControl)
    , OptionsForm([this] { return new TOptionsForm(m_services.prompts, program().AppDir, this); })
    , ButtonOptions([this] { return new TButtonOptions(dialogContext(), this); })
    , TableForm([this] {
        auto *form = new TTableForm(dialogContext(), this);
        // "Absolute positioning" is a setting of the run that the dialog
        // shows; the build reads it from the design.
        form->cbAbsPos->setChecked(design().AbsolutePositioning);
        connect(form->cbAbsPos, &QCheckBox::toggled, this, [this](bool on) { design().AbsolutePositioning = on; });
        return form;
    })
    , m_services(services)
{
    setObjectName(QStringLiteral("MainForm"));
    setMinimumSize(kMinClientWidth, kMinClientHeight);
    resize(kMinClientWidth, kMinClientHeight);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kMinClientWidth / 2, kMinClientHeight / 2));
    }
    setUpSteps();
    createControls();
    createMenus();
    assignHelpContexts();
    m_surface->setUp();
    setUpKeys();
    setUpArrange();
    setUpDrops();
    setUpRecent();
    setUpReadout();
    FormCreate();
    SplashForm = new TSplashForm([this] { return startUpSplashState(); }, m_services.sound);
    DDEForm = new TDDEForm(this);
    DDEForm->setPrompts(m_services.prompts);
}

qm::dialogs::DialogContext TMainForm::dialogContext()
{
    qm::dialogs::DialogContext dialogs;
    dialogs.prompts = m_services.prompts;
    dialogs.images = m_services.images;
    dialogs.projectFileName = [this] { return design().FileName; };
    dialogs.projectFolder = [this] { return design().FileName.isEmpty() ? QString() : design().FileDir; };
    dialogs.saveAs = [this] { return SaveAs(); };
    return dialogs;
}

TMainForm::~TMainForm()
{
    // The window's children are destroyed after this part of it (the undo
    // stack empties itself, an area loses the focus): nothing they signal
    // then may reach a window that is no longer whole.
    for (QObject *child : findChildren<QObject *>())
        QObject::disconnect(child, nullptr, this, nullptr);
    delete SplashForm;
}

// --- Start-up and reset --------------------------------------------------------

void TMainForm::FormCreate()
{
    program().AppDir = QDir::currentPath();
    program().StartDir = program().AppDir;
    QuillmapInit();
    AddDefaultButton();
    FormResize();
    // The splash sequence: the window waits out of sight, taking no
    // commands, until the start-up timer has shown the splash and then the
    // window. It is not mapped at all until then (see showAtStartUp).
    if (startUpSplashState() != QLatin1String("No Splash")) {
        Timer1->start();
        setEnabled(false);
    }
}

void TMainForm::QuillmapInit()
{
    m_files->reset();
}

void TMainForm::showNewDesign()
{
    ButtonControls.clear();
    ResizeMargin = 5;
    MinResizeWidth = 10;
    MinResizeHeight = 10;

    pushDesignToControls();

    Title->show();
    Blurb->show();
    BlurbImage->hide();
    SelectedButton = nullptr;
    LastMouseOverButton = nullptr;

    Title->setText(design().BgTitleText);
    Blurb->setText(design().BgBlurbText);

    BlurbImage->setStretch(true);
    ColorBLurbImage();
    BlurbImage->setGeometry(design().BlurbRect);
    BlurbImage->setImageName(QString());

    ResizeDirection = QStringLiteral("None");
    DragOverFlag = false;
    MouseOverState = 0;

    HighlightTable();
}

bool TMainForm::NewTable()
{
    return m_files->newDesign();
}

void TMainForm::discardShownDesign()
{
    SelectedButton = nullptr;
    LastMouseOverButton = nullptr;
    for (TCleanMyButton *b : std::as_const(ButtonControls))
        delete b;
    ButtonControls.clear();
}

int TMainForm::AddDefaultButton()
{
    return m_files->addDefaultButton();
}

// --- Selection -------------------------------------------------------------------

void TMainForm::writeBackMemoTexts(int owner)
{
    // While the areas are hidden they do not show the selection's texts, so
    // there is nothing to store back.
    if (!design().ShowTitleAndBlurb)
        return;
    if (m_document->hasButton(owner)) {
        qm::ButtonData &d = design().Buttons[owner];
        d.TitleText = Title->text();
        d.BlurbText = Blurb->text();
    } else {
        design().BgTitleText = Title->text();
        design().BgBlurbText = Blurb->text();
    }
}

void TMainForm::HighlightButton(QObject *obj)
{
    EditButton->setEnabled(true);
    DeleteButton->setEnabled(true);
    if (!isExactlyButton(obj))
        return;
    const int index = int(ButtonControls.indexOf(static_cast<TCleanMyButton *>(obj)));
    if (index >= 0)
        m_document->select(index);
}

void TMainForm::HighlightTable(QObject *)
{
    m_document->select(qm::BackgroundSelected);
}

// --- Buttons -----------------------------------------------------------------------

void TMainForm::AddButtonClick(QObject *sender)
{
    finishGesture();
    const int index = m_document->buttonCount();
    // The first drag-over on the surface places the button; from then on it
    // follows the mouse until it is dropped, and where it is dropped is part
    // of the Add Button step.
    m_document->push(new qm::edit::AddButtonStep(*m_document, index, design().newButton(program(), 1, 1), selectionIndex()));
    TCleanMyButton *b = ButtonControls.at(index);
    // Added from the surface's menu, the button appears only once the mouse
    // is over the surface, where it is placed.
    if (sender == AddButton1)
        b->hide();
    m_surface->placeNewButton(b);
    // The arrow keys move the new button on.
    Background->setFocus(Qt::OtherFocusReason);
}

void TMainForm::DeleteButtonClick(QObject *)
{
    if (!SelectedButton)
        return;
    const QList<int> selected = m_document->selectedButtons();
    const QString question = selected.size() > 1
        ? QStringLiteral("Are you sure you want to delete these %1 buttons?").arg(selected.size())
        : QStringLiteral("Are you sure you want to delete this button?");
    const qm::ModalResult answer =
        prompts()->messageBox(qm::BoxIcon::Question, QStringLiteral("Confirm"), question, qm::BoxButtons::YesNo);
    if (answer != qm::ModalResult::Yes)
        return;
    if (selected.size() > 1) {
        removeButtons(QStringLiteral("Delete Buttons"), selected);
        return;
    }

    finishGesture();
    const int index = selectionIndex();
    if (index < 0)
        return;
    // An undo brings the button back with the texts its areas showed, typed
    // ones included.
    qm::ButtonData removed = design().Buttons.at(index);
    if (design().ShowTitleAndBlurb) {
        removed.TitleText = Title->text();
        removed.BlurbText = Blurb->text();
    }
    m_document->push(new qm::edit::DeleteButtonStep(*m_document, index, removed));
}

void TMainForm::EditButtonClick(QObject *)
{
    if (SelectedButton)
        ButtonDimensions1Click();
}

void TMainForm::SetURL1Click(QObject *)
{
    // The press that opened the button's menu has selected it.
    ButtonDimensions1Click();
}

void TMainForm::EditField1Click(QObject *sender)
{
    if (SelectedButton)
        ButtonDimensions1Click();
    else
        SetDimensions1Click(sender);
}

void TMainForm::ButtonDimensions1Click()
{
    const int index = selectionIndex();
    if (index < 0)
        return;
    // The dialog starts from the button's stored values: text typed into the
    // areas since the selection is not among them. A copy: the dialog may
    // save the design (to make paths relative), which changes the list.
    const qm::ButtonData current = design().Buttons.at(index);
    if (const std::optional<qm::ButtonData> edited = ButtonOptions->editButton(current))
        applyButtonProperties(index, *edited);
}

void TMainForm::BackgroundButtonClick(QObject *sender)
{
    HighlightTable(sender);
    SetDimensions1Click(sender);
}

void TMainForm::SetDimensions1Click(QObject *sender)
{
    // Selecting the background stores what was typed into the areas, so the
    // dialog starts from the background's current texts.
    HighlightTable(sender);
    if (const std::optional<qm::BackgroundData> edited = TableForm->editBackground(design().background()))
        applyBackgroundProperties(*edited);
    HighlightTable(sender);
}

// --- Model and controls -------------------------------------------------------------------

qm::ButtonData &TMainForm::buttonData(const TCleanMyButton *button)
{
    return design().Buttons[button->Tag];
}

const qm::LineBreaker &TMainForm::lineBreaker() const
{
    return m_document->lineBreaker();
}

