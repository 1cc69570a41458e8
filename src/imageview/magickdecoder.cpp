#include "imageview/magickdecoder.h"

#include "imageview/decodeprotocol.h"
#include "platform/fileops.h"
#include "platform/modules.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace qm {

namespace {

namespace wire = decodewire;

// The decoder process loads ImageMagick and its coders before its first
// answer; on a loaded machine that may take a while, and it is not the
// picture's fault.
constexpr int StartLimitMs = 15000;

// Reads n bytes from the process by the deadline. False when the deadline
// passed or the process ended first.
bool readExactly(QProcess &process, char *to, qint64 n, const QDeadlineTimer &deadline)
{
    while (n > 0) {
        if (process.bytesAvailable() == 0
            && (deadline.hasExpired() || !process.waitForReadyRead(int(deadline.remainingTime()))))
            return false;
        const qint64 got = process.read(to, n);
        if (got < 0)
            return false;
        to += got;
        n -= got;
    }
    return true;
}

template<typename T>
bool readValue(QProcess &process, T *value, const QDeadlineTimer &deadline)
{
    return readExactly(process, reinterpret_cast<char *>(value), sizeof(T), deadline);
}

bool sane(const wire::Result &r)
{
    if (r.magic != wire::ResultMagic || r.errorBytes > wire::MaxTextBytes || r.typeBytes > wire::MaxTextBytes)
        return false;
    if (r.failure != wire::Failure::None)
        return r.pixels == wire::Pixels::None && r.pixelBytes == 0 && r.colours == 0;
    if (r.pixels != wire::Pixels::Rgb32 && r.pixels != wire::Pixels::Argb32 && r.pixels != wire::Pixels::Indexed8)
        return false;
    if (r.width < 1 || r.height < 1 || r.width > MaxPictureSide || r.height > MaxPictureSide
        || qint64(r.width) * r.height > MaxPicturePixels)
        return false;
    if (r.pixels == wire::Pixels::Indexed8 ? r.colours < 1 || r.colours > 256 : r.colours != 0)
        return false;
    return r.pixelBytes == wire::bytesPerRow(r.pixels, r.width) * std::uint64_t(r.height);
}

} // namespace

bool readPictureFile(const QString &fileName, QByteArray *bytes, QString *error)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        *error = QStringLiteral("The file does not exist");
        return false;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("Not a regular file");
        return false;
    }
    if (info.size() > MaxPictureFileBytes) {
        *error = QStringLiteral("The file is too large for a picture");
        return false;
    }
    // Opened without waiting should it have become a pipe meanwhile, and
    // read in the size it has rather than in a buffer of the largest size.
    QFile file;
    QString why;
    if (!openRegularFile(fileName, file, MaxPictureFileBytes, &why)) {
        *error = why;
        return false;
    }
    if (!readAtMost(file, MaxPictureFileBytes, bytes)) {
        *error = file.error() != QFileDevice::NoError ? file.errorString()
                                                      : QStringLiteral("The file is too large for a picture");
        return false;
    }
    return true;
}

struct MagickDecoder::Helper {
    std::unique_ptr<QProcess> process;
    std::unique_ptr<QTemporaryDir> temporary;
    bool ready = false;
    qint64 pid = 0;
    int starts = 0;
    int timeLimit = DefaultTimeLimitMs;
    QString startError;   // why the last start gave no process

    bool running() const { return process && process->state() != QProcess::NotRunning; }
    bool waitUntilReady();
    // Ends the process and removes what it left in its temporary folder:
    // one at rest is let go, one in the middle of a picture is killed.
    void end(bool atRest = true);
    bool fail(DecodeResult &result, const QString &text);
    bool receive(DecodeResult &result, const QDeadlineTimer &deadline);
};

bool MagickDecoder::Helper::waitUntilReady()
{
    if (ready)
        return true;
    const QDeadlineTimer deadline(StartLimitMs);
    wire::Ready hello;
    if (!process->waitForStarted(StartLimitMs) || !readValue(*process, &hello, deadline)
        || hello.magic != wire::ReadyMagic) {
        startError = process->error() == QProcess::FailedToStart
                         ? process->errorString()
                         : QStringLiteral("it did not get ready within %1 seconds").arg(StartLimitMs / 1000);
        end();
        return false;
    }
    pid = hello.pid;
    ready = true;
    return true;
}

void MagickDecoder::Helper::end(bool atRest)
{
    if (process) {
        if (process->state() != QProcess::NotRunning) {
            // A decoder at rest ends itself when its input closes.
            process->closeWriteChannel();
            if (!atRest || !ready || !process->waitForFinished(200)) {
                process->kill();
                process->waitForFinished(2000);
            }
        }
        process.reset();
    }
    temporary.reset();
    ready = false;
    pid = 0;
}

bool MagickDecoder::Helper::fail(DecodeResult &result, const QString &text)
{
    result = DecodeResult();
    result.errorText = text;
    end(false);
    return false;
}

// Reads one answer. Ends the process on anything but a whole, sane answer.
bool MagickDecoder::Helper::receive(DecodeResult &result, const QDeadlineTimer &deadline)
{
    wire::Result r;
    const auto lost = [&] {
        if (deadline.hasExpired() && running())
            return fail(result, QStringLiteral("The picture took too long to decode and was given up after "
                                               "%1 seconds: it is damaged, or made to stall a decoder")
                                    .arg(timeLimit / 1000.0));
        return fail(result, QStringLiteral("The picture decoder stopped while decoding this picture: the "
                                           "picture is damaged, or too large to decode"));
    };
    if (!readValue(*process, &r, deadline))
        return lost();
    if (!sane(r))
        return fail(result, QStringLiteral("The picture decoder gave an answer that this program cannot read"));
    QByteArray error(qsizetype(r.errorBytes), Qt::Uninitialized);
    QByteArray type(qsizetype(r.typeBytes), Qt::Uninitialized);
    if (!readExactly(*process, error.data(), error.size(), deadline)
        || !readExactly(*process, type.data(), type.size(), deadline))
        return lost();
    if (r.failure != wire::Failure::None) {
        result.errorText = QString::fromUtf8(error);
        if (result.errorText.isEmpty())
            result.errorText = QStringLiteral("The picture could not be decoded");
        return true;
    }
    QList<QRgb> colours(qsizetype(r.colours));
    if (!readExactly(*process, reinterpret_cast<char *>(colours.data()), colours.size() * qint64(sizeof(QRgb)),
                     deadline))
        return lost();
    const QImage::Format format = r.pixels == wire::Pixels::Indexed8 ? QImage::Format_Indexed8
                                  : r.pixels == wire::Pixels::Argb32 ? QImage::Format_ARGB32
                                                                     : QImage::Format_RGB32;
    QImage image(r.width, r.height, format);
    if (image.isNull())
        return fail(result, QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                                .arg(r.width)
                                .arg(r.height));
    const qint64 row = qint64(wire::bytesPerRow(r.pixels, r.width));
    if (image.bytesPerLine() == row) {
        if (!readExactly(*process, reinterpret_cast<char *>(image.bits()), qint64(r.pixelBytes), deadline))
            return lost();
    } else {
        for (int y = 0; y < r.height; ++y) {
            if (!readExactly(*process, reinterpret_cast<char *>(image.scanLine(y)), row, deadline))
                return lost();
        }
    }
    if (format == QImage::Format_Indexed8)
        image.setColorTable(colours);
    result.ok = true;
    result.image = image;
    result.info.imageType = QString::fromUtf8(type);
    result.info.width = r.width;
    result.info.height = r.height;
    result.info.bitsPerPixel = r.bitsPerPixel;
    return true;
}

MagickDecoder::MagickDecoder()
    : m_helper(std::make_unique<Helper>())
{
}

MagickDecoder::~MagickDecoder()
{
    m_helper->end();
}

void MagickDecoder::start()
{
    Helper &h = *m_helper;
    if (h.running())
        return;
    h.end();
    const QString program = findProgramPart(QStringLiteral("qmdecode"));
    if (program.isEmpty()) {
        h.startError = QStringLiteral("no folder of the program holds it");
        return;
    }
    // A folder of its own for whatever ImageMagick writes, removed with the
    // process, so that nothing is left behind even when it is killed.
    h.temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + QLatin1String("/qmdecode-XXXXXX"));
    if (!h.temporary->isValid()) {
        h.startError = QStringLiteral("no temporary folder for it: %1").arg(h.temporary->errorString());
        h.temporary.reset();
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &key : environment.keys()) {
        if (key.startsWith(QLatin1String("MAGICK_")))
            environment.remove(key);
    }
    environment.insert(QStringLiteral("MAGICK_TEMPORARY_PATH"), h.temporary->path());
    environment.insert(QStringLiteral("TMPDIR"), h.temporary->path());
    h.process = std::make_unique<QProcess>();
    h.process->setProcessEnvironment(environment);
    h.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    h.process->start(program, {QString::number(QCoreApplication::applicationPid())});
    h.ready = false;
    ++h.starts;
}

void MagickDecoder::stop()
{
    m_helper->end();
}

void MagickDecoder::setTimeLimit(int milliseconds)
{
    m_helper->timeLimit = milliseconds;
}

qint64 MagickDecoder::processId() const
{
    return m_helper->running() ? m_helper->pid : 0;
}

int MagickDecoder::starts() const
{
    return m_helper->starts;
}

MagickDecoder &MagickDecoder::instance()
{
    // Never destroyed: its process ends with the application object, while
    // Qt is still there to end it.
    static MagickDecoder *decoder = [] {
        auto *d = new MagickDecoder;
        qAddPostRoutine([] { MagickDecoder::instance().stop(); });
        return d;
    }();
    return *decoder;
}

void MagickDecoder::preload()
{
    instance().start();
}

DecodeResult MagickDecoder::decode(const QString &fileName, DecoderFormat format, int depth, bool dither)
{
    DecodeResult result;
    QByteArray bytes;
    if (!readPictureFile(fileName, &bytes, &result.errorText))
        return result;
    if (bytes.isEmpty()) {
        result.errorText = QStringLiteral("The file is empty");
        return result;
    }
    Helper &h = *m_helper;
    start();
    if (!h.process || !h.waitUntilReady()) {
        result.errorText = QStringLiteral("The picture decoder qmdecode could not be started: %1").arg(h.startError);
        return result;
    }
    wire::Request request;
    request.format = std::uint32_t(format);
    request.depth = depth;
    request.dither = dither ? 1 : 0;
    request.size = std::uint64_t(bytes.size());
    const QDeadlineTimer deadline(h.timeLimit);
    h.process->write(reinterpret_cast<const char *>(&request), sizeof request);
    h.process->write(bytes);
    bytes.clear();
    // The request goes out while the decoder reads it; the answer follows.
    while (h.process->bytesToWrite() > 0 && !deadline.hasExpired()
           && h.process->waitForBytesWritten(int(deadline.remainingTime()))) {
    }
    if (!h.receive(result, deadline))
        start();   // ready for the next picture, which is not this one's fault
    return result;
}

} // namespace qm
