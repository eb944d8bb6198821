#include "imaging/histogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "imaging/freeimage_ptr.h"

namespace tarn {
namespace {

// Random pixels in every byte of the bitmap, padding included.
FreeImageBitmap randomBitmap(unsigned width, unsigned height, unsigned bpp, unsigned seed) {
    FreeImageBitmap dib(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height),
                                           static_cast<int>(bpp)));
    std::mt19937 random(seed);
    BYTE* bits = FreeImage_GetBits(dib.get());
    const std::size_t size = static_cast<std::size_t>(FreeImage_GetPitch(dib.get())) * height;
    for (std::size_t i = 0; i < size; ++i) {
        bits[i] = static_cast<BYTE>(random() % 7 == 0 ? 255 : random());
    }
    return dib;
}

// The obvious way: one pixel at a time, grey from the Rec. 709 weights in single precision,
// rounded to the nearest level, as the imaging library computes it.
ChannelHistograms slowHistograms(FIBITMAP* dib) {
    ChannelHistograms bins{};
    const unsigned bytes = FreeImage_GetBPP(dib) / 8;
    for (unsigned y = 0; y < FreeImage_GetHeight(dib); ++y) {
        const BYTE* row = FreeImage_GetScanLine(dib, static_cast<int>(y));
        for (unsigned x = 0; x < FreeImage_GetWidth(dib); ++x) {
            const BYTE* p = row + x * bytes;
            if (bytes == 1) {
                for (auto& channel : bins) {
                    ++channel[p[0]];
                }
                continue;
            }
            const float luma =
                0.2126F * p[FI_RGBA_RED] + 0.7152F * p[FI_RGBA_GREEN] + 0.0722F * p[FI_RGBA_BLUE];
            ++bins[kHistGrey][static_cast<int>(std::floor(luma + 0.5F))];
            ++bins[kHistRed][p[FI_RGBA_RED]];
            ++bins[kHistGreen][p[FI_RGBA_GREEN]];
            ++bins[kHistBlue][p[FI_RGBA_BLUE]];
        }
    }
    return bins;
}

TEST(Histogram, CountsMatchTheSlowWayOverDepthsAndOddSizes) {
    // The last is large enough to be counted in bands over the cores.
    const unsigned sizes[][2] = {{1, 1}, {3, 5}, {17, 2}, {101, 33}, {256, 255}, {1201, 999}};
    for (const unsigned bpp : {8U, 24U, 32U}) {
        for (const auto& size : sizes) {
            SCOPED_TRACE(testing::Message() << bpp << " bits " << size[0] << "x" << size[1]);
            const FreeImageBitmap dib = randomBitmap(size[0], size[1], bpp, size[0] * bpp);
            ChannelHistograms bins{};
            ASSERT_TRUE(computeHistograms(dib.get(), {true, true, true, true}, bins));
            EXPECT_EQ(bins, slowHistograms(dib.get()));
        }
    }
}

TEST(Histogram, GreyMatchesTheLibraryForEveryColour) {
    // Every 24-bit colour once: the rounding of the luma at each level boundary.
    FreeImageBitmap dib(FreeImage_Allocate(4096, 4096, 24));
    for (unsigned y = 0; y < 4096; ++y) {
        BYTE* p = FreeImage_GetScanLine(dib.get(), static_cast<int>(y));
        for (unsigned x = 0; x < 4096; ++x, p += 3) {
            const unsigned colour = y * 4096 + x;
            p[FI_RGBA_RED] = static_cast<BYTE>(colour >> 16);
            p[FI_RGBA_GREEN] = static_cast<BYTE>(colour >> 8);
            p[FI_RGBA_BLUE] = static_cast<BYTE>(colour);
        }
    }
    ChannelHistograms ours{};
    ASSERT_TRUE(computeHistograms(dib.get(), {true, false, false, false}, ours));
    HistogramBins library{};
    ASSERT_TRUE(FreeImage_GetHistogram(dib.get(), library.data(), FICC_BLACK));
    EXPECT_EQ(ours[kHistGrey], library);
    EXPECT_EQ(ours[kHistRed], HistogramBins{});
}

TEST(Histogram, OnlyWantedChannelsAreWrittenAndOtherImagesAreRefused) {
    const FreeImageBitmap dib = randomBitmap(9, 7, 24, 3);
    ChannelHistograms bins{};
    bins[kHistRed].fill(99);
    ASSERT_TRUE(computeHistograms(dib.get(), {false, false, true, false}, bins));
    EXPECT_EQ(bins[kHistRed][0], 99U);
    EXPECT_EQ(bins[kHistGreen], slowHistograms(dib.get())[kHistGreen]);

    const FreeImageBitmap refused[] = {
        FreeImageBitmap(FreeImage_Allocate(4, 4, 1)),
        FreeImageBitmap(FreeImage_Allocate(4, 4, 4)),
        FreeImageBitmap(FreeImage_Allocate(4, 4, 16)),
        FreeImageBitmap(FreeImage_AllocateT(FIT_RGB16, 4, 4, 48)),
        FreeImageBitmap(FreeImage_AllocateT(FIT_FLOAT, 4, 4, 32)),
    };
    for (const auto& image : refused) {
        EXPECT_FALSE(computeHistograms(image.get(), {true, true, true, true}, bins));
        EXPECT_EQ(bins[kHistRed][0], 99U);
    }
    EXPECT_FALSE(computeHistograms(nullptr, {true, true, true, true}, bins));
}

TEST(Histogram, BrowserClipsEachChannelToFourTimesItsAverage) {
    // 10 x 10: fewer pixels than bins, so every limit is 0.
    const FreeImageBitmap tiny = randomBitmap(10, 10, 24, 5);
    ChannelHistograms bins{};
    computeHistograms(tiny.get(), {true, true, true, true}, bins);
    EXPECT_EQ(clipEachChannel(bins), (ChannelMaxima{0, 0, 0, 0}));
    for (const auto& channel : bins) {
        EXPECT_EQ(channel, HistogramBins{});
    }

    // One colour over 64 x 64 = 4096 pixels: limit (4096 / 256) * 4 = 64 in its bin.
    FreeImageBitmap flat(FreeImage_Allocate(64, 64, 24));
    RGBQUAD colour{30, 200, 90, 0};
    FreeImage_FillBackground(flat.get(), &colour);
    computeHistograms(flat.get(), {true, true, true, true}, bins);
    EXPECT_EQ(clipEachChannel(bins), (ChannelMaxima{64, 64, 64, 64}));
    EXPECT_EQ(bins[kHistRed][90], 64U);
    EXPECT_EQ(bins[kHistBlue][30], 64U);
    EXPECT_EQ(bins[kHistRed][30], 0U);

    // Channels keep their own limits.
    bins = {};
    bins[kHistRed][0] = 512;  // limit 8
    bins[kHistGreen].fill(3);
    bins[kHistGreen][7] = 40;  // total 805, limit 12
    EXPECT_EQ(clipEachChannel(bins), (ChannelMaxima{0, 8, 12, 0}));
    EXPECT_EQ(bins[kHistGreen][8], 3U);
}

TEST(Histogram, EditorClipsAllArraysToOneLimit) {
    ChannelHistograms bins{};
    bins[kHistRed][5] = 2560;  // red sum 2560 + green 512 = 3072 over 512 bins: limit 24
    bins[kHistGreen][9] = 512;
    bins[kHistGrey][1] = 1000;  // not computed: left out of the sum, still clipped
    EXPECT_EQ(clipCommonly(bins, {false, true, true, false}), 24U);
    EXPECT_EQ(bins[kHistRed][5], 24U);
    EXPECT_EQ(bins[kHistGreen][9], 24U);
    EXPECT_EQ(bins[kHistGrey][1], 24U);
    EXPECT_EQ(clipCommonly(bins, {false, false, false, false}), 0U);
}

TEST(Histogram, TallestIsDrawnFirstAndTiesGoToTheEarlierChannel) {
    const auto masks = [](std::array<double, 4> heights) {
        std::array<unsigned, 4> result{};
        std::array<double, 4> drawn{};
        const auto layers = tallestFirst(heights);
        for (int i = 0; i < 4; ++i) {
            result[i] = layers[i].channelMask;
            drawn[i] = layers[i].height;
        }
        EXPECT_TRUE(std::is_sorted(drawn.rbegin(), drawn.rend()));
        return result;
    };
    // Blue tallest, then red, then grey, green lowest.
    EXPECT_EQ(masks({3, 5, 1, 9}), (std::array<unsigned, 4>{8, 10, 11, 15}));
    // All equal: grey, red, then green as the first of the lowest, blue third.
    EXPECT_EQ(masks({2, 2, 2, 2}), (std::array<unsigned, 4>{1, 3, 11, 15}));
    // Two lowest tie: the first of them is the lowest, the other third.
    EXPECT_EQ(masks({0, 4, 0, 6}), (std::array<unsigned, 4>{8, 10, 14, 15}));
    EXPECT_EQ(browserPenColour(8 | 2), (HistogramColour{85, 0, 170}));
    EXPECT_EQ(browserPenColour(1 | 4 | 8), (HistogramColour{73, 110, 146}));
}

TEST(Histogram, BrowserPictureFrameAndBars) {
    ChannelHistograms bins{};
    ChannelMaxima maxima{};
    // Red fills bin 0 to its maximum; green half of it.
    bins[kHistRed][0] = 100;
    bins[kHistGreen][0] = 50;
    maxima[kHistRed] = 100;
    maxima[kHistGreen] = 50;
    const int width = 20 + 255;  // one column per bin
    const int height = 120;      // plot height 100, baseline 110
    RgbPicture picture =
        drawBrowserHistogram(bins, maxima, {false, true, true, false}, width, height);
    EXPECT_EQ(picture.at(0, 0), (HistogramColour{255, 255, 255}));
    EXPECT_EQ(picture.at(9, 9), kBrowserFrameColour);
    EXPECT_EQ(picture.at(width - 10, 60), kBrowserFrameColour);
    EXPECT_EQ(picture.at(100, height - 10), kBrowserFrameColour);
    EXPECT_EQ(picture.at(width - 9, 60), (HistogramColour{255, 255, 255}));
    // Column 0: red 100 pixels tall, its lower half overdrawn in the red + green colour.
    EXPECT_EQ(picture.at(10, 110), browserPenColour(2 | 4));
    EXPECT_EQ(picture.at(10, 61), browserPenColour(2 | 4));
    EXPECT_EQ(picture.at(10, 60), browserPenColour(2));
    EXPECT_EQ(picture.at(10, 11), browserPenColour(2));
    EXPECT_EQ(picture.at(10, 10), (HistogramColour{255, 255, 255}));
    // Column 1 is bin 1: empty.
    EXPECT_EQ(picture.at(11, 100), (HistogramColour{255, 255, 255}));

    // Scaled by the shown channels only: green alone fills the plot.
    picture = drawBrowserHistogram(bins, maxima, {false, false, true, false}, width, height);
    EXPECT_EQ(picture.at(10, 11), browserPenColour(4));
    // Nothing shown: only the frame.
    const RgbPicture empty = drawBrowserHistogram(bins, maxima, {}, width, height);
    const RgbPicture cleared =
        drawBrowserHistogram({}, {}, {true, true, true, true}, width, height);
    EXPECT_EQ(empty.pixels, cleared.pixels);
    EXPECT_EQ(empty.at(10, 109), (HistogramColour{255, 255, 255}));
}

TEST(Histogram, EditorPictureBlendsLayersHalfway) {
    ChannelHistograms bins{};
    bins[kHistRed][0] = 10;
    bins[kHistBlue][0] = 5;
    bins[kHistGrey][255] = 10;
    const int width = 256;
    const int height = 40;
    const RgbPicture picture =
        drawEditorHistogram(bins, 10, {true, true, false, true}, width, height);
    // Column 0: red full height; blue over its lower half blended halfway.
    const HistogramColour red = kEditorChannelColours[kHistRed];
    const HistogramColour blue = kEditorChannelColours[kHistBlue];
    EXPECT_EQ(picture.at(0, 0), red);
    EXPECT_EQ(picture.at(0, 19), red);
    const HistogramColour mixed{static_cast<std::uint8_t>((red.red + blue.red) / 2),
                                static_cast<std::uint8_t>((red.green + blue.green) / 2),
                                static_cast<std::uint8_t>((red.blue + blue.blue) / 2)};
    EXPECT_EQ(picture.at(0, 20), mixed);
    EXPECT_EQ(picture.at(0, 39), mixed);
    // Grey on white is taken as it is.
    EXPECT_EQ(picture.at(255, 0), kEditorChannelColours[kHistGrey]);
    EXPECT_EQ(picture.at(128, 39), (HistogramColour{255, 255, 255}));
    // Green is not drawn and a zero maximum draws nothing.
    EXPECT_EQ(drawEditorHistogram(bins, 0, {true, true, true, true}, width, height).pixels,
              std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3, 255));
}

}  // namespace
}  // namespace tarn
