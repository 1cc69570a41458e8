#pragma once

#include "platform/fileops.h"

#include <QList>
#include <QString>
#include <array>

namespace qm {

// The menu's runtime, kept in the program's java/ folder and copied beside a
// compiled project and beside the preview page, in this order: the applet's
// eight files, then the script runtime that shows the menu where a browser
// runs no applets.
inline constexpr std::array<const char *, 9> kRuntimeFiles = {
    "loadall.class", "header.class", "buttbox.class", "mbutt.class",
    "quillmap.class", "mainarea.class", "quillmap.zip", "quillmap.cab",
    "quillmap.js",
};

// The copies that put the runtime of the program in `appDir` into `folder`,
// in the order above: what Compile, Preview and the command line copy.
QList<FileCopy> runtimeCopies(const QString &appDir, const QString &folder);

} // namespace qm
