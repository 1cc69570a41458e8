#include "dialogs/tbuttonoptions.h"

#include "dialogs/spinfield.h"
#include "imageview/tpmultiimage.h"
#include "model/textarea.h"
#include "platform/paths.h"
#include "dialogs/limitedtextedit.h"
#include "model/textlimits.h"
#include "platform/prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace qm::dialogs;

namespace {

constexpr int kMinSpin = 10;
constexpr int kMaxSpin = 1024;

} // namespace

TButtonOptions::TButtonOptions(const DialogContext &context, QWidget *parent)
    : PropertyDialog(parent, QStringLiteral("ButtonOptions"), QStringLiteral("Button"))
    , m_context(context)
    , m_imageDialog(imageFilter())
    , m_soundDialog(soundFilter())
    , m_urlDialog(anyFileFilter())
{
    GeneralPage = createGeneralPage();
    MouseOverPage = createMouseOverPage();
    addPage(GeneralPage, QStringLiteral("General"), 6);
    addPage(MouseOverPage, QStringLiteral("Mouse Over"), 14);

    connect(DefImageName, &QLineEdit::textChanged, this, [this] { DefImageNameChange(); });
    connect(MouseOverImage, &QLineEdit::textChanged, this, [this] { MouseOverImageChange(); });
    connect(Field2MouseOverImage, &QLineEdit::textChanged, this, [this] { Field2MouseOverImageChange(); });
    connect(ChooseImageButton, &QPushButton::clicked, this, [this] { ChooseDefaultImageClick(); });
    connect(BitBtn7, &QPushButton::clicked, this, [this] { ChooseMouseOverImageClick(); });
    connect(ChooseImageBtn, &QPushButton::clicked, this, [this] { ChooseMouseOverImageFlield2Click(); });
    connect(BitBtn6, &QPushButton::clicked, this, [this] { ChooseSoundClick(); });
    connect(BitBtnChooseURL, &QPushButton::clicked, this, [this] { BitBtnChooseURLClick(); });
    // A radio button checked from code runs its handler as a click does.
    connect(ButtonCheck, &QRadioButton::toggled, this, [this](bool on) { if (on) ButtonCheckClick(); });
    connect(TitleBlurbCheck, &QRadioButton::toggled, this, [this](bool on) { if (on) TitleBlurbCheckClick(); });

    ButtonCheck->setChecked(true);
    // The title bar's help button: pop-up topics, as in the main window.
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    adjustSize();
    FormCreate();
}

QWidget *TButtonOptions::createGeneralPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("General"));

    PositionBox = new QGroupBox(QStringLiteral("Position: "), page);
    Top = new SpinField(kMinSpin, kMaxSpin, PositionBox);
    Top->setObjectName(QStringLiteral("Top"));
    Left = new SpinField(kMinSpin, kMaxSpin, PositionBox);
    Left->setObjectName(QStringLiteral("Left"));
    auto *position = new QFormLayout(PositionBox);
    position->addRow(fieldLabel(QStringLiteral("From Top:"), PositionBox, Top), Top);
    position->addRow(fieldLabel(QStringLiteral("From Left:"), PositionBox, Left), Left);

    SizeBox = new QGroupBox(QStringLiteral("Size: "), page);
    Width = new SpinField(kMinSpin, kMaxSpin, SizeBox);
    Width->setObjectName(QStringLiteral("Width"));
    Height = new SpinField(kMinSpin, kMaxSpin, SizeBox);
    Height->setObjectName(QStringLiteral("Height"));
    auto *size = new QFormLayout(SizeBox);
    size->addRow(fieldLabel(QStringLiteral("Width:"), SizeBox, Width), Width);
    size->addRow(fieldLabel(QStringLiteral("Height:"), SizeBox, Height), Height);

    DefImageName = new QLineEdit(page);
    DefImageName->setObjectName(QStringLiteral("DefImageName"));
    ChooseImageButton = new QPushButton(QStringLiteral("Choose Image..."), page);
    ChooseImageButton->setObjectName(QStringLiteral("ChooseImageButton"));
    previewImage = makePreview(page, m_context.images);
    previewImage->setObjectName(QStringLiteral("previewImage"));

    LinkURL = new QLineEdit(page);
    LinkURL->setObjectName(QStringLiteral("LinkURL"));
    BitBtnChooseURL = new QPushButton(QStringLiteral("Choose File..."), page);
    BitBtnChooseURL->setObjectName(QStringLiteral("BitBtnChooseURL"));
    CheckURLRelative = new QCheckBox(QStringLiteral("Make URL Relative Upon Compilation "), page);
    CheckURLRelative->setObjectName(QStringLiteral("CheckURLRelative"));
    cbTarget = new QComboBox(page);
    cbTarget->setObjectName(QStringLiteral("cbTarget"));
    cbTarget->setEditable(true);
    // A frame name typed here is the button's target, not a new list item,
    // and stays as typed: no completion turns "_p" into "_parent" or "_TOP"
    // into "_top" (frame names are compared with their case).
    cbTarget->setInsertPolicy(QComboBox::NoInsert);
    cbTarget->setCompleter(nullptr);
    cbTarget->addItems({QStringLiteral("_blank"), QStringLiteral("_top"), QStringLiteral("_self"),
                        QStringLiteral("_parent")});

    // Wide enough to show a whole path of ordinary length.
    for (QLineEdit *field : {DefImageName, LinkURL})
        field->setMinimumWidth(300);
    for (QLineEdit *field : {DefImageName, LinkURL, cbTarget->lineEdit()})
        makeOneLine(field);
    cbTarget->setMinimumWidth(140);

    auto *boxes = new QHBoxLayout;
    boxes->addWidget(PositionBox);
    boxes->addWidget(SizeBox);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->addWidget(fieldLabel(QStringLiteral("Image:"), page, DefImageName), 0, 0);
    grid->addWidget(DefImageName, 0, 1);
    grid->addWidget(ChooseImageButton, 0, 2);
    grid->addWidget(previewCaption(page), 1, 0);
    grid->addWidget(previewImage, 1, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(fieldLabel(QStringLiteral("Click URL:"), page, LinkURL), 2, 0);
    grid->addWidget(LinkURL, 2, 1);
    grid->addWidget(BitBtnChooseURL, 2, 2);
    grid->addWidget(CheckURLRelative, 3, 1, 1, 2);
    grid->addWidget(fieldLabel(QStringLiteral("Target:"), page, cbTarget), 4, 0);
    grid->addWidget(cbTarget, 4, 1, Qt::AlignLeft);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(boxes);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget *TButtonOptions::createMouseOverPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("MouseOver"));

    ButtonCheck = new QRadioButton(QStringLiteral("Button changes"), page);
    ButtonCheck->setObjectName(QStringLiteral("ButtonCheck"));
    TitleBlurbCheck = new QRadioButton(QStringLiteral("Title and Blurb changes"), page);
    TitleBlurbCheck->setObjectName(QStringLiteral("TitleBlurbCheck"));

    ButtonChangesBox = new QGroupBox(QStringLiteral("Button Changes"), page);
    ButtonChangesBox->setObjectName(QStringLiteral("ButtonChangesBox"));
    MouseOverSound = new QLineEdit(ButtonChangesBox);
    MouseOverSound->setObjectName(QStringLiteral("MouseOverSound"));
    BitBtn6 = new QPushButton(QStringLiteral("Choose Sound..."), ButtonChangesBox);
    BitBtn6->setObjectName(QStringLiteral("BitBtn6"));
    MouseOverImage = new QLineEdit(ButtonChangesBox);
    MouseOverImage->setObjectName(QStringLiteral("MouseOverImage"));
    BitBtn7 = new QPushButton(QStringLiteral("Choose Image..."), ButtonChangesBox);
    BitBtn7->setObjectName(QStringLiteral("BitBtn7"));
    PreviewMouseImage = makePreview(ButtonChangesBox, m_context.images);
    PreviewMouseImage->setObjectName(QStringLiteral("PreviewMouseImage"));
    auto *buttonGrid = new QGridLayout(ButtonChangesBox);
    buttonGrid->setColumnStretch(1, 1);
    buttonGrid->addWidget(fieldLabel(QStringLiteral("AU Sound:"), ButtonChangesBox, MouseOverSound), 0, 0);
    buttonGrid->addWidget(MouseOverSound, 0, 1);
    buttonGrid->addWidget(BitBtn6, 0, 2);
    buttonGrid->addWidget(fieldLabel(QStringLiteral("New Image:"), ButtonChangesBox, MouseOverImage), 1, 0);
    buttonGrid->addWidget(MouseOverImage, 1, 1);
    buttonGrid->addWidget(BitBtn7, 1, 2);
    buttonGrid->addWidget(previewCaption(ButtonChangesBox), 2, 0);
    buttonGrid->addWidget(PreviewMouseImage, 2, 1, 1, 2, Qt::AlignLeft);
    buttonGrid->setRowStretch(3, 1);

    TitleBlurbChangesBox = new QGroupBox(QStringLiteral("Title and Blurb changes"), page);
    TitleBlurbChangesBox->setObjectName(QStringLiteral("TitleBlurbChangesBox"));
    TitleText = makeTextBox(TitleBlurbChangesBox, QStringLiteral("TitleText"), 1);
    BlurbText = makeTextBox(TitleBlurbChangesBox, QStringLiteral("BlurbText"), 4);
    qm::limitText(TitleText, qm::MaxTitleChars, m_context.prompts, QStringLiteral("Title"));
    qm::limitText(BlurbText, qm::MaxBlurbChars, m_context.prompts, QStringLiteral("Blurb"));
    Field2MouseOverImage = new QLineEdit(TitleBlurbChangesBox);
    Field2MouseOverImage->setObjectName(QStringLiteral("Field2MouseOverImage"));
    ChooseImageBtn = new QPushButton(QStringLiteral("Choose Image..."), TitleBlurbChangesBox);
    ChooseImageBtn->setObjectName(QStringLiteral("ChooseImageBtn"));
    PreviewField2MOImage = makePreview(TitleBlurbChangesBox, m_context.images);
    PreviewField2MOImage->setObjectName(QStringLiteral("PreviewField2MOImage"));
    auto *textGrid = new QGridLayout(TitleBlurbChangesBox);
    textGrid->setColumnStretch(1, 1);
    textGrid->addWidget(fieldLabel(QStringLiteral("Title Text:"), TitleBlurbChangesBox, TitleText), 0, 0);
    textGrid->addWidget(TitleText, 0, 1, 1, 2);
    textGrid->addWidget(fieldLabel(QStringLiteral("Blurb Text:"), TitleBlurbChangesBox, BlurbText), 1, 0,
                        Qt::AlignTop);
    textGrid->addWidget(BlurbText, 1, 1, 1, 2);
    textGrid->addWidget(fieldLabel(QStringLiteral("Blurb Image:"), TitleBlurbChangesBox, Field2MouseOverImage), 2, 0);
    textGrid->addWidget(Field2MouseOverImage, 2, 1);
    textGrid->addWidget(ChooseImageBtn, 2, 2);
    textGrid->addWidget(previewCaption(TitleBlurbChangesBox), 3, 0);
    textGrid->addWidget(PreviewField2MOImage, 3, 1, 1, 2, Qt::AlignLeft);
    textGrid->setRowStretch(4, 1);

    for (QLineEdit *field : {MouseOverSound, MouseOverImage, Field2MouseOverImage}) {
        field->setMinimumWidth(300);
        makeOneLine(field);
    }

    // The two groups take the same place; the page keeps the room of the
    // larger one whichever is shown.
    for (QGroupBox *box : {ButtonChangesBox, TitleBlurbChangesBox}) {
        QSizePolicy policy = box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        box->setSizePolicy(policy);
    }
    auto *radios = new QHBoxLayout;
    radios->addWidget(ButtonCheck);
    radios->addWidget(TitleBlurbCheck);
    radios->addStretch();
    auto *groups = new QGridLayout;
    groups->addWidget(ButtonChangesBox, 0, 0);
    groups->addWidget(TitleBlurbChangesBox, 0, 0);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(radios);
    layout->addLayout(groups, 1);
    return page;
}

// --- Handlers ------------------------------------------------------------------------

void TButtonOptions::FormCreate()
{
    LastImageDir.clear();
    LastMouseOverImageDir.clear();
    LastBlurbImageDir.clear();
    LastSoundDir.clear();
    LastURLDir.clear();
    centreOnScreen(this);
}

void TButtonOptions::FormActivate()
{
    previewImage->setImageName(DefImageName->text());
    PreviewField2MOImage->setImageName(Field2MouseOverImage->text());
    PageControl1->setCurrentWidget(GeneralPage);
}

void TButtonOptions::DefImageNameChange()
{
    previewImage->setImageName(DefImageName->text().toUpper());
}

void TButtonOptions::MouseOverImageChange()
{
    PreviewMouseImage->setImageName(MouseOverImage->text().toUpper());
}

void TButtonOptions::Field2MouseOverImageChange()
{
    PreviewField2MOImage->setImageName(Field2MouseOverImage->text().toUpper());
}

void TButtonOptions::chooseImage(QLineEdit *field, TPMultiImage *preview, QString &lastDir)
{
    const std::optional<QString> chosen = m_imageDialog.run(m_context.prompts, lastDir, m_context);
    if (!chosen)
        return;
    field->setText(*chosen);
    preview->setImageName(chosen->toUpper());
    lastDir = qm::folderPart(*chosen);
}

void TButtonOptions::ChooseDefaultImageClick()
{
    chooseImage(DefImageName, previewImage, LastImageDir);
}

void TButtonOptions::ChooseMouseOverImageClick()
{
    chooseImage(MouseOverImage, PreviewMouseImage, LastMouseOverImageDir);
}

void TButtonOptions::ChooseMouseOverImageFlield2Click()
{
    chooseImage(Field2MouseOverImage, PreviewField2MOImage, LastBlurbImageDir);
}

void TButtonOptions::ChooseSoundClick()
{
    const std::optional<QString> chosen = m_soundDialog.run(m_context.prompts, LastSoundDir, m_context);
    if (!chosen)
        return;
    MouseOverSound->setText(*chosen);
    LastSoundDir = qm::folderPart(*chosen);
}

void TButtonOptions::BitBtnChooseURLClick()
{
    qm::Prompts *prompts = m_context.prompts;
    // A relative URL is worked out from the project's file, so the design
    // needs one first.
    const bool askedToSave = !m_context.projectFileName || m_context.projectFileName().isEmpty();
    if (askedToSave) {
        prompts->information(QStringLiteral(
            "Please save the current file, so that Quillmap can work out all the relative paths in relation to it."));
        if (!m_context.saveAs || !m_context.saveAs())
            return;
    }
    if (askedToSave)
        prompts->information(QStringLiteral("Now pick the file that the URL will point to..."));
    const std::optional<QString> chosen = m_urlDialog.run(prompts, LastURLDir, m_context);
    if (!chosen)
        return;
    CheckURLRelative->setChecked(true);
    LinkURL->setText(*chosen);
    LastURLDir = qm::folderPart(*chosen);
}

void TButtonOptions::ButtonCheckClick()
{
    if (ButtonCheck->isChecked()) {
        TitleBlurbCheck->setChecked(false);
        TitleBlurbChangesBox->hide();
        ButtonChangesBox->show();
    } else {
        TitleBlurbCheck->setChecked(true);
        TitleBlurbChangesBox->show();
        ButtonChangesBox->hide();
    }
}

void TButtonOptions::TitleBlurbCheckClick()
{
    if (TitleBlurbCheck->isChecked()) {
        ButtonCheck->setChecked(false);
        ButtonChangesBox->hide();
        TitleBlurbChangesBox->show();
    } else {
        ButtonCheck->setChecked(true);
        ButtonChangesBox->show();
        TitleBlurbChangesBox->hide();
    }
}

// --- Editing a button ---------------------------------------------------------------------

std::optional<qm::ButtonData> TButtonOptions::editButton(const qm::ButtonData &button)
{
    loadFrom(button);
    FormActivate();
    if (m_context.prompts->execDialog(this) != qm::ModalResult::Ok)
        return std::nullopt;
    return writeBack(button);
}

void TButtonOptions::loadFrom(const qm::ButtonData &b)
{
    Width->setValue(b.Width);
    Height->setValue(b.Height);
    Top->setValue(b.Top);
    Left->setValue(b.Left);

    DefImageName->setText(b.DefImageName);
    MouseOverImage->setText(b.MouseOverImage);
    LinkURL->setText(b.LinkURL);
    cbTarget->setCurrentText(b.Target);
    TitleText->setPlainText(qm::toAreaText(b.TitleText));
    BlurbText->setPlainText(qm::toAreaText(b.BlurbText));
    MouseOverSound->setText(b.MouseOverSound);

    ButtonCheck->setChecked(true);
    CheckURLRelative->setChecked(b.URLRelative);
    Field2MouseOverImage->setText(b.MouseOverBlurbImage);
}

qm::ButtonData TButtonOptions::writeBack(qm::ButtonData b) const
{
    const QString notFound = qm::fileNotFoundName();

    b.URLRelative = CheckURLRelative->isChecked();

    b.MouseOverBlurbImage = PreviewField2MOImage->ImageName() != notFound ? Field2MouseOverImage->text() : QString();

    // An image is kept under both its names only when its preview found it.
    const QString defLoaded = previewImage->ImageName();
    if (defLoaded != notFound) {
        b.DefImagePath = defLoaded;
        b.DefImageName = DefImageName->text();
    } else {
        b.DefImagePath.clear();
        b.DefImageName.clear();
    }

    const QString overLoaded = PreviewMouseImage->ImageName();
    if (overLoaded != notFound) {
        b.MouseOverImagePath = overLoaded;
        b.MouseOverImage = MouseOverImage->text();
    } else {
        b.MouseOverImagePath.clear();
        b.MouseOverImage.clear();
    }

    b.TitleText = qm::fromAreaText(TitleText->toPlainText());
    b.BlurbText = qm::fromAreaText(BlurbText->toPlainText());

    b.Width = Width->readValue();
    b.Height = Height->readValue();
    b.Top = Top->readValue();
    b.Left = Left->readValue();

    b.LinkURL = LinkURL->text();
    const QString target = cbTarget->currentText();
    b.Target = target.isEmpty() ? QStringLiteral("_self") : target;
    b.MouseOverSound = MouseOverSound->text();
    return b;
}
