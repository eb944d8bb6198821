#include "info/file_histogram.h"

#include <gtest/gtest.h>

#include <numeric>

#include "fakes/temp_dir.h"
#include "imaging/freeimage_ptr.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

TEST(FileHistogram, ComputedOnAThumbnailAndClippedPerChannel) {
    const ImagingService service;
    const test::TempDir dir;
    // 400 x 300, left half black, right half (0, 0, 250): the thumbnail is 200 x 150.
    FreeImageBitmap dib(FreeImage_Allocate(400, 300, 24));
    for (int y = 0; y < 300; ++y) {
        BYTE* p = FreeImage_GetScanLine(dib.get(), y);
        for (int x = 0; x < 400; ++x, p += 3) {
            p[FI_RGBA_BLUE] = x < 200 ? 0 : 250;
        }
    }
    const std::string path = dir.file("Half.PNG");
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, dib.get(), path.c_str(), 0));
    const std::vector<std::string> extensions = sortedImageExtensions();
    ASSERT_TRUE(isImageName(path, extensions));

    const FileHistogram histogram = computeFileHistogram(path, extensions);
    EXPECT_TRUE(histogram.made);
    // 30000 pixels: limit (30000 / 256) * 4 = 468 in every full bin.
    EXPECT_EQ(histogram.maxima, (ChannelMaxima{468, 468, 468, 468}));
    EXPECT_EQ(histogram.bins[kHistRed][0], 468U);
    EXPECT_EQ(histogram.bins[kHistBlue][0] + histogram.bins[kHistBlue][250], 936U);
    // The resampled edge between the halves lands in between; nothing else does.
    const HistogramBins& grey = histogram.bins[kHistGrey];
    EXPECT_EQ(grey[0], 468U);
    EXPECT_EQ(grey[18], 468U);  // 0.0722 * 250, rounded
    EXPECT_LT(std::accumulate(grey.begin() + 1, grey.begin() + 18, 0U), 150U * 6);
}

TEST(FileHistogram, NamesThatAreNotImagesAndFilesThatAreBroken) {
    const test::TempDir dir;
    const std::vector<std::string> extensions = sortedImageExtensions();
    const std::string text = dir.file("notes.txt");
    test::writeFile(text, "words");
    const FileHistogram none = computeFileHistogram(text, extensions);
    EXPECT_TRUE(none.made);
    EXPECT_EQ(none.maxima, ChannelMaxima{});

    const std::string broken = dir.file("broken.jpg");
    test::writeFile(broken, "\xff\xd8 and then nothing");
    const FileHistogram failed = computeFileHistogram(broken, extensions);
    EXPECT_FALSE(failed.made);
    EXPECT_EQ(failed.bins[kHistGrey], HistogramBins{});

    EXPECT_FALSE(isImageName("/pictures/jpg", extensions));
    EXPECT_FALSE(isImageName("/pictures.jpg/file.", extensions));
    EXPECT_TRUE(histogramPathExists(dir.path().string() + "/"));
    EXPECT_TRUE(histogramPathExists(text));
    EXPECT_FALSE(histogramPathExists(dir.file("gone.png")));
    EXPECT_FALSE(histogramPathExists(""));
}

}  // namespace
}  // namespace tarn
