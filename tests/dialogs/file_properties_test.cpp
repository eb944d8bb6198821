#include "dialogs/file_properties.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <limits>

#include "common/text_format.h"
#include "fakes/temp_dir.h"

namespace tarn {
namespace {

TEST(FileProperties, ByteCountsAreGroupedInThousands) {
    EXPECT_EQ(groupedDigits(0), "0");
    EXPECT_EQ(groupedDigits(999), "999");
    EXPECT_EQ(groupedDigits(1000), "1,000");
    EXPECT_EQ(groupedDigits(1234567), "1,234,567");
    EXPECT_EQ(groupedDigits(std::numeric_limits<std::uint64_t>::max()),
              "18,446,744,073,709,551,615");
    EXPECT_EQ(sizeWithBytesText(0), "0 byte (0 byte)");
    EXPECT_EQ(sizeWithBytesText(1), "1 byte (1 byte)");
    EXPECT_EQ(sizeWithBytesText(2), "2 bytes (2 bytes)");
    EXPECT_EQ(sizeWithBytesText(1023), "1023 bytes (1,023 bytes)");
    EXPECT_EQ(sizeWithBytesText(1536), "1.50 KB (1,536 bytes)");
    EXPECT_EQ(sizeWithBytesText(1234567), "1.18 MB (1,234,567 bytes)");
    EXPECT_EQ(sizeWithBytesText(5ull << 30), "5.00 GB (5,368,709,120 bytes)");
    EXPECT_EQ(dateOrEmptyText(std::nullopt), "");
}

TEST(FileProperties, ReadsNameLocationSizeAndDatesOfFilesAndFolders) {
    test::TempDir dir;
    const std::string file = dir.file("holiday.jpg");
    test::writeFile(file, std::string(1500, 'x'));
    // Fixed times, set the way a copy tool would keep them.
    const timespec times[2] = {{1600000000, 0}, {1500000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);

    const FileProperties properties = readFileProperties(file);
    EXPECT_TRUE(properties.exists);
    EXPECT_FALSE(properties.isFolder);
    EXPECT_EQ(properties.name, "holiday.jpg");
    EXPECT_EQ(properties.location, dir.path().string());
    EXPECT_EQ(properties.size, 1500u);
    EXPECT_EQ(properties.accessed, std::optional<std::time_t>(1600000000));
    EXPECT_EQ(properties.modified, std::optional<std::time_t>(1500000000));
    if (properties.created) {
        // Made just now, whatever its modification time claims.
        EXPECT_GT(*properties.created, 1600000000);
    }

    std::filesystem::create_directory(dir.path() / "album");
    const FileProperties folder = readFileProperties(dir.file("album"));
    EXPECT_TRUE(folder.isFolder);
    EXPECT_EQ(folder.name, "album");
    EXPECT_EQ(folder.size, 0u);

    const FileProperties root = readFileProperties("/");
    EXPECT_EQ(root.name, "/");
    EXPECT_EQ(root.location, "");

    const FileProperties missing = readFileProperties(dir.file("gone.png"));
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.name, "gone.png");
    EXPECT_FALSE(missing.modified);
}

}  // namespace
}  // namespace tarn
