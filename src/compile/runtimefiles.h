#pragma once

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

} // namespace qm
