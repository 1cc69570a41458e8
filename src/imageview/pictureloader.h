#pragma once

// Loading of the image view's picture by file name, without any widget: the
// extension rules, the reported name, the failure boxes, and a program-wide
// store that keeps decoded pictures and reported failures per file version.

#include "imageview/decoder.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <list>
#include <memory>
#include <optional>

namespace qm {

class Prompts;
class PictureStore;

// Services shared by all image views of the program: the decoder, the prompts
// for failure boxes, and the memory of decoded pictures and reported failures.
struct ImageViewContext {
    ImageDecoder *decoder = nullptr;
    Prompts *prompts = nullptr;
    std::shared_ptr<PictureStore> store;
};

// The program's context: the ImageMagick decoder, the given prompts and a
// fresh store. Views that should share pictures must share one context.
ImageViewContext standardImageViewContext(Prompts *prompts);

// Reported names of the image view.
QString fileNotFoundName();       // "file not found"
QString platformPictureName();    // "Non TIF, JPeg, BMP, GIF, PNG or PCX Image"

// The colour depth to ask the decoder for on a screen of the given depth.
int automaticDepth(int screenDepth);
// The depth of the primary screen; 24 when there is no screen (no GUI application).
int screenDepth();

// What a file's extension asks for. Bitmap resources come from the program's
// Qt resources; icons and metafiles are drawn by the platform.
enum class PictureSource { Bmp, Jpeg, Gif, Pcx, Png, Tiff, Resource, Icon, Metafile };

// The source for the first four characters of an upper-cased extension
// (".GIF", ".JPE" ...), or nullopt when the extension names none.
std::optional<PictureSource> sourceForExtension(const QString &ext4);

// One version of a file: where it is and what a stat says about it. A file
// rewritten in place changes its size or one of its times; a file replaced by
// another changes its inode.
struct FileVersion {
    QString path;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    bool operator==(const FileVersion &) const = default;
};

// The version of the file at path, by one stat. nullopt when nothing is there
// or it is a directory (a folder is no picture file, as on Windows).
std::optional<FileVersion> statFile(const QString &path);
// The same for a folder: its times change when an entry is added, removed
// or renamed in it.
std::optional<FileVersion> statFolder(const QString &path);

size_t qHash(const FileVersion &v, size_t seed = 0);

// Decoded pictures of the whole program, keyed by file version and the
// decoding parameters, with a memory budget; the failures already reported
// to the user; and where upper-cased names were found on disk.
//
// A picture that a view shows is never let go: its memory is taken as long
// as the view shows it anyway, and a button's other picture must not cost a
// decode each time the mouse leaves it. Beyond the budget the pictures no
// view shows go, the least recently used first; reading one of them again
// decodes it again.
class PictureStore {
public:
    struct Key {
        FileVersion version;
        PictureSource source = PictureSource::Bmp;
        int depth = 24;
        bool dither = true;
        bool operator==(const Key &) const = default;
    };
    struct Entry {
        bool ok = false;
        QImage image;
        PictureInfo info;
        QString errorText;   // the decoder's message when !ok
    };

    // A quarter of the machine's memory, and never less than 128 MB: room
    // for the pictures of any design that fits in memory at all.
    static qint64 defaultBudgetBytes();
    explicit PictureStore(qint64 budgetBytes = defaultBudgetBytes());

    // The file a stored name stands for: the exact path when it exists,
    // otherwise found without regard to case. The path found is remembered,
    // so a read costs a stat of the exact name and one of the remembered
    // path; the directories are searched again only when that path is gone.
    std::optional<FileVersion> locate(const QString &name);

    std::optional<Entry> find(const Key &key);
    // Stores an entry and drops entries of older versions of the same file.
    void insert(const Key &key, const Entry &entry);

    // True the first time a failure of this file version is claimed: the
    // failure boxes of a file are shown once per version, not at every read.
    bool claimFailureReport(const FileVersion &version, PictureSource source);

    // How often a name had to be looked up through the directories.
    int resolutions() const { return m_resolutions; }
    qsizetype size() const { return m_pictures.size(); }
    qint64 budget() const { return m_budget; }
    // Memory the stored pictures take, as the budget counts it.
    qint64 bytesHeld() const { return m_bytes; }

private:
    struct Slot {
        Entry entry;
        qint64 cost = 0;
        std::list<Key>::iterator use;
    };
    void remove(const Key &key);
    void keepWithinBudget();

    QHash<Key, Slot> m_pictures;
    std::list<Key> m_uses;                 // most recently used first
    QHash<QString, QList<Key>> m_byPath;   // the stored versions of each file
    qint64 m_budget;
    qint64 m_bytes = 0;
    // Where a name was found; and, for a name that was not found, the
    // deepest existing folder of its path with that folder's version then:
    // while the folder is unchanged the name is still missing.
    QHash<QString, QString> m_resolved;
    QHash<QString, FileVersion> m_missing;
    QSet<QPair<FileVersion, int>> m_reportedFailures;
    int m_resolutions = 0;
};

size_t qHash(const PictureStore::Key &key, size_t seed = 0);

// The loading logic of one image view: holds its picture, picture
// information and reported name.
class PictureLoader {
public:
    enum class Outcome {
        None,        // nothing loaded yet
        Missing,     // no such file: picture emptied, "file not found"
        Platform,    // icon or metafile
        Decoded,     // decoded picture
        Failed,      // the decoder failed: empty picture
        Faulted,     // an exception while loading: empty picture
        NoMatch,     // unknown extension: picture as it was
    };

    explicit PictureLoader(const ImageViewContext &context);

    // Loads the stored name with the requested depth and dither flag.
    // Returns true when the picture changed. When the file, its version and
    // the parameters are those of the current picture nothing is decoded,
    // and the result is the same as a fresh load.
    bool load(const QString &name, int depth, bool dither);

    Outcome outcome() const { return m_outcome; }
    const QString &reportedName() const { return m_reported; }
    const QImage &picture() const { return m_picture; }
    const PictureInfo &info() const { return m_info; }
    // How many times this loader asked the decoder (or the platform loader).
    int decodeCount() const { return m_decodes; }

private:
    void empty();
    void setMissing();
    void loadKey(const PictureStore::Key &key);
    PictureStore::Entry decodeKey(const PictureStore::Key &key);
    void reportFailure(const PictureStore::Key &key, const PictureStore::Entry &entry);

    ImageViewContext m_context;
    QString m_reported;
    QImage m_picture;
    PictureInfo m_info;
    Outcome m_outcome = Outcome::None;
    std::optional<PictureStore::Key> m_key;   // what the current picture was loaded from
    Outcome m_keyOutcome = Outcome::None;     // and how that load ended
    int m_decodes = 0;
};

} // namespace qm
