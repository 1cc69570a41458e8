#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace qm {

// The lock a running program holds on the project file it has open, so that
// a second program does not save over the first one's work. The lock file
// lies beside the project (".NAME.lock"), or in `fallbackFolder` where the
// project's folder cannot be written. A lock left by a program that died is
// taken over.
class ProjectLock {
public:
    // The lock of the project at `path`, or null when another running program
    // holds it; `holder` then says which ("process 4711 on host dana-pc").
    static std::unique_ptr<ProjectLock> take(const QString &path, const QString &fallbackFolder,
                                             QString *holder = nullptr);
    const QString &path() const { return m_path; }

    // Where the lock of `path` lies beside it.
    static QString lockFileBeside(const QString &path);

private:
    ProjectLock(QString path, std::unique_ptr<QLockFile> lock);
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace qm
