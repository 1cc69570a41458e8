// libFuzzer entry: feeds arbitrary bytes to the picture decoder as it runs
// in the decoder process. The first byte names the format, the rest is the
// file. A decode must end in a picture or a message, within the process's
// limits: never a crash, and never a hang (run with -timeout).

#include "imageview/magickcoder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool setUp = [] {
        qm::magick::setUp(nullptr);
        return true;
    }();
    (void)setUp;
    if (size < 2)
        return 0;
    const auto format = qm::DecoderFormat((data[0] & 0x7f) % qm::DecoderFormatCount);
    const qm::magick::Picture picture = qm::magick::decode(data + 1, size - 1, format, data[0] & 0x80 ? 4 : 24, true);
    if (picture.failure == qm::decodewire::Failure::None
        && picture.data.size() != qm::decodewire::bytesPerRow(picture.pixels, picture.width) * std::uint64_t(picture.height))
        __builtin_trap();
    return 0;
}
