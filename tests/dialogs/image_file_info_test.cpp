#include "dialogs/image_file_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_format.h"
#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

TEST(ImageFileInfo, TextsOfAKnownFile) {
    const ImageInfoTexts texts = imageInfoTexts(FIF_JPEG, 1536, 640, 480);
    EXPECT_TRUE(texts.available);
    EXPECT_EQ(texts.format, "JPEG");
    EXPECT_EQ(texts.size, "1.50 KB");
    EXPECT_EQ(texts.width, "640");
    EXPECT_EQ(texts.height, "480");
}

TEST(ImageFileInfo, ZeroSidesAreUnknownAndUnknownFormatsUnavailable) {
    const ImageInfoTexts texts = imageInfoTexts(FIF_PNG, 10, 0, 7);
    EXPECT_EQ(texts.width, "Unknown");
    EXPECT_EQ(texts.height, "7");
    EXPECT_FALSE(imageInfoTexts(FIF_UNKNOWN, 10, 5, 5).available);
}

class ImageFileInfoFiles : public testing::Test {
protected:
    ImagingService m_imaging;
    test::TempDir m_dir;
};

TEST_F(ImageFileInfoFiles, DescribesFilesByContent) {
    const std::string jpeg = m_dir.file("holiday.jpg");
    test::writeBytes(jpeg, test::encodeJpeg(320, 200));
    // A PNG under a misleading name is still told by its content.
    const std::string png = m_dir.file("disguised.jpg");
    ASSERT_TRUE(test::pictureImage(33, 17).save(FIF_PNG, png.c_str()));

    ImageInfoTexts texts = describeImageFile(jpeg);
    EXPECT_TRUE(texts.available);
    EXPECT_EQ(texts.format, "JPEG");
    EXPECT_EQ(texts.size, sizeText(std::filesystem::file_size(jpeg)));
    EXPECT_EQ(texts.width, "320");
    EXPECT_EQ(texts.height, "200");

    texts = describeImageFile(png);
    EXPECT_EQ(texts.format, "PNG");
    EXPECT_EQ(texts.width, "33");
    EXPECT_EQ(texts.height, "17");

    // A size already known (the preview's full size) is taken as it is.
    EXPECT_EQ(describeImageFile(jpeg, 4000, 3000).width, "4000");
}

TEST_F(ImageFileInfoFiles, FoldersUnknownAndMissingFilesAreUnavailable) {
    const std::string text = m_dir.file("notes.jpg");
    test::writeFile(text, "not a picture at all");
    const std::string folder = m_dir.file("album.png");
    std::filesystem::create_directory(folder);
    const std::string empty = m_dir.file("empty.png");
    test::writeFile(empty, "");

    for (const std::string& path : {text, folder, empty, m_dir.file("gone.png"), std::string()}) {
        EXPECT_FALSE(describeImageFile(path).available) << path;
        unsigned width = 1;
        unsigned height = 1;
        readImageSize(path, width, height);
        EXPECT_EQ(width, 0u) << path;
        EXPECT_EQ(height, 0u) << path;
    }
}

TEST_F(ImageFileInfoFiles, TruncatedPictureKeepsItsFormatWithUnknownSize) {
    const std::string jpeg = m_dir.file("cut.jpg");
    std::vector<std::uint8_t> bytes = test::encodeJpeg(64, 48);
    bytes.resize(4);  // the signature survives, the header does not
    test::writeBytes(jpeg, bytes);
    const ImageInfoTexts texts = describeImageFile(jpeg);
    ASSERT_TRUE(texts.available);
    EXPECT_EQ(texts.format, "JPEG");
    EXPECT_EQ(texts.width, "Unknown");
    EXPECT_EQ(texts.height, "Unknown");
}

}  // namespace
}  // namespace tarn
