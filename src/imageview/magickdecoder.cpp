#include "imageview/magickdecoder.h"

#include "imageview/decodermodule.h"
#include "platform/fileops.h"
#include "platform/modules.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <future>
#include <mutex>
#include <system_error>

namespace qm {

namespace {

struct DecoderModule {
    QuillmapDecode decode = nullptr;
    QString error;   // why there is no decoder
};

DecoderModule loadDecoderModule()
{
    DecoderModule m;
    QLibrary library;
    QString why;
    if (!loadModule(DecoderModuleName, library, &why)) {
        m.error = QStringLiteral("The picture decoder libqmdecode.so could not be loaded: %1").arg(why);
        return m;
    }
    const auto start = reinterpret_cast<QuillmapDecoderStart>(library.resolve("quillmap_decoder_start"));
    m.decode = reinterpret_cast<QuillmapDecode>(library.resolve("quillmap_decode"));
    if (!start || !m.decode) {
        m.decode = nullptr;
        m.error = QStringLiteral("The picture decoder %1 is not one this program can use")
                      .arg(library.fileName());
        return m;
    }
    const QByteArray program = QFile::encodeName(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    start(program.constData());
    return m;
}

std::mutex g_moduleMutex;
std::shared_future<DecoderModule> g_module;

// The module as loaded by preload() or, without it, here and now.
std::shared_future<DecoderModule> decoderModule(std::launch how)
{
    std::lock_guard<std::mutex> lock(g_moduleMutex);
    if (!g_module.valid()) {
        try {
            g_module = std::async(how, loadDecoderModule).share();
        } catch (const std::system_error &) {
            // No thread to be had: the first decode loads the module.
            g_module = std::async(std::launch::deferred, loadDecoderModule).share();
        }
    }
    return g_module;
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

MagickDecoder &MagickDecoder::instance()
{
    static MagickDecoder decoder;
    return decoder;
}

void MagickDecoder::preload()
{
    decoderModule(std::launch::async);
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
    const DecoderModule &module = decoderModule(std::launch::deferred).get();
    if (!module.decode) {
        result.errorText = module.error;
        return result;
    }
    module.decode(bytes, format, depth, dither, &result);
    return result;
}

} // namespace qm
