#pragma once

#include <QLibrary>
#include <QString>

namespace qm {

// Loads one of the program's modules (libNAME.so): from beside the program
// in a program folder, from the library folder of an installation, or, for
// a program run from the build tree (the tests), from the program folder the
// build assembles. Returns true when one was loaded; otherwise *error says
// why the last candidate failed. Safe to call from any thread, also before
// the application object exists.
bool loadModule(const char *name, QLibrary &library, QString *error = nullptr);

} // namespace qm
