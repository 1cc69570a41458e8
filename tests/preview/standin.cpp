#include "standin.h"

#include "preview/procinfo.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <csignal>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return true;
}

} // namespace

StandInBrowser::StandInBrowser(const QString &folderName)
{
    QDir(m_dir.path()).mkpath(folderName);
    m_name = QStringLiteral("qmsb%1").arg(QCoreApplication::applicationPid());
    m_path = m_dir.path() + QLatin1Char('/') + folderName + QLatin1Char('/') + m_name;
    m_log = m_dir.filePath(QStringLiteral("starts.log"));
    m_pids = m_dir.filePath(QStringLiteral("running.pids"));
    m_stop = m_dir.filePath(QStringLiteral("stop"));
    Q_ASSERT(!m_dir.path().contains(QLatin1Char('\'')));
    const QString script = QStringLiteral(
        "#!/bin/sh\n"
        "line=''\n"
        "for a in \"$@\"; do line=\"$line[$a]\"; done\n"
        "printf '%s\\n' \"$line\" >> '%1'\n"
        "if [ $# -eq 0 ]; then\n"
        "  echo $$ >> '%2'\n"
        "  i=0\n"
        "  while [ $i -lt 600 ] && [ ! -e '%3' ]; do sleep 0.1; i=$((i+1)); done\n"
        "fi\n").arg(m_log, m_pids, m_stop);
    QFile f(m_path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(script.toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                         | QFile::ExeGroup);
    }
}

StandInBrowser::~StandInBrowser()
{
    stopAll();
}

QStringList StandInBrowser::starts() const
{
    QStringList lines = QString::fromUtf8(readAll(m_log)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool StandInBrowser::waitForStarts(int count, int timeoutMs) const
{
    return waitUntil([&] { return starts().size() >= count; }, timeoutMs);
}

QList<qint64> StandInBrowser::runningIds() const
{
    QList<qint64> ids;
    for (const QByteArray &line : readAll(m_pids).split('\n'))
        if (!line.isEmpty())
            ids << line.toLongLong();
    return ids;
}

bool StandInBrowser::startRunning()
{
    const qsizetype before = runningIds().size();
    if (!QProcess::startDetached(m_path, {}))
        return false;
    return waitUntil([&] { return runningIds().size() > before; }, 5000);
}

QString StandInBrowser::wrapper(const QString &name, const QString &body) const
{
    QDir(m_dir.path()).mkpath(QStringLiteral("wrappers"));
    const QString path = m_dir.path() + QStringLiteral("/wrappers/") + name;
    QString script = body;
    script.replace(QLatin1String("%S"), QLatin1Char('\'') + m_path + QLatin1Char('\''));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("#!/bin/sh\n" + script.toUtf8() + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return path;
}

void StandInBrowser::stopAll()
{
    QFile stop(m_stop);
    stop.open(QIODevice::WriteOnly);
    stop.close();
    const QList<qint64> ids = runningIds();
    waitUntil([&] {
        for (qint64 id : ids)
            if (qm::proc::isAlive(id))
                return false;
        return true;
    }, 3000);
    for (qint64 id : ids)
        if (qm::proc::isAlive(id))
            ::kill(pid_t(id), SIGKILL);
    QFile::remove(m_stop);
    QFile::remove(m_pids);
}
