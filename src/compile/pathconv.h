#pragma once

#include "platform/paths.h"

#include <QString>

namespace qm {

// Every backslash becomes a forward slash; nothing else changes.
QString BackToForwardSlash(const QString &path);

// `filePath` rewritten relative to the folder of `projectPath` (separators of
// the style kept), or unchanged where it cannot be made relative: a file on
// another drive (Windows) or any name that does not start like the project
// path (a relative name, a web address).
QString AbsoluteToRelative(const QString &projectPath, const QString &filePath,
                           PathStyle style = NativePathStyle);

// The relative URL of a path: AbsoluteToRelative, then forward slashes.
QString relativeUrl(const QString &projectPath, const QString &filePath,
                    PathStyle style = NativePathStyle);

// The name of a picture's copy for sharp screens: "rose@2x.gif" beside
// "rose.gif" ("rose@2x" for a name without an extension).
QString doubleDensityName(const QString &path, PathStyle style = NativePathStyle);

} // namespace qm
