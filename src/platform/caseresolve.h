#pragma once

#include <QString>

namespace qm {

// Finds a file the way Windows would, ignoring case: the path itself when it
// exists, otherwise each component matched without regard to case (the first
// match in sorted order). Returns an empty string when there is no such file
// or folder. Relative paths are taken from the current directory.
// When nothing is found and `deepestFolder` is given, it receives the
// absolute path of the deepest folder of the path that does exist: the
// folder whose content would have to change for the path to appear.
QString resolveCaseInsensitive(const QString &path, QString *deepestFolder = nullptr);

} // namespace qm
