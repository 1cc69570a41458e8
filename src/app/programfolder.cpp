#include "app/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace qm::programfolder {

const QStringList &sharedEntries()
{
    static const QStringList entries = {QStringLiteral("images"), QStringLiteral("sound"), QStringLiteral("java"),
                                        QStringLiteral("help"), QStringLiteral("bomb.wav")};
    return entries;
}

bool isProgramFolder(const QString &dir)
{
    if (dir.isEmpty())
        return false;
    const QDir d(dir);
    for (const char *name : {"images", "sound", "java", "help"}) {
        if (!QFileInfo(d.filePath(QLatin1String(name))).isDir())
            return false;
    }
    return true;
}

QString dataFolder(const QString &exeDir)
{
    const QString installed = QDir::cleanPath(exeDir + QLatin1String("/" QUILLMAP_DATA_FROM_BIN));
    if (isProgramFolder(installed))
        return installed;
    if (isProgramFolder(exeDir))
        return QDir::cleanPath(exeDir);
    return QString();
}

QString userFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : base + QLatin1String("/quillmap");
}

bool prepareUserFolder(const QString &folder, const QString &data, QString *error)
{
    const QDir dir(folder);
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    for (const QString &name : sharedEntries()) {
        const QString link = dir.filePath(name);
        const QString target = QDir(data).filePath(name);
        const QFileInfo info(link);
        if (info.isSymLink()) {
            if (info.symLinkTarget() == QFileInfo(target).absoluteFilePath() && info.exists())
                continue;
            // A link left by another installation, or one whose target has gone.
            QFile::remove(link);
        } else if (info.exists()) {
            continue;
        }
        if (!QFileInfo::exists(target))
            continue;
        if (!QFile::link(target, link)) {
            *error = QStringLiteral("cannot link %1 to %2").arg(link, target);
            return false;
        }
    }
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    if (!QFileInfo(tmp).isDir() && !dir.mkdir(QStringLiteral("tmp"))) {
        *error = QStringLiteral("cannot create the folder %1").arg(tmp);
        return false;
    }
    QFile ini(dir.filePath(QStringLiteral("QM.INI")));
    if (!ini.exists() && !ini.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot create %1: %2").arg(ini.fileName(), ini.errorString());
        return false;
    }
    return true;
}

Choice choose(const QString &cwd, const QString &exeDir, const QString &user)
{
    const bool inUserFolder = !user.isEmpty() && QFileInfo(cwd).canonicalFilePath() == QFileInfo(user).canonicalFilePath();
    if (isProgramFolder(cwd) && !inUserFolder)
        return {cwd, QString()};
    const QString data = dataFolder(exeDir);
    if (data.isEmpty())
        return {cwd, QString()};
    // The build's program folder is writable and complete: run in it.
    if (QFileInfo(data).canonicalFilePath() == QFileInfo(exeDir).canonicalFilePath())
        return {data, QString()};
    QString error = QStringLiteral("there is no folder for the user's data");
    if (user.isEmpty() || !prepareUserFolder(user, data, &error))
        return {data, error};
    return {user, QString()};
}

QString forCommandLine(const QString &cwd, const QString &exeDir)
{
    if (isProgramFolder(cwd))
        return cwd;
    const QString data = dataFolder(exeDir);
    return data.isEmpty() ? cwd : data;
}

} // namespace qm::programfolder
