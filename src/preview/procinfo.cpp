#include "preview/procinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>

namespace qm::proc {

namespace {

QString procPath(qint64 pid, const char *entry)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry));
}

QByteArray readSmall(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return f.read(4096);
}

// The fields of /proc/PID/stat after the process name: "pid (name) S ...".
// The name may hold blanks and parentheses, so they follow the last ')'.
QList<QByteArray> statFields(qint64 pid)
{
    const QByteArray stat = readSmall(procPath(pid, "stat"));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0 || close + 2 >= stat.size())
        return {};
    return stat.mid(close + 2).split(' ');
}

char stateOf(qint64 pid)
{
    const QList<QByteArray> fields = statFields(pid);
    return fields.isEmpty() || fields.first().isEmpty() ? '?' : fields.first().at(0);
}

} // namespace

QList<qint64> processIds()
{
    QList<qint64> ids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &e : entries) {
        bool ok = false;
        const qint64 pid = e.toLongLong(&ok);
        if (ok && pid > 0)
            ids << pid;
    }
    return ids;
}

std::optional<ProcessInfo> processInfo(qint64 pid)
{
    struct stat st;
    if (::stat(QFile::encodeName(QStringLiteral("/proc/%1").arg(pid)).constData(), &st) != 0)
        return std::nullopt;
    ProcessInfo info;
    info.pid = pid;
    info.uid = st.st_uid;
    // State, parent and start time are the stat file's fields 3, 4 and 22.
    const QList<QByteArray> fields = statFields(pid);
    if (!fields.isEmpty() && !fields.first().isEmpty())
        info.state = fields.first().at(0);
    info.parent = fields.value(1).toLongLong();
    info.startTime = fields.value(19).toULongLong();
    info.exe = QFile::symLinkTarget(procPath(pid, "exe"));
    info.name = QString::fromLocal8Bit(readSmall(procPath(pid, "comm"))).trimmed();
    const QByteArray cmdline = readSmall(procPath(pid, "cmdline"));
    info.argv0 = QString::fromLocal8Bit(cmdline.left(cmdline.indexOf('\0')));
    return info;
}

bool isAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    return stateOf(pid) != 'Z';
}

bool startDetached(const QString &program, const QStringList &arguments, qint64 *pid)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached(pid);
}

} // namespace qm::proc
