#include "preview/linuxconversation.h"

#include "preview/commandline.h"
#include "preview/procinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QUrl>

#include <unistd.h>

namespace qm {

namespace {

const QString kItemTail = QStringLiteral(",,0xFFFFFFFF,0x3,,,");

// Longest process name the system keeps.
constexpr qsizetype kMaxProcessName = 15;

QString canonical(const QString &path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace

void LinuxConversation::setProgram(const QString &program)
{
    m_program = program;
}

bool LinuxConversation::open(const QString &service, const QString &topic)
{
    close();
    if (topic == kOpenURL)
        m_open = runningBrowser(service) != 0;
    else
        m_open = topic == kActivate;
    if (m_open) {
        m_service = service;
        m_topic = topic;
    }
    return m_open;
}

void LinuxConversation::setStartedProcess(qint64 pid)
{
    const std::optional<proc::ProcessInfo> p = pid > 0 ? proc::processInfo(pid) : std::nullopt;
    m_startedPid = p ? pid : 0;
    m_startedAt = p ? p->startTime : 0;
}

qint64 LinuxConversation::runningBrowser(const QString &service) const
{
    const QString program = canonical(m_program);
    const QString name = service.left(kMaxProcessName);
    const uint me = ::geteuid();
    const qint64 self = ::getpid();
    QHash<qint64, qint64> parents;
    QList<qint64> candidates;
    bool startedRuns = false;
    for (const qint64 pid : proc::processIds()) {
        if (pid == self)
            continue;
        const std::optional<proc::ProcessInfo> p = proc::processInfo(pid);
        if (!p)
            continue;
        parents.insert(pid, p->parent);
        if (p->uid != me || p->state == 'Z')
            continue;
        if (!program.isEmpty() && (p->exe == program || (p->argv0.startsWith(QLatin1Char('/')) && canonical(p->argv0) == program)))
            return pid;
        if (!name.isEmpty() && p->name.compare(name, Qt::CaseInsensitive) == 0)
            return pid;
        if (m_startedPid && pid == m_startedPid && p->startTime == m_startedAt)
            startedRuns = true;
        candidates << pid;
    }
    if (!startedRuns)
        return 0;
    // The started process itself, or one that descends from it.
    for (const qint64 pid : std::as_const(candidates)) {
        qint64 up = pid;
        for (int depth = 0; up > 0 && depth < 64; ++depth) {
            if (up == m_startedPid)
                return pid;
            up = parents.value(up, 0);
        }
    }
    return 0;
}

QString LinuxConversation::urlOfItem(const QString &item)
{
    QString field;
    if (item.endsWith(kItemTail)) {
        field = item.left(item.size() - kItemTail.size());
    } else if (item.startsWith(QLatin1Char('"'))) {
        const qsizetype close = item.indexOf(QLatin1String("\","), 1);
        field = close < 0 ? item : item.left(close + 1);
    } else {
        field = item.left(item.indexOf(QLatin1Char(',')));
    }
    field = unquoted(field.trimmed());
    if (field.isEmpty())
        return QString();
    const QUrl url(field);
    if (!field.startsWith(QLatin1Char('/')) && url.isValid() && url.scheme().size() > 1)
        return field;
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(field)).toString(QUrl::FullyEncoded);
}

std::optional<QString> LinuxConversation::request(const QString &item, int)
{
    if (!m_open)
        return std::nullopt;
    if (m_topic != kOpenURL)
        return QString();
    const QString url = urlOfItem(item);
    if (url.isEmpty() || m_program.isEmpty())
        return std::nullopt;
    qint64 pid = 0;
    if (!proc::startDetached(m_program, {url}, &pid))
        return std::nullopt;
    return QString::number(pid);
}

void LinuxConversation::close()
{
    m_open = false;
    m_service.clear();
    m_topic.clear();
}

} // namespace qm
