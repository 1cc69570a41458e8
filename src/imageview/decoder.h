#pragma once

#include <QImage>
#include <QString>

namespace qm {

// The formats the image view hands to its decoder.
// The largest picture the decoder takes: far beyond any menu's, small
// enough to decode in a fraction of a second and a few hundred megabytes.
inline constexpr int MaxPictureSide = 16384;
inline constexpr long long MaxPicturePixels = 40'000'000;

enum class DecoderFormat { Bmp, Jpeg, Gif, Pcx, Png, Tiff, Wmf };

struct PictureInfo {
    QString imageType;   // decoder's format name, "ERR" after a missing file
    int width = -1;
    int height = -1;
    int bitsPerPixel = -1;
};

struct DecodeResult {
    bool ok = false;
    QImage image;        // the picture; indexed images carry their palette as colour table
    QString errorText;   // the decoder's own message when !ok
    PictureInfo info;
};

// Decodes picture files for the image view control. The program uses the
// Magick++ implementation; tests may count or fail calls.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // depth: requested bits per pixel (0, 1, 4, 8 or 24); dither: dither when
    // reducing colours.
    virtual DecodeResult decode(const QString &fileName, DecoderFormat format, int depth,
                                bool dither) = 0;
};

} // namespace qm
