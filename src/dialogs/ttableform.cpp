#include "dialogs/ttableform.h"

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
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace qm::dialogs;

namespace {

constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 100;

const QStringList &fontNames()
{
    static const QStringList names{QStringLiteral("Courier"), QStringLiteral("Helvetica"), QStringLiteral("Dialog"),
                                   QStringLiteral("Times Roman"), QStringLiteral("Symbol")};
    return names;
}

const QStringList &styleNames()
{
    static const QStringList names{QStringLiteral("Normal"), QStringLiteral("Italic"), QStringLiteral("Bold"),
                                   QStringLiteral("Bold Italic")};
    return names;
}

QComboBox *fixedList(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    return list;
}

} // namespace

// --- Sample panel ------------------------------------------------------------------------

ColorSample::ColorSample(QWidget *parent)
    : QLabel(QStringLiteral("ABC"), parent)
{
    setObjectName(QStringLiteral("Color"));
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QFont f = font();
    f.setPixelSize(32);
    f.setBold(true);
    setFont(f);
    setFixedSize(120, 56);
    applyColors();
}

void ColorSample::setFillColor(qm::TColor color)
{
    m_fill = color;
    applyColors();
}

void ColorSample::setTextColor(qm::TColor color)
{
    m_text = color;
    applyColors();
}

void ColorSample::applyColors()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, qm::toQColor(m_fill));
    p.setColor(QPalette::WindowText, qm::toQColor(m_text));
    setPalette(p);
}

// --- Dialog ------------------------------------------------------------------------------

TTableForm::TTableForm(const DialogContext &context, QWidget *parent)
    : PropertyDialog(parent, QStringLiteral("TableForm"), QStringLiteral("Background Options"))
    , m_context(context)
    , m_imageDialog(imageFilter())
{
    MouseOverPage = createMouseOverPage();
    GlobalPage = createGlobalPage();
    addPage(MouseOverPage, QStringLiteral("Mouse Over Title and Blurb changes"), 43);
    addPage(GlobalPage, QStringLiteral("Global Properties"), 45);

    connect(Field2MouseOverImage, &QLineEdit::textChanged, this, [this] { Field2MouseOverImageChange(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(BitBtn6, &QPushButton::clicked, this, [this] { BitBtn6Click(); });

    adjustSize();
    FormCreate();
}

QWidget *TTableForm::createMouseOverPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("MouseOverTitleAndBlurb"));
    TitleText = makeTextBox(page, QStringLiteral("TitleText"), 2);
    BlurbText = makeTextBox(page, QStringLiteral("BlurbText"), 5);
    qm::limitText(TitleText, qm::MaxTitleChars, m_context.prompts, QStringLiteral("Title"));
    qm::limitText(BlurbText, qm::MaxBlurbChars, m_context.prompts, QStringLiteral("Blurb"));
    Field2MouseOverImage = new QLineEdit(page);
    Field2MouseOverImage->setObjectName(QStringLiteral("Field2MouseOverImage"));
    BitBtn6 = new QPushButton(QStringLiteral("Choose Image..."), page);
    BitBtn6->setObjectName(QStringLiteral("BitBtn6"));
    PreviewField2MOImage = makePreview(page, m_context.images);
    PreviewField2MOImage->setObjectName(QStringLiteral("PreviewField2MOImage"));

    Field2MouseOverImage->setMinimumWidth(300);
    makeOneLine(Field2MouseOverImage);

    auto *grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    grid->addWidget(fieldLabel(QStringLiteral("Title Text:"), page, TitleText), 0, 0, Qt::AlignTop);
    grid->addWidget(TitleText, 0, 1, 1, 2);
    grid->addWidget(fieldLabel(QStringLiteral("Blurb Text:"), page, BlurbText), 1, 0, Qt::AlignTop);
    grid->addWidget(BlurbText, 1, 1, 1, 2);
    grid->addWidget(fieldLabel(QStringLiteral("Blurb Image:"), page, Field2MouseOverImage), 2, 0);
    grid->addWidget(Field2MouseOverImage, 2, 1);
    grid->addWidget(BitBtn6, 2, 2);
    grid->addWidget(previewCaption(page), 3, 0);
    grid->addWidget(PreviewField2MOImage, 3, 1, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget *TTableForm::createGlobalPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("GlobalProperties"));

    BitBtn1 = new QPushButton(QStringLiteral("Background Colour"), page);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn4 = new QPushButton(QStringLiteral("Global Font Colour"), page);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    Color = new ColorSample(page);
    auto *colours = new QHBoxLayout;
    auto *colourButtons = new QVBoxLayout;
    colourButtons->addWidget(BitBtn1);
    colourButtons->addWidget(BitBtn4);
    colours->addLayout(colourButtons);
    colours->addWidget(Color);
    colours->addStretch();

    auto *fonts = new QGroupBox(QStringLiteral("Font Properties"), page);
    fonts->setObjectName(QStringLiteral("FontProperties"));
    TitleFont = fixedList(fonts, QStringLiteral("TitleFont"), fontNames());
    TitleFontSize = new SpinField(kMinFontSize, kMaxFontSize, fonts);
    TitleFontSize->setObjectName(QStringLiteral("TitleFontSize"));
    TitleStyle = fixedList(fonts, QStringLiteral("TitleStyle"), styleNames());
    BlurbFont = fixedList(fonts, QStringLiteral("BlurbFont"), fontNames());
    BlurbFontSize = new SpinField(kMinFontSize, kMaxFontSize, fonts);
    BlurbFontSize->setObjectName(QStringLiteral("BlurbFontSize"));
    BlurbStyle = fixedList(fonts, QStringLiteral("BlurbStyle"), styleNames());
    auto *fontGrid = new QGridLayout(fonts);
    fontGrid->setColumnStretch(1, 1);
    fontGrid->setColumnStretch(4, 1);
    fontGrid->setColumnMinimumWidth(2, 16);
    // One column of heading, font, size and style each for the Title and the Blurb.
    auto addColumn = [fonts, fontGrid](int column, const QString &heading, QComboBox *font, SpinField *size,
                                       QComboBox *style) {
        auto *h = new QLabel(heading, fonts);
        QFont bold = h->font();
        bold.setBold(true);
        h->setFont(bold);
        fontGrid->addWidget(h, 0, column, 1, 2);
        fontGrid->addWidget(fieldLabel(QStringLiteral("Font:"), fonts, font), 1, column);
        fontGrid->addWidget(font, 1, column + 1);
        fontGrid->addWidget(fieldLabel(QStringLiteral("Font Size:"), fonts, size), 2, column);
        fontGrid->addWidget(size, 2, column + 1);
        fontGrid->addWidget(fieldLabel(QStringLiteral("Font Style:"), fonts, style), 3, column);
        fontGrid->addWidget(style, 3, column + 1);
    };
    addColumn(0, QStringLiteral("TITLE"), TitleFont, TitleFontSize, TitleStyle);
    addColumn(3, QStringLiteral("BLURB"), BlurbFont, BlurbFontSize, BlurbStyle);

    auto *imageGroup = new QGroupBox(page);
    imageGroup->setObjectName(QStringLiteral("BlurbImageGroup"));
    StretchRadio = new QRadioButton(QStringLiteral("Stretch all Blurb images to fit the Blurb's boundaries"), imageGroup);
    StretchRadio->setObjectName(QStringLiteral("StretchRadio"));
    CenterRadio = new QRadioButton(QStringLiteral("Center all Blurb images at their original size"), imageGroup);
    CenterRadio->setObjectName(QStringLiteral("CenterRadio"));
    cbAbsPos = new QCheckBox(QStringLiteral("Absolute positioning"), imageGroup);
    cbAbsPos->setObjectName(QStringLiteral("cbAbsPos"));
    cbAbsPos->setChecked(true);
    auto *imageLayout = new QVBoxLayout(imageGroup);
    imageLayout->addWidget(StretchRadio);
    imageLayout->addWidget(CenterRadio);
    imageLayout->addWidget(cbAbsPos);

    auto *memoGroup = new QGroupBox(page);
    memoGroup->setObjectName(QStringLiteral("ShowMemosGroup"));
    ShowMemosRadio = new QRadioButton(QStringLiteral("Use and Show Title and Blurb"), memoGroup);
    ShowMemosRadio->setObjectName(QStringLiteral("ShowMemosRadio"));
    DontShowMemosRadio = new QRadioButton(QStringLiteral("Dont Use or Show Title or Blurb"), memoGroup);
    DontShowMemosRadio->setObjectName(QStringLiteral("DontShowMemosRadio"));
    auto *memoLayout = new QVBoxLayout(memoGroup);
    memoLayout->addWidget(ShowMemosRadio);
    memoLayout->addWidget(DontShowMemosRadio);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(colours);
    layout->addWidget(fonts);
    layout->addWidget(imageGroup);
    layout->addWidget(memoGroup);
    layout->addStretch();
    return page;
}

// --- Handlers ------------------------------------------------------------------------

void TTableForm::FormCreate()
{
    LastBlurbImageDir.clear();
    centreOnScreen(this);
}

std::optional<qm::TColor> TTableForm::runColorDialog()
{
    const std::optional<unsigned> chosen = m_context.prompts->colorDialog(m_dialogColor);
    if (chosen)
        m_dialogColor = *chosen;
    return chosen;
}

void TTableForm::BitBtn1Click()
{
    if (const auto c = runColorDialog())
        Color->setFillColor(*c);
}

void TTableForm::BitBtn4Click()
{
    if (const auto c = runColorDialog())
        Color->setTextColor(*c);
}

void TTableForm::BitBtn6Click()
{
    const std::optional<QString> chosen = m_imageDialog.run(m_context.prompts, LastBlurbImageDir, m_context);
    if (!chosen)
        return;
    Field2MouseOverImage->setText(*chosen);
    PreviewField2MOImage->setImageName(chosen->toUpper());
    LastBlurbImageDir = qm::folderPart(*chosen);
}

void TTableForm::Field2MouseOverImageChange()
{
    PreviewField2MOImage->setImageName(Field2MouseOverImage->text().toUpper());
}

void TTableForm::ComboIndex(QComboBox *list, const QString &value)
{
    int index = -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) == value)
            index = i;
    list->setCurrentIndex(index);
}

QString TTableForm::listText(const QComboBox *list)
{
    return list->currentIndex() < 0 ? QString() : list->currentText();
}

// --- Editing the background -----------------------------------------------------------------

std::optional<qm::BackgroundData> TTableForm::editBackground(const qm::BackgroundData &background)
{
    loadFrom(background);
    if (m_context.prompts->execDialog(this) != qm::ModalResult::Ok)
        return std::nullopt;
    return writeBack(background);
}

void TTableForm::loadFrom(const qm::BackgroundData &d)
{
    PageControl1->setCurrentWidget(MouseOverPage);
    Color->setFillColor(d.BackgroundColor);
    Color->setTextColor(d.TextColor);
    TitleText->setPlainText(qm::toAreaText(d.BgTitleText));
    BlurbText->setPlainText(qm::toAreaText(d.BgBlurbText));
    ComboIndex(TitleFont, d.TitleFont);
    TitleFontSize->setValue(d.TitleFontSize);
    ComboIndex(TitleStyle, d.TitleStyle);
    ComboIndex(BlurbFont, d.BlurbFont);
    BlurbFontSize->setValue(d.BlurbFontSize);
    ComboIndex(BlurbStyle, d.BlurbStyle);
    Field2MouseOverImage->setText(d.BlurbImageName);
    if (d.StretchBlurbImages)
        StretchRadio->setChecked(true);
    else
        CenterRadio->setChecked(true);
    if (d.ShowTitleAndBlurb)
        ShowMemosRadio->setChecked(true);
    else
        DontShowMemosRadio->setChecked(true);
}

qm::BackgroundData TTableForm::writeBack(qm::BackgroundData b) const
{
    // The picture is kept under both its names only when the preview found it.
    const QString loaded = PreviewField2MOImage->ImageName();
    if (loaded != qm::fileNotFoundName()) {
        b.BlurbImagePath = loaded;
        b.BlurbImageName = Field2MouseOverImage->text();
    } else {
        b.BlurbImagePath.clear();
        b.BlurbImageName.clear();
    }

    b.BgTitleText = qm::fromAreaText(TitleText->toPlainText());
    b.BgBlurbText = qm::fromAreaText(BlurbText->toPlainText());
    b.BackgroundColor = Color->fillColor();
    b.TextColor = Color->textColor();

    b.TitleFont = listText(TitleFont);
    b.TitleFontSize = TitleFontSize->readValue();
    b.TitleStyle = listText(TitleStyle);
    // A style name that is none of the four leaves the area's style as it was.
    qm::applyStyleName(b.TitleAreaStyle, b.TitleStyle);

    b.BlurbFont = listText(BlurbFont);
    b.BlurbFontSize = BlurbFontSize->readValue();
    b.BlurbStyle = listText(BlurbStyle);
    qm::applyStyleName(b.BlurbAreaStyle, b.BlurbStyle);

    b.StretchBlurbImages = StretchRadio->isChecked();
    b.ShowTitleAndBlurb = ShowMemosRadio->isChecked();
    return b;
}
