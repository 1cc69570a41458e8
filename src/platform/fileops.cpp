#include "platform/fileops.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
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

} // namespace

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
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, deviceError(file, errno));
        return false;
    }
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return fail(file, error, errno);
    return commitSaveFile(file, error);
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
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    char buffer[65536];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            out.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
        if (out.write(buffer, n) != n) {
            out.cancelWriting();
            return false;
        }
    }
    return commitSaveFile(out, nullptr);
}

} // namespace qm
