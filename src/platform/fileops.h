#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

class QFile;
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
    // The same for a target in a scratch folder whose files are thrown away
    // (the preview folder): the copy need not wait until it is on the disk,
    // and one that fails half way leaves no target.
    virtual bool copyScratchFile(const QString &source, const QString &target) { return copyFile(source, target); }
};

// The real file system. Only regular files up to MaxCopyBytes are copied:
// reading a pipe could wait for ever, a device or a sparse file could fill
// the disk.
class LocalFileOps : public FileOps {
public:
    bool exists(const QString &path) const override;
    bool copyFile(const QString &source, const QString &target) override;
    bool copyScratchFile(const QString &source, const QString &target) override;
};

// The largest file a command copies; no picture or sound comes near it.
inline constexpr qint64 MaxCopyBytes = qint64(256) * 1024 * 1024;

// Opens `path` for reading when it is a regular file of at most `maxBytes`:
// reading a pipe could wait for ever, a device or a huge file could fill the
// memory. The type is checked before the open (opening a device can act on
// it) and again on what was opened, and the open never waits for a pipe's
// writer. On failure `why`, when given, says why in words for the user.
bool openRegularFile(const QString &path, QFile &file, qint64 maxBytes, QString *why = nullptr);

// Reads the rest of `file`; false when it holds more than `maxBytes` (a
// file that grows while it is read is not followed for ever) or a read fails.
bool readAtMost(QFile &file, qint64 maxBytes, QByteArray *bytes);

// Why `source` is not copied, in words for the user: it is a folder, a pipe,
// a device or a socket, or it is larger than MaxCopyBytes. Empty when it may
// be copied, and when there is nothing there (a missing file is skipped
// without a word).
QString copyRefusal(const QString &source);

struct FileCopy {
    QString source;
    QString target;
    bool operator==(const FileCopy &) const = default;
};

struct SkippedCopy {
    QString source;
    QString reason;
};

enum class CopyKind { Durable, Scratch };

struct CopyReport {
    QList<SkippedCopy> skipped;   // refused sources, with the reason
    QSet<QString> written;        // targets a copy was made to
};

// Makes the copies in order, each (source, target) pair once: a pair that
// comes again later is made only at its last place, so every target ends up
// with what the last copy to it gives. Sources that copyRefusal refuses are
// not copied.
CopyReport copyEach(FileOps &files, const QList<FileCopy> &copies, CopyKind kind);

// One message naming the files that were not copied and why.
QString skippedCopiesMessage(const QList<SkippedCopy> &skipped);

// True when the name leads to a regular file (through links); false for an
// empty name, a folder, a device or a name that leads nowhere.
bool isFile(const QString &path);

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
