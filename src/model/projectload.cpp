#include "model/projectload.h"

#include "model/projectfile.h"
#include "platform/paths.h"

#include <QFile>

namespace qm {

void setProjectFileNames(Design &d, const QString &path)
{
    d.FileName = fileNamePart(path);
    d.FileNameUpper = d.FileName.toUpper();
    d.FileDir = folderPart(path);
    d.FileDirUpper = d.FileDir.toUpper();
}

QString openingErrorMessage(const QString &chosen)
{
    return QLatin1String("Error opening ") + chosen;
}

QString corruptFileMessage(const Design &d)
{
    return QLatin1String("Error reading file. ") + d.FileDirUpper + d.FileNameUpper + QLatin1String(" is corrupt.");
}

std::optional<Design> loadProject(const QString &path, const Design &base)
{
    QFile file(path);
    if (file.size() > MaxProjectFileBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return readProject(bytes, base);
}

} // namespace qm
