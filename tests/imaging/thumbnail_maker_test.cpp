#include "imaging/thumbnail_maker.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <exiv2/exiv2.hpp>

#include <thread>

#include "fakes/temp_dir.h"
#include "image_fixtures.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

using test::encodeJpeg;
using test::pictureImage;
using test::TempDir;
using test::writeBytes;

class ThumbnailTest : public testing::Test {
protected:
    ImagingService m_service;
    TempDir m_dir;
};

// Embeds a JPEG thumbnail of the given size and a solid colour into a JPEG file.
void embedThumbnail(const std::string& path, int width, int height, BYTE red) {
    fipSuperImage small;
    ASSERT_TRUE(small.setSize(FIT_BITMAP, width, height, 24));
    RGBQUAD color{};
    color.rgbRed = red;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            small.setPixelColor(x, y, &color);
        }
    }
    fipMemoryIO memory;
    ASSERT_TRUE(small.saveToMemory(FIF_JPEG, memory));
    BYTE* data = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(memory.acquire(&data, &size));
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifThumb thumbnail(image->exifData());
    thumbnail.setJpegThumbnail(data, size);
    image->writeMetadata();
}

TEST_F(ThumbnailTest, LargeJpegFitsTheBoxAndReportsItsFullSize) {
    const std::string path = m_dir.file("big.jpg");
    writeBytes(path, encodeJpeg(4000, 3000));
    const Thumbnail thumb = makeFileThumbnail(path, 85, 85);
    ASSERT_TRUE(thumb.image.isValid());
    EXPECT_TRUE(thumb.attempted);
    EXPECT_EQ(thumb.image.getWidth(), 85u);
    EXPECT_EQ(thumb.image.getHeight(), 64u);
    EXPECT_EQ(thumb.image.getBPP(), 32u);
    EXPECT_EQ(thumb.photoWidth, 4000u);
    EXPECT_EQ(thumb.photoHeight, 3000u);
    // A downscale of the picture, not of something else: the left edge is dark red, the right
    // edge bright red (the test picture's red ramps from left to right).
    fipSuperImage image = thumb.image;
    RGBQUAD left{};
    RGBQUAD right{};
    image.getPixelColor(1, 32, &left);
    image.getPixelColor(83, 32, &right);
    EXPECT_LT(left.rgbRed, 20);
    EXPECT_GT(right.rgbRed, 235);
}

TEST_F(ThumbnailTest, SmallImageIsReturnedWhole) {
    const std::string path = m_dir.file("small.png");
    ASSERT_TRUE(pictureImage(50, 40).save(path.c_str()));
    Thumbnail thumb = makeFileThumbnail(path, 200, 200);
    ASSERT_TRUE(thumb.image.isValid());
    EXPECT_EQ(thumb.image.getWidth(), 50u);
    EXPECT_EQ(thumb.image.getHeight(), 40u);
    EXPECT_EQ(thumb.photoWidth, 50u);
    fipSuperImage original = pictureImage(50, 40);
    ASSERT_TRUE(thumb.image.convertTo24Bits());
    EXPECT_TRUE(test::samePixels(thumb.image, original));

    const std::string jpeg = m_dir.file("small.jpg");
    writeBytes(jpeg, encodeJpeg(50, 40));
    thumb = makeFileThumbnail(jpeg, 200, 200);
    EXPECT_EQ(thumb.image.getWidth(), 50u);
    EXPECT_EQ(thumb.image.getHeight(), 40u);
}

TEST_F(ThumbnailTest, PortraitFitsByHeight) {
    const std::string path = m_dir.file("portrait.jpg");
    writeBytes(path, encodeJpeg(600, 900));
    Thumbnail thumb = makeFileThumbnail(path, 200, 200);
    EXPECT_EQ(thumb.image.getWidth(), 133u);
    EXPECT_EQ(thumb.image.getHeight(), 200u);
    EXPECT_EQ(thumb.photoHeight, 900u);

    // The same through the general path for a format without a fast way.
    const std::string pgm = m_dir.file("portrait.ppm");
    ASSERT_TRUE(pictureImage(300, 450).save(pgm.c_str()));
    thumb = makeFileThumbnail(pgm, 100, 100);
    EXPECT_EQ(thumb.image.getWidth(), 67u);
    EXPECT_EQ(thumb.image.getHeight(), 100u);
    EXPECT_EQ(thumb.photoWidth, 300u);
    EXPECT_EQ(thumb.image.getBPP(), 24u);
}

TEST_F(ThumbnailTest, EmbeddedExifThumbnailIsUsedOnlyWhenBigEnough) {
    const std::string path = m_dir.file("camera.jpg");
    writeBytes(path, encodeJpeg(1600, 1200));
    // The embedded picture is pure red, unlike the photo: which one was used shows.
    embedThumbnail(path, 160, 120, 255);
    Thumbnail thumb = makeFileThumbnail(path, 85, 85);
    ASSERT_TRUE(thumb.image.isValid());
    EXPECT_EQ(thumb.image.getWidth(), 85u);
    EXPECT_EQ(thumb.image.getHeight(), 64u);
    EXPECT_EQ(thumb.photoWidth, 1600u);
    EXPECT_EQ(thumb.photoHeight, 1200u);
    RGBQUAD left{};
    thumb.image.getPixelColor(1, 32, &left);
    EXPECT_GT(left.rgbRed, 240);

    thumb = makeFileThumbnail(path, 200, 200);  // 200 x 150 needs more than 160 x 120
    EXPECT_EQ(thumb.image.getWidth(), 200u);
    thumb.image.getPixelColor(1, 75, &left);
    EXPECT_LT(left.rgbRed, 20);

    // A thumbnail of another shape (letter-boxed) is not used either.
    const std::string wide = m_dir.file("wide.jpg");
    writeBytes(wide, encodeJpeg(1800, 1000));
    embedThumbnail(wide, 160, 120, 255);
    thumb = makeFileThumbnail(wide, 85, 85);
    EXPECT_EQ(thumb.image.getHeight(), 47u);
    thumb.image.getPixelColor(1, 20, &left);
    EXPECT_LT(left.rgbRed, 20);
}

TEST_F(ThumbnailTest, MissingFileIsNotAttempted) {
    const Thumbnail thumb = makeFileThumbnail(m_dir.file("gone.jpg"), 100, 100);
    EXPECT_FALSE(thumb.attempted);
    EXPECT_FALSE(thumb.image.isValid());
    EXPECT_FALSE(makeFileThumbnail(m_dir.path().string(), 100, 100).attempted);
}

TEST_F(ThumbnailTest, ANamedPipeGetsNoThumbnailAndIsNeverOpened) {
    // Opening it for reading would wait for a writer for ever.
    const std::string pipe = m_dir.file("pipe.jpg");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const Thumbnail thumb = makeFileThumbnail(pipe, 100, 100);
    EXPECT_TRUE(thumb.attempted);
    EXPECT_FALSE(thumb.image.isValid());
}

TEST_F(ThumbnailTest, MisnamedFileFallsBackToTheFullLoad) {
    const std::string path = m_dir.file("really-png.jpg");
    ASSERT_TRUE(pictureImage(300, 100).save(FIF_PNG, path.c_str()));
    const Thumbnail thumb = makeFileThumbnail(path, 60, 60);
    ASSERT_TRUE(thumb.image.isValid());
    EXPECT_EQ(thumb.image.getWidth(), 60u);
    EXPECT_EQ(thumb.image.getHeight(), 20u);
    EXPECT_EQ(thumb.photoWidth, 300u);
}

TEST_F(ThumbnailTest, FastExtensionsAreCaseInsensitive) {
    for (const char* name : {"a.BMP", "a.rle", "a.Dib", "a.gif", "a.JPG", "a.jpeg", "a.jpe",
                             "a.jif", "a.jfif", "a.JFI", "a.png", "a.tif", "a.TIFF", "a.ico"}) {
        EXPECT_TRUE(hasFastThumbnailExtension(name)) << name;
    }
    for (const char* name : {"a.webp", "a.psd", "a", "jpg", "a.jpg.txt"}) {
        EXPECT_FALSE(hasFastThumbnailExtension(name)) << name;
    }
}

TEST_F(ThumbnailTest, ThreadsMakeThumbnailsSideBySide) {
    const std::string jpeg = m_dir.file("t.jpg");
    writeBytes(jpeg, encodeJpeg(640, 480));
    embedThumbnail(jpeg, 160, 120, 200);
    const std::string png = m_dir.file("t.png");
    ASSERT_TRUE(pictureImage(300, 200).save(png.c_str()));
    std::vector<std::thread> threads;
    std::vector<int> good(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 10; ++i) {
                const unsigned box = (t % 2 == 0) ? 80 : 200;
                const Thumbnail a = makeFileThumbnail(jpeg, box, box);
                const Thumbnail b = makeFileThumbnail(png, box, box);
                good[t] += a.image.getWidth() == box && b.image.getWidth() == box ? 1 : 0;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(good, std::vector<int>(4, 10));
}

}  // namespace
}  // namespace tarn
