#pragma once

#include <array>
#include <optional>
#include <string>

namespace tarn {

// "Change Color Depth": which depth the radio buttons start at, the colour-count ranges and
// the check of "Ok". Depth index 0-4 is 1, 4, 8, 24 and 32 bits per pixel.

inline constexpr std::array<unsigned, 5> kDepthBits = {1, 4, 8, 24, 32};
inline constexpr int kOneBitDepth = 0;
inline constexpr int kFourBitDepth = 1;

// The radio button for an image's depth; any depth without its own button is "1-bit".
int depthIndexForBpp(unsigned bpp);

struct ColorCountRange {
    int low = 2;
    int high = 256;
};
ColorCountRange colorCountRange(int depthIndex);

// The count box after a depth is chosen: "2" below the range, its top above it, else nothing
// (the text stays). The text is read leniently.
std::optional<std::string> countTextForDepth(int depthIndex, const std::string& countText);

// "You must specify a valid maximum number of colors (2 - 16)." and the 256 variant.
std::string colorCountMessage(int depthIndex);

struct DepthChoice {
    int depthIndex = 0;
    bool limitColors = false;
    bool grayscale = false;
    std::string countText;
};

// What the command hands to adjustBPP.
struct DepthResult {
    unsigned bitsPerPixel = 0;
    unsigned maxColors = 0;  // 0: no limit
    bool grayscale = false;
};

// The result of "Ok", or nothing when the count is out of range.
std::optional<DepthResult> checkDepth(const DepthChoice& choice);

}  // namespace tarn
