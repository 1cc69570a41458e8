// The picture decoder module: the one part of the program that links
// ImageMagick. The program loads it on a thread of its own while the window
// is being built, so that no start-up waits for ImageMagick's libraries
// (some 2 ms of loading before main) or for its set-up (another 2 ms).

#include "imageview/decodermodule.h"

#include <Magick++.h>

#include <QByteArray>
#include <QSysInfo>

#include <new>

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

DecodeResult decodeBytes(const QByteArray &bytes, DecoderFormat format, int depth, bool dither)
{
    DecodeResult result;
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
    } catch (const std::bad_alloc &) {
        result = DecodeResult();
        result.errorText = QStringLiteral("Not enough memory to decode the picture");
    } catch (const std::exception &e) {
        // Magick::Exception and whatever else ImageMagick's C++ layer throws.
        result = DecodeResult();
        result.errorText = cleanMessage(e.what());
    }
    return result;
}

} // namespace

} // namespace qm

extern "C" {

Q_DECL_EXPORT void quillmap_decoder_start(const char *programPath)
{
    // The client name prefixes every message; the program's own path keeps
    // the messages short and ImageMagick finds its configuration relative
    // to it when there is one.
    Magick::InitializeMagick(programPath && *programPath ? programPath : nullptr);
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
    *out = qm::decodeBytes(bytes, format, depth, dither);
}

} // extern "C"
