#include "dialogs/toptionsform.h"

#include "dialogs/dialogparts.h"
#include "dialogs/helpcontext.h"
#include "model/design.h"
#include "model/settings.h"
#include "platform/prompts.h"
#include "preview/browserchoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

// Position of the last item whose text equals `text` exactly, or -1.
int comboIndex(const QComboBox *combo, const QString &text)
{
    for (int i = combo->count() - 1; i >= 0; --i)
        if (combo->itemText(i) == text)
            return i;
    return -1;
}

// Client size of the 419 x 206 window once the window manager draws its frame.
constexpr int kClientWidth = 411;
constexpr int kClientHeight = 179;

} // namespace

TOptionsForm::TOptionsForm(qm::DialogPrompts *prompts, const QString &appDir, QWidget *parent)
    : QDialog(parent)
    , m_prompts(prompts)
    , m_appDir(appDir)
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    qm::help::setContext(this, qm::help::OptionsContext);

    auto *browserLabel = new QLabel(QStringLiteral("Default Browser:"), this);
    browserLabel->setGeometry(8, 8, 200, 16);

    Browsername = new QLineEdit(this);
    Browsername->setObjectName(QStringLiteral("Browsername"));
    qm::dialogs::makeOneLine(Browsername);
    browserLabel->setBuddy(Browsername);

    ChooseBrowserBtn = new QPushButton(QStringLiteral("Choose Browser"), this);
    ChooseBrowserBtn->setObjectName(QStringLiteral("ChooseBrowserBtn"));
    ChooseBrowserBtn->setAutoDefault(false);
    connect(ChooseBrowserBtn, &QPushButton::clicked, this, &TOptionsForm::ChooseBrowserBtnClick);

    auto *splashLabel = new QLabel(QStringLiteral("Splash Screen:"), this);
    splashLabel->setGeometry(8, 60, 200, 16);

    SplashCombo = new QComboBox(this);
    SplashCombo->setObjectName(QStringLiteral("SplashCombo"));
    SplashCombo->setEditable(false);
    SplashCombo->addItems({QStringLiteral("Splash And Sound"), QStringLiteral("Splash (No Sound)"),
                           QStringLiteral("No Splash")});
    SplashCombo->setGeometry(8, 78, 180, 26);
    splashLabel->setBuddy(SplashCombo);

    CheckBoxSelectText = new QCheckBox(
        QStringLiteral("Disable Title and Blurb Drag and Drop (ie. use mouse drag to select text instead)"), this);
    CheckBoxSelectText->setObjectName(QStringLiteral("CheckBoxSelectText"));

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    connect(OkBtn, &QPushButton::clicked, this, [this] { done(1); });

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });

    // The check box's text is one line; with a wide font the dialog grows
    // rather than cut it.
    const int boxWidth = CheckBoxSelectText->sizeHint().width();
    const int width = qMax(kClientWidth, boxWidth + 16);
    Browsername->setGeometry(8, 26, width - 8 - 107 - 16, 26);
    ChooseBrowserBtn->setGeometry(width - 8 - 107, 25, 107, 28);
    CheckBoxSelectText->setGeometry(8, 114, width - 16, 22);
    OkBtn->setGeometry(width - 8 - 2 * 80 - 8, kClientHeight - 36, 80, 28);
    CancelBtn->setGeometry(width - 8 - 80, kClientHeight - 36, 80, 28);
    setFixedSize(width, kClientHeight);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TOptionsForm::reject()
{
    done(2);
}

void TOptionsForm::ChooseBrowserBtnClick()
{
    if (const std::optional<QString> chosen = qm::chooseBrowser(*m_prompts, Browsername->text(), m_appDir))
        Browsername->setText(*chosen);
}

void TOptionsForm::editSettings(qm::ProgramSetup &d)
{
    Browsername->setText(d.Browser);
    SplashCombo->setCurrentIndex(comboIndex(SplashCombo, d.SplashState));
    CheckBoxSelectText->setChecked(d.DragText);

    if (m_prompts->execDialog(this) != qm::ModalResult::Ok)
        return;

    d.Browser = Browsername->text();
    d.DragText = CheckBoxSelectText->isChecked();
    // Empty when no item is selected.
    d.SplashState = SplashCombo->currentIndex() < 0 ? QString() : SplashCombo->currentText();

    qm::Settings s;
    s.Browser = d.Browser;
    s.SplashState = d.SplashState;
    s.DragText = d.DragText;
    QString reason;
    if (!qm::writeSettings(d.AppDir, s, &reason))
        m_prompts->warning(QLatin1String("Error saving ") + qm::settingsFilePath(d.AppDir) + QLatin1String(": ")
                           + reason);
}
