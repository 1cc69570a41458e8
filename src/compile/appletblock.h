#pragma once

#include "model/design.h"
#include "model/linebreaker.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace qm {

// What building the applet block needs besides the design.
struct AppletBuildEnv {
    const LineBreaker *lines = nullptr;
    FileOps *files = nullptr;      // sound copies in Compile mode
    QSize surfaceSize;             // size of the design surface (absolute positioning)
    PathStyle style = NativePathStyle;
};

struct AppletBlock {
    QString html;                  // every line ended by CR LF
    bool soundFound = false;       // Compile mode found (and copied) a sound file
    QList<SkippedCopy> skipped;    // sounds that are no files to copy (a pipe, a device ...)
};

// The message Compile shows once when sound files were copied.
QString soundsCopiedMessage(const Design &design);

// Applet names of the design's font and style names.
QString AppletFont(const QString &fontName);
QString AppletFontStyle(const QString &styleName);

// RRGGBB of a 0x00BBGGRR colour.
QString colorForm(TColor color);

// Computes AppletWidth, AppletHeight, OffsetLeft and OffsetTop from
// AbsolutePositioning. False, with nothing changed, when there is nothing to
// start the bounding box from (no Title and Blurb, no buttons).
bool GetTablesize(Design &design, QSize surfaceSize);

// Builds the applet element with all its parameters for the design: Compile
// form (preview false: paths relative to the project, sound files copied
// beside it) or Preview form (bare file names). nullopt when the build is
// abandoned for want of a bounding box; then nothing is copied.
std::optional<AppletBlock> buildAppletBlock(Design &design, bool preview, const AppletBuildEnv &env);

} // namespace qm
