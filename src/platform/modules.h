#pragma once

#include <QLibrary>
#include <QString>

namespace qm {

// Loads one of the program's modules (libNAME.so): from beside the program
// in a program folder, or from the library folder of an installation, then
// from the folders added below. Returns true when one was loaded; otherwise
// *error says why the last candidate failed. Safe to call from any thread,
// also before the application object exists.
bool loadModule(const char *name, QLibrary &library, QString *error = nullptr);

// The folders searched, in that order.
QStringList programPartFolders();

// One of the program's helper programs, searched in the same folders as the
// modules; empty when none is there.
QString findProgramPart(const QString &fileName);

// One more folder to look in, after the program's own places. Programs that
// run in the build tree away from the program folder (the tests and the
// benchmarks) name the program folder the build assembles; the program
// itself names none, so an installed program never loads a module from a
// build tree.
void addModuleFolder(const QString &folder);

} // namespace qm
