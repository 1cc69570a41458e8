#include "editor/tmainform.h"

#include "dialogs/helpcontext.h"
#include "dialogs/toptionsform.h"
#include "dialogs/tbuttonoptions.h"
#include "dialogs/ttableform.h"
#include "editor/glyphicon.h"
#include "editor/tcleanmybutton.h"
#include "editor/commandbutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "dialogs/tsplashform.h"
#include "model/projectlock.h"
#include "model/textlimits.h"
#include "platform/prompts.h"
#include "preview/tddeform.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace {

// Client size of the window at its design size; the window is never smaller.
constexpr int kMinClientWidth = 450;
constexpr int kMinClientHeight = 454;

QToolButton *makeToolButton(QWidget *parent, const QString &name, const QString &caption,
                            qm::artwork::Glyph glyph)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(qm::artwork::toolGlyph(glyph));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(0, 0, 57, 57);
    return b;
}

QPushButton *makeCommandButton(QWidget *parent, const QString &name, const QString &caption,
                               qm::artwork::Glyph glyph)
{
    auto *b = new CommandButton(qm::artwork::toolGlyph(glyph), caption, parent);
    b->setObjectName(name);
    b->setIconSize(QSize(32, 32));
    b->setGeometry(0, 378, 112, 42);
    return b;
}

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

void TMainForm::createControls()
{
    using qm::artwork::Glyph;
    SpeedButton1 = makeToolButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("Preview"), Glyph::Preview);
    NewButton = makeToolButton(this, QStringLiteral("NewButton"), QStringLiteral("New"), Glyph::New);
    OpenButton = makeToolButton(this, QStringLiteral("OpenButton"), QStringLiteral("Open"), Glyph::Open);
    SaveButton = makeToolButton(this, QStringLiteral("SaveButton"), QStringLiteral("Save"), Glyph::Save);
    CompileButton = makeToolButton(this, QStringLiteral("CompileButton"), QStringLiteral("Compile"), Glyph::Compile);
    OptionsButton = makeToolButton(this, QStringLiteral("OptionsButton"), QStringLiteral("Options"), Glyph::Options);
    QuitButton = makeToolButton(this, QStringLiteral("QuitButton"), QStringLiteral("Quit"), Glyph::Quit);
    HelpButton = makeToolButton(this, QStringLiteral("HelpButton"), QStringLiteral("Help"), Glyph::Help);

    AddButton = makeCommandButton(this, QStringLiteral("AddButton"), QStringLiteral("Add Button"), Glyph::AddButton);
    EditButton = makeCommandButton(this, QStringLiteral("EditButton"), QStringLiteral("Edit Button"), Glyph::EditButton);
    DeleteButton = makeCommandButton(this, QStringLiteral("DeleteButton"), QStringLiteral("Delete Button"), Glyph::DeleteButton);
    BackgroundButton = makeCommandButton(this, QStringLiteral("BackgroundButton"), QStringLiteral("Background"), Glyph::Background);

    connect(NewButton, &QToolButton::clicked, this, [this] { NewButtonClick(); });
    connect(OpenButton, &QToolButton::clicked, this, [this] { OpenButtonClick(); });
    connect(SaveButton, &QToolButton::clicked, this, [this] { SaveButtonClick(); });
    connect(CompileButton, &QToolButton::clicked, this, [this] { CompileButtonClick(CompileButton); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { PreviewButtonClick(SpeedButton1); });
    connect(OptionsButton, &QToolButton::clicked, this, [this] { OptionsButtonClick(OptionsButton); });
    connect(QuitButton, &QToolButton::clicked, this, [this] { QuitButtonClick(); });
    connect(HelpButton, &QToolButton::clicked, this, [this] { HelpButtonClick(); });
    connect(AddButton, &QPushButton::clicked, this, [this] { AddButtonClick(AddButton); });
    connect(EditButton, &QPushButton::clicked, this, [this] { EditButtonClick(EditButton); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteButtonClick(DeleteButton); });
    connect(BackgroundButton, &QPushButton::clicked, this, [this] { BackgroundButtonClick(BackgroundButton); });

    Background = new DesignSurface(this);
    Background->setObjectName(QStringLiteral("Background"));
    Background->setGeometry(0, 56, 450, 321);
    QWidget *canvas = Background->canvas();
    canvas->installEventFilter(this);

    ButtonBevel = new QFrame(canvas);
    ButtonBevel->setObjectName(QStringLiteral("ButtonBevel"));
    ButtonBevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ButtonBevel->setLineWidth(2);
    ButtonBevel->setAttribute(Qt::WA_TransparentForMouseEvents);
    ButtonBevel->setGeometry(306, 219, 33, 33);
    ButtonBevel->hide();

    // Each area is made in its face, so its text is laid out once.
    Title = new AreaEdit(canvas, 24, qm::AreaStyle{true, false});
    Title->setObjectName(QStringLiteral("Title"));
    Title->setGeometry(46, 8, 372, 41);
    Title->setText(QStringLiteral("type background title here"));

    Blurb = new AreaEdit(canvas, 14);
    Blurb->setObjectName(QStringLiteral("Blurb"));
    Blurb->setGeometry(46, 56, 372, 73);
    Blurb->setText(QStringLiteral("type background blurb here"));

    // No more than a project file can carry and Open reads back.
    qm::limitText(Title, qm::MaxTitleChars, m_services.prompts, QStringLiteral("Title"));
    qm::limitText(Blurb, qm::MaxBlurbChars, m_services.prompts, QStringLiteral("Blurb"));
    for (AreaEdit *memo : {Title, Blurb}) {
        memo->viewport()->installEventFilter(this);
        memo->viewport()->setMouseTracking(true);
        connect(memo, &AreaEdit::userEdited, this, [this, memo](const QString &before) { areaEdited(memo, before); });
        connect(memo, &AreaEdit::focusLeft, this, [this] { ++m_typingSession; });
        connect(memo, &AreaEdit::escapePressed, this, [this] { Background->setFocus(Qt::OtherFocusReason); });
    }

    BlurbImage = new TPMultiImage(canvas, m_services.images);
    BlurbImage->setObjectName(QStringLiteral("BlurbImage"));
    BlurbImage->setBorderStyle(TPMultiImage::bsSingle);
    BlurbImage->setStretch(true);
    BlurbImage->setFocusPolicy(Qt::NoFocus);
    BlurbImage->setGeometry(8, 64, 34, 61);
    BlurbImage->installEventFilter(this);
    BlurbImage->hide();

    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
}

void TMainForm::createMenus()
{
    ButtMenu = new QMenu(this);
    ButtMenu->setObjectName(QStringLiteral("ButtMenu"));
    Move1 = ButtMenu->addAction(QStringLiteral("Move"), this, [this] { Move1Click(Move1); });
    Remove1 = ButtMenu->addAction(QStringLiteral("Remove"), this, [this] { DeleteButtonClick(Remove1); });
    ButtMenu->addSeparator();
    SetURL1 = ButtMenu->addAction(QStringLiteral("Properties"), this, [this] { SetURL1Click(SetURL1); });

    TextMenu = new QMenu(this);
    TextMenu->setObjectName(QStringLiteral("TextMenu"));
    MoveField1 = TextMenu->addAction(QStringLiteral("Move"), this, [this] { MoveField1Click(MoveField1); });
    TextMenu->addSeparator();
    EditField1 = TextMenu->addAction(QStringLiteral("Properties"), this, [this] { EditField1Click(EditField1); });

    BackgroundMenu = new QMenu(this);
    BackgroundMenu->setObjectName(QStringLiteral("BackgroundMenu"));
    AddButton1 = BackgroundMenu->addAction(QStringLiteral("Add Button"), this, [this] { AddButtonClick(AddButton1); });
    BackgroundMenu->addSeparator();
    SetDimensions1 = BackgroundMenu->addAction(QStringLiteral("Properties"), this,
                                               [this] { SetDimensions1Click(SetDimensions1); });
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

TCleanMyButton *TMainForm::createButtonControl(int index)
{
    auto *b = new TCleanMyButton(Background->canvas(), m_services.images);
    b->setObjectName(QStringLiteral("Button%1").arg(index));
    b->Tag = index;
    qm::help::setContext(b, 400);
    b->setGeometry(design().Buttons.at(index).rect());
    b->installEventFilter(this);
    m_surface->attachButtonHandlers(b);
    b->hide();
    return b;
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

void TMainForm::ToggleBlurb()
{
    if (!Blurb->isHidden()) {
        BlurbImage->show();
        Blurb->hide();
    } else {
        BlurbImage->hide();
        Blurb->show();
    }
}

void TMainForm::ColorBLurbImage()
{
    BlurbImage->setColor(toQColor(qm::blurbImageFillColor(design().BackgroundColor)));
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
    const qm::ModalResult answer = prompts()->messageBox(
        qm::BoxIcon::Question, QStringLiteral("Confirm"),
        QStringLiteral("Are you sure you want to delete this button?"), qm::BoxButtons::YesNo);
    if (answer != qm::ModalResult::Yes)
        return;

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

// --- Layout ---------------------------------------------------------------------------

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    setUpdatesEnabled(false);
    const int cw = width();
    const int ch = height();
    Background->setGeometry(0, 56, cw, ch - 133);

    int left = (cw - 450) / 2;
    for (QToolButton *b : {SpeedButton1, NewButton, OpenButton, SaveButton, CompileButton, OptionsButton,
                           QuitButton, HelpButton}) {
        b->move(left, 0);
        left += 56;
    }

    const int top = ch - 76;
    left = (cw - 448) / 2;
    for (QPushButton *b : {AddButton, EditButton, DeleteButton, BackgroundButton}) {
        b->move(left, top);
        left += 112;
    }
    update();
    setUpdatesEnabled(true);
}

QPoint TMainForm::logoPosition() const
{
    // The command row ends 34 pixels above the client bottom; the logo's
    // picture starts with four clear rows, so its drawing fills the band
    // below the row exactly.
    return QPoint((width() - 400) / 2, height() - 38);
}

void TMainForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(logoPosition(), qm::artwork::logo());
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

void TMainForm::setBackgroundColor(qm::TColor color)
{
    design().BackgroundColor = color;
    const QColor c = toQColor(color);
    Background->setSurfaceColor(c);
    // No more than a project file can carry and Open reads back.
    qm::limitText(Title, qm::MaxTitleChars, m_services.prompts, QStringLiteral("Title"));
    qm::limitText(Blurb, qm::MaxBlurbChars, m_services.prompts, QStringLiteral("Blurb"));
    for (AreaEdit *memo : {Title, Blurb}) {
        QPalette p = memo->palette();
        p.setColor(QPalette::Base, c);
        memo->setPalette(p);
    }
}

void TMainForm::setTextColor(qm::TColor color)
{
    design().TextColor = color;
    const QColor c = toQColor(color);
    Background->setFontColor(c);
    // No more than a project file can carry and Open reads back.
    qm::limitText(Title, qm::MaxTitleChars, m_services.prompts, QStringLiteral("Title"));
    qm::limitText(Blurb, qm::MaxBlurbChars, m_services.prompts, QStringLiteral("Blurb"));
    for (AreaEdit *memo : {Title, Blurb}) {
        QPalette p = memo->palette();
        p.setColor(QPalette::Text, c);
        memo->setPalette(p);
    }
}

void TMainForm::pushButtonToControl(int index)
{
    TCleanMyButton *b = ButtonControls.at(index);
    b->setGeometry(design().Buttons.at(index).rect());
    if (b == SelectedButton)
        ButtonBevel->setGeometry(b->geometry().adjusted(-2, -2, 2, 2));
}

void TMainForm::pushDesignToControls()
{
    pushBackgroundToControls();
    for (int i = 0; i < ButtonControls.size(); ++i)
        pushButtonToControl(i);
    Background->updateExtent();
}

void TMainForm::pushBackgroundToControls()
{
    setBackgroundColor(design().BackgroundColor);
    setTextColor(design().TextColor);
    Title->setGeometry(design().TitleRect);
    Blurb->setGeometry(design().BlurbRect);
    BlurbImage->setGeometry(design().BlurbRect);
    Title->setFace(design().TitleFontSize, design().TitleAreaStyle);
    Blurb->setFace(design().BlurbFontSize, design().BlurbAreaStyle);
    if (design().StretchBlurbImages) {
        BlurbImage->setStretch(true);
    } else {
        BlurbImage->setStretch(false);
        BlurbImage->setCenter(true);
    }
    ColorBLurbImage();
    Background->updateExtent();
}
