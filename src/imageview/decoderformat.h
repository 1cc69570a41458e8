#pragma once

// The formats and limits of the picture decoder, shared by the program and
// its decoder process (which links no Qt).

namespace qm {

// The largest picture the decoder takes: far beyond any menu's, small
// enough to decode in well under a second. 32 million pixels are what
// ImageMagick's pixel cache holds in the 256 MB of memory that Debian's
// policy gives it, as no cache may go to disk.
inline constexpr int MaxPictureSide = 16384;
inline constexpr long long MaxPicturePixels = 32'000'000;

// The formats the image view hands to its decoder.
enum class DecoderFormat { Bmp, Jpeg, Gif, Pcx, Png, Tiff, Wmf };
inline constexpr int DecoderFormatCount = 7;

} // namespace qm
