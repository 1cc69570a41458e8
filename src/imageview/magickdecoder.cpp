#include "imageview/magickdecoder.h"

#include "platform/fileops.h"

#include <Magick++.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <mutex>

namespace qm {

namespace {

void initializeMagickOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // The client name prefixes every message; the program's own path
        // keeps the messages short and ImageMagick finds its configuration
        // relative to it when there is one.
        const QByteArray path = QCoreApplication::instance()
            ? QFile::encodeName(QCoreApplication::applicationFilePath())
            : QByteArray();
        Magick::InitializeMagick(path.isEmpty() ? nullptr : path.constData());
    });
}

// ImageMagick's messages read "client: reason `file' @ error/coder.c/Func/123".
// The user needs the reason only; the source location and the (empty, as we
// decode from memory) file name are noise in a message box.
QString cleanMessage(const char *what)
{
    QString text = QString::fromLocal8Bit(what);
    const qsizetype at = text.indexOf(QLatin1String(" @ "));
    if (at >= 0)
        text.truncate(at);
    text.remove(QLatin1String(" `'"));
    const QString client = QString::fromLocal8Bit(MagickCore::GetClientName());
    if (!client.isEmpty() && text.startsWith(client + QLatin1String(": ")))
        text.remove(0, client.size() + 2);
    text = text.trimmed();
    return text.isEmpty() ? QStringLiteral("The picture could not be decoded") : text;
}

unsigned char toByte(MagickCore::Quantum q)
{
    return static_cast<unsigned char>(MagickCore::ScaleQuantumToChar(q));
}

// Builds an indexed picture from a colour-mapped image, so a reduced picture
// keeps its palette.
QImage indexedImage(const Magick::Image &img)
{
    const MagickCore::Image *raw = img.constImage();
    const size_t w = raw->columns, h = raw->rows;
    if (raw->storage_class != MagickCore::PseudoClass || raw->colors == 0 || raw->colors > 256
        || raw->colormap == nullptr)
        return QImage();
    QImage out(int(w), int(h), QImage::Format_Indexed8);
    if (out.isNull())
        return QImage();
    const bool alpha = raw->matte != MagickCore::MagickFalse;
    QList<QRgb> table;
    table.reserve(qsizetype(raw->colors));
    for (size_t i = 0; i < raw->colors; ++i) {
        const MagickCore::PixelPacket &c = raw->colormap[i];
        // ImageMagick 6 stores opacity: 0 is opaque.
        const int a = alpha ? 255 - toByte(c.opacity) : 255;
        table.append(qRgba(toByte(c.red), toByte(c.green), toByte(c.blue), a));
    }
    out.setColorTable(table);
    for (size_t y = 0; y < h; ++y) {
        const MagickCore::PixelPacket *row = img.getConstPixels(0, ssize_t(y), w, 1);
        const MagickCore::IndexPacket *idx = img.getConstIndexes();
        if (row == nullptr || idx == nullptr)
            return QImage();
        uchar *line = out.scanLine(int(y));
        for (size_t x = 0; x < w; ++x) {
            const size_t i = size_t(idx[x]);
            line[x] = uchar(i < raw->colors ? i : 0);
        }
    }
    return out;
}

QImage trueColourImage(Magick::Image &img)
{
    const size_t w = img.columns(), h = img.rows();
    const bool alpha = img.matte();
    QImage out(int(w), int(h), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    // Both formats hold one 32-bit 0xAARRGGBB word per pixel; rows of 32-bit
    // pixels need no padding, so the whole picture is one export. Without an
    // alpha channel ImageMagick writes 255 into A, as Format_RGB32 requires.
    const char *order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "BGRA" : "ARGB";
    Q_ASSERT(out.bytesPerLine() == qsizetype(w) * 4);
    img.write(0, 0, w, h, order, Magick::CharPixel, out.bits());
    return out;
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

MagickDecoder::MagickDecoder()
{
    initializeMagickOnce();
}

MagickDecoder &MagickDecoder::instance()
{
    static MagickDecoder decoder;
    return decoder;
}

const char *MagickDecoder::coderName(DecoderFormat format)
{
    switch (format) {
    case DecoderFormat::Bmp: return "BMP";
    case DecoderFormat::Jpeg: return "JPEG";
    case DecoderFormat::Gif: return "GIF";
    case DecoderFormat::Pcx: return "PCX";
    case DecoderFormat::Png: return "PNG";
    case DecoderFormat::Tiff: return "TIFF";
    case DecoderFormat::Wmf: return "WMF";
    }
    return "";
}

bool MagickDecoder::canRead(DecoderFormat format)
{
    initializeMagickOnce();
    try {
        return Magick::CoderInfo(coderName(format)).isReadable();
    } catch (const Magick::Exception &) {
        return false;
    }
}

DecodeResult MagickDecoder::decode(const QString &fileName, DecoderFormat format, int depth,
                                   bool dither)
{
    DecodeResult result;
    QByteArray bytes;
    if (!readPictureFile(fileName, &bytes, &result.errorText))
        return result;
    if (bytes.isEmpty()) {
        result.errorText = QStringLiteral("The file is empty");
        return result;
    }

    try {
        Magick::Image img;
        // Warnings (a truncated JPEG, an odd chunk) still give a picture;
        // only errors fail the decode.
        img.quiet(true);
        // Only the first frame of an animated GIF or multi-page TIFF is shown.
        img.subImage(0);
        img.subRange(1);
        img.magick(coderName(format));
        img.read(Magick::Blob(bytes.constData(), size_t(bytes.size())));
        // No picture format holds a picture of no pixels: the decoder read
        // a header and then ran out of data (a file cut short, such as a
        // download that did not finish) or met data it could not use.
        if (img.columns() == 0 || img.rows() == 0) {
            result.errorText = QStringLiteral("The file is damaged or incomplete: it holds no whole picture");
            return result;
        }
        if (img.colorSpace() == Magick::CMYKColorspace)
            img.colorSpace(Magick::sRGBColorspace);

        int bits = img.matte() ? 32 : 24;
        if (depth < 24) {
            // Colour reduction is expensive, so it runs only when a lower
            // depth was asked for. Depth 0 is the 16-colour VGA mode.
            const int colors = depth == 1 ? 2 : depth == 8 ? 256 : 16;
            img.quantizeColors(size_t(colors));
            if (depth == 1)
                img.quantizeColorSpace(Magick::GRAYColorspace);
            img.quantizeDither(dither);
            img.quantizeDitherMethod(dither ? Magick::FloydSteinbergDitherMethod
                                            : Magick::NoDitherMethod);
            img.quantize();
            result.image = indexedImage(img);
            bits = depth == 0 ? 4 : depth;
        }
        if (result.image.isNull())
            result.image = trueColourImage(img);
        if (result.image.isNull()) {
            result.errorText = QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                                   .arg(img.columns())
                                   .arg(img.rows());
            return result;
        }
        result.ok = true;
        result.info.imageType = QString::fromLatin1(img.magick().c_str());
        result.info.width = result.image.width();
        result.info.height = result.image.height();
        result.info.bitsPerPixel = bits;
    } catch (const Magick::Exception &e) {
        result = DecodeResult();
        result.errorText = cleanMessage(e.what());
    }
    return result;
}

} // namespace qm
