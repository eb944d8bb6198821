#pragma once

#include <cstdint>

namespace tarn {

// The largest picture any load decodes. A file's header is checked against these before its
// pixels are read, so that a few damaged bytes claiming an enormous picture are refused at once
// instead of making the decoder allocate and fill gigabytes.
//
// Pixels: about 1070 megapixels, well above any camera or stitched panorama we expect to show.
inline constexpr std::uint64_t kMaxDecodePixels = std::uint64_t{1} << 30;
// Bytes of the decoded bitmap: half the machine's memory, capped at 4 GiB (the viewer and the
// thumbnail maker make copies and conversions of it), but never below what 400 megapixels at
// 32 bits need, so that such a picture opens even on a small machine.
inline constexpr std::uint64_t kMaxDecodeBytesCap = std::uint64_t{4} << 30;
inline constexpr std::uint64_t kMinDecodeBytes = std::uint64_t{400'000'000} * 4;

// The byte limit on this machine, from the rules above.
std::uint64_t maxDecodedBytes();

// Bytes of a bitmap of that size with rows padded to 32 bits, as the library stores them.
std::uint64_t decodedBytes(unsigned width, unsigned height, unsigned bpp);

// Whether a picture of that size may be decoded. An unknown depth (0) counts as 32 bits, the
// depth the thumbnails and the screen convert to.
bool fitsDecodeLimit(unsigned width, unsigned height, unsigned bpp);

}  // namespace tarn
