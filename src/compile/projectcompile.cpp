#include "compile/projectcompile.h"

#include "compile/appletblock.h"
#include "model/projectload.h"
#include "model/textarea.h"
#include "platform/caseresolve.h"

#include <QFileInfo>

namespace qm {

ProjectBlock buildProjectBlock(const QString &appDir, const QString &projectPath, const ProjectBlockOptions &options)
{
    ProjectBlock out;
    Design &d = out.design;
    d.AppDir = appDir;
    d.StartDir = appDir;
    resetDesign(d);

    // Opened as Open opens a chosen file, with its messages.
    const QString path = resolveCaseInsensitive(projectPath);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        out.error = openingErrorMessage(projectPath);
        return out;
    }
    setProjectFileNames(d, path);
    std::optional<Design> read = loadProject(path, d, &out.error);
    if (!read) {
        return out;
    }
    d = std::move(*read);
    // Opening ends with the background selected, which stores what its
    // areas show back into its texts.
    if (d.ShowTitleAndBlurb) {
        d.BgTitleText = throughArea(d.BgTitleText);
        d.BgBlurbText = throughArea(d.BgBlurbText);
    }
    if (!d.ShowTitleAndBlurb && d.Buttons.isEmpty()) {
        out.error = QStringLiteral("There are no Buttons!");
        return out;
    }

    d.AbsolutePositioning = options.absolute;
    const AreaLineBreaker lines(d);
    AppletBuildEnv env;
    env.lines = &lines;
    env.surfaceSize = QSize(StartSurfaceWidth, StartSurfaceHeight);
    out.surface = env.surfaceSize;
    const std::optional<AppletBlock> block = buildAppletBlock(d, options.preview, env);
    if (!block) {
        out.error = QStringLiteral("There are no Buttons!");
        return out;
    }
    out.html = block->html;
    return out;
}

} // namespace qm
