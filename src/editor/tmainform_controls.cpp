// The main window's controls: the tool bar, the command row, the design
// surface with its Title and Blurb areas, the buttons' controls and the
// menus; their layout and painting; and the design's values in them.

#include "editor/tmainform.h"

#include "dialogs/helpcontext.h"
#include "editor/areaedit.h"
#include "editor/commandbutton.h"
#include "editor/designsurface.h"
#include "editor/glyphicon.h"
#include "editor/tcleanmybutton.h"
#include "model/textlimits.h"

#include <QFrame>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

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

} // namespace

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
    Title = new AreaEdit(canvas, QStringLiteral("Times Roman"), 24, qm::AreaStyle{true, false});
    Title->setObjectName(QStringLiteral("Title"));
    Title->setGeometry(46, 8, 372, 41);
    Title->setText(QStringLiteral("type background title here"));

    Blurb = new AreaEdit(canvas, QStringLiteral("Times Roman"), 14);
    Blurb->setObjectName(QStringLiteral("Blurb"));
    Blurb->setGeometry(46, 56, 372, 73);
    Blurb->setText(QStringLiteral("type background blurb here"));

    // No more than a project file can carry and Open reads back.
    qm::limitText(Title, qm::MaxTitleChars, m_services.prompts, QStringLiteral("Title"));
    qm::limitText(Blurb, qm::MaxBlurbChars, m_services.prompts, QStringLiteral("Blurb"));
    for (AreaEdit *memo : {Title, Blurb}) {
        memo->viewport()->installEventFilter(this);
        memo->viewport()->setMouseTracking(true);
        // Its border too: resizing starts there, and the readout follows it.
        memo->installEventFilter(this);
        memo->setMouseTracking(true);
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

TCleanMyButton *TMainForm::createButtonControl(int index)
{
    auto *b = new TCleanMyButton(Background->canvas(), m_services.images);
    b->setObjectName(QStringLiteral("Button%1").arg(index));
    b->Tag = index;
    qm::help::setContext(b, 400);
    b->setGeometry(design().Buttons.at(index).rect());
    b->setPictureBackdrop(toQColor(design().BackgroundColor));
    b->installEventFilter(this);
    b->setAcceptDrops(true);
    m_surface->attachButtonHandlers(b);
    b->hide();
    return b;
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

// --- The design in the controls ---------------------------------------------------------

void TMainForm::ColorBLurbImage()
{
    BlurbImage->setColor(toQColor(qm::blurbImageFillColor(design().BackgroundColor)));
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

void TMainForm::setBackgroundColor(qm::TColor color)
{
    design().BackgroundColor = color;
    Background->setSurfaceColor(toQColor(color));
    setAreaColor(QPalette::Base, toQColor(color));
}

void TMainForm::setTextColor(qm::TColor color)
{
    design().TextColor = color;
    Background->setFontColor(toQColor(color));
    setAreaColor(QPalette::Text, toQColor(color));
}

void TMainForm::setAreaColor(QPalette::ColorRole role, const QColor &color)
{
    for (AreaEdit *memo : {Title, Blurb}) {
        QPalette p = memo->palette();
        p.setColor(role, color);
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
    Title->setFace(design().TitleFont, design().TitleFontSize, design().TitleAreaStyle);
    Blurb->setFace(design().BlurbFont, design().BlurbFontSize, design().BlurbAreaStyle);
    if (design().StretchBlurbImages) {
        BlurbImage->setStretch(true);
    } else {
        BlurbImage->setStretch(false);
        BlurbImage->setCenter(true);
    }
    ColorBLurbImage();
    // Transparent parts of the pictures show the surface, as in a browser.
    const QColor surface = toQColor(design().BackgroundColor);
    BlurbImage->setPictureBackdrop(surface);
    for (TCleanMyButton *b : std::as_const(ButtonControls))
        b->setPictureBackdrop(surface);
    Background->updateExtent();
}
