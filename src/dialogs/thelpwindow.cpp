#include "dialogs/thelpwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QToolButton *makeButton(QWidget *parent, const QString &name, const QString &caption, QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    return b;
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

THelpWindow::THelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quillmap Help"));

    ContentsButton = makeButton(this, QStringLiteral("ContentsButton"), QStringLiteral("Contents"),
                                QStyle::SP_FileDialogContentsView);
    BackButton = makeButton(this, QStringLiteral("BackButton"), QStringLiteral("Back"), QStyle::SP_ArrowBack);
    ForwardButton = makeButton(this, QStringLiteral("ForwardButton"), QStringLiteral("Forward"),
                               QStyle::SP_ArrowForward);
    BackButton->setEnabled(false);
    ForwardButton->setEnabled(false);

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    // Web addresses in the help go to the user's browser; the help's own
    // links stay here.
    Browser->setOpenExternalLinks(true);

    connect(ContentsButton, &QToolButton::clicked, this, [this] {
        if (!m_file.isEmpty())
            showContents(m_file);
    });
    connect(BackButton, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(ForwardButton, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, BackButton, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardButton, &QToolButton::setEnabled);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 4, 4, 0);
    buttons->addWidget(ContentsButton);
    buttons->addWidget(BackButton);
    buttons->addWidget(ForwardButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(buttons);
    layout->addWidget(Browser, 1);

    resize(560, 620);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.right() - width() - 40 > area.left() ? area.right() - width() - 40 : area.left(),
             area.top() + 40);
    }
}

bool THelpWindow::open(const QString &helpFile)
{
    const QFileInfo info(helpFile);
    if (info.isFile() && info.isReadable()) {
        m_file = info.absoluteFilePath();
        return true;
    }
    // Say what is wrong in the window itself; there is nothing to go back
    // or forward to.
    m_file.clear();
    Browser->clearHistory();
    Browser->setHtml(QStringLiteral(
        "<h2>The help file cannot be opened</h2>"
        "<p>Quillmap looks for its help in the file</p><p><b>%1</b></p>"
        "<p>That file is missing or cannot be read. It is installed with the program, in the "
        "folder <b>help</b> beside it; installing Quillmap again brings it back.</p>")
                         .arg(escaped(QDir::toNativeSeparators(helpFile))));
    return false;
}

void THelpWindow::present()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void THelpWindow::showContents(const QString &helpFile)
{
    showAnchor(helpFile, QStringLiteral("contents"));
}

void THelpWindow::showAnchor(const QString &helpFile, const QString &anchor)
{
    if (open(helpFile)) {
        QUrl url = QUrl::fromLocalFile(m_file);
        url.setFragment(anchor);
        Browser->setSource(url, QTextDocument::HtmlResource);
    }
    present();
}
