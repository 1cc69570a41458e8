#include "dialogs/helpwindow.h"

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

constexpr QSize kPreferredSize(560, 620);
// Between the help window and the window it opens beside.
constexpr int kGap = 8;
// Narrower than this the help is hard to read; it goes over the window then.
constexpr int kMinWidth = 360;

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
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

    resize(kPreferredSize);
}

QRect HelpWindow::placeBeside(const QRect &frame, const QSize &size, const QRect &screen)
{
    const int right = screen.right() - frame.right() - kGap;
    const int left = frame.left() - screen.left() - kGap;
    int width = size.width();
    int x;
    if (right >= width) {
        x = frame.right() + 1 + kGap;
    } else if (left >= width) {
        x = frame.left() - kGap - width;
    } else if (qMax(left, right) >= kMinWidth) {
        // Narrower, on the side with more room.
        width = qMax(left, right);
        x = right >= left ? frame.right() + 1 + kGap : frame.left() - kGap - width;
    } else {
        // No side has room: at the screen's right edge, over the window.
        width = qMin(width, screen.width());
        x = screen.right() + 1 - width;
    }
    const int height = qMin(size.height(), screen.height());
    const int y = qBound(screen.top(), frame.top(), screen.bottom() + 1 - height);
    return QRect(x, y, width, height);
}

bool HelpWindow::open(const QString &helpFile)
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

void HelpWindow::present()
{
    // The first time, beside the window it helps with, not over its Help button.
    if (!m_placed && m_beside && !isVisible()) {
        m_placed = true;
        QScreen *screen = m_beside->screen() ? m_beside->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            // The window manager adds a frame around the size given here.
            const QSize frameExtra = frameGeometry().size() - geometry().size();
            const QRect place = placeBeside(m_beside->frameGeometry(), size() + frameExtra,
                                            screen->availableGeometry());
            resize(place.size() - frameExtra);
            move(place.topLeft());
        }
    }
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HelpWindow::showContents(const QString &helpFile)
{
    showAnchor(helpFile, QStringLiteral("contents"));
}

void HelpWindow::showAnchor(const QString &helpFile, const QString &anchor)
{
    if (open(helpFile)) {
        QUrl url = QUrl::fromLocalFile(m_file);
        url.setFragment(anchor);
        Browser->setSource(url, QTextDocument::HtmlResource);
    }
    present();
}
