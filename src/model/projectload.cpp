#include "model/projectload.h"

#include "model/projectfile.h"
#include "model/textlimits.h"
#include "platform/caseresolve.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>

namespace qm {

void setProjectFileNames(Design &d, const QString &path)
{
    d.FileName = fileNamePart(path);
    d.FileNameUpper = d.FileName.toUpper();
    d.FileDir = folderPart(path);
    d.FileDirUpper = d.FileDir.toUpper();
}

QString findProjectFile(const QString &chosen, QString *message)
{
    // A name typed in another case opens the file it stands for, and a
    // later save writes that same file.
    const QString path = resolveCaseInsensitive(chosen);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        if (message)
            *message = openingErrorMessage(chosen);
        return QString();
    }
    return path;
}

QString openingErrorMessage(const QString &chosen)
{
    return QLatin1String("Error opening ") + chosen;
}

QString corruptFileMessage(const Design &d)
{
    return QLatin1String("Error reading file. ") + d.FileDir + d.FileName + QLatin1String(" is corrupt.");
}

std::optional<Design> loadProject(const QString &path, const Design &base, QString *message)
{
    QFile file(path);
    if (file.size() <= MaxProjectFileBytes && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return loadProjectBytes(bytes, base, message);
    }
    if (message)
        *message = corruptFileMessage(base);
    return std::nullopt;
}

std::optional<Design> loadProjectBytes(const QByteArray &bytes, const Design &base, QString *message)
{
    // Every picture of the design is looked up by its upper-cased name; the
    // folders they lie in are listed once for all of them.
    const CaseResolveScope listedOnce;
    std::optional<Design> read;
    if (bytes.size() <= MaxProjectFileBytes)
        read = readProject(bytes, base);
    // A text far too long for its area is refused before an area lays it out.
    const QString overlong = read ? overlongText(*read) : QString();
    if (read && overlong.isEmpty())
        return read;
    if (message) {
        *message = overlong.isEmpty() ? corruptFileMessage(base)
                                      : QLatin1String("Error reading file. ") + base.FileDir + base.FileName
                                            + QLatin1String(" cannot be opened: ") + overlong + QLatin1Char('.');
    }
    return std::nullopt;
}

} // namespace qm
