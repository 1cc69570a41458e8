#include "platform/fileops.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSaveFile>
#include <optional>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The reason a device gave, or the system's last error when Qt has none of
// its own to tell (so no failure is ever reported as "Unknown error").
QString deviceError(const QFileDevice &device, int savedErrno)
{
    if (device.error() != QFileDevice::NoError && !device.errorString().isEmpty()
        && device.errorString() != QLatin1String("Unknown error"))
        return device.errorString();
    return systemError(savedErrno ? savedErrno : EIO);
}

bool fail(QSaveFile &file, QString *error, int savedErrno)
{
    setError(error, deviceError(file, savedErrno));
    file.cancelWriting();
    return false;
}

QString refusalOf(const struct stat &st, qint64 maxBytes)
{
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("it is a pipe (FIFO), not a file");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("it is a device, not a file");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("it is a socket, not a file");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("it is not a regular file");
    if (st.st_size > maxBytes)
        return QStringLiteral("it is larger than %1 MB").arg(maxBytes / (1024 * 1024));
    return QString();
}

// Hands what `in` holds to `take` piece by piece, never more than
// `maxBytes` in all (a file that grows while it is read is not followed for
// ever). False when a read fails, `take` refuses or the cap is passed.
template <class Take>
bool readPieces(QFile &in, qint64 maxBytes, Take take)
{
    char buffer[65536];
    qint64 total = 0;
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n <= 0)
            return n == 0;
        total += n;
        if (total > maxBytes || !take(buffer, n))
            return false;
    }
}

bool pump(QFile &in, QFileDevice &out)
{
    return readPieces(in, MaxCopyBytes, [&out](const char *data, qint64 n) { return out.write(data, n) == n; });
}

} // namespace

bool openRegularFile(const QString &path, QFile &file, qint64 maxBytes, QString *why)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (path.isEmpty() || ::stat(name.constData(), &st) != 0) {
        setError(why, systemError(path.isEmpty() ? ENOENT : errno));
        return false;
    }
    QString refusal = refusalOf(st, maxBytes);
    if (refusal.isEmpty()) {
        const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            setError(why, systemError(errno));
            return false;
        }
        if (::fstat(fd, &st) != 0 || !(refusal = refusalOf(st, maxBytes)).isEmpty()) {
            ::close(fd);
        } else {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
                return true;
            setError(why, file.errorString());
            return false;
        }
    }
    setError(why, refusal.isEmpty() ? QStringLiteral("it changed while it was opened") : refusal);
    return false;
}

bool readAtMost(QFile &file, qint64 maxBytes, QByteArray *bytes)
{
    bytes->clear();
    const qint64 expected = file.size() - file.pos();
    if (expected > 0 && expected <= maxBytes)
        bytes->reserve(qsizetype(expected));
    return readPieces(file, maxBytes, [bytes](const char *data, qint64 n) {
        bytes->append(data, qsizetype(n));
        return true;
    });
}

QString copyRefusal(const QString &source)
{
    struct stat st;
    if (source.isEmpty() || ::stat(QFile::encodeName(source).constData(), &st) != 0)
        return QString();
    return refusalOf(st, MaxCopyBytes);
}

CopyReport copyEach(FileOps &files, const QList<FileCopy> &copies, CopyKind kind)
{
    // Where each pair is copied for the last time.
    QHash<QPair<QString, QString>, qsizetype> last;
    last.reserve(copies.size());
    for (qsizetype i = 0; i < copies.size(); ++i)
        last.insert({copies.at(i).source, copies.at(i).target}, i);

    CopyReport report;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const FileCopy &c = copies.at(i);
        if (last.value({c.source, c.target}) != i)
            continue;
        const QString refusal = copyRefusal(c.source);
        if (!refusal.isEmpty()) {
            report.skipped.append({c.source, refusal});
            continue;
        }
        const bool copied = kind == CopyKind::Scratch ? files.copyScratchFile(c.source, c.target)
                                                      : files.copyFile(c.source, c.target);
        if (copied)
            report.written.insert(c.target);
    }
    return report;
}

QString skippedCopiesMessage(const QList<SkippedCopy> &skipped)
{
    constexpr qsizetype MaxNamed = 20;
    QString text = skipped.size() == 1 ? QStringLiteral("This file was not copied:")
                                       : QStringLiteral("These files were not copied:");
    text += QLatin1Char('\n');
    for (qsizetype i = 0; i < skipped.size() && i < MaxNamed; ++i)
        text += QLatin1Char('\n') + skipped.at(i).source + QLatin1String(": ") + skipped.at(i).reason + QLatin1Char('.');
    if (skipped.size() > MaxNamed)
        text += QStringLiteral("\n... and %1 more.").arg(skipped.size() - MaxNamed);
    return text;
}

bool commitSaveFile(QSaveFile &file, QString *error)
{
    errno = 0;
    if (file.error() != QFileDevice::NoError)
        return fail(file, error, errno);
    if (!file.flush())
        return fail(file, error, errno);
    // The data must be on the disk before the rename makes it the file.
    const int fd = file.handle();
    if (fd >= 0 && ::fsync(fd) != 0) {
        const int code = errno;
        setError(error, systemError(code));
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        setError(error, deviceError(file, errno));
        return false;
    }
    return true;
}

namespace {

// The rename that made a file is on the disk only once its folder is.
void syncFolder(const QString &folder)
{
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Writes through a file with no name until its bytes are on the disk, then
// links it in beside the target and renames it over the target: a save
// killed at any moment before the link leaves nothing, and the named
// temporary lives only for the instant between link and rename. nullopt
// where the system offers no such file.
std::optional<bool> writeThroughAnonymousFile(const QFileInfo &target, const QByteArray &bytes, QString *error)
{
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int code = errno;
        if (code == EOPNOTSUPP || code == EISDIR || code == EINVAL || code == ENOENT)
            return std::nullopt;
        setError(error, systemError(code));
        return false;
    }
    const auto failWith = [&](int code) {
        setError(error, systemError(code ? code : EIO));
        ::close(fd);
        return false;
    };
    // A file that is replaced keeps its permissions, as with QSaveFile.
    struct stat old;
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return failWith(errno);
        done += n;
    }
    if (::fsync(fd) != 0)
        return failWith(errno);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const QByteArray dest = QFile::encodeName(target.absoluteFilePath());
    QByteArray temporary;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = dest + '.' + QByteArray::number(QRandomGenerator::global()->bounded(0x10000000, 0x7fffffff), 36).right(6);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW) == 0)
            break;
        if (errno != EEXIST) {
            // No /proc to name the file by: the ordinary way.
            ::close(fd);
            return std::nullopt;
        }
        temporary.clear();
    }
    if (temporary.isEmpty())
        return failWith(EEXIST);
    if (::rename(temporary.constData(), dest.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return failWith(code);
    }
    ::close(fd);
    syncFolder(target.absolutePath());
    return true;
}

} // namespace

bool writeFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error)
{
    // A read-only file or folder is not replaced, whoever runs the program:
    // the temporary file would otherwise be renamed over it.
    const QFileInfo target(fileName);
    const QFileDevice::Permissions writable =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (target.exists() && !(target.permissions() & writable)) {
        setError(error, QStringLiteral("The file is read-only"));
        return false;
    }
    const QFileInfo folder(target.absolutePath());
    if (folder.exists() && !(folder.permissions() & writable)) {
        setError(error, QStringLiteral("The folder is read-only"));
        return false;
    }
    // A link is written through to the file it names, as QSaveFile does.
    const QString real = target.isSymLink() ? target.canonicalFilePath() : target.absoluteFilePath();
    const std::optional<bool> written =
        real.isEmpty() ? std::nullopt : writeThroughAnonymousFile(QFileInfo(real), bytes, error);
    if (written)
        return *written;
    // No anonymous files here (an older kernel, some network file systems).
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, deviceError(file, errno));
        return false;
    }
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return fail(file, error, errno);
    if (!commitSaveFile(file, error))
        return false;
    syncFolder(target.absolutePath());
    return true;
}

bool isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool isSameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0)
        return false;
    if (::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool LocalFileOps::exists(const QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool LocalFileOps::copyFile(const QString &source, const QString &target)
{
    // Copying a file onto itself would truncate it.
    if (isSameFile(source, target))
        return false;
    QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isWritable())
        return false;
    QFile in;
    if (!openRegularFile(source, in, MaxCopyBytes))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (!pump(in, out)) {
        out.cancelWriting();
        return false;
    }
    return commitSaveFile(out, nullptr);
}

bool LocalFileOps::copyScratchFile(const QString &source, const QString &target)
{
    if (isSameFile(source, target))
        return false;
    QFile in;
    if (!openRegularFile(source, in, MaxCopyBytes))
        return false;
    // A plain file of its own is written over where it is, and cut to the
    // new length only at the end: making a new file costs more than the
    // copy itself on some file systems when many were just deleted, and a
    // file emptied and written again is pushed to the disk when it is
    // closed. Anything else goes first, so a link is not written through,
    // another name of the same file does not change with it, and a pipe left
    // in the folder is not opened.
    const QByteArray name = QFile::encodeName(target);
    struct stat st;
    int fd = -1;
    if (::lstat(name.constData(), &st) == 0) {
        if (S_ISREG(st.st_mode) && st.st_nlink == 1)
            fd = ::open(name.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        else if (S_ISDIR(st.st_mode) || ::unlink(name.constData()) != 0)
            return false;
    }
    if (fd < 0)
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    QFile out;
    bool ok = out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    ok = ok && pump(in, out) && out.flush() && out.resize(out.pos());
    out.close();
    ok = ok && out.error() == QFileDevice::NoError;
    if (!ok)
        ::unlink(name.constData());
    return ok;
}

} // namespace qm
