#include "app/profile_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>
#include <vector>

#include "fakes/temp_dir.h"

namespace tarn {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(ProfileFile, MissingFileGivesDefaults) {
    TempDir dir;
    const ProfileFile ini(dir.file("Config.ini"));
    EXPECT_EQ(ini.readInt("Thumb", "ThumbSizeWidth", 85), 85);
    EXPECT_EQ(ini.readString("OldWallpaper", "FilePath", "x"), "x");
    EXPECT_DOUBLE_EQ(ini.readReal("ZoomInfo", "ZoomLevel", 1.0), 1.0);
    EXPECT_FALSE(ini.readStruct("MainFrame", "Placement", 44).has_value());
}

TEST(ProfileFile, IntegerReadsTakeSignAndLeadingDigits) {
    EXPECT_EQ(ProfileFile::parseInt("42"), 42);
    EXPECT_EQ(ProfileFile::parseInt("  -7  "), -7);
    EXPECT_EQ(ProfileFile::parseInt("+3"), 3);
    EXPECT_EQ(ProfileFile::parseInt("12abc"), 12);
    EXPECT_EQ(ProfileFile::parseInt("abc"), 0);
    EXPECT_EQ(ProfileFile::parseInt(""), 0);
    EXPECT_EQ(ProfileFile::parseInt("-"), 0);
    EXPECT_EQ(ProfileFile::parseInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ProfileFile::parseInt("-99999999999999999999"), INT_MIN);
}

TEST(ProfileFile, NamesCompareWithoutCaseAndFirstMatchWins) {
    const std::string content =
        "[thumb]\n  thumbsizewidth = 120 \nThumbSizeWidth=130\n[Thumb]\nSortType=3\n";
    EXPECT_EQ(ProfileFile::findValue(content, "Thumb", "ThumbSizeWidth"), "120");
    // Only the first section of a name is searched.
    EXPECT_FALSE(ProfileFile::findValue(content, "Thumb", "SortType").has_value());
    EXPECT_FALSE(ProfileFile::findValue(content, "Other", "ThumbSizeWidth").has_value());
}

TEST(ProfileFile, ValueWithoutDigitsReadsZeroButMissingKeyReadsDefault) {
    TempDir dir;
    writeFile(dir.file("c.ini"), "[Thumb]\nSortType=abc\n");
    const ProfileFile ini(dir.file("c.ini"));
    EXPECT_EQ(ini.readInt("Thumb", "SortType", 4), 0);
    EXPECT_EQ(ini.readInt("Thumb", "SortDirection", 1), 1);
}

TEST(ProfileFile, WritingOneKeyKeepsEverythingElseInOrder) {
    TempDir dir;
    const std::string original =
        "; written by hand\n"
        "[Unknown]\n"
        "Foo=bar\n"
        "\n"
        "[Thumb]\n"
        "SortType=1\n"
        "# a comment\n"
        "ThumbSizeWidth=100\n"
        "\n"
        "[Tail]\n"
        "x=1\n";
    writeFile(dir.file("c.ini"), original);
    ProfileFile ini(dir.file("c.ini"));

    ASSERT_TRUE(ini.writeInt("Thumb", "ThumbSizeWidth", 150));
    std::string expected = original;
    expected.replace(expected.find("ThumbSizeWidth=100"), 18, "ThumbSizeWidth=150");
    EXPECT_EQ(readFile(dir.file("c.ini")), expected);

    // A new key goes after the section's last line, before its blank lines.
    ASSERT_TRUE(ini.writeInt("Thumb", "SortDirection", 1));
    expected.replace(expected.find("ThumbSizeWidth=150\n") + 19, 0, "SortDirection=1\n");
    EXPECT_EQ(readFile(dir.file("c.ini")), expected);

    // A new section goes at the end.
    ASSERT_TRUE(ini.writeFlag("App", "ShowHiddenFiles", false));
    expected += "[App]\nShowHiddenFiles=0\n";
    EXPECT_EQ(readFile(dir.file("c.ini")), expected);
}

TEST(ProfileFile, CreatesTheFileOnFirstWrite) {
    TempDir dir;
    ProfileFile ini(dir.file("Config.ini"));
    ASSERT_TRUE(ini.writeFlag("App", "ShowHiddenFiles", true));
    EXPECT_EQ(readFile(dir.file("Config.ini")), "[App]\nShowHiddenFiles=1\n");
    EXPECT_EQ(ini.readInt("App", "ShowHiddenFiles", 0), 1);
}

TEST(ProfileFile, WriteFailsWhenTheFolderIsMissing) {
    TempDir dir;
    ProfileFile ini(dir.file("missing/Config.ini"));
    EXPECT_FALSE(ini.writeInt("A", "b", 1));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(ProfileFile, RealsRoundTripWithPercentF) {
    TempDir dir;
    ProfileFile ini(dir.file("c.ini"));
    ASSERT_TRUE(ini.writeReal("ZoomInfo", "ZoomLevel", 0.25));
    EXPECT_NE(readFile(dir.file("c.ini")).find("ZoomLevel=0.250000\n"), std::string::npos);
    EXPECT_DOUBLE_EQ(ini.readReal("ZoomInfo", "ZoomLevel", 1.0), 0.25);
}

TEST(ProfileFile, StructsCarryAChecksum) {
    const std::vector<std::uint8_t> bytes{0x01, 0xFF, 0x80, 0x00};
    // Sum 0x180 mod 256 = 0x80.
    EXPECT_EQ(ProfileFile::encodeStruct(bytes), "01FF800080");
    EXPECT_EQ(ProfileFile::decodeStruct("01FF800080", 4), bytes);
    EXPECT_EQ(ProfileFile::decodeStruct("01ff800080", 4), bytes);
    EXPECT_FALSE(ProfileFile::decodeStruct("01FF800081", 4));  // checksum edited
    EXPECT_FALSE(ProfileFile::decodeStruct("01FF8000", 4));    // too short
    EXPECT_FALSE(ProfileFile::decodeStruct("01FF800080", 3));  // wrong size
    EXPECT_FALSE(ProfileFile::decodeStruct("0GFF800080", 4));  // not hex
}

TEST(ProfileFile, GarbageBinaryAndOverlongLinesSurviveWrites) {
    TempDir dir;
    std::string garbage = "\x01\x02[\xff\xfe]\n";
    garbage += std::string(100000, 'x') + "\n";
    garbage += std::string("bin\0ary=1\n", 10);
    garbage += "[Thumb]\r\nSortType=2\r\n=no key\r\n[broken\r\nlast line without newline";
    writeFile(dir.file("c.ini"), garbage);
    ProfileFile ini(dir.file("c.ini"));

    EXPECT_EQ(ini.readInt("Thumb", "SortType", 0), 2);
    EXPECT_EQ(ini.readInt("Thumb", "ThumbSizeWidth", 85), 85);

    ASSERT_TRUE(ini.writeInt("Thumb", "SortDirection", 1));
    const std::string after = readFile(dir.file("c.ini"));
    // Everything before stays byte for byte; the new line follows the file's CRLF endings.
    EXPECT_EQ(after.substr(0, garbage.find("SortType=2\r\n") + 12),
              garbage.substr(0, garbage.find("SortType=2\r\n") + 12));
    EXPECT_NE(after.find("=no key\r\nSortDirection=1\r\n[broken"), std::string::npos);
    EXPECT_EQ(after.substr(after.size() - 25), "last line without newline");
    EXPECT_EQ(after.size(), garbage.size() + 17);
    EXPECT_EQ(ini.readInt("Thumb", "SortDirection", 0), 1);
}

TEST(ProfileFile, ValuesWithLineBreaksAreRefused) {
    TempDir dir;
    writeFile(dir.file("c.ini"), "[OldWallpaper]\nFilePath=/a.jpg\n");
    ProfileFile ini(dir.file("c.ini"));
    EXPECT_FALSE(ini.writeString("OldWallpaper", "FilePath", "/x\n[App]\nShowHiddenFiles=1"));
    EXPECT_EQ(readFile(dir.file("c.ini")), "[OldWallpaper]\nFilePath=/a.jpg\n");
}

TEST(ProfileFile, WritesKeepTheFileMode) {
    TempDir dir;
    writeFile(dir.file("c.ini"), "[A]\nb=1\n");
    ::chmod(dir.file("c.ini").c_str(), 0600);
    ProfileFile ini(dir.file("c.ini"));
    ASSERT_TRUE(ini.writeInt("A", "b", 2));
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("c.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // No temporary files are left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ProfileFile, WritesThroughASymbolicLinkKeepTheLink) {
    TempDir dir;
    writeFile(dir.file("real.ini"), "[A]\nb=1\n");
    std::filesystem::create_symlink(dir.file("real.ini"), dir.file("Config.ini"));
    ProfileFile ini(dir.file("Config.ini"));
    ASSERT_TRUE(ini.writeInt("A", "b", 2));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("Config.ini")));
    EXPECT_EQ(readFile(dir.file("real.ini")), "[A]\nb=2\n");
}

TEST(ProfileFile, ConcurrentWritersLoseNothing) {
    TempDir dir;
    const std::string path = dir.file("c.ini");
    constexpr int kThreads = 4;
    constexpr int kWrites = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ProfileFile ini(path);  // each writer has its own object, as owners do
            for (int i = 0; i < kWrites; ++i) {
                ini.writeInt("S" + std::to_string(t % 2), "K" + std::to_string(t), i);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    const ProfileFile ini(path);
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(ini.readInt("S" + std::to_string(t % 2), "K" + std::to_string(t), -1),
                  kWrites - 1);
    }
}

}  // namespace
}  // namespace tarn
