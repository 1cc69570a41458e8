// The main window's share of the start-up splash and of the help: its
// start-up timer, the Help command and the help contexts of its controls.

#include "editor/tmainform.h"

#include "dialogs/helpcontext.h"
#include "dialogs/helpcontroller.h"
#include "dialogs/helpfile.h"
#include "dialogs/tsplashform.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <utility>

QString TMainForm::startUpSplashState() const
{
    return m_services.splash ? program().SplashState : QStringLiteral("No Splash");
}

void TMainForm::Timer1Timer()
{
    if (Timer1->interval() == 1) {
        if (SplashForm) {
            SplashForm->show();
            SplashForm->raise();
        }
        Timer1->setInterval(3000);
        hide();
        return;
    }
    if (SplashForm)
        SplashForm->hide();
    setEnabled(true);
    showNormal();
    if (SplashForm)
        SplashForm->deleteLater();
    Timer1->stop();
    offerRecovery();
    if (!m_startUpFile.isEmpty())
        openChosenFile(std::exchange(m_startUpFile, QString()));
}

void TMainForm::showAtStartUp()
{
    // A window manager hands an iconic window back only through a map it
    // has processed: a window mapped minimised and withdrawn a moment later
    // (before the manager has taken it) stayed iconic for good, so about one
    // start in six showed nothing. During the splash the window is never
    // mapped; the start-up timer's last tick maps it once, in its normal
    // state.
    if (!Timer1->isActive()) {
        showNormal();
        // Asked over the window, once it is up.
        QTimer::singleShot(0, this, [this] { offerRecovery(); });
    }
}

void TMainForm::openAtStartUp(const QString &path)
{
    if (Timer1->isActive())
        m_startUpFile = path;
    else
        openChosenFile(path);
}

void TMainForm::HelpButtonClick()
{
    // The help file's name is relative: it resolves in the program folder
    // only while that is the current directory.
    QDir::setCurrent(program().StartDir);
    m_help->showContents(qm::help::helpFilePath(QDir::currentPath()));
    QDir::setCurrent(program().AppDir);
}

QString TMainForm::helpFilePath() const
{
    return qm::help::helpFilePath(program().StartDir);
}

void TMainForm::assignHelpContexts()
{
    using qm::help::setContext;
    // A help button in the title bar, beside the usual ones.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);

    // The buttons on the surface (400) get theirs as they are made; the tool
    // bar and "Delete Button" take the window's.
    setContext(this, 1);
    setContext(Background, 45);
    setContext(Title, 3);
    setContext(Blurb, 3);
    for (QObject *o : std::initializer_list<QObject *>{AddButton, EditButton, SetURL1, BackgroundMenu, AddButton1,
                                                       SetDimensions1})
        setContext(o, 5);
    for (QObject *o : std::initializer_list<QObject *>{Move1, MoveField1})
        setContext(o, 44);
    setContext(BackgroundButton, 45);
    const auto separators = [](QMenu *menu, int context) {
        for (QAction *a : menu->actions()) {
            if (a->isSeparator())
                setContext(a, context);
        }
    };
    separators(BackgroundMenu, 19);
    separators(ButtMenu, 20);

    m_help = new HelpController(this, [this] { return helpFilePath(); });
}
