// The formats whose library loader cannot stop before the pixels have header readers of their
// own: files written by ImageMagick read at their real size, and lying headers are refused
// before anything is decoded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fakes/temp_dir.h"
#include "header_bytes.h"
#include "image_fixtures.h"
#include "imaging/decode_limits.h"
#include "imaging/fip_super_image.h"
#include "imaging/image_header.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

using test::be16;
using test::be32;
using test::Bytes;
using test::le32;

// A multi-byte integer of the wireless bitmap format.
void wbmpNumber(Bytes& b, std::uint32_t v) {
    for (int shift = 28; shift > 0; shift -= 7) {
        if ((v >> shift) != 0) {
            b.push_back(static_cast<std::uint8_t>(0x80 | ((v >> shift) & 0x7F)));
        }
    }
    b.push_back(static_cast<std::uint8_t>(v & 0x7F));
}

Bytes ddsClaiming(std::uint32_t width, std::uint32_t height) {
    Bytes b{'D', 'D', 'S', ' '};
    le32(b, 124);
    le32(b, 0x1007);
    le32(b, height);
    le32(b, width);
    b.resize(76, 0);
    le32(b, 32);    // size of the pixel format
    le32(b, 0x40);  // uncompressed colour
    le32(b, 0);
    le32(b, 32);
    b.resize(128, 0);
    return b;
}

Bytes sgiClaiming(unsigned width, unsigned height) {
    Bytes b;
    be16(b, 474);
    b.push_back(0);  // uncompressed
    b.push_back(1);  // a byte per channel
    be16(b, 3);
    be16(b, width);
    be16(b, height);
    be16(b, 3);
    b.resize(512 + 64, 0);
    return b;
}

Bytes codeStreamClaiming(std::uint32_t width, std::uint32_t height) {
    Bytes b{0xFF, 0x4F, 0xFF, 0x51};
    be16(b, 41);
    be16(b, 0);
    be32(b, width);
    be32(b, height);
    b.resize(40, 0);
    be16(b, 3);
    b.resize(64, 0);
    return b;
}

Bytes jp2Claiming(std::uint32_t width, std::uint32_t height) {
    Bytes b{0, 0, 0, 12, 'j', 'P', ' ', ' ', '\r', '\n', 0x87, '\n'};
    be32(b, 20);
    b.insert(b.end(), {'f', 't', 'y', 'p', 'j', 'p', '2', ' ', 0, 0, 0, 0, 'j', 'p', '2', ' '});
    be32(b, 8 + 22);
    b.insert(b.end(), {'j', 'p', '2', 'h'});
    be32(b, 22);
    b.insert(b.end(), {'i', 'h', 'd', 'r'});
    be32(b, height);
    be32(b, width);
    be16(b, 3);
    b.insert(b.end(), {7, 7, 0, 0});
    return b;
}

Bytes mngClaiming(std::uint32_t width, std::uint32_t height) {
    Bytes b{0x8A, 'M', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    be32(b, 28);
    b.insert(b.end(), {'M', 'H', 'D', 'R'});
    be32(b, width);
    be32(b, height);
    b.resize(8 + 8 + 28 + 4, 0);
    return b;
}

Bytes iffClaiming(unsigned width, unsigned height) {
    Bytes b{'F', 'O', 'R', 'M'};
    be32(b, 4 + 8 + 20);
    b.insert(b.end(), {'I', 'L', 'B', 'M', 'B', 'M', 'H', 'D'});
    be32(b, 20);
    be16(b, width);
    be16(b, height);
    b.resize(b.size() + 4, 0);
    b.push_back(24);  // planes
    b.resize(12 + 8 + 20, 0);
    return b;
}

Bytes pictClaiming(int top, int left, int bottom, int right) {
    Bytes b(512, 0);
    be16(b, 0);
    for (const int v : {top, left, bottom, right}) {
        be16(b, static_cast<unsigned>(v) & 0xFFFF);
    }
    b.insert(b.end(), {0x00, 0x11, 0x02, 0xFF});
    b.resize(b.size() + 64, 0);
    return b;
}

Bytes textBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes wbmpClaiming(std::uint32_t width, std::uint32_t height) {
    Bytes b{0, 0};
    wbmpNumber(b, width);
    wbmpNumber(b, height);
    b.resize(b.size() + 16, 0xAA);
    return b;
}

class OtherHeaders : public testing::Test {
protected:
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = m_dir.file(name);
        test::writeBytes(path, bytes);
        return path;
    }

    ImagingService m_service;
    test::TempDir m_dir;
};

TEST_F(OtherHeaders, LyingHeadersAreRefusedBeforeThePixelsAreDecoded) {
    struct Case {
        const char* name;
        Bytes bytes;
        unsigned width;
        unsigned height;
    };
    const std::vector<Case> cases{
        {"bomb.dds", ddsClaiming(60000, 60000), 60000, 60000},
        {"bomb.sgi", sgiClaiming(65535, 65535), 65535, 65535},
        {"bomb.j2k", codeStreamClaiming(60000, 60000), 60000, 60000},
        {"bomb.jp2", jp2Claiming(60000, 60000), 60000, 60000},
        {"bomb.mng", mngClaiming(60000, 60000), 60000, 60000},
        {"bomb.iff", iffClaiming(65535, 65535), 65535, 65535},
        {"bomb.pct", pictClaiming(-32768, -32768, 32767, 32767), 65535, 65535},
        {"bomb.xbm",
         textBytes("#define b_width 90000\n#define b_height 90000\nstatic char b_bits[] = {"),
         90000, 90000},
        {"bomb.wbmp", wbmpClaiming(100000, 100000), 100000, 100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = write(c.name, c.bytes);
        const std::optional<ImageHeader> header = readImageHeader(path);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->width, c.width);
        EXPECT_EQ(header->height, c.height);
        EXPECT_FALSE(headerFitsDecodeLimit(path));
        fipSuperImage image;
        EXPECT_FALSE(image.load(path.c_str()));
    }
    // In memory the formats without a signature are not known; those with one are.
    const std::optional<ImageHeader> dds =
        readImageHeader(cases[0].bytes.data(), cases[0].bytes.size());
    ASSERT_TRUE(dds.has_value());
    EXPECT_EQ(dds->width, 60000u);
}

TEST_F(OtherHeaders, FilesWrittenByImageMagickReadAtTheSizeTheLibraryDecodes) {
    const std::string source = m_dir.file("source.png");
    ASSERT_TRUE(test::pictureImage(37, 23).save(source.c_str()));
    for (const char* ext : {"dds", "sgi", "jp2", "j2k", "mng", "pict", "xbm", "wbmp"}) {
        SCOPED_TRACE(ext);
        const std::string path = m_dir.file(std::string("magick.") + ext);
        // Uncompressed DDS: the library decodes compressed ones in whole 4 x 4 blocks only.
        const std::string options =
            std::string(ext) == "dds" ? "-define dds:compression=none " : "";
        const std::string command =
            "convert '" + source + "' " + options + "'" + path + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::optional<ImageHeader> header = readImageHeader(path);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->width, 37u);
        EXPECT_EQ(header->height, 23u);
        fipSuperImage image;
        if (image.load(path.c_str())) {
            EXPECT_EQ(image.getWidth(), header->width);
            EXPECT_EQ(image.getHeight(), header->height);
        }
    }
}

TEST_F(OtherHeaders, DamagedHeadersReadNothingAndNeverOutsideTheBytes) {
    for (const Bytes& whole : {ddsClaiming(5, 5), sgiClaiming(5, 5), jp2Claiming(5, 5),
                               mngClaiming(5, 5), iffClaiming(5, 5), wbmpClaiming(5, 5)}) {
        for (std::size_t size = 0; size < whole.size(); size += 3) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            const std::optional<ImageHeader> header = readImageHeader(cut.data(), cut.size());
            if (header) {
                EXPECT_EQ(header->width, 5u) << size;
            }
        }
    }
    // A box that claims to be shorter than its own header ends the search.
    Bytes loop = jp2Claiming(5, 5);
    loop[12 + 3] = 4;
    EXPECT_FALSE(readImageHeader(write("loop.jp2", loop)).has_value());
}

}  // namespace
}  // namespace tarn
