#include "dialogs/helpcontroller.h"

#include "dialogs/helpcontext.h"
#include "dialogs/helpfile.h"
#include "dialogs/helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWhatsThis>
#include <QWhatsThisClickedEvent>

namespace {

QString popupText(const QString &helpFile, int context)
{
    const QString anchor = qm::help::anchorName(context);
    const QString section = qm::help::topicSummary(qm::help::readHelpFile(helpFile), anchor);
    if (section.isEmpty())
        return QStringLiteral("<p>No help can be shown here: the help file <b>%1</b> is missing, or has no "
                              "topic for this item.</p>")
            .arg(QDir::toNativeSeparators(helpFile).toHtmlEscaped());
    return section + QStringLiteral("<p><a href=\"#%1\">More in the help window</a></p>").arg(anchor);
}

} // namespace

HelpController::HelpController(QWidget *mainWindow, std::function<QString()> helpFile)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
    , m_helpFile(std::move(helpFile))
{
    // F1 goes to whichever control has the focus, in any of our windows,
    // so only an application-wide filter sees it.
    qApp->installEventFilter(this);
}

HelpController::~HelpController()
{
    delete m_window;
}

HelpWindow *HelpController::helpWindow()
{
    if (!m_window) {
        m_window = new HelpWindow(m_mainWindow);
        m_window->setOpensBeside(m_mainWindow);
    }
    return m_window;
}

void HelpController::showContents(const QString &helpFile)
{
    keepUsable();
    helpWindow()->showContents(helpFile);
}

bool HelpController::showsPopups(const QWidget *window)
{
    return window->windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
}

bool HelpController::isOurs(const QWidget *widget) const
{
    // The main window, its controls, and the dialogs and menus it owns; not
    // the help window itself, where F1 has nothing more to say.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == m_window)
            return false;
        if (w == m_mainWindow)
            return true;
    }
    return false;
}

void HelpController::helpOn(QWidget *widget, const QPoint &globalPos)
{
    const int context = qm::help::contextOf(widget);
    if (showsPopups(widget->window()))
        showPopup(widget, context, globalPos);
    else
        showInWindow(context);
}

void HelpController::showPopup(QWidget *widget, int context, const QPoint &globalPos)
{
    if (context == 0) {
        showInWindow(0);
        return;
    }
    QWhatsThis::showText(globalPos, popupText(m_helpFile(), context), widget);
    emit topicShown(context, true);
}

void HelpController::keepUsable()
{
    // A modal dialog blocks every window that is not its own: while one is
    // open, the help window belongs to it, so its topic can be read and
    // followed without closing the dialog first.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner || !isOurs(owner))
        owner = m_mainWindow;
    HelpWindow *w = helpWindow();
    if (w->parentWidget() == owner)
        return;
    const QRect bounds = w->geometry();
    w->setParent(owner, w->windowFlags());
    w->setGeometry(bounds);
}

void HelpController::showInWindow(int context)
{
    keepUsable();
    if (context == 0)
        helpWindow()->showContents(m_helpFile());
    else
        helpWindow()->showAnchor(m_helpFile(), qm::help::anchorName(context));
    emit topicShown(context, false);
}

bool HelpController::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::WhatsThis && type != QEvent::QueryWhatsThis
        && type != QEvent::WhatsThisClicked)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (!isOurs(widget))
        return false;

    switch (type) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1)
            return false;
        if (key->modifiers() == Qt::ShiftModifier) {
            if (!showsPopups(widget->window()))
                return false;
            QWhatsThis::enterWhatsThisMode();
            return true;
        }
        if (key->modifiers() != Qt::NoModifier)
            return false;
        if (auto *menu = qobject_cast<QMenu *>(widget)) {
            // In an open menu the item under the mouse or the cursor tells,
            // else the menu itself, else its owner.
            const int own = menu->activeAction() ? qm::help::ownContext(menu->activeAction()) : 0;
            const int context = own ? own : qm::help::contextOf(menu);
            QWidget *owner = menu->parentWidget() ? menu->parentWidget() : menu;
            const QPoint at = menu->mapToGlobal(menu->rect().center());
            menu->close();
            if (showsPopups(owner->window()))
                showPopup(owner, context, at);
            else
                showInWindow(context);
            return true;
        }
        helpOn(widget, widget->mapToGlobal(widget->rect().center()));
        return true;
    }
    case QEvent::QueryWhatsThis:
        if (qm::help::contextOf(widget) == 0)
            return false;
        event->accept();
        return true;
    case QEvent::WhatsThis: {
        const int context = qm::help::contextOf(widget);
        if (context == 0)
            return false;
        showPopup(widget, context, static_cast<QHelpEvent *>(event)->globalPos());
        event->accept();
        return true;
    }
    case QEvent::WhatsThisClicked: {
        // A link in a pop-up: the topic it names, in the help window.
        const QString href = static_cast<QWhatsThisClickedEvent *>(event)->href();
        if (!href.startsWith(QLatin1Char('#')))
            return false;
        keepUsable();
        helpWindow()->showAnchor(m_helpFile(), href.mid(1));
        return true;
    }
    default:
        return false;
    }
}
