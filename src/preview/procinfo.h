#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace qm::proc {

// What the system tells about one running process (Linux /proc).
struct ProcessInfo {
    qint64 pid = 0;
    uint uid = 0;         // owner
    char state = '?';     // 'R', 'S', 'Z' ...
    qint64 parent = 0;    // the parent's id
    quint64 startTime = 0; // when it started, in clock ticks after boot: with the id it names one process
    QString exe;          // the running executable, links resolved; empty when hidden
    QString name;         // the process name (at most 15 characters)
    QString argv0;        // the first word of its command line
};

// The ids of all processes.
QList<qint64> processIds();

// The facts of one process; nullopt when it is gone.
std::optional<ProcessInfo> processInfo(qint64 pid);

// True while the process exists and has not ended (a zombie has ended).
bool isAlive(qint64 pid);

// Starts `program` with `arguments` on its own, without a shell, its
// standard channels leading nowhere. False when it could not be started.
bool startDetached(const QString &program, const QStringList &arguments, qint64 *pid);

} // namespace qm::proc
