#pragma once

#include <QString>

namespace qmbench {

// A temporary folder for the benchmark's files; it is also the current
// directory, which the main window takes as its program folder.
QString workDir();

} // namespace qmbench
