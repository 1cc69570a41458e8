#pragma once

#include "model/design.h"

#include <QSize>
#include <QString>
#include <QStringList>

namespace qm {

// The design surface of the main window at the size the window starts with:
// with "Absolute positioning" the applet is this large.
inline constexpr int StartSurfaceWidth = 450;
inline constexpr int StartSurfaceHeight = 321;

struct ProjectBlockOptions {
    bool preview = false;   // Preview's form (bare file names) instead of Compile's
    bool absolute = true;   // "Absolute positioning", ticked as at start-up
};

struct ProjectBlock {
    QString error;          // the program's own message when there is no block
    Design design;          // the design the block was built from
    QString html;           // the applet block, lines ended by CR LF
    QStringList scriptLinks; // buttons whose links would run script, shown without a link
    QSize surface;
};

// Builds the applet block of a project file without a window: the text
// Compile puts on the clipboard when the program, started in `appDir`,
// opens that file and compiles it. Copies nothing. Needs a QGuiApplication
// for the display lines of the Title and Blurb.
ProjectBlock buildProjectBlock(const QString &appDir, const QString &projectPath,
                               const ProjectBlockOptions &options = {});

} // namespace qm
