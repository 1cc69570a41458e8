#include "model/projectlock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace qm {

namespace {

enum class Outcome { Taken, HeldElsewhere, CannotWrite };

Outcome tryLock(QLockFile &lock, QString *holder)
{
    // Only a lock whose program no longer runs is stale, however old it is.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return Outcome::Taken;
    if (lock.error() != QLockFile::LockFailedError)
        return Outcome::CannotWrite;
    if (holder) {
        qint64 pid = 0;
        QString host, app;
        if (lock.getLockInfo(&pid, &host, &app))
            *holder = QStringLiteral("process %1 on host %2").arg(pid).arg(host.isEmpty() ? QStringLiteral("?") : host);
        else
            *holder = QStringLiteral("another program");
    }
    return Outcome::HeldElsewhere;
}

} // namespace

ProjectLock::ProjectLock(QString path, std::unique_ptr<QLockFile> lock)
    : m_path(std::move(path))
    , m_lock(std::move(lock))
{
}

QString ProjectLock::lockFileBeside(const QString &path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1String(".lock");
}

std::unique_ptr<ProjectLock> ProjectLock::take(const QString &path, const QString &fallbackFolder, QString *holder)
{
    auto beside = std::make_unique<QLockFile>(lockFileBeside(path));
    switch (tryLock(*beside, holder)) {
    case Outcome::Taken:
        return std::unique_ptr<ProjectLock>(new ProjectLock(path, std::move(beside)));
    case Outcome::HeldElsewhere:
        return nullptr;
    case Outcome::CannotWrite:
        break;
    }
    // A folder of another user's, or on a read-only medium: the lock goes
    // where this user can write, under a name made of the project's path.
    QDir().mkpath(fallbackFolder);
    const QByteArray key =
        QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex();
    auto elsewhere = std::make_unique<QLockFile>(fallbackFolder + QLatin1Char('/') + QString::fromLatin1(key)
                                                 + QLatin1String(".lock"));
    switch (tryLock(*elsewhere, holder)) {
    case Outcome::Taken:
        return std::unique_ptr<ProjectLock>(new ProjectLock(path, std::move(elsewhere)));
    case Outcome::HeldElsewhere:
        return nullptr;
    case Outcome::CannotWrite:
        break;
    }
    // No lock can be written anywhere: the file is edited as before, unguarded,
    // rather than not at all.
    return std::unique_ptr<ProjectLock>(new ProjectLock(path, nullptr));
}

} // namespace qm
