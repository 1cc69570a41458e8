#pragma once

#include <QString>
#include <QStringList>

// Where the program runs. It takes its current directory as its program
// folder, with the default pictures and sound, the runtime, the help, the
// settings file QM.INI and the Preview folder tmp/ in it. An installed
// program keeps the read-only part under share/quillmap beside its bin/
// folder and gives every user a folder of their own for the rest, with
// links to the read-only part.
namespace qm::programfolder {

// What the read-only part of a program folder holds, linked into a user's folder.
const QStringList &sharedEntries();

// True when `dir` holds a program folder's data folders (images/, sound/,
// java/ and help/): the build's program folder, an unpacked one, or a
// user's folder made before.
bool isProgramFolder(const QString &dir);

// The read-only data of the program whose executable lies in `exeDir`: an
// installation's share/quillmap beside bin/, or the executable's own folder
// when that is a program folder (the build's). Empty when there is none.
QString dataFolder(const QString &exeDir);

// The folder a user's program folder lives in: quillmap/ in the user's data
// folder ($XDG_DATA_HOME, by default ~/.local/share).
QString userFolder();

// Makes `folder` a program folder that shares `data`: links to the shared
// entries (made again when missing or pointing elsewhere; an entry the user
// put there themselves is left alone), its own tmp/ and QM.INI. False, with
// `error` saying why, when the folder cannot be made.
bool prepareUserFolder(const QString &folder, const QString &data, QString *error);

struct Choice {
    QString folder;   // where the program runs
    QString error;    // set when the user's folder could not be prepared
};

// Where the program started in `cwd` from `exeDir` runs: the current
// directory when it is a program folder (as the build's program folder is),
// otherwise the user's folder, prepared from the installed data, or the
// executable's own program folder. Without any data, the current directory.
Choice choose(const QString &cwd, const QString &exeDir, const QString &user);

// The program folder the command line reads from (it writes nothing there):
// the current directory when it is a program folder, otherwise the data
// folder, otherwise the current directory.
QString forCommandLine(const QString &cwd, const QString &exeDir);

} // namespace qm::programfolder
