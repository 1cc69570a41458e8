// The picture decoder module: the one part of the program that links
// ImageMagick. The program loads it on a thread of its own while the window
// is being built, so that no start-up waits for ImageMagick's libraries or
// for its set-up. It uses ImageMagick's C library alone: the C++ layer and
// the wand library above it would cost every start another two libraries.

#include "imageview/decodermodule.h"

#include <magick/MagickCore.h>

#include <QByteArray>
#include <QSysInfo>

#include <memory>

namespace qm {

namespace {

const char *coderName(DecoderFormat format)
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

struct ImageInfoDeleter {
    void operator()(ImageInfo *p) const { DestroyImageInfo(p); }
};
struct ImageDeleter {
    void operator()(Image *p) const { DestroyImageList(p); }
};
struct ExceptionDeleter {
    void operator()(ExceptionInfo *p) const { DestroyExceptionInfo(p); }
};

bool failed(const ExceptionInfo *e)
{
    return e->severity >= ErrorException;
}

// ImageMagick's messages read "reason (description `file' @ error/coder.c/Func/123)".
// The user needs the reason only; the source location and the (empty, as we
// decode from memory) file name are noise in a message box.
QString messageOf(const ExceptionInfo *e)
{
    QString text = QString::fromLocal8Bit(e->reason ? e->reason : "");
    if (e->description && *e->description)
        text += QLatin1String(" (") + QString::fromLocal8Bit(e->description) + QLatin1Char(')');
    const qsizetype at = text.indexOf(QLatin1String(" @ "));
    if (at >= 0)
        text.truncate(at);
    text.remove(QLatin1String(" `'"));
    text = text.trimmed();
    if (text.endsWith(QLatin1String(" (")))
        text.chop(2);
    return text.isEmpty() ? QStringLiteral("The picture could not be decoded") : text;
}

unsigned char toByte(Quantum q)
{
    return static_cast<unsigned char>(ScaleQuantumToChar(q));
}

// Builds an indexed picture from a colour-mapped image, so a reduced picture
// keeps its palette.
QImage indexedImage(Image *image, ExceptionInfo *exception)
{
    const size_t w = image->columns, h = image->rows;
    if (image->storage_class != PseudoClass || image->colors == 0 || image->colors > 256
        || image->colormap == nullptr)
        return QImage();
    QImage out(int(w), int(h), QImage::Format_Indexed8);
    if (out.isNull())
        return QImage();
    const bool alpha = image->matte != MagickFalse;
    QList<QRgb> table;
    table.reserve(qsizetype(image->colors));
    for (size_t i = 0; i < image->colors; ++i) {
        const PixelPacket &c = image->colormap[i];
        // ImageMagick 6 stores opacity: 0 is opaque.
        const int a = alpha ? 255 - toByte(c.opacity) : 255;
        table.append(qRgba(toByte(c.red), toByte(c.green), toByte(c.blue), a));
    }
    out.setColorTable(table);
    for (size_t y = 0; y < h; ++y) {
        const PixelPacket *row = GetVirtualPixels(image, 0, ssize_t(y), w, 1, exception);
        const IndexPacket *idx = GetVirtualIndexQueue(image);
        if (row == nullptr || idx == nullptr)
            return QImage();
        uchar *line = out.scanLine(int(y));
        for (size_t x = 0; x < w; ++x) {
            const size_t i = size_t(idx[x]);
            line[x] = uchar(i < image->colors ? i : 0);
        }
    }
    return out;
}

QImage trueColourImage(Image *image, ExceptionInfo *exception)
{
    const size_t w = image->columns, h = image->rows;
    const bool alpha = image->matte != MagickFalse;
    QImage out(int(w), int(h), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    // Both formats hold one 32-bit 0xAARRGGBB word per pixel; rows of 32-bit
    // pixels need no padding, so the whole picture is one export. Without an
    // alpha channel ImageMagick writes 255 into A, as Format_RGB32 requires.
    const char *order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "BGRA" : "ARGB";
    Q_ASSERT(out.bytesPerLine() == qsizetype(w) * 4);
    if (!ExportImagePixels(image, 0, 0, w, h, order, CharPixel, out.bits(), exception))
        return QImage();
    return out;
}

DecodeResult decodeBytes(const QByteArray &bytes, DecoderFormat format, int depth, bool dither)
{
    DecodeResult result;
    std::unique_ptr<ExceptionInfo, ExceptionDeleter> exception(AcquireExceptionInfo());
    std::unique_ptr<ImageInfo, ImageInfoDeleter> info(AcquireImageInfo());
    if (!exception || !info) {
        result.errorText = QStringLiteral("Not enough memory to decode the picture");
        return result;
    }
    // The coder is named, not guessed; only the first frame of an animated
    // GIF or multi-page TIFF is read.
    CopyMagickString(info->magick, coderName(format), MaxTextExtent);
    info->affirm = MagickTrue;
    info->scene = 0;
    info->number_scenes = 1;
    std::unique_ptr<Image, ImageDeleter> image(
        BlobToImage(info.get(), bytes.constData(), size_t(bytes.size()), exception.get()));
    // Warnings (a truncated JPEG, an odd chunk) still give a picture; only
    // errors fail the decode.
    if (failed(exception.get())) {
        const ExceptionType severity = exception->severity;
        result.errorText = messageOf(exception.get());
        // Past the limits above, the pixel cache finds no room: the picture
        // is too large, not damaged.
        if (severity == ResourceLimitError || severity == ResourceLimitFatalError
            || result.errorText.contains(QLatin1String("cache resources exhausted")))
            result.errorText = QStringLiteral("The picture is too large: at most %1 x %2 pixels and %3 million "
                                              "pixels in all are shown (%4)")
                                   .arg(qm::MaxPictureSide)
                                   .arg(qm::MaxPictureSide)
                                   .arg(qm::MaxPicturePixels / 1000000)
                                   .arg(result.errorText);
        return result;
    }
    // No picture format holds a picture of no pixels: the decoder read a
    // header and then ran out of data (a file cut short, such as a download
    // that did not finish) or met data it could not use.
    if (!image || image->columns == 0 || image->rows == 0) {
        result.errorText = QStringLiteral("The file is damaged or incomplete: it holds no whole picture");
        return result;
    }
    if (image->next) {
        DestroyImageList(image->next);
        image->next = nullptr;
    }
    if (image->colorspace == CMYKColorspace)
        TransformImageColorspace(image.get(), sRGBColorspace);

    int bits = image->matte != MagickFalse ? 32 : 24;
    if (depth < 24) {
        // Colour reduction is expensive, so it runs only when a lower depth
        // was asked for. Depth 0 is the 16-colour VGA mode.
        QuantizeInfo quantize;
        GetQuantizeInfo(&quantize);
        quantize.number_colors = depth == 1 ? 2 : depth == 8 ? 256 : 16;
        if (depth == 1)
            quantize.colorspace = GRAYColorspace;
        quantize.dither = dither ? MagickTrue : MagickFalse;
        quantize.dither_method = dither ? FloydSteinbergDitherMethod : NoDitherMethod;
        if (!QuantizeImage(&quantize, image.get()) || failed(&image->exception)) {
            result.errorText = messageOf(&image->exception);
            return result;
        }
        result.image = indexedImage(image.get(), exception.get());
        bits = depth == 0 ? 4 : depth;
    }
    if (result.image.isNull())
        result.image = trueColourImage(image.get(), exception.get());
    if (result.image.isNull()) {
        result.errorText = QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                               .arg(image->columns)
                               .arg(image->rows);
        return result;
    }
    result.ok = true;
    result.info.imageType = QString::fromLatin1(image->magick);
    result.info.width = result.image.width();
    result.info.height = result.image.height();
    result.info.bitsPerPixel = bits;
    return result;
}

} // namespace

} // namespace qm

extern "C" {

Q_DECL_EXPORT void quillmap_decoder_start(const char *programPath)
{
    // The client name prefixes ImageMagick's own messages; the program's
    // path keeps them short and ImageMagick finds its configuration relative
    // to it when there is one.
    MagickCoreGenesis(programPath && *programPath ? programPath : nullptr, MagickFalse);
    // Limits of the program's own, whatever the system's policy allows: a
    // picture larger than any menu needs fails at once with a message
    // instead of filling the memory, and no pixel cache ever goes to disk
    // (a killed program would leave it in /tmp).
    SetMagickResourceLimit(DiskResource, 0);
    SetMagickResourceLimit(AreaResource, qm::MaxPicturePixels);
    SetMagickResourceLimit(MemoryResource, MagickSizeType(512) * 1024 * 1024);
    SetMagickResourceLimit(MapResource, MagickSizeType(512) * 1024 * 1024);
    SetMagickResourceLimit(WidthResource, qm::MaxPictureSide);
    SetMagickResourceLimit(HeightResource, qm::MaxPictureSide);
    // The program's own pictures, a new design's button among them, are
    // GIFs. Decoding one pixel here loads the GIF coder and starts what
    // ImageMagick starts at its first picture, so that the first real one
    // is decoded at full speed.
    static const char onePixel[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
                                   "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
                                   "\x00\x02\x02\x44\x01\x00;";
    qm::decodeBytes(QByteArray::fromRawData(onePixel, sizeof onePixel - 1), qm::DecoderFormat::Gif, 24, false);
}

Q_DECL_EXPORT void quillmap_decode(const QByteArray &bytes, qm::DecoderFormat format, int depth, bool dither,
                                   qm::DecodeResult *out)
{
    try {
        *out = qm::decodeBytes(bytes, format, depth, dither);
    } catch (const std::bad_alloc &) {
        // From the Qt side: a picture or its palette that does not fit.
        *out = qm::DecodeResult();
        out->errorText = QStringLiteral("Not enough memory to decode the picture");
    }
}

} // extern "C"
