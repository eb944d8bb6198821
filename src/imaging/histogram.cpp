#include "imaging/histogram.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "imaging/effects/parallel_rows.h"

namespace tarn {

namespace {

// Counts of one pass, two tables per channel so that runs of equal values do not wait on
// their own increments.
struct PassCounts {
    std::uint32_t table[kHistogramChannelCount][2][256];
};

// The Rec. 709 weight of every level, in single precision as the imaging library multiplies:
// a sum of three looked-up products rounds exactly as the products computed on the spot,
// and costs less than converting each byte to floating point.
struct LumaWeights {
    float red[256];
    float green[256];
    float blue[256];
    LumaWeights() {
        for (int level = 0; level < 256; ++level) {
            red[level] = 0.2126F * static_cast<float>(level);
            green[level] = 0.7152F * static_cast<float>(level);
            blue[level] = 0.0722F * static_cast<float>(level);
        }
    }
};

template <int Bytes>
void lumaRow(const std::uint8_t* pixels, unsigned width, const LumaWeights& weights,
             std::uint8_t* luma) {
    for (unsigned x = 0; x < width; ++x) {
        const std::uint8_t* p = pixels + static_cast<std::size_t>(x) * Bytes;
        const float value = weights.red[p[FI_RGBA_RED]] + weights.green[p[FI_RGBA_GREEN]] +
                            weights.blue[p[FI_RGBA_BLUE]] + 0.5F;
        luma[x] = static_cast<std::uint8_t>(static_cast<int>(value));
    }
}

template <int Bytes, bool Grey, bool Colour>
void countColourRows(FIBITMAP* dib, int top, int bottom, PassCounts& counts) {
    const unsigned width = FreeImage_GetWidth(dib);
    std::vector<std::uint8_t> luma(Grey ? width : 0);
    const LumaWeights weights;
    auto& grey = counts.table[kHistGrey];
    auto& red = counts.table[kHistRed];
    auto& green = counts.table[kHistGreen];
    auto& blue = counts.table[kHistBlue];
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* row = FreeImage_GetScanLine(dib, y);
        if constexpr (Grey) {
            lumaRow<Bytes>(row, width, weights, luma.data());
            unsigned x = 0;
            for (; x + 1 < width; x += 2) {
                ++grey[0][luma[x]];
                ++grey[1][luma[x + 1]];
            }
            if (x < width) {
                ++grey[0][luma[x]];
            }
        }
        if constexpr (Colour) {
            unsigned x = 0;
            const std::uint8_t* p = row;
            for (; x + 1 < width; x += 2, p += 2 * Bytes) {
                ++red[0][p[FI_RGBA_RED]];
                ++green[0][p[FI_RGBA_GREEN]];
                ++blue[0][p[FI_RGBA_BLUE]];
                ++red[1][p[Bytes + FI_RGBA_RED]];
                ++green[1][p[Bytes + FI_RGBA_GREEN]];
                ++blue[1][p[Bytes + FI_RGBA_BLUE]];
            }
            if (x < width) {
                ++red[0][p[FI_RGBA_RED]];
                ++green[0][p[FI_RGBA_GREEN]];
                ++blue[0][p[FI_RGBA_BLUE]];
            }
        }
    }
}

template <int Bytes>
void countColour(FIBITMAP* dib, int top, int bottom, bool grey, bool colour, PassCounts& counts) {
    if (grey && colour) {
        countColourRows<Bytes, true, true>(dib, top, bottom, counts);
    } else if (grey) {
        countColourRows<Bytes, true, false>(dib, top, bottom, counts);
    } else if (colour) {
        countColourRows<Bytes, false, true>(dib, top, bottom, counts);
    }
}

// 8-bit pixels count as themselves in every channel; counted once into the grey tables.
void countIndexRows(FIBITMAP* dib, int top, int bottom, PassCounts& counts) {
    const unsigned width = FreeImage_GetWidth(dib);
    auto& table = counts.table[kHistGrey];
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* row = FreeImage_GetScanLine(dib, y);
        unsigned x = 0;
        for (; x + 1 < width; x += 2) {
            ++table[0][row[x]];
            ++table[1][row[x + 1]];
        }
        if (x < width) {
            ++table[0][row[x]];
        }
    }
}

void setPixel(RgbPicture& picture, int x, int y, HistogramColour colour) {
    std::uint8_t* p = &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 3];
    p[0] = colour.red;
    p[1] = colour.green;
    p[2] = colour.blue;
}

RgbPicture whitePicture(int width, int height) {
    RgbPicture picture;
    picture.width = std::max(width, 0);
    picture.height = std::max(height, 0);
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height * 3, 255);
    return picture;
}

// Pixels from row bottom upwards, clipped to the picture.
void verticalLine(RgbPicture& picture, int x, int bottom, int length, HistogramColour colour) {
    if (x < 0 || x >= picture.width) {
        return;
    }
    const int top = std::max(bottom - length + 1, 0);
    for (int y = std::min(bottom, picture.height - 1); y >= top; --y) {
        setPixel(picture, x, y, colour);
    }
}

}  // namespace

bool computeHistograms(FIBITMAP* dib, const ChannelFlags& wanted, ChannelHistograms& bins) {
    if (dib == nullptr || !FreeImage_HasPixels(dib) || FreeImage_GetImageType(dib) != FIT_BITMAP) {
        return false;
    }
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (bpp != 8 && bpp != 24 && bpp != 32) {
        return false;
    }
    const bool grey = wanted[kHistGrey];
    const bool colour = wanted[kHistRed] || wanted[kHistGreen] || wanted[kHistBlue];
    const int height = static_cast<int>(FreeImage_GetHeight(dib));
    const std::int64_t pixels = std::int64_t{FreeImage_GetWidth(dib)} * height;
    // Each band of rows counts into tables of its own, added up at the end.
    std::vector<PassCounts> bandCounts(static_cast<std::size_t>(rowBandCount(height, pixels)));
    std::atomic<std::size_t> nextTable{0};
    forEachRowBand(height, pixels, [&](int top, int bottom) {
        PassCounts& counts = bandCounts[nextTable++];
        if (bpp == 8) {
            countIndexRows(dib, top, bottom, counts);
        } else if (bpp == 24) {
            countColour<3>(dib, top, bottom, grey, colour, counts);
        } else {
            countColour<4>(dib, top, bottom, grey, colour, counts);
        }
    });
    for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
        if (!wanted[channel]) {
            continue;
        }
        const int table = bpp == 8 ? kHistGrey : channel;
        for (int bin = 0; bin < 256; ++bin) {
            std::uint32_t sum = 0;
            for (const PassCounts& counts : bandCounts) {
                sum += counts.table[table][0][bin] + counts.table[table][1][bin];
            }
            bins[channel][bin] = sum;
        }
    }
    return true;
}

ChannelMaxima clipEachChannel(ChannelHistograms& bins) {
    ChannelMaxima maxima{};
    for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
        std::uint64_t total = 0;
        for (const std::uint32_t count : bins[channel]) {
            total += count;
        }
        const auto limit = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(total / 256 * 4, std::numeric_limits<std::uint32_t>::max()));
        for (std::uint32_t& count : bins[channel]) {
            count = std::min(count, limit);
            maxima[channel] = std::max(maxima[channel], count);
        }
    }
    return maxima;
}

std::uint32_t clipCommonly(ChannelHistograms& bins, const ChannelFlags& computed) {
    std::uint64_t sum = 0;
    std::uint64_t binCount = 0;
    for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
        if (computed[channel]) {
            binCount += 256;
            for (const std::uint32_t count : bins[channel]) {
                sum += count;
            }
        }
    }
    if (binCount == 0) {
        return 0;
    }
    const auto limit = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(sum / binCount * 4, std::numeric_limits<std::uint32_t>::max()));
    std::uint32_t maximum = 0;
    for (auto& channel : bins) {
        for (std::uint32_t& count : channel) {
            count = std::min(count, limit);
            maximum = std::max(maximum, count);
        }
    }
    return maximum;
}

HistogramColour browserPenColour(unsigned channelMask) {
    // Indexed by the mask: bit 0 grey, 1 red, 2 green, 3 blue.
    static constexpr HistogramColour kColours[16] = {
        {0, 0, 0},    {128, 128, 128}, {255, 0, 0},   {170, 85, 85},  {0, 255, 0},  {85, 170, 85},
        {85, 170, 0}, {110, 146, 73},  {0, 0, 255},   {85, 85, 170},  {85, 0, 170}, {110, 73, 146},
        {0, 85, 170}, {73, 110, 146},  {36, 74, 146}, {85, 102, 136},
    };
    return kColours[channelMask & 15U];
}

std::array<ColumnLayer, kHistogramChannelCount> tallestFirst(
    const std::array<double, kHistogramChannelCount>& heights) {
    std::array<bool, kHistogramChannelCount> used{};
    const auto pick = [&](bool largest) {
        int chosen = -1;
        for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
            if (used[channel]) {
                continue;
            }
            if (chosen < 0 || (largest ? heights[channel] > heights[chosen]
                                       : heights[channel] < heights[chosen])) {
                chosen = channel;
            }
        }
        used[chosen] = true;
        return chosen;
    };
    const int tallest = pick(true);
    const int second = pick(true);
    const int lowest = pick(false);
    const int third = pick(true);
    const unsigned one = 1U << tallest;
    const unsigned two = one | (1U << second);
    const unsigned three = two | (1U << third);
    return {{{heights[tallest], one},
             {heights[second], two},
             {heights[third], three},
             {heights[lowest], three | (1U << lowest)}}};
}

HistogramColour RgbPicture::at(int x, int y) const {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

RgbPicture drawBrowserHistogram(const ChannelHistograms& bins, const ChannelMaxima& maxima,
                                const ChannelFlags& shown, int width, int height) {
    RgbPicture picture = whitePicture(width, height);
    // The frame: top left at (9, 9), (width - 18) x (height - 18).
    const int right = width - 10;
    const int bottom = height - 10;
    for (int x = 9; x <= right; ++x) {
        if (x >= 0 && x < width && 9 < height) {
            setPixel(picture, x, 9, kBrowserFrameColour);
        }
        if (x >= 0 && x < width && bottom >= 9 && bottom < height) {
            setPixel(picture, x, bottom, kBrowserFrameColour);
        }
    }
    for (int y = 9; y <= bottom; ++y) {
        if (y < height && 9 < width) {
            setPixel(picture, 9, y, kBrowserFrameColour);
        }
        if (y < height && right >= 9 && right < width) {
            setPixel(picture, right, y, kBrowserFrameColour);
        }
    }
    std::uint64_t total = 0;
    std::uint32_t scale = 0;
    for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
        total += maxima[channel];
        if (shown[channel]) {
            scale = std::max(scale, maxima[channel]);
        }
    }
    const int plotWidth = width - 20;
    const int plotHeight = height - 20;
    if (total == 0 || scale == 0 || plotWidth <= 0 || plotHeight <= 0) {
        return picture;
    }
    const double perCount = static_cast<double>(plotHeight) / scale;
    for (int i = 0; i <= plotWidth; ++i) {
        const int bin = i * 255 / plotWidth;
        const double position = static_cast<double>(i) * 255.0 / plotWidth;
        std::array<double, kHistogramChannelCount> heights{};
        for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
            if (!shown[channel]) {
                continue;
            }
            const double here = bins[channel][bin] * perCount;
            heights[channel] =
                bin < 255 ? here + (bins[channel][bin + 1] * perCount - here) * (position - bin)
                          : here;
        }
        for (const ColumnLayer& layer : tallestFirst(heights)) {
            const int length = static_cast<int>(std::lround(layer.height));
            if (length > 0) {
                verticalLine(picture, 10 + i, bottom, length, browserPenColour(layer.channelMask));
            }
        }
    }
    return picture;
}

RgbPicture drawEditorHistogram(const ChannelHistograms& bins, std::uint32_t maximum,
                               const ChannelFlags& drawn, int width, int height) {
    RgbPicture picture = whitePicture(width, height);
    if (maximum == 0 || picture.width == 0 || picture.height == 0) {
        return picture;
    }
    static constexpr int kLayerOrder[] = {kHistRed, kHistGreen, kHistBlue, kHistGrey};
    std::vector<int> barHeights(static_cast<std::size_t>(width));
    for (const int channel : kLayerOrder) {
        if (!drawn[channel]) {
            continue;
        }
        const HistogramColour ink = kEditorChannelColours[channel];
        for (int i = 0; i < width; ++i) {
            const int bin = width > 1 ? static_cast<int>(std::lround(i * 255.0 / (width - 1))) : 0;
            const auto bar = static_cast<int>(std::lround(static_cast<double>(bins[channel][bin]) *
                                                          height / static_cast<double>(maximum)));
            // A line from the bottom edge (just outside) up to, not including, height - bar - 1.
            for (int y = std::max(height - bar, 0); y < height; ++y) {
                std::uint8_t* p = &picture.pixels[(static_cast<std::size_t>(y) * width + i) * 3];
                const bool white = p[0] == 255 && p[1] == 255 && p[2] == 255;
                if (white) {
                    p[0] = ink.red;
                    p[1] = ink.green;
                    p[2] = ink.blue;
                    continue;
                }
                const std::uint8_t layer[3] = {ink.red, ink.green, ink.blue};
                for (int c = 0; c < 3; ++c) {
                    p[c] = static_cast<std::uint8_t>(((layer[c] - p[c]) * 128 + p[c] * 256) >> 8);
                }
            }
        }
    }
    return picture;
}

}  // namespace tarn
