#include "preview/texecfile.h"

#include "preview/commandline.h"
#include "preview/procinfo.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <sys/resource.h>

int TExecFile::niceValue(TPriorityClass priority)
{
    switch (priority) {
    case pcIdle: return 19;
    case pcHigh: return -10;
    case pcRealTime: return -20;
    case pcNormal: break;
    }
    return 0;
}

bool TExecFile::start(const QString &program, const QStringList &arguments)
{
    qint64 pid = 0;
    if (!qm::proc::startDetached(program, arguments, &pid))
        return false;
    ProcessId = pid;
    // The class is applied once the process runs; a system that refuses
    // (raising needs privileges) leaves it at the program's own priority.
    if (const int nice = niceValue(Priority))
        ::setpriority(PRIO_PROCESS, id_t(pid), nice);
    return true;
}

void TExecFile::fail(int code)
{
    ErrorCode = code;
    if (OnFail)
        OnFail(this);
}

bool TExecFile::Execute()
{
    ErrorCode = 0;
    ProcessId = 0;
    AssociatedProgram.clear();

    // The blank is there also when Parameters is empty.
    const qm::SplitCommand command = qm::splitCommandLine(CommandLine + QLatin1Char(' ') + Parameters);
    bool started = start(command.program, command.arguments);

    if (!started && Associate) {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        const QString document = qm::splitCommandLine(CommandLine).program;
        if (opener.isEmpty() || !QFileInfo::exists(document)) {
            fail(ENOENT);
            return false;
        }
        AssociatedProgram = opener;
        const qm::SplitCommand params = qm::splitCommandLine(QLatin1String("x ") + Parameters);
        started = start(opener, QStringList{document} + params.arguments);
    }

    if (!started) {
        const QFileInfo info(command.program);
        fail(!info.exists() ? ENOENT : !info.isExecutable() || info.isDir() ? EACCES : EIO);
        return false;
    }
    if (Wait)
        waitForEnd();
    return true;
}

void TExecFile::waitForEnd()
{
    Waiting = true;
    if (WaitStyle == wSuspend) {
        while (qm::proc::isAlive(ProcessId))
            QThread::msleep(20);
    } else {
        // A quit of the program ends every event loop, this one too; the
        // wait then ends with the started program still running.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, this] {
            if (!qm::proc::isAlive(ProcessId))
                loop.quit();
        });
        poll.start(20);
        if (qm::proc::isAlive(ProcessId))
            loop.exec();
        QCoreApplication::processEvents();
    }
    Waiting = false;
}
