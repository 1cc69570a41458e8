#include "platform/caseresolve.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <optional>

#include <sys/stat.h>

namespace qm {

namespace {

// What a stat of a folder says about its content: adding, removing or
// renaming an entry changes its times.
struct FolderStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    bool operator==(const FolderStamp &) const = default;
};

std::optional<FolderStamp> stampOf(const QString &folder)
{
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return FolderStamp{quint64(st.st_dev), quint64(st.st_ino), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

// A folder's entries in sorted order, with indexes that find the first entry
// matching a name without regard to case.
struct Listing {
    FolderStamp stamp;
    // The folder had been quiet for a while when it was listed, so an
    // unchanged stamp shows an unchanged content (file times move in clock
    // ticks: a change in the same tick as the listing could leave them).
    bool trusted = false;
    quint64 checkedIn = 0;       // the scope in which the stamp was last checked
    QStringList entries;
    QHash<QString, qsizetype> exact;
    QHash<QString, qsizetype> folded;
    QHash<QString, qsizetype> upper;
};

// Folders kept; a design's pictures seldom lie in more than a handful.
constexpr qsizetype MaxListings = 256;

QHash<QString, Listing> g_listings;
int g_scopeDepth = 0;
quint64 g_scope = 0;

void index(QHash<QString, qsizetype> &hash, const QString &key, qsizetype i)
{
    // The first match in sorted order wins.
    if (!hash.contains(key))
        hash.insert(key, i);
}

int g_listed = 0;

Listing listFolder(const QString &folder, const FolderStamp &stamp)
{
    ++g_listed;
    Listing l;
    l.stamp = stamp;
    const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
    l.trusted = nowNs - stamp.mtimeNs > QuietFolderNs && nowNs - stamp.ctimeNs > QuietFolderNs;
    l.entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                       QDir::Name);
    l.exact.reserve(l.entries.size());
    for (qsizetype i = 0; i < l.entries.size(); ++i) {
        const QString &e = l.entries.at(i);
        l.exact.insert(e, i);
        index(l.folded, e.toCaseFolded(), i);
        index(l.upper, e.toUpper(), i);
    }
    return l;
}

// The listing of a folder, listed again only when the folder has changed
// since, and at most once within a scope.
const Listing *listingOf(const QString &folder)
{
    const QString key = folder.startsWith(QLatin1Char('/')) ? folder
                                                            : QDir::currentPath() + QLatin1Char('/') + folder;
    auto it = g_listings.find(key);
    if (it != g_listings.end() && g_scopeDepth > 0 && it->checkedIn == g_scope)
        return &*it;
    const std::optional<FolderStamp> stamp = stampOf(key);
    if (!stamp) {
        if (it != g_listings.end())
            g_listings.erase(it);
        return nullptr;
    }
    if (it == g_listings.end() || !it->trusted || !(it->stamp == *stamp)) {
        if (it == g_listings.end() && g_listings.size() >= MaxListings)
            g_listings.clear();
        it = g_listings.insert(key, listFolder(key, *stamp));
    }
    it->checkedIn = g_scopeDepth > 0 ? g_scope : 0;
    return &*it;
}

// The entry of the listing that stands for `part`: the exact name when
// there is one, otherwise the first entry in sorted order that equals it
// without regard to case.
QString matchIn(const Listing &l, const QString &part)
{
    if (l.exact.contains(part))
        return part;
    // The program upper-cases names with the full case mapping, which turns
    // "ß" into "SS" and "ﬁ" into "FI"; case folding alone would not lead
    // such a name back to its file.
    const auto f = l.folded.constFind(part.toCaseFolded());
    const auto u = l.upper.constFind(part.toUpper());
    qsizetype best = -1;
    if (f != l.folded.constEnd())
        best = *f;
    if (u != l.upper.constEnd() && (best < 0 || *u < best))
        best = *u;
    return best < 0 ? QString() : l.entries.at(best);
}

} // namespace

CaseResolveScope::CaseResolveScope()
{
    if (g_scopeDepth++ == 0)
        ++g_scope;
}

CaseResolveScope::~CaseResolveScope()
{
    --g_scopeDepth;
}

void forgetFolderListings()
{
    g_listings.clear();
}

int folderListings()
{
    return g_listed;
}

QString resolveCaseInsensitive(const QString &path, QString *deepestFolder)
{
    if (deepestFolder)
        deepestFolder->clear();
    if (path.isEmpty())
        return QString();
    if (QFileInfo::exists(path))
        return path;

    const bool absolute = path.startsWith(QLatin1Char('/'));
    QString current = absolute ? QStringLiteral("/") : QString();
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString base = current.isEmpty() ? QStringLiteral(".") : current;
        auto join = [&](const QString &name) {
            if (current.isEmpty())
                return name;
            return current.endsWith(QLatin1Char('/')) ? current + name : current + QLatin1Char('/') + name;
        };
        // The exact name wins, and costs a stat rather than a listing.
        const QString exact = join(part);
        if (part == QLatin1String(".") || part == QLatin1String("..") || QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        const Listing *listing = listingOf(base);
        const QString found = listing ? matchIn(*listing, part) : QString();
        if (found.isEmpty()) {
            if (deepestFolder && QFileInfo(base).isDir())
                *deepestFolder = QFileInfo(base).absoluteFilePath();
            return QString();
        }
        current = join(found);
    }
    return QFileInfo::exists(current) ? current : QString();
}

qint64 nanoseconds(const struct timespec &t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace qm
