#include "browser/rotate_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

// Red of the pixel in column x of row y counted from the top.
int redAt(const fipSuperImage& image, unsigned x, unsigned y) {
    RGBQUAD color{};
    image.getPixelColor(x, image.getHeight() - 1 - y, &color);
    return color.rgbRed;
}

// A small picture whose every pixel has its own red value: 10 * x + y + 1 from the top left.
void writeNumberedPicture(const std::string& path, unsigned width, unsigned height) {
    fipSuperImage image;
    image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            RGBQUAD color{0, 0, static_cast<BYTE>(10 * x + y + 1), 0};
            image.setPixelColor(x, height - 1 - y, &color);
        }
    }
    FreeImage_SetMetadataKeyValue(FIMD_COMMENTS, image, "Comment", "kept through rotation");
    ASSERT_TRUE(image.save(path.c_str()));
}

TEST(RotateImageFiles, TurnsThePixelsCounterClockwiseAndKeepsFormatAndComments) {
    // Keeps the TIFF library's complaints about EXIF tags off the console.
    const ImagingService imaging;
    test::TempDir dir;
    const std::string png = dir.file("numbers.png");
    // A TIFF under a JPEG name stays a TIFF: its content decides how it is written back.
    const std::string tiff = dir.file("tiff_inside.jpg");
    writeNumberedPicture(png, 3, 2);
    test::writePicture(tiff, 4, 2, {1, 2, 3, 0}, FIF_TIFF);

    std::vector<std::string> failures;
    EXPECT_EQ(rotateImageFiles({png, tiff}, 90, &failures), 2);
    EXPECT_TRUE(failures.empty());

    fipSuperImage turned;
    ASSERT_TRUE(turned.load(png.c_str()));
    ASSERT_EQ(turned.getWidth(), 2u);
    ASSERT_EQ(turned.getHeight(), 3u);
    // Old (x, y) of a 3 x 2 picture lands at (y, 2 - x): the right column becomes the top row.
    for (unsigned y = 0; y < 2; ++y) {
        for (unsigned x = 0; x < 3; ++x) {
            EXPECT_EQ(redAt(turned, y, 2 - x), static_cast<int>(10 * x + y + 1))
                << "pixel " << x << "," << y;
        }
    }
    fipTag comment;
    ASSERT_TRUE(turned.getMetadata(FIMD_COMMENTS, "Comment", comment));
    EXPECT_STREQ(static_cast<const char*>(comment.getValue()), "kept through rotation");

    EXPECT_EQ(FreeImage_GetFileType(tiff.c_str(), 0), FIF_TIFF);
    fipSuperImage tall;
    ASSERT_TRUE(tall.load(tiff.c_str()));
    EXPECT_EQ(tall.getWidth(), 2u);
    EXPECT_EQ(tall.getHeight(), 4u);

    // With 180 and another 90 the picture has made a full turn: every pixel is back.
    EXPECT_EQ(rotateImageFiles({png}, 180), 1);
    EXPECT_EQ(rotateImageFiles({png}, 90), 1);
    fipSuperImage around;
    ASSERT_TRUE(around.load(png.c_str()));
    ASSERT_EQ(around.getWidth(), 3u);
    for (unsigned y = 0; y < 2; ++y) {
        for (unsigned x = 0; x < 3; ++x) {
            EXPECT_EQ(redAt(around, x, y), static_cast<int>(10 * x + y + 1));
        }
    }
}

TEST(RotateImageFiles, DepthsTheLibraryCannotTurnAreWidenedFirst) {
    test::TempDir dir;
    const std::string sixteen = dir.file("sixteen.bmp");
    const std::string four = dir.file("four.bmp");
    test::writePicture(sixteen, 6, 2, {10, 20, 30, 0}, FIF_BMP, 16);
    test::writePicture(four, 6, 2, {}, FIF_BMP, 4);
    EXPECT_EQ(rotateImageFiles({sixteen, four}, 90), 2);
    for (const std::string& path : {sixteen, four}) {
        fipSuperImage image;
        ASSERT_TRUE(image.load(path.c_str()));
        EXPECT_EQ(image.getWidth(), 2u) << path;
        EXPECT_EQ(image.getHeight(), 6u) << path;
    }
}

TEST(RotateImageFiles, JpegsKeepTheirCommentAndTurn) {
    test::TempDir dir;
    const std::string jpeg = dir.file("photo.jpg");
    test::writePicture(jpeg, 16, 8, {40, 80, 160, 0}, FIF_JPEG, 24, {{"Comment", "holiday"}});
    EXPECT_EQ(rotateImageFiles({jpeg}, 270), 1);
    fipSuperImage image;
    ASSERT_TRUE(image.load(jpeg.c_str(), JPEG_ACCURATE));
    EXPECT_EQ(image.getWidth(), 8u);
    EXPECT_EQ(image.getHeight(), 16u);
    fipTag comment;
    ASSERT_TRUE(image.getMetadata(FIMD_COMMENTS, "Comment", comment));
    EXPECT_STREQ(static_cast<const char*>(comment.getValue()), "holiday");
}

TEST(RotateImageFiles, AFileThatCannotBeRotatedStaysByteForByte) {
    // Keeps the TIFF library's complaints about EXIF tags off the console.
    const ImagingService imaging;
    test::TempDir dir;
    const std::string readOnly = dir.file("locked.png");
    const std::string damaged = dir.file("damaged.png");
    const std::string text = dir.file("notes.bmp");
    const std::string good = dir.file("good.bmp");
    writeNumberedPicture(readOnly, 5, 3);
    ::chmod(readOnly.c_str(), 0444);
    writeNumberedPicture(damaged, 40, 30);
    const std::string whole = test::readFile(damaged);
    test::writeFile(damaged, whole.substr(0, whole.size() / 2));
    test::writeFile(text, "hello");
    writeNumberedPicture(good, 5, 3);
    // Only the first page of a multi-page file would come back.
    const std::string pages = dir.file("pages.tif");
    {
        FIMULTIBITMAP* multi = FreeImage_OpenMultiBitmap(FIF_TIFF, pages.c_str(), TRUE, FALSE);
        ASSERT_NE(multi, nullptr);
        for (int page = 0; page < 2; ++page) {
            const FreeImageBitmap dib = test::makePicture(6, 4);
            FreeImage_AppendPage(multi, dib.get());
        }
        ASSERT_TRUE(FreeImage_CloseMultiBitmap(multi));
    }
    const std::string pagesBefore = test::readFile(pages);

    const std::string lockedBefore = test::readFile(readOnly);
    const std::string damagedBefore = test::readFile(damaged);
    std::vector<std::string> failures;
    const std::vector<std::string> refused{readOnly, damaged, text, dir.file("missing.png"), pages};
    std::vector<std::string> all = refused;
    all.push_back(good);
    EXPECT_EQ(rotateImageFiles(all, 90, &failures), 1);
    EXPECT_EQ(failures, refused);
    EXPECT_EQ(test::readFile(pages), pagesBefore);
    EXPECT_EQ(test::readFile(readOnly), lockedBefore);
    EXPECT_EQ(test::readFile(damaged), damagedBefore);
    EXPECT_EQ(test::readFile(text), "hello");
    // No temporary file is left beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              5);
    // Only right angles turn a file.
    failures.clear();
    EXPECT_EQ(rotateImageFiles({good}, 45, &failures), 0);
    EXPECT_EQ(failures.size(), 1u);
}

}  // namespace
}  // namespace tarn
