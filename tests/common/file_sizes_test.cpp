#include "common/file_sizes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

TEST(FileSizes, FolderSizeCountsEveryFileBelowButFollowsNoLink) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "tree/a/b");
    fs::create_directories(dir.path() / "tree/empty");
    test::writeFile(dir.file("tree/one"), std::string(100, 'x'));
    test::writeFile(dir.file("tree/a/two"), std::string(2000, 'x'));
    test::writeFile(dir.file("tree/a/b/three"), std::string(30000, 'x'));
    test::writeFile(dir.file("outside"), std::string(500000, 'x'));
    // Links to a big file, to the tree's own root (a loop) and to nothing.
    fs::create_symlink(dir.path() / "outside", dir.path() / "tree/a/link_to_file");
    fs::create_directory_symlink(dir.path() / "tree", dir.path() / "tree/a/b/loop");
    fs::create_symlink(dir.path() / "gone", dir.path() / "tree/dangling");

    EXPECT_EQ(folderSize(dir.file("tree")), 32100u);
    EXPECT_EQ(folderSize(dir.file("tree/empty")), 0u);
    EXPECT_EQ(folderSize(dir.file("no such folder")), 0u);
    EXPECT_EQ(fileSize(dir.file("tree/a/two")), 2000u);
    EXPECT_EQ(fileSize(dir.file("no such file")), 0u);
    EXPECT_EQ(fileSize(dir.file("tree")), 0u);
}

TEST(FileSizes, SizesBeyondFourGigabytesKeepEveryBit) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "big");
    const std::uint64_t fiveGigabytes = 5ull << 30;
    // Sparse: no disk space is used.
    test::writeFile(dir.file("big/sparse"), "");
    fs::resize_file(dir.file("big/sparse"), fiveGigabytes);
    test::writeFile(dir.file("big/small"), "abc");
    EXPECT_EQ(fileSize(dir.file("big/sparse")), fiveGigabytes);
    EXPECT_EQ(folderSize(dir.file("big")), fiveGigabytes + 3);
}

}  // namespace
}  // namespace tarn
