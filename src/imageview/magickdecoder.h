#pragma once

#include "imageview/decoder.h"

#include <QByteArray>

namespace qm {

// Decodes pictures with ImageMagick, which lives in the decoder module. The
// file is read here and handed over as bytes, so only regular files of a
// sane size ever reach ImageMagick.
class MagickDecoder : public ImageDecoder {
public:
    DecodeResult decode(const QString &fileName, DecoderFormat format, int depth,
                        bool dither) override;

    // A decoder for the whole program; it keeps no state between calls.
    static MagickDecoder &instance();

    // Starts loading the module and setting ImageMagick up on a thread of
    // its own; the first decode waits for it. Without this call the first
    // decode loads the module itself. Safe to call more than once; call it
    // once the application object exists.
    static void preload();
};

// Largest picture file the image view reads into memory.
inline constexpr qint64 MaxPictureFileBytes = qint64(256) * 1024 * 1024;

// Reads a whole picture file. Only regular files are read (a FIFO or device
// would block or never end) and only up to MaxPictureFileBytes. On failure
// returns false and sets *error to a text for the user.
bool readPictureFile(const QString &fileName, QByteArray *bytes, QString *error);

} // namespace qm
