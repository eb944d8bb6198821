#include <gtest/gtest.h>
#include <exiv2/exiv2.hpp>

#include <cstdlib>

#include "fakes/temp_dir.h"
#include "image_fixtures.h"
#include "imaging/fip_super_image.h"
#include "imaging/imaging_service.h"
#include "imaging/jpeg_codec.h"

namespace tarn {
namespace {

using test::decodeRgb;
using test::encodeJpeg;
using test::readFile;
using test::TempDir;
using test::writeBytes;
using test::writeFile;

class JpegTransformTest : public testing::Test {
protected:
    ImagingService m_service;
    TempDir m_dir;
};

TEST_F(JpegTransformTest, FourQuarterTurnsGiveBackTheOriginalPixels) {
    // 64 x 48 is a whole number of 16 x 16 blocks for 4:2:0.
    const std::string path = m_dir.file("aligned.jpg");
    writeBytes(path, encodeJpeg(64, 48));
    int width = 0;
    int height = 0;
    const std::vector<std::uint8_t> original = decodeRgb(path, width, height);
    ASSERT_FALSE(original.empty());
    ASSERT_TRUE(transformJpegFile(path, JpegTransform::Rotate90));
    std::vector<std::uint8_t> turned = decodeRgb(path, width, height);
    EXPECT_EQ(width, 48);
    EXPECT_EQ(height, 64);
    EXPECT_NE(turned, original);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(transformJpegFile(path, JpegTransform::Rotate90));
    }
    turned = decodeRgb(path, width, height);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 48);
    EXPECT_EQ(turned, original);
}

TEST_F(JpegTransformTest, EachOperationMatchesJpegtranWithTrim) {
    // 70 x 45 leaves partial blocks on the right and bottom edges, which both trim.
    const std::string source = m_dir.file("ragged.jpg");
    writeBytes(source, encodeJpeg(70, 45));
    struct Case {
        JpegTransform operation;
        const char* arguments;
    };
    for (const Case& c : {Case{JpegTransform::FlipHorizontal, "-flip horizontal"},
                          Case{JpegTransform::FlipVertical, "-flip vertical"},
                          Case{JpegTransform::Rotate90, "-rotate 90"},
                          Case{JpegTransform::Rotate180, "-rotate 180"},
                          Case{JpegTransform::Rotate270, "-rotate 270"}}) {
        SCOPED_TRACE(c.arguments);
        const std::string ours = m_dir.file("ours.jpg");
        const std::string theirs = m_dir.file("theirs.jpg");
        ASSERT_TRUE(transformJpegFile(source, ours, c.operation));
        const std::string command = std::string("jpegtran -copy all -trim ") + c.arguments +
                                    " -outfile '" + theirs + "' '" + source + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        int ourWidth = 0;
        int ourHeight = 0;
        int theirWidth = 0;
        int theirHeight = 0;
        const std::vector<std::uint8_t> a = decodeRgb(ours, ourWidth, ourHeight);
        const std::vector<std::uint8_t> b = decodeRgb(theirs, theirWidth, theirHeight);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(ourWidth, theirWidth);
        EXPECT_EQ(ourHeight, theirHeight);
        EXPECT_TRUE(a == b);
    }
}

TEST_F(JpegTransformTest, ExifIsKept) {
    const std::string path = m_dir.file("exif.jpg");
    writeBytes(path, encodeJpeg(64, 64));
    {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        image->exifData()["Exif.Image.Make"] = "Tarn test camera";
        image->writeMetadata();
    }
    ASSERT_TRUE(transformJpegFile(path, JpegTransform::Rotate180));
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    const auto make = image->exifData().findKey(Exiv2::ExifKey("Exif.Image.Make"));
    ASSERT_NE(make, image->exifData().end());
    EXPECT_EQ(make->toString(), "Tarn test camera");
}

TEST_F(JpegTransformTest, LoadedPhotoSavedAgainKeepsItsMetadata) {
    const std::string path = m_dir.file("camera.jpg");
    writeBytes(path, encodeJpeg(64, 64));
    {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        image->exifData()["Exif.Image.Make"] = "Tarn test camera";
        image->setComment("holiday");
        image->writeMetadata();
    }
    fipSuperImage photo;
    ASSERT_TRUE(photo.load(path.c_str()));
    photo.setHorizontalResolution(300 / 2.54);
    ASSERT_TRUE(photo.invert());
    const std::string edited = m_dir.file("edited.jpg");
    ASSERT_TRUE(photo.save(edited.c_str()));
    auto image = Exiv2::ImageFactory::open(edited);
    image->readMetadata();
    const auto make = image->exifData().findKey(Exiv2::ExifKey("Exif.Image.Make"));
    ASSERT_NE(make, image->exifData().end());
    EXPECT_EQ(make->toString(), "Tarn test camera");
    EXPECT_EQ(image->comment(), "holiday");
}

TEST_F(JpegTransformTest, BadSourcesAreLeftAlone) {
    const std::vector<std::uint8_t> good = encodeJpeg(64, 64);
    const std::string truncated = m_dir.file("cut.jpg");
    const std::string cutBytes(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    writeFile(truncated, cutBytes);
    EXPECT_FALSE(transformJpegFile(truncated, JpegTransform::Rotate90));
    EXPECT_EQ(readFile(truncated), cutBytes);

    const std::string notJpeg = m_dir.file("text.jpg");
    writeFile(notJpeg, "not a picture at all");
    EXPECT_FALSE(transformJpegFile(notJpeg, JpegTransform::FlipHorizontal));
    EXPECT_EQ(readFile(notJpeg), "not a picture at all");

    const std::string empty = m_dir.file("empty.jpg");
    writeFile(empty, "");
    EXPECT_FALSE(transformJpegFile(empty, JpegTransform::FlipVertical));
    EXPECT_FALSE(transformJpegFile(m_dir.file("missing.jpg"), JpegTransform::Rotate180));
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("missing.jpg")));
}

}  // namespace
}  // namespace tarn
