#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace qm {

// File copies of the commands (sound files, the applet runtime, preview
// files). Tests may record them or make them fail.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual bool exists(const QString &path) const = 0;
    // Copies `source` over `target`, replacing it. False when the copy did
    // not happen; a copy of a file onto itself is skipped and reported false.
    // A copy that fails half way leaves an existing target as it was.
    virtual bool copyFile(const QString &source, const QString &target) = 0;
};

// The real file system.
class LocalFileOps : public FileOps {
public:
    bool exists(const QString &path) const override;
    bool copyFile(const QString &source, const QString &target) override;
};

// True when both names lead to one file (links and "." / ".." included).
bool isSameFile(const QString &a, const QString &b);

// Finishes a QSaveFile that has been written: pushes its buffer out, makes
// sure the bytes reached the disk, and only then puts the file in place of
// the old one. On any failure the temporary file is dropped, the old file is
// left as it was and `error` receives the system's reason.
//
// QSaveFile::commit() alone is not enough: it ignores a failing final flush
// (a full disk) and renames the short temporary file over the old one.
bool commitSaveFile(QSaveFile &file, QString *error);

// Writes `bytes` to `fileName` through a temporary file that replaces the old
// file only once everything is on the disk. On failure the old file is intact
// and `error` says why, in the system's words.
bool writeFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error);

} // namespace qm
