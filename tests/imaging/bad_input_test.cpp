// Damaged and hostile files must load as invalid, make no thumbnail and print nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "fakes/temp_dir.h"
#include "image_fixtures.h"
#include "imaging/fip_super_image.h"
#include "imaging/imaging_service.h"
#include "imaging/jpeg_codec.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

class BadInputTest : public testing::TestWithParam<const char*> {
protected:
    // A real file of the parameter's type, big enough that half of it is still a header.
    std::string goodFileBytes() {
        const std::string path = m_dir.file(std::string("good.") + GetParam());
        const fipSuperImage picture = test::pictureImage(200, 150);
        EXPECT_TRUE(picture.saveFitBPP(path.c_str()));
        return readFile(path);
    }

    void expectRefused(const std::string& name, const std::string& bytes) {
        SCOPED_TRACE(name);
        const std::string path = m_dir.file(name);
        writeFile(path, bytes);
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        fipSuperImage image;
        EXPECT_FALSE(image.load(path.c_str()));
        EXPECT_FALSE(image.isValid());
        const Thumbnail thumb = makeFileThumbnail(path, 100, 100);
        EXPECT_TRUE(thumb.attempted);
        EXPECT_FALSE(thumb.image.isValid());
        EXPECT_EQ(thumb.photoWidth, 0u);
        fipSuperImage page;
        EXPECT_FALSE(page.loadPage(path.c_str(), 0) && page.getWidth() == 200);
        EXPECT_FALSE(fipSuperImage::isMultiPageFile(path.c_str()));
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "");
    }

    ImagingService m_service;
    TempDir m_dir;
};

TEST_P(BadInputTest, ZeroLengthFile) {
    expectRefused(std::string("empty.") + GetParam(), "");
}

TEST_P(BadInputTest, TruncatedFiles) {
    const std::string good = goodFileBytes();
    ASSERT_GT(good.size(), 100u);
    for (const std::size_t length : {good.size() / 2, good.size() / 10, std::size_t{16}}) {
        expectRefused("cut" + std::to_string(length) + "." + GetParam(), good.substr(0, length));
    }
}

TEST_P(BadInputTest, RandomBytes) {
    std::mt19937 random(1234);
    for (int round = 0; round < 5; ++round) {
        std::string bytes(1000 + round * 3000, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random());
        }
        expectRefused("noise" + std::to_string(round) + "." + GetParam(), bytes);
    }
}

TEST_P(BadInputTest, RightSignatureThenNoise) {
    const std::string good = goodFileBytes();
    std::mt19937 random(99);
    for (const std::size_t keep : {std::size_t{8}, std::size_t{40}}) {
        std::string bytes = good.substr(0, keep);
        bytes.resize(good.size());
        for (std::size_t i = keep; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>(random());
        }
        expectRefused("mixed" + std::to_string(keep) + "." + GetParam(), bytes);
    }
}

TEST(BadJpegInput, HeaderClaimingAHugePictureIsRefused) {
    ImagingService service;
    TempDir dir;
    std::vector<std::uint8_t> bytes = test::encodeJpeg(16, 16);
    // Patch the frame header to 60000 x 60000: a few bytes asking for ten gigabytes.
    bool patched = false;
    for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = bytes[i + 7] = 0xEA;
            bytes[i + 6] = bytes[i + 8] = 0x60;
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    const std::string path = dir.file("bomb.jpg");
    test::writeBytes(path, bytes);
    fipSuperImage image;
    EXPECT_FALSE(image.load(path.c_str()));
    const Thumbnail thumb = makeFileThumbnail(path, 200, 200);
    EXPECT_FALSE(thumb.image.isValid());
}

TEST(BadJpegInput, FolderNamedLikeAPictureIsNotOne) {
    ImagingService service;
    TempDir dir;
    const std::string folder = dir.file("album.jpg");
    std::filesystem::create_directory(folder);
    fipSuperImage image;
    EXPECT_FALSE(image.load(folder.c_str()));
    EXPECT_FALSE(makeFileThumbnail(folder, 100, 100).attempted);
    EXPECT_FALSE(transformJpegFile(folder, JpegTransform::Rotate90));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

INSTANTIATE_TEST_SUITE_P(Formats, BadInputTest, testing::Values("jpg", "png", "tif", "gif"));

}  // namespace
}  // namespace tarn
