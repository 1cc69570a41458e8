#pragma once

#include <QString>

namespace qm {

// Finds a file the way Windows would, ignoring case: the path itself when it
// exists, otherwise each component matched without regard to case (the first
// match in sorted order). Returns an empty string when there is no such file
// or folder. Relative paths are taken from the current directory.
QString resolveCaseInsensitive(const QString &path);

} // namespace qm
