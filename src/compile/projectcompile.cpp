#include "compile/projectcompile.h"

#include "compile/appletblock.h"
#include "model/designdocument.h"
#include "model/projectload.h"

#include <QFileInfo>

namespace qm {

ProjectBlock buildProjectBlock(const QString &appDir, const QString &projectPath, const ProjectBlockOptions &options)
{
    ProjectBlock out;
    DesignDocument document;
    Design &d = document.design();
    document.program() = programSetup(appDir);
    resetDesign(d);

    // Opened as Open opens a chosen file, with its messages.
    const QString path = findProjectFile(projectPath, &out.error);
    if (path.isEmpty() || !document.open(path, &out.error)) {
        out.design = d;
        return out;
    }
    if (!document.hasContent()) {
        out.design = d;
        out.error = QStringLiteral("There are no Buttons!");
        return out;
    }

    d.AbsolutePositioning = options.absolute;
    AppletBuildEnv env;
    env.lines = &document.lineBreaker();
    env.surfaceSize = QSize(StartSurfaceWidth, StartSurfaceHeight);
    env.isFile = [](const QString &path) { return QFileInfo(path).isFile(); };
    out.surface = env.surfaceSize;
    const std::optional<AppletBlock> block = buildAppletBlock(d, options.preview, env);
    // With the offsets and the size the build worked out.
    out.design = d;
    if (!block) {
        out.error = QStringLiteral("There are no Buttons!");
        return out;
    }
    out.html = block->html;
    out.scriptLinks = block->scriptLinks;
    return out;
}

} // namespace qm
