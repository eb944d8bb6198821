#include "viewer/image_loading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"
#include "page_files.h"

namespace tarn {
namespace {

using test::pageWidth;
using test::readFile;
using test::TempDir;
using test::writeFile;

class ImageLoadingTest : public testing::Test {
protected:
    ImagingService m_service;
    TempDir m_dir;
};

TEST_F(ImageLoadingTest, EveryPageOfAMultiPageFileWithItsCount) {
    const std::string path = m_dir.file("pages.tif");
    ASSERT_TRUE(test::writePages(path, 3));
    for (int page = 0; page < 3; ++page) {
        SCOPED_TRACE(page);
        const LoadedImage loaded = loadImageFile(path, page);
        ASSERT_NE(loaded.image, nullptr);
        EXPECT_TRUE(loaded.image->isValid());
        EXPECT_EQ(loaded.image->getWidth(), pageWidth(page));
        EXPECT_EQ(loaded.pageCount, 3);
        // The page remembers its file's format, as a file loaded whole does.
        EXPECT_EQ(loaded.image->getFIF(), FIF_TIFF);
    }
    // Reading pages leaves the file as it was.
    const std::string before = readFile(path);
    loadImageFile(path, 1);
    EXPECT_EQ(readFile(path), before);
}

TEST_F(ImageLoadingTest, PageOutsideTheFileGivesNothingButTheCount) {
    const std::string path = m_dir.file("pages.tif");
    ASSERT_TRUE(test::writePages(path, 3));
    for (const int page : {3, -1, 1000}) {
        SCOPED_TRACE(page);
        const LoadedImage loaded = loadImageFile(path, page);
        EXPECT_EQ(loaded.image, nullptr);
        EXPECT_EQ(loaded.pageCount, 3);
    }
}

TEST_F(ImageLoadingTest, MultiPageGif) {
    const std::string path = m_dir.file("anim.gif");
    ASSERT_TRUE(test::writePages(path, 2, FIF_GIF));
    const LoadedImage second = loadImageFile(path, 1);
    ASSERT_NE(second.image, nullptr);
    EXPECT_EQ(second.pageCount, 2);
    EXPECT_EQ(second.image->getWidth(), pageWidth(1));
}

TEST_F(ImageLoadingTest, SinglePageFilesLoadWholeWithOnePage) {
    const std::string tiff = m_dir.file("one.tif");
    ASSERT_TRUE(test::writePages(tiff, 1));
    const std::string png = m_dir.file("one.png");
    ASSERT_TRUE(test::pictureImage(21, 13).save(png.c_str()));
    const std::string jpeg = m_dir.file("one.jpg");
    test::writeBytes(jpeg, test::encodeJpeg(64, 48));

    const LoadedImage fromTiff = loadImageFile(tiff, 0);
    ASSERT_NE(fromTiff.image, nullptr);
    EXPECT_EQ(fromTiff.pageCount, 1);
    EXPECT_EQ(fromTiff.image->getWidth(), pageWidth(0));

    const LoadedImage fromPng = loadImageFile(png, 0);
    ASSERT_NE(fromPng.image, nullptr);
    EXPECT_EQ(fromPng.pageCount, 1);
    EXPECT_EQ(fromPng.image->getWidth(), 21u);
    EXPECT_EQ(fromPng.image->getFIF(), FIF_PNG);

    const LoadedImage fromJpeg = loadImageFile(jpeg, 0);
    ASSERT_NE(fromJpeg.image, nullptr);
    EXPECT_EQ(fromJpeg.pageCount, 1);
    EXPECT_EQ(fromJpeg.image->getWidth(), 64u);
    EXPECT_EQ(fromJpeg.image->getFIF(), FIF_JPEG);
}

TEST_F(ImageLoadingTest, WhatIsNoPictureGivesNothing) {
    writeFile(m_dir.file("garbage.png"), std::string(3000, '\x5a'));
    writeFile(m_dir.file("text.tif"), "II*\0 this is not really a TIFF file at all");
    writeFile(m_dir.file("empty.jpg"), "");
    std::filesystem::create_directory(m_dir.file("folder.png"));
    for (const char* name :
         {"garbage.png", "text.tif", "empty.jpg", "missing.png", "folder.png", ""}) {
        SCOPED_TRACE(name);
        const LoadedImage loaded = loadImageFile(*name ? m_dir.file(name) : std::string(), 0);
        EXPECT_EQ(loaded.image, nullptr);
        EXPECT_EQ(loaded.pageCount, 1);
    }
    EXPECT_EQ(loadImageFile("", 0).image, nullptr);
}

// A multi-page file damaged after its first page: whatever still reads is a valid picture of
// the right page, the rest is refused, and nothing crashes.
TEST_F(ImageLoadingTest, DamagedMultiPageFileFailsCleanly) {
    const std::string good = m_dir.file("good.tif");
    ASSERT_TRUE(test::writePages(good, 3));
    const std::string bytes = readFile(good);
    ASSERT_GT(bytes.size(), 200u);

    std::vector<std::pair<std::string, std::string>> damaged;
    for (const double keep : {0.9, 0.66, 0.4, 0.1}) {
        damaged.emplace_back("cut" + std::to_string(keep) + ".tif",
                             bytes.substr(0, static_cast<std::size_t>(bytes.size() * keep)));
    }
    for (std::size_t from = 8; from + 64 <= bytes.size(); from += bytes.size() / 7) {
        std::string scrambled = bytes;
        for (std::size_t i = from; i < from + 64; ++i) {
            scrambled[i] = static_cast<char>(0xFF - (i * 37) % 251);
        }
        damaged.emplace_back("scrambled" + std::to_string(from) + ".tif", scrambled);
    }
    testing::internal::CaptureStderr();
    for (const auto& [name, content] : damaged) {
        SCOPED_TRACE(name);
        const std::string path = m_dir.file(name);
        writeFile(path, content);
        for (int page = -1; page <= 3; ++page) {
            const LoadedImage loaded = loadImageFile(path, page);
            EXPECT_GE(loaded.pageCount, 1);
            if (loaded.image) {
                EXPECT_TRUE(loaded.image->isValid());
                // What no longer reads as several pages is loaded whole, whatever the page.
                if (loaded.pageCount > 1) {
                    EXPECT_GE(page, 0);
                    EXPECT_LT(page, loaded.pageCount);
                }
            }
        }
    }
    // The library's complaints go to the message capture, not to the console.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace tarn
