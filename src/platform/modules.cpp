#include "platform/modules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutex>
#include <QStringList>

namespace qm {

namespace {

QMutex g_foldersLock;
QStringList &addedFolders()
{
    static QStringList folders;
    return folders;
}

} // namespace

void addModuleFolder(const QString &folder)
{
    const QMutexLocker locked(&g_foldersLock);
    addedFolders() << folder;
}

QStringList programPartFolders()
{
    // The kernel's own link, which needs no application object, unlike
    // QCoreApplication::applicationDirPath(), the stand-in without /proc.
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    QString programDir = QStringLiteral(".");
    if (!program.isEmpty())
        programDir = QFileInfo(program).path();
    else if (QCoreApplication::instance())
        programDir = QCoreApplication::applicationDirPath();
    QStringList folders{programDir};
#ifdef QUILLMAP_MODULE_FROM_BIN
    folders << programDir + QLatin1Char('/') + QLatin1String(QUILLMAP_MODULE_FROM_BIN);
#endif
    const QMutexLocker locked(&g_foldersLock);
    folders << addedFolders();
    return folders;
}

QString findProgramPart(const QString &fileName)
{
    for (const QString &folder : programPartFolders()) {
        const QFileInfo file(folder + QLatin1Char('/') + fileName);
        if (file.isFile() && file.isExecutable())
            return file.absoluteFilePath();
    }
    return QString();
}

bool loadModule(const char *name, QLibrary &library, QString *error)
{
    QString why = QStringLiteral("no folder holds it");
    for (const QString &folder : programPartFolders()) {
        const QString file = folder + QLatin1String("/lib") + QLatin1String(name) + QLatin1String(".so");
        if (!QFileInfo::exists(file))
            continue;
        library.setFileName(file);
        if (library.load())
            return true;
        why = library.errorString();
    }
    if (error)
        *error = why;
    return false;
}

} // namespace qm
