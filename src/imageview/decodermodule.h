#pragma once

// The entry points of the picture decoder module (libqmdecode.so), the one
// part of the program that links ImageMagick.

#include "imageview/decoder.h"

class QByteArray;

extern "C" {
// Sets ImageMagick up; called once, before the first decode. programPath is
// the program's file, or empty.
using QuillmapDecoderStart = void (*)(const char *programPath);
// Decodes a picture held in memory with the coder of the format named
// explicitly: ImageMagick neither interprets a file name (brackets,
// "coder:" prefixes) nor guesses the format from the content, so a .gif is
// decoded as a GIF or not at all. Never throws.
using QuillmapDecode = void (*)(const QByteArray &bytes, qm::DecoderFormat format, int depth, bool dither,
                                qm::DecodeResult *result);
}

namespace qm {
// The module's name (the file is libqmdecode.so).
inline constexpr const char *DecoderModuleName = "qmdecode";
} // namespace qm
