#include "compile/runtimefiles.h"

#include "platform/paths.h"

#include <QDir>

namespace qm {

QList<FileCopy> runtimeCopies(const QString &appDir, const QString &folder)
{
    QList<FileCopy> copies;
    const QDir target(folder);
    for (const char *name : kRuntimeFiles) {
        const QString file = QLatin1String(name);
        copies.append({programPath(appDir, QLatin1String("java/") + file), target.filePath(file)});
    }
    return copies;
}

} // namespace qm
