#pragma once

#include "imageview/decoder.h"

#include <QByteArray>

#include <memory>

namespace qm {

// Decodes pictures with ImageMagick in the decoder process (qmdecode), which
// is started beside the window and serves every decode. The program reads
// the file and hands over its bytes, so only regular files of a sane size
// ever reach ImageMagick. A decode that takes longer than the time limit
// ends the process; a new one is started at once, and the picture fails
// with a message that says what happened. Use each decoder from one thread.
class MagickDecoder : public ImageDecoder {
public:
    // The longest a decode may take: far beyond any menu's picture, short
    // enough that a hostile one never freezes the window for long.
    static constexpr int DefaultTimeLimitMs = 1500;

    MagickDecoder();
    ~MagickDecoder() override;

    DecodeResult decode(const QString &fileName, DecoderFormat format, int depth,
                        bool dither) override;

    // Starts the decoder process, if none runs, without waiting for it.
    void start();
    // Ends the decoder process; the next decode starts another.
    void stop();
    void setTimeLimit(int milliseconds);
    // The running decoder process's id, or 0.
    qint64 processId() const;
    // How many decoder processes this decoder has started.
    int starts() const;

    // The program's decoder, ended with the application object.
    static MagickDecoder &instance();
    // Starts the program's decoder process, so that ImageMagick is set up
    // while the window is built. Call it once the application object exists.
    static void preload();

private:
    struct Helper;
    std::unique_ptr<Helper> m_helper;
};

// Largest picture file the image view reads into memory.
inline constexpr qint64 MaxPictureFileBytes = qint64(256) * 1024 * 1024;

// Reads a whole picture file. Only regular files are read (a FIFO or device
// would block or never end) and only up to MaxPictureFileBytes. On failure
// returns false and sets *error to a text for the user.
bool readPictureFile(const QString &fileName, QByteArray *bytes, QString *error);

} // namespace qm
