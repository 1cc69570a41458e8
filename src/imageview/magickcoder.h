#pragma once

// Decoding with ImageMagick's C library, in the decoder process. No Qt here:
// the process starts in a few milliseconds and links nothing it does not use.

#include "imageview/decodeprotocol.h"
#include "imageview/decoderformat.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qm::magick {

struct Picture {
    decodewire::Failure failure = decodewire::Failure::Damaged;
    std::string error;          // for the user, when failure != None
    std::string type;           // the coder's name
    decodewire::Pixels pixels = decodewire::Pixels::None;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<std::uint32_t> colours;   // 0xAARRGGBB, for Indexed8
    std::vector<unsigned char> data;      // rows without padding
};

// Sets ImageMagick up with the decoder's own limits; once, before the first
// decode. programPath is the helper's file, or null.
void setUp(const char *programPath);

// Decodes a picture held in memory with the coder of the format named
// explicitly: ImageMagick neither interprets a file name (brackets,
// "coder:" prefixes) nor guesses the format from the content, so a .gif is
// decoded as a GIF or not at all. depth: requested bits per pixel (0, 1, 4,
// 8 or 24). Never throws.
Picture decode(const void *bytes, std::size_t size, DecoderFormat format, int depth, bool dither);

} // namespace qm::magick
