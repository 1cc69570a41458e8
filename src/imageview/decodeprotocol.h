#pragma once

// What the program and its decoder process (qmdecode) say to each other over
// the helper's standard input and output. Both run on the same machine from
// the same build, so the headers travel in the machine's own byte order.
// Plain C++: the helper links no Qt.

#include <cstdint>

namespace qm::decodewire {

inline constexpr std::uint32_t ReadyMagic = 0x514d4452;    // the helper is set up
inline constexpr std::uint32_t RequestMagic = 0x514d4451;
inline constexpr std::uint32_t ResultMagic = 0x514d4441;

// The helper's first words, once ImageMagick is set up.
struct Ready {
    std::uint32_t magic = ReadyMagic;
    std::uint32_t pid = 0;
};

// A request: this header, then `size` bytes of the file.
struct Request {
    std::uint32_t magic = RequestMagic;
    std::uint32_t format = 0;   // qm::DecoderFormat
    std::int32_t depth = 24;
    std::uint32_t dither = 0;
    std::uint64_t size = 0;
};

enum class Failure : std::uint32_t {
    None = 0,
    Damaged = 1,    // the coder could not make a picture of the bytes
    TooLarge = 2,   // past the decoder's limits on size or memory
};

enum class Pixels : std::uint32_t {
    None = 0,
    Rgb32 = 1,     // 0xffRRGGBB words, rows of width * 4 bytes
    Argb32 = 2,    // 0xAARRGGBB words (not premultiplied)
    Indexed8 = 3,  // one byte per pixel, rows of width bytes, then no padding
};

// A result: this header, then `errorBytes` of UTF-8 message, `typeBytes` of
// the coder's name, `colours` 0xAARRGGBB words and `pixelBytes` of pixels.
struct Result {
    std::uint32_t magic = ResultMagic;
    Failure failure = Failure::None;
    Pixels pixels = Pixels::None;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
    std::uint32_t colours = 0;
    std::uint32_t errorBytes = 0;
    std::uint32_t typeBytes = 0;
    std::uint32_t reserved = 0;
    std::uint64_t pixelBytes = 0;
};

// Longest message or coder name either side sends.
inline constexpr std::uint32_t MaxTextBytes = 4096;

inline std::uint64_t bytesPerRow(Pixels p, std::int32_t width)
{
    return p == Pixels::Indexed8 ? std::uint64_t(width) : std::uint64_t(width) * 4;
}

} // namespace qm::decodewire
