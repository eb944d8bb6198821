#include "desktop/print_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "desktop/psd_fixture.h"
#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

TEST(FileToPrint, FilesThePrinterTakesPrintAsTheyAre) {
    // Keeps the TIFF library's complaints about EXIF tags off the console.
    const ImagingService imaging;
    test::TempDir dir;
    const std::string temp = dir.file("Temp");
    for (const char* name : {"photo.jpg", "photo.png", "photo.bmp", "photo.tif", "photo.gif"}) {
        const std::string path = dir.file(name);
        test::writePicture(path, 8, 6, {10, 20, 30, 0}, FIF_UNKNOWN,
                           std::string(name) == "photo.gif" ? 8 : 24);
        std::string error;
        EXPECT_EQ(fileToPrint(path, temp, &error), path) << name;
        EXPECT_EQ(error, "");
    }
    // Nothing was copied, so the temporary folder was never needed.
    EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST(FileToPrint, OtherFormatsPrintFromABitmapCopyInTheTemporaryFolder) {
    test::TempDir dir;
    const std::string psd = dir.file("layers.psd");
    test::writeFlatPsd(psd, 12, 7, 90, 40, 200);
    ASSERT_EQ(FreeImage_GetFileType(psd.c_str(), 0), FIF_PSD);
    // A JPEG in disguise still prints as itself: the content decides, not the name.
    const std::string disguised = dir.file("really_jpeg.psd");
    test::writePicture(disguised, 4, 4, {}, FIF_JPEG);

    const std::string temp = dir.file("Temp");
    std::string error;
    const std::string printed = fileToPrint(psd, temp, &error);
    EXPECT_EQ(printed, dir.file("Temp/$layers.bmp")) << error;
    ASSERT_EQ(FreeImage_GetFileType(printed.c_str(), 0), FIF_BMP);
    fipSuperImage copy;
    ASSERT_TRUE(copy.load(printed.c_str()));
    EXPECT_EQ(copy.getWidth(), 12u);
    EXPECT_EQ(copy.getHeight(), 7u);
    RGBQUAD centre{};
    copy.getPixelColor(6, 3, &centre);
    EXPECT_EQ(centre.rgbRed, 90);
    EXPECT_EQ(centre.rgbGreen, 40);
    EXPECT_EQ(centre.rgbBlue, 200);
    // The original is only read.
    EXPECT_EQ(FreeImage_GetFileType(psd.c_str(), 0), FIF_PSD);

    EXPECT_EQ(fileToPrint(disguised, temp), disguised);
}

TEST(FileToPrint, NothingToPrintWhenTheImageCannotBeReadOrCopied) {
    test::TempDir dir;
    const std::string temp = dir.file("Temp");
    const std::string notes = dir.file("notes.pcx");
    test::writeFile(notes, "not a picture at all");
    std::string error;
    EXPECT_EQ(fileToPrint(notes, temp, &error), "");
    EXPECT_NE(error, "");
    error.clear();
    EXPECT_EQ(fileToPrint(dir.file("missing.psd"), temp, &error), "");
    EXPECT_NE(error, "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Temp/$notes.bmp")));

    // The temporary folder's place is taken by a file: the copy cannot be made.
    const std::string psd = dir.file("layers.psd");
    test::writeFlatPsd(psd, 5, 5, 0, 0, 0);
    test::writeFile(temp, "in the way");
    error.clear();
    EXPECT_EQ(fileToPrint(psd, temp, &error), "");
    EXPECT_NE(error, "");
}

}  // namespace
}  // namespace tarn
