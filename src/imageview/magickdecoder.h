#pragma once

#include "imageview/decoder.h"

#include <QByteArray>

namespace qm {

// Decodes pictures with ImageMagick. The file is read here and handed over as
// a blob with the coder named explicitly, so ImageMagick neither interprets
// the file name (brackets, "coder:" prefixes) nor guesses the format from the
// content: a .gif is decoded as a GIF or not at all.
class MagickDecoder : public ImageDecoder {
public:
    MagickDecoder();

    DecodeResult decode(const QString &fileName, DecoderFormat format, int depth,
                        bool dither) override;

    // A decoder for the whole program; it keeps no state between calls.
    static MagickDecoder &instance();

    // ImageMagick's name of the coder for a format ("GIF", "JPEG" ...).
    static const char *coderName(DecoderFormat format);
    // True when the installed ImageMagick can read the format (WMF needs libwmf).
    static bool canRead(DecoderFormat format);
};

// Largest picture file the image view reads into memory.
inline constexpr qint64 MaxPictureFileBytes = qint64(256) * 1024 * 1024;

// Reads a whole picture file. Only regular files are read (a FIFO or device
// would block or never end) and only up to MaxPictureFileBytes. On failure
// returns false and sets *error to a text for the user.
bool readPictureFile(const QString &fileName, QByteArray *bytes, QString *error);

} // namespace qm
