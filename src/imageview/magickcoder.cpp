// The one part of the program that links ImageMagick, and it runs in the
// decoder process only. It uses ImageMagick's C library alone: the C++ layer
// and the wand library above it would cost every start another two
// libraries.

#include "imageview/magickcoder.h"

#include <magick/MagickCore.h>

#include <cstring>
#include <memory>
#include <new>

namespace qm::magick {

namespace {

using decodewire::Failure;
using decodewire::Pixels;

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

std::string trimmed(std::string s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// ImageMagick's messages read "reason (description `file' @ error/coder.c/Func/123)".
// The user needs the reason only; the source location and the (empty, as we
// decode from memory) file name are noise in a message box.
std::string messageOf(const ExceptionInfo *e)
{
    std::string text = e->reason ? e->reason : "";
    if (e->description && *e->description)
        text += std::string(" (") + e->description + ")";
    const auto at = text.find(" @ ");
    if (at != std::string::npos)
        text.resize(at);
    for (auto quoted = text.find(" `'"); quoted != std::string::npos; quoted = text.find(" `'"))
        text.erase(quoted, 3);
    text = trimmed(text);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, " (") == 0)
        text.resize(text.size() - 2);
    return text.empty() ? std::string("The picture could not be decoded") : text;
}

std::string tooLarge(const std::string &why)
{
    return "The picture is too large: at most " + std::to_string(MaxPictureSide) + " x "
           + std::to_string(MaxPictureSide) + " pixels and " + std::to_string(MaxPicturePixels / 1000000)
           + " million pixels in all are shown (" + why + ")";
}

unsigned char toByte(Quantum q)
{
    return static_cast<unsigned char>(ScaleQuantumToChar(q));
}

std::uint32_t argb(int a, int r, int g, int b)
{
    return std::uint32_t(a) << 24 | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

// An indexed picture from a colour-mapped image, so a reduced picture keeps
// its palette.
bool indexedPixels(Image *image, ExceptionInfo *exception, Picture &out)
{
    const size_t w = image->columns, h = image->rows;
    if (image->storage_class != PseudoClass || image->colors == 0 || image->colors > 256
        || image->colormap == nullptr)
        return false;
    const bool alpha = image->matte != MagickFalse;
    out.colours.clear();
    for (size_t i = 0; i < image->colors; ++i) {
        const PixelPacket &c = image->colormap[i];
        // ImageMagick 6 stores opacity: 0 is opaque.
        const int a = alpha ? 255 - toByte(c.opacity) : 255;
        out.colours.push_back(argb(a, toByte(c.red), toByte(c.green), toByte(c.blue)));
    }
    out.data.resize(w * h);
    for (size_t y = 0; y < h; ++y) {
        const PixelPacket *row = GetVirtualPixels(image, 0, ssize_t(y), w, 1, exception);
        const IndexPacket *idx = GetVirtualIndexQueue(image);
        if (row == nullptr || idx == nullptr)
            return false;
        unsigned char *line = out.data.data() + y * w;
        for (size_t x = 0; x < w; ++x) {
            const size_t i = size_t(idx[x]);
            line[x] = static_cast<unsigned char>(i < image->colors ? i : 0);
        }
    }
    out.pixels = Pixels::Indexed8;
    return true;
}

bool trueColourPixels(Image *image, ExceptionInfo *exception, Picture &out)
{
    const size_t w = image->columns, h = image->rows;
    const bool alpha = image->matte != MagickFalse;
    out.data.resize(w * h * 4);
    // One 32-bit 0xAARRGGBB word per pixel in the machine's order, as the
    // program's pictures hold them. Without an alpha channel ImageMagick
    // writes 255 into A.
    const std::uint32_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    const char *order = first == 1 ? "BGRA" : "ARGB";
    if (!ExportImagePixels(image, 0, 0, w, h, order, CharPixel, out.data.data(), exception))
        return false;
    out.colours.clear();
    out.pixels = alpha ? Pixels::Argb32 : Pixels::Rgb32;
    return true;
}

Picture decodeBytes(const void *bytes, std::size_t size, DecoderFormat format, int depth, bool dither)
{
    Picture result;
    std::unique_ptr<ExceptionInfo, ExceptionDeleter> exception(AcquireExceptionInfo());
    std::unique_ptr<ImageInfo, ImageInfoDeleter> info(AcquireImageInfo());
    if (!exception || !info) {
        result.failure = Failure::TooLarge;
        result.error = "Not enough memory to decode the picture";
        return result;
    }
    // The coder is named, not guessed; only the first frame of an animated
    // GIF or multi-page TIFF is read.
    CopyMagickString(info->magick, coderName(format), MaxTextExtent);
    info->affirm = MagickTrue;
    info->scene = 0;
    info->number_scenes = 1;
    std::unique_ptr<Image, ImageDeleter> image(BlobToImage(info.get(), bytes, size, exception.get()));
    // Warnings (a truncated JPEG, an odd chunk) still give a picture; only
    // errors fail the decode.
    if (failed(exception.get())) {
        const ExceptionType severity = exception->severity;
        result.error = messageOf(exception.get());
        // Past the limits set up below, the pixel cache finds no room: the
        // picture is too large, not damaged.
        if (severity == ResourceLimitError || severity == ResourceLimitFatalError
            || result.error.find("cache resources exhausted") != std::string::npos
            || result.error.find("exceeds limit") != std::string::npos) {
            result.failure = Failure::TooLarge;
            result.error = tooLarge(result.error);
        } else if (severity == CorruptImageError || severity == CorruptImageFatalError) {
            result.error = "The file is damaged or incomplete: " + result.error;
        }
        return result;
    }
    // No picture format holds a picture of no pixels: the decoder read a
    // header and then ran out of data (a file cut short, such as a download
    // that did not finish) or met data it could not use.
    if (!image || image->columns == 0 || image->rows == 0) {
        result.error = "The file is damaged or incomplete: it holds no whole picture";
        return result;
    }
    if (image->columns > size_t(MaxPictureSide) || image->rows > size_t(MaxPictureSide)
        || image->columns * image->rows > size_t(MaxPicturePixels)) {
        result.failure = Failure::TooLarge;
        result.error = tooLarge(std::to_string(image->columns) + " x " + std::to_string(image->rows));
        return result;
    }
    if (image->next) {
        DestroyImageList(image->next);
        image->next = nullptr;
    }
    if (image->colorspace == CMYKColorspace)
        TransformImageColorspace(image.get(), sRGBColorspace);

    int bits = image->matte != MagickFalse ? 32 : 24;
    bool made = false;
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
            result.error = messageOf(&image->exception);
            return result;
        }
        made = indexedPixels(image.get(), exception.get(), result);
        bits = depth == 0 ? 4 : depth;
    }
    if (!made)
        made = trueColourPixels(image.get(), exception.get(), result);
    if (!made) {
        result.failure = Failure::TooLarge;
        result.error = "Not enough memory for a picture of " + std::to_string(image->columns) + " x "
                       + std::to_string(image->rows) + " pixels";
        return result;
    }
    result.failure = Failure::None;
    result.type = image->magick;
    result.width = int(image->columns);
    result.height = int(image->rows);
    result.bitsPerPixel = bits;
    return result;
}

} // namespace

void setUp(const char *programPath)
{
    // The client name prefixes ImageMagick's own messages; the program's
    // path keeps them short.
    MagickCoreGenesis(programPath && *programPath ? programPath : nullptr, MagickFalse);
    // Limits of the program's own, whatever the system's policy allows: a
    // picture larger than any menu needs fails at once with a message
    // instead of filling the memory, and no pixel cache ever goes to disk.
    SetMagickResourceLimit(DiskResource, 0);
    SetMagickResourceLimit(AreaResource, MaxPicturePixels);
    SetMagickResourceLimit(MemoryResource, MagickSizeType(MaxPicturePixels) * sizeof(PixelPacket));
    SetMagickResourceLimit(MapResource, MagickSizeType(512) * 1024 * 1024);
    SetMagickResourceLimit(WidthResource, MaxPictureSide);
    SetMagickResourceLimit(HeightResource, MaxPictureSide);
    SetMagickResourceLimit(ListLengthResource, 16);
    // The program's own pictures, a new design's button among them, are
    // GIFs. Decoding one pixel here loads the GIF coder and starts what
    // ImageMagick starts at its first picture, so that the first real one
    // is decoded at full speed.
    static const char onePixel[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
                                   "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
                                   "\x00\x02\x02\x44\x01\x00;";
    decodeBytes(onePixel, sizeof onePixel - 1, DecoderFormat::Gif, 24, false);
}

Picture decode(const void *bytes, std::size_t size, DecoderFormat format, int depth, bool dither)
{
    try {
        return decodeBytes(bytes, size, format, depth, dither);
    } catch (const std::bad_alloc &) {
        Picture out;
        out.failure = decodewire::Failure::TooLarge;
        out.error = "Not enough memory to decode the picture";
        return out;
    }
}

} // namespace qm::magick
