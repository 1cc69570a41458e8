#include "preview/browserchoice.h"

#include "platform/filefilter.h"

#include <QFileInfo>

namespace qm {

namespace {
// Where a system's browsers are installed.
const QString kProgramFolder = QStringLiteral("/usr/bin");
} // namespace

bool isUsableBrowser(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

FileDialogRequest browserDialogRequest(const QString &current, const QString &appDir)
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.caption = QStringLiteral("Open");
    // Browsers here have no extension: "All Files" is shown first, and it
    // matches names without a dot as well.
    request.filter = qtFileFilter(QStringLiteral("Program Files (*.EXE)|*.EXE|All Files (*.*)|*.*"));
    request.selectedFilter = QStringLiteral("All Files (*.*)");
    if (!current.isEmpty() && QFileInfo(current).isFile())
        request.directory = QFileInfo(current).absolutePath();
    else if (QFileInfo(kProgramFolder).isDir())
        request.directory = kProgramFolder;
    else
        request.directory = appDir;
    return request;
}

std::optional<QString> chooseBrowser(Prompts &prompts, const QString &current, const QString &appDir)
{
    const std::optional<QString> chosen = prompts.fileDialog(browserDialogRequest(current, appDir));
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    const QString path = QFileInfo(*chosen).absoluteFilePath();
    if (!isUsableBrowser(path)) {
        prompts.warning(path + QLatin1String(" is not a program that can be started."));
        return std::nullopt;
    }
    return path;
}

} // namespace qm
