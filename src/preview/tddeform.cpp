#include "preview/tddeform.h"

#include "preview/commandline.h"
#include "preview/linuxconversation.h"
#include "preview/texecfile.h"
#include "platform/prompts.h"

#include <QTimer>

namespace qm {

namespace {
constexpr int kRequestTimeout = 10000;
constexpr int kRetryInterval = 2000;
} // namespace

QString browserServiceName(const QString &browserCommand, PathStyle style)
{
    QString name = fileNamePart(browserCommand, style);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    // A program without extension keeps the closing quote of its command,
    // and no browser is called by such a name.
    if (name.endsWith(QLatin1Char('"')))
        name.chop(1);
    if (name.toUpper() == QLatin1String("IE20"))
        return QStringLiteral("IEXPLORE");
    return name;
}

qint64 windowNumberOf(const std::optional<QString> &reply)
{
    if (!reply)
        return 0;
    const QString &text = *reply;
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    qint64 value = 0;
    // Digits past any window number a browser gives are ignored rather
    // than let the number overflow.
    for (int digits = 0; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i)
        if (++digits <= 18)
            value = value * 10 + (text.at(i).unicode() - '0');
    return value;
}

QString openURLItem(const QString &url)
{
    // Blanks and control characters at both ends go.
    qsizetype from = 0;
    qsizetype to = url.size();
    while (from < to && url.at(from).unicode() <= ' ')
        ++from;
    while (to > from && url.at(to - 1).unicode() <= ' ')
        --to;
    return url.mid(from, to - from) + QLatin1String(",,0xFFFFFFFF,0x3,,,");
}

} // namespace qm

TDDEForm::TDDEForm(QObject *parent)
    : TDDEForm(std::make_unique<qm::LinuxConversation>(), parent)
{
}

TDDEForm::TDDEForm(std::unique_ptr<qm::Conversation> conversation, QObject *parent)
    : QObject(parent)
    , m_execFile(std::make_unique<TExecFile>())
{
    setObjectName(QStringLiteral("DDEForm"));
    setConversation(std::move(conversation));
    ExecFile1 = m_execFile.get();
    ExecFile1->Associate = false;
    ExecFile1->Priority = TExecFile::pcHigh;
    ExecFile1->Wait = false;
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(qm::kRetryInterval);
    connect(Timer1, &QTimer::timeout, this, &TDDEForm::Timer1Timer);
    HandOverTimer = new QTimer(this);
    HandOverTimer->setObjectName(QStringLiteral("HandOverTimer"));
    HandOverTimer->setSingleShot(true);
    HandOverTimer->setInterval(qm::HandOverDelay);
    connect(HandOverTimer, &QTimer::timeout, this, &TDDEForm::handOver);
}

TDDEForm::~TDDEForm() = default;

void TDDEForm::setConversation(std::unique_ptr<qm::Conversation> conversation)
{
    m_conversation = std::move(conversation);
    DdeClientConv1 = m_conversation.get();
}

void TDDEForm::OpenURL(const QString &browser, const QString &url)
{
    PendingURL = url;
    BrowserService = qm::browserServiceName(browser, pathStyle);
    DdeClientConv1->setProgram(qm::splitCommandLine(browser).program);
    if (!DdeClientConv1->open(BrowserService, qm::kOpenURL)) {
        // No browser answers: start one; the timer hands it the page once
        // it does.
        m_browser = browser;
        ExecFile1->CommandLine = browser;
        ExecFile1->Parameters.clear();
        if (!ExecFile1->Execute()) {
            Timer1->stop();
            HandOverTimer->stop();
            DdeClientConv1->setStartedProcess(0);
            notReached(browser);
            return;
        }
        DdeClientConv1->setStartedProcess(ExecFile1->ProcessId);
        // Already retrying, the timer keeps its rhythm.
        if (!Timer1->isActive())
            Timer1->start();
        HandOverTimer->start();
        return;
    }
    HandOverTimer->stop();
    sendURL();
}

void TDDEForm::Timer1Timer()
{
    if (!DdeClientConv1->open(BrowserService, qm::kOpenURL))
        return;
    sendURL();
    Timer1->stop();
    HandOverTimer->stop();
}

void TDDEForm::handOver()
{
    if (!Timer1->isActive())
        return;
    Timer1->stop();
    if (DdeClientConv1->open(BrowserService, qm::kOpenURL)) {
        sendURL();
        return;
    }
    // Browsers pass a page they are run with to their running instance.
    ExecFile1->CommandLine = m_browser;
    ExecFile1->Parameters = qm::LinuxConversation::urlOfItem(qm::openURLItem(PendingURL));
    const bool started = ExecFile1->Execute();
    ExecFile1->Parameters.clear();
    if (!started)
        notReached(m_browser);
}

void TDDEForm::notReached(const QString &browser)
{
    if (m_prompts)
        m_prompts->warning(QLatin1String("The browser ") + qm::splitCommandLine(browser).program
                           + QLatin1String(" could not be reached to show ") + qm::unquoted(PendingURL.trimmed())
                           + QLatin1Char('.'));
}

void TDDEForm::sendURL()
{
    const std::optional<QString> reply = DdeClientConv1->request(qm::openURLItem(PendingURL), qm::kRequestTimeout);
    const qint64 window = qm::windowNumberOf(reply);
    DdeClientConv1->close();
    if (DdeClientConv1->open(BrowserService, qm::kActivate)) {
        DdeClientConv1->request(QString::number(window) + QLatin1String(",0"), qm::kRequestTimeout);
        DdeClientConv1->close();
    }
}
