#pragma once

struct timespec;

#include <QString>

namespace qm {

// A file time of stat() in nanoseconds.
qint64 nanoseconds(const struct timespec &t);

// How long a folder must have been unchanged before its times are trusted
// to show that a missing file is still missing.
inline constexpr qint64 QuietFolderNs = qint64(100) * 1000 * 1000;

// Finds a file the way Windows would, ignoring case: the path itself when it
// exists, otherwise each component matched without regard to case (the first
// match in sorted order). Returns an empty string when there is no such file
// or folder. Relative paths are taken from the current directory.
// When nothing is found and `deepestFolder` is given, it receives the
// absolute path of the deepest folder of the path that does exist: the
// folder whose content would have to change for the path to appear.
//
// The listings of the folders searched are kept and used again while a
// folder's stat shows it unchanged, so resolving many names in one folder
// lists it once.
QString resolveCaseInsensitive(const QString &path, QString *deepestFolder = nullptr);

// While one lives, a folder's listing is checked against the folder at most
// once: a command that resolves thousands of names (opening a design) lists
// and checks each folder once. Nothing that waits for the user may happen
// inside one, since the user may change the folders meanwhile.
class CaseResolveScope {
public:
    CaseResolveScope();
    ~CaseResolveScope();
    CaseResolveScope(const CaseResolveScope &) = delete;
    CaseResolveScope &operator=(const CaseResolveScope &) = delete;
};

// Forgets every folder listing kept so far, as a fresh start of the program would.
void forgetFolderListings();
// How many times a folder has been listed so far.
int folderListings();

} // namespace qm
