#include "imageview/pictureloader.h"

#include "imageview/magickdecoder.h"
#include "platform/caseresolve.h"
#include "platform/paths.h"
#include "platform/prompts.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>

#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

// Bitmap resources live in the program's Qt resources under this folder.
const QString ResourceFolder = QStringLiteral(":/bitmaps");

// Remembered name resolutions; far more than a design has image names.
constexpr qsizetype MaxRememberedNames = 4096;
// Failures already reported; far more than a session will meet.
constexpr qsizetype MaxRememberedFailures = 4096;

bool isPlatformSource(PictureSource s)
{
    return s == PictureSource::Icon || s == PictureSource::Metafile;
}

DecoderFormat decoderFormat(PictureSource s)
{
    switch (s) {
    case PictureSource::Bmp: return DecoderFormat::Bmp;
    case PictureSource::Jpeg: return DecoderFormat::Jpeg;
    case PictureSource::Gif: return DecoderFormat::Gif;
    case PictureSource::Pcx: return DecoderFormat::Pcx;
    case PictureSource::Png: return DecoderFormat::Png;
    case PictureSource::Tiff: return DecoderFormat::Tiff;
    case PictureSource::Metafile: return DecoderFormat::Wmf;
    case PictureSource::Resource:
    case PictureSource::Icon: break;
    }
    return DecoderFormat::Bmp;
}

QString failureText(PictureSource s)
{
    switch (s) {
    case PictureSource::Bmp: return QStringLiteral("Reading bmp file failed");
    case PictureSource::Jpeg: return QStringLiteral("Reading jpg file failed");
    case PictureSource::Resource: return QStringLiteral("Reading resource file failed");
    case PictureSource::Png: return QStringLiteral("Reading png file failed");
    case PictureSource::Gif: return QStringLiteral("Reading gif file failed");
    case PictureSource::Tiff: return QStringLiteral("Reading tif file failed");
    case PictureSource::Pcx: return QStringLiteral("Reading pcx file failed");
    case PictureSource::Icon:
    case PictureSource::Metafile: break;
    }
    return QString();
}

// The version of a bitmap resource: the resource entry whose name, without
// its extension, is the stored name's file name without folder and
// extension, ignoring case (the program upper-cases names). Resources do not
// change while the program runs, so path and size identify them.
FileVersion resourceVersion(const QString &name)
{
    const QString file = fileNamePart(name);
    const QString base = file.left(file.size() - fileExtension(file).size());
    FileVersion v;
    v.path = ResourceFolder + QLatin1Char('/') + base;
    if (base.isEmpty())
        return v;
    const QStringList entries = QDir(ResourceFolder).entryList(QDir::Files, QDir::Name);
    for (const QString &entry : entries) {
        const qsizetype dot = entry.lastIndexOf(QLatin1Char('.'));
        const QString entryBase = dot > 0 ? entry.left(dot) : entry;
        if (entryBase.compare(base, Qt::CaseInsensitive) == 0
            || entry.compare(base, Qt::CaseInsensitive) == 0) {
            v.path = ResourceFolder + QLatin1Char('/') + entry;
            v.size = QFileInfo(v.path).size();
            break;
        }
    }
    return v;
}

} // namespace

QString fileNotFoundName()
{
    return QStringLiteral("file not found");
}

QString platformPictureName()
{
    return QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image");
}

int automaticDepth(int screenDepth)
{
    if (screenDepth <= 4)
        return 4;
    if (screenDepth < 16)
        return 8;
    return 24;
}

int screenDepth()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            return screen->depth();
    }
    return 24;
}

std::optional<PictureSource> sourceForExtension(const QString &ext4)
{
    // The entries are distinct, so their order does not change the result.
    static const std::pair<const char *, PictureSource> table[] = {
        {".WMF", PictureSource::Metafile}, {".ICO", PictureSource::Icon},
        {".BMP", PictureSource::Bmp},      {".THB", PictureSource::Bmp},
        {".THJ", PictureSource::Jpeg},     {".RES", PictureSource::Resource},
        {".PNG", PictureSource::Png},      {".GIF", PictureSource::Gif},
        {".TIF", PictureSource::Tiff},     {".PCX", PictureSource::Pcx},
        {".JPG", PictureSource::Jpeg},
        // .jpeg and .jpe cut to four characters: JPEG pictures too.
        {".JPE", PictureSource::Jpeg},
    };
    for (const auto &[ext, source] : table) {
        if (ext4 == QLatin1String(ext))
            return source;
    }
    return std::nullopt;
}

namespace {

// One stat of a path that must be a folder (folder true) or must not be one.
std::optional<FileVersion> statPath(const QString &path, bool folder)
{
    if (path.isEmpty())
        return std::nullopt;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || bool(S_ISDIR(st.st_mode)) != folder)
        return std::nullopt;
    FileVersion v;
    v.path = path;
    v.device = quint64(st.st_dev);
    v.inode = quint64(st.st_ino);
    v.size = qint64(st.st_size);
    v.mtimeNs = nanoseconds(st.st_mtim);
    v.ctimeNs = nanoseconds(st.st_ctim);
    return v;
}

} // namespace

std::optional<FileVersion> statFile(const QString &path)
{
    return statPath(path, false);
}

std::optional<FileVersion> statFolder(const QString &path)
{
    return statPath(path, true);
}

size_t qHash(const FileVersion &v, size_t seed)
{
    return qHashMulti(seed, v.path, v.device, v.inode, v.size, v.mtimeNs, v.ctimeNs);
}

size_t qHash(const PictureStore::Key &key, size_t seed)
{
    return qHashMulti(seed, key.version, int(key.source), key.depth, key.dither);
}

// ---------------------------------------------------------------------------

qint64 PictureStore::defaultBudgetBytes()
{
    constexpr qint64 Least = qint64(128) * 1024 * 1024;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return Least;
    return qMax(Least, qint64(pages) * pageSize / 4);
}

PictureStore::PictureStore(qint64 budgetBytes)
    : m_budget(qMax<qint64>(1, budgetBytes))
{
}

std::optional<FileVersion> PictureStore::locate(const QString &stored)
{
    if (stored.isEmpty())
        return std::nullopt;
    // A relative name means another file once the current folder changes.
    const QString name = stored.startsWith(QLatin1Char('/'))
        ? stored : QDir::currentPath() + QLatin1Char('/') + stored;
    // The exact name wins whenever it exists, also over a file of another
    // case that an earlier read found in its place.
    if (auto exact = statFile(name))
        return exact;
    const auto known = m_resolved.constFind(name);
    if (known != m_resolved.constEnd()) {
        if (auto v = statFile(*known))
            return v;
        m_resolved.erase(known);
    }
    // A missing file is looked for again only once its folder has changed,
    // so reading the name of a missing picture costs one stat, not a search.
    const auto missing = m_missing.constFind(name);
    if (missing != m_missing.constEnd()) {
        if (statFolder(missing->path) == *missing)
            return std::nullopt;
        m_missing.erase(missing);
    }
    ++m_resolutions;
    QString folder;
    const QString path = resolveCaseInsensitive(name, &folder);
    auto v = statFile(path);
    if (!v) {
        // File times have the resolution of a clock tick: a folder changed
        // in the last moments could change again without its times moving,
        // so only a folder that has been quiet for a while is trusted.
        const auto f = statFolder(folder);
        const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
        if (f && nowNs - f->mtimeNs > QuietFolderNs && nowNs - f->ctimeNs > QuietFolderNs) {
            if (m_missing.size() >= MaxRememberedNames)
                m_missing.clear();
            m_missing.insert(name, *f);
        }
        return std::nullopt;
    }
    if (m_resolved.size() >= MaxRememberedNames)
        m_resolved.clear();
    m_resolved.insert(name, path);
    return v;
}

std::optional<PictureStore::Entry> PictureStore::find(const Key &key)
{
    const auto it = m_pictures.find(key);
    if (it == m_pictures.end())
        return std::nullopt;
    m_uses.splice(m_uses.begin(), m_uses, it->use);
    return it->entry;
}

void PictureStore::remove(const Key &key)
{
    const auto it = m_pictures.find(key);
    if (it == m_pictures.end())
        return;
    m_bytes -= it->cost;
    m_uses.erase(it->use);
    m_pictures.erase(it);
    const auto path = m_byPath.find(key.version.path);
    if (path != m_byPath.end()) {
        path->removeOne(key);
        if (path->isEmpty())
            m_byPath.erase(path);
    }
}

void PictureStore::insert(const Key &key, const Entry &entry)
{
    // An older version of the file will not be asked for again.
    const QList<Key> versions = m_byPath.value(key.version.path);
    for (const Key &k : versions) {
        if (!(k.version == key.version) || k == key)
            remove(k);
    }
    // A failure, or a tiny picture, still takes some memory.
    const qint64 cost = qMax<qint64>(1024, entry.image.sizeInBytes());
    // A picture larger than the whole budget is not kept; the view that
    // shows it holds it while it does.
    if (cost > m_budget)
        return;
    m_uses.push_front(key);
    m_pictures.insert(key, Slot{entry, cost, m_uses.begin()});
    m_byPath[key.version.path].append(key);
    m_bytes += cost;
    keepWithinBudget();
}

void PictureStore::keepWithinBudget()
{
    // Pictures a view holds besides the store are shown: they stay, and go
    // to the front so that the next look for a picture to let go does not
    // pass them again.
    qsizetype shownPassed = 0;
    while (m_bytes > m_budget && !m_uses.empty() && shownPassed < m_pictures.size()) {
        const Key key = m_uses.back();
        Slot &slot = m_pictures[key];
        const QImage &image = slot.entry.image;
        if (!image.isNull() && !image.isDetached()) {
            m_uses.splice(m_uses.begin(), m_uses, slot.use);
            ++shownPassed;
            continue;
        }
        remove(key);
    }
}

bool PictureStore::claimFailureReport(const FileVersion &version, PictureSource source)
{
    const QPair<FileVersion, int> id(version, int(source));
    if (m_reportedFailures.contains(id))
        return false;
    if (m_reportedFailures.size() >= MaxRememberedFailures)
        m_reportedFailures.clear();
    m_reportedFailures.insert(id);
    return true;
}

// ---------------------------------------------------------------------------

ImageViewContext standardImageViewContext(Prompts *prompts)
{
    ImageViewContext context;
    context.decoder = &MagickDecoder::instance();
    context.prompts = prompts;
    context.store = std::make_shared<PictureStore>();
    return context;
}

PictureLoader::PictureLoader(const ImageViewContext &context)
    : m_context(context)
{
    if (!m_context.store)
        m_context.store = std::make_shared<PictureStore>();
}

void PictureLoader::empty()
{
    m_picture = QImage();
    m_key.reset();
}

void PictureLoader::setMissing()
{
    empty();
    m_info = PictureInfo();
    m_info.imageType = QStringLiteral("ERR");
    m_outcome = Outcome::Missing;
    m_reported = fileNotFoundName();
}

bool PictureLoader::load(const QString &name, int depth, bool dither)
{
    const qint64 before = m_picture.cacheKey();
    const QString typeBefore = m_info.imageType;

    const QString ext4 = fileExtension(name).toUpper().left(4);
    const std::optional<PictureSource> source = sourceForExtension(ext4);
    const bool resource = source == PictureSource::Resource;

    PictureStore::Key key;
    if (resource) {
        key.version = resourceVersion(name);
    } else if (auto version = m_context.store->locate(name)) {
        key.version = *version;
    } else {
        setMissing();
        return m_picture.cacheKey() != before || m_info.imageType != typeBefore;
    }

    if (!source) {
        // An extension of no known kind leaves the picture as it was.
        m_outcome = Outcome::NoMatch;
        m_reported = name.toUpper();
        return false;
    }

    key.source = *source;
    if (isPlatformSource(*source) || resource) {
        // These loaders take no depth or dither flag.
        key.depth = 0;
        key.dither = false;
    } else {
        key.depth = depth;
        key.dither = dither;
    }

    if (!m_key || !(*m_key == key))
        loadKey(key);
    else
        m_outcome = m_keyOutcome;
    m_reported = isPlatformSource(*source) ? platformPictureName() : name.toUpper();
    return m_picture.cacheKey() != before || m_info.imageType != typeBefore;
}

void PictureLoader::loadKey(const PictureStore::Key &key)
{
    PictureStore &store = *m_context.store;
    std::optional<PictureStore::Entry> entry = store.find(key);
    const bool fresh = !entry;
    if (fresh) {
        empty();
        try {
            entry = decodeKey(key);
        } catch (...) {
            // A fault while loading: no picture, and no other format is tried.
            empty();
            m_info = PictureInfo();
            m_outcome = Outcome::Faulted;
            return;
        }
        store.insert(key, *entry);
    }

    m_picture = entry->ok ? entry->image : QImage();
    m_info = entry->info;
    m_key = key;
    if (isPlatformSource(key.source))
        m_outcome = Outcome::Platform;
    else
        m_outcome = entry->ok ? Outcome::Decoded : Outcome::Failed;
    m_keyOutcome = m_outcome;

    // The store and this loader already hold the result, so a read of the
    // name while a box is open finds it and does not report it again.
    if (fresh && !entry->ok && !isPlatformSource(key.source))
        reportFailure(key, *entry);
}

PictureStore::Entry PictureLoader::decodeKey(const PictureStore::Key &key)
{
    ++m_decodes;
    PictureStore::Entry entry;
    switch (key.source) {
    case PictureSource::Icon: {
        entry.info.imageType = QStringLiteral("ICO");
        QByteArray bytes;
        if (readPictureFile(key.version.path, &bytes, &entry.errorText)) {
            QBuffer buffer(&bytes);
            QImageReader reader(&buffer, "ico");
            reader.setAutoDetectImageFormat(false);
            entry.image = reader.read();
        }
        break;
    }
    case PictureSource::Resource:
        entry.info.imageType = QStringLiteral("RES");
        if (key.version.size >= 0)
            entry.image = QImage(key.version.path);
        break;
    default: {
        if (!m_context.decoder)
            throw std::logic_error("image view without a decoder");
        DecodeResult r = m_context.decoder->decode(key.version.path, decoderFormat(key.source),
                                                   key.depth, key.dither);
        if (r.ok)
            entry.image = r.image;
        entry.info = r.info;
        entry.errorText = r.errorText;
        if (key.source == PictureSource::Metafile)
            entry.info.imageType = QStringLiteral("WMF");
        break;
    }
    }
    entry.ok = !entry.image.isNull();
    if (entry.ok && entry.info.width < 0) {
        entry.info.width = entry.image.width();
        entry.info.height = entry.image.height();
    }
    if (!entry.ok) {
        entry.info.width = entry.info.height = entry.info.bitsPerPixel = -1;
        if (entry.errorText.isEmpty())
            entry.errorText = QStringLiteral("The picture could not be decoded");
    }
    return entry;
}

void PictureLoader::reportFailure(const PictureStore::Key &key, const PictureStore::Entry &entry)
{
    if (!m_context.store->claimFailureReport(key.version, key.source) || !m_context.prompts)
        return;
    // The bitmap resource loader has no error message of its own.
    if (key.source != PictureSource::Resource)
        m_context.prompts->error(entry.errorText);
    m_context.prompts->information(failureText(key.source));
}

} // namespace qm
