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
