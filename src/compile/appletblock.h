#pragma once

#include "model/design.h"
#include "model/linebreaker.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace qm {

// What building the applet block needs besides the design.
struct AppletBuildEnv {
    const LineBreaker *lines = nullptr;
    FileOps *files = nullptr;      // sound copies in Compile mode
    QSize surfaceSize;             // size of the design surface (absolute positioning)
    PathStyle style = NativePathStyle;
    // Whether a picture's copy for sharp screens ("NAME@2x.EXT") is there;
    // without it none is looked for.
    std::function<bool(const QString &path)> isFile;
};

struct AppletBlock {
    QString html;                  // every line ended by CR LF
    bool soundFound = false;       // Compile mode found (and copied) a sound file
    QList<SkippedCopy> skipped;    // sounds that are no files to copy (a pipe, a device ...)
    QStringList scriptLinks;       // "3 (Home)": buttons whose link would run script; shown without one
};

// True for an address a browser would run as script rather than follow:
// javascript:, vbscript: and data:, in any letter case, with the blanks,
// control characters, tabs and line breaks a browser skips.
bool isScriptAddress(const QString &address);

// What Compile tells the designer about buttons whose links run script.
QString scriptLinksMessage(const QStringList &buttons);

// The line that loads the script runtime, which plays the menu in browsers
// that run no applets. Compile's clipboard text starts with it, so a page
// that gets only the pasted text works once the runtime is beside it; the
// browser loads the file once however many menus a page holds.
inline constexpr char PastedScriptLine[] = "<script src=\"quillmap.js\" defer></script>";

// The clipboard text of a block: the runtime's line, then the block.
QString pastedText(const QString &block);

// Compile's question whether to copy the runtime files beside the page.
QString runtimeCopyQuestion(const QString &pageFolder);

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
