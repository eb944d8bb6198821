#pragma once

#include <FreeImage.h>

#ifndef _WIN32
#undef _WINDOWS_  // FreeImage defines it, and wx then takes this for a Windows build
#endif

#include <array>
#include <cstdint>
#include <vector>

namespace tarn {

// Channel order used by every histogram: grey (luminance), red, green, blue.
enum HistogramChannel : int { kHistGrey = 0, kHistRed = 1, kHistGreen = 2, kHistBlue = 3 };
inline constexpr int kHistogramChannelCount = 4;

using HistogramBins = std::array<std::uint32_t, 256>;
using ChannelHistograms = std::array<HistogramBins, kHistogramChannelCount>;
using ChannelFlags = std::array<bool, kHistogramChannelCount>;
using ChannelMaxima = std::array<std::uint32_t, kHistogramChannelCount>;

// Fills the wanted channels' bins from the pixels; the others are left as they are. Reads
// standard bitmaps of 8 bits (the pixel values themselves, for every channel), 24 and 32 bits
// (the channel bytes; grey is the Rec. 709 luma rounded to the nearest level). For any other
// type or depth, or no image, nothing is touched and the result is false.
bool computeHistograms(FIBITMAP* dib, const ChannelFlags& wanted, ChannelHistograms& bins);

// The browser's scaling: each channel is limited to four times its own average bin (so an
// image of fewer than 256 pixels has only empty bins); returns each channel's largest bin.
ChannelMaxima clipEachChannel(ChannelHistograms& bins);

// The editor's scaling: one limit, four times the average bin of the computed channels, for
// every array; returns the largest bin of all four.
std::uint32_t clipCommonly(ChannelHistograms& bins, const ChannelFlags& computed);

// Channel sets as bit masks (bit n for channel n) and the pen colour of each non-empty set.
struct HistogramColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const HistogramColour&) const = default;
};
HistogramColour browserPenColour(unsigned channelMask);

// One column's layers, drawn in this order from the baseline upwards: the tallest in its own
// colour, then each shorter one in the colour of the channels at least that tall. Ties go to
// the earlier channel.
struct ColumnLayer {
    double height;
    unsigned channelMask;
};
std::array<ColumnLayer, kHistogramChannelCount> tallestFirst(
    const std::array<double, kHistogramChannelCount>& heights);

// An RGB picture, three bytes a pixel, rows from the top.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    HistogramColour at(int x, int y) const;
};

// The browser pane's picture of the clipped histograms: a white field, a frame, and for each
// column the shown channels' bars, scaled by the largest maximum among them.
RgbPicture drawBrowserHistogram(const ChannelHistograms& bins, const ChannelMaxima& maxima,
                                const ChannelFlags& shown, int width, int height);

// The editor's picture: the channels shown and computed, in the order red, green, blue, grey,
// each a layer of bars blended half over what the earlier layers drew.
RgbPicture drawEditorHistogram(const ChannelHistograms& bins, std::uint32_t maximum,
                               const ChannelFlags& drawn, int width, int height);

inline constexpr HistogramColour kEditorChannelColours[kHistogramChannelCount] = {
    {93, 85, 93}, {234, 26, 26}, {25, 201, 25}, {29, 53, 234}};
inline constexpr HistogramColour kBrowserFrameColour{172, 178, 153};

}  // namespace tarn
