#include "model/recovery.h"

#include "platform/fileops.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <system_error>

namespace qm {

namespace {

constexpr char kMarker[] = "Quillmap recovery";
constexpr char kSuffix[] = ".qmrecover";
// A recovery file is a project file and a line: Open's own size limit.
constexpr qint64 kMaxRecoveryBytes = qint64(64) * 1024 * 1024 + 8192;

QString lockFor(const QString &file)
{
    return file + QLatin1String(".lock");
}

} // namespace

RecoveryStore::RecoveryStore(QString folder)
    : m_folder(std::move(folder))
{
}

RecoveryStore::~RecoveryStore()
{
    finishWriting();
}

QString RecoveryStore::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QLatin1String("/.local/state");
    return state + QLatin1String("/quillmap");
}

bool RecoveryStore::open(QString *error)
{
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = QStringLiteral("the folder %1 cannot be made").arg(m_folder);
        return false;
    }
    QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // One file per run: the process id keeps two running programs apart,
    // and the lock tells a later run whether this one still lives.
    const QString file =
        m_folder + QStringLiteral("/design-%1").arg(QCoreApplication::applicationPid()) + QLatin1String(kSuffix);
    auto lock = std::make_unique<QLockFile>(lockFor(file));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (error)
            *error = QStringLiteral("the lock %1 cannot be taken").arg(lockFor(file));
        return false;
    }
    m_lock = std::move(lock);
    m_file = file;
    return true;
}

QByteArray RecoveryStore::recoveryBytes(const QByteArray &project, const QString &projectPath)
{
    QByteArray bytes = QByteArray(kMarker) + '\n';
    QString path = projectPath;
    path.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    bytes += path.toUtf8() + '\n';
    bytes += project;
    return bytes;
}

void RecoveryStore::write(const QByteArray &project, const QString &projectPath)
{
    if (m_file.isEmpty())
        return;
    finishWriting();
    const QString file = m_file;
    auto job = [file, bytes = recoveryBytes(project, projectPath)] {
        QString reason;
        writeFileAtomically(file, bytes, &reason);
    };
    try {
        m_writing = std::async(std::launch::async, job);
    } catch (const std::system_error &) {
        job(); // no thread to be had: written here, late rather than never
    }
}

void RecoveryStore::finishWriting()
{
    if (m_writing.valid())
        m_writing.get();
}

void RecoveryStore::remove()
{
    finishWriting();
    if (!m_file.isEmpty())
        QFile::remove(m_file);
}

std::optional<RecoveryStore::Orphan> RecoveryStore::newestOrphan() const
{
    const QDir dir(m_folder);
    QFileInfoList files = dir.entryInfoList({QLatin1String("*") + QLatin1String(kSuffix)}, QDir::Files, QDir::Time);
    for (const QFileInfo &info : std::as_const(files)) {
        const QString file = info.absoluteFilePath();
        if (file == m_file || !info.isFile() || info.size() > kMaxRecoveryBytes)
            continue;
        // A lock that can be taken belongs to no living run.
        QLockFile lock(lockFor(file));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = f.readAll();
        const qsizetype markerEnd = bytes.indexOf('\n');
        const qsizetype pathEnd = markerEnd < 0 ? -1 : bytes.indexOf('\n', markerEnd + 1);
        if (pathEnd < 0 || bytes.left(markerEnd) != kMarker)
            continue;
        Orphan orphan;
        orphan.file = file;
        orphan.projectPath = QString::fromUtf8(bytes.mid(markerEnd + 1, pathEnd - markerEnd - 1));
        orphan.project = bytes.mid(pathEnd + 1);
        orphan.written = info.lastModified();
        return orphan;
    }
    return std::nullopt;
}

void RecoveryStore::discard(const Orphan &orphan)
{
    QFile::remove(orphan.file);
    QFile::remove(lockFor(orphan.file));
}

} // namespace qm
