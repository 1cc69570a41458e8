#pragma once

#include "imageview/decoderformat.h"

#include <QImage>
#include <QString>

namespace qm {

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
