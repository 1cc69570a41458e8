#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <future>
#include <memory>
#include <optional>

namespace qm {

// The recovery files of unsaved designs: each running program keeps the
// design it has not saved yet in a file of its own in the state folder, so
// that a kill, a crash or a power cut loses at most the last seconds of
// work. A run holds a lock beside its file while it lives; a file whose
// lock is not held (its program has died) is a design to offer back.
//
// A recovery file is the marker line "Quillmap recovery", the project's
// path (empty for an untitled design), then the project file's own bytes.
class RecoveryStore {
public:
    // `folder` is created when needed; defaultFolder() by default.
    explicit RecoveryStore(QString folder = defaultFolder());
    ~RecoveryStore();

    // $XDG_STATE_HOME/quillmap, by default ~/.local/state/quillmap.
    static QString defaultFolder();

    // Takes this run's lock and names its file; false, with a reason, when
    // the folder cannot be made or written.
    bool open(QString *error = nullptr);
    QString file() const { return m_file; }

    // Replaces this run's file with `project` atomically. The disk is left to
    // a thread of its own, so the caller never waits for it; a write still
    // under way makes the next wait for it first, so they land in order.
    void write(const QByteArray &project, const QString &projectPath);
    // This run ends cleanly or its design is saved: no file is left.
    void remove();
    // Waits for a write under way (tests, and the end of the run).
    void finishWriting();

    struct Orphan {
        QString file;         // the recovery file
        QString projectPath;  // empty: the design was untitled
        QByteArray project;   // the project file's bytes
        QDateTime written;
    };
    // The newest recovery file of a run that did not end cleanly.
    std::optional<Orphan> newestOrphan() const;
    // Removes an orphan once it was restored or discarded.
    static void discard(const Orphan &orphan);

    // The file of a run's design, made of its parts.
    static QByteArray recoveryBytes(const QByteArray &project, const QString &projectPath);

private:
    QString m_folder;
    QString m_file;
    std::unique_ptr<QLockFile> m_lock;
    std::future<void> m_writing;
};

} // namespace qm
