#include "app/settings.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes/temp_dir.h"

namespace tarn {
namespace {

using namespace settings;
using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(Settings, MissingFileGivesEveryDefault) {
    TempDir dir;
    const SettingsStore s(dir.file("Config.ini"));
    EXPECT_FALSE(s.get(kShowHiddenFiles));
    EXPECT_TRUE(s.get(kShowToolBar));
    EXPECT_TRUE(s.get(kShowAddressBar));
    EXPECT_TRUE(s.get(kShowStatusBar));
    EXPECT_FALSE(s.placement().has_value());  // the frame then opens maximised
    EXPECT_EQ(s.get(kThumbSizeWidth), 85);
    EXPECT_EQ(s.get(kThumbSizeHeight), 85);
    EXPECT_EQ(s.get(kSortType), 0);
    EXPECT_EQ(s.get(kSortDirection), 0);
    EXPECT_EQ(s.get(kZoomType), 0);
    EXPECT_DOUBLE_EQ(s.get(kZoomLevel), 1.0);
    EXPECT_EQ(s.get(kViewTool), 0);
    EXPECT_FALSE(s.color(kImageBkColor).has_value());  // black by the view's default
    EXPECT_DOUBLE_EQ(s.get(kSelRatio), 0.0);
    EXPECT_EQ(s.get(kSelType), 0);
    EXPECT_EQ(s.get(kSelOrientation), 0);
    EXPECT_TRUE(s.get(kShowRed));
    EXPECT_TRUE(s.get(kShowGreen));
    EXPECT_TRUE(s.get(kShowBlue));
    EXPECT_FALSE(s.get(kShowGray));
    EXPECT_TRUE(s.get(kShowPreview));
    EXPECT_FALSE(s.get(kHasOldWallpaper));
    EXPECT_EQ(s.get(kOldWallpaperPath), "");
    EXPECT_EQ(s.get(kOldWallpaperStyle), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Config.ini")));
}

TEST(Settings, KeyTableNamesAreUnique) {
    std::set<std::pair<std::string_view, std::string_view>> seen;
    for (const KeyName* k : kAllKeys) {
        EXPECT_TRUE(seen.insert({k->section, k->key}).second) << k->section << "/" << k->key;
    }
}

TEST(Settings, FlagsOnlyExactlyOneOrNonzero) {
    TempDir dir;
    writeFile(dir.file("c.ini"),
              "[App]\nShowHiddenFiles=2\n[OpenFileDlg]\nShowPreview=2\n"
              "[MainFrame]\nShowToolBar=2\nShowStatusBar=0\n"
              "[OldWallpaper]\nHasOldWallpaper=1\n");
    const SettingsStore s(dir.file("c.ini"));
    EXPECT_FALSE(s.get(kShowHiddenFiles));
    EXPECT_FALSE(s.get(kShowPreview));
    EXPECT_TRUE(s.get(kShowToolBar));
    EXPECT_FALSE(s.get(kShowStatusBar));
    EXPECT_TRUE(s.get(kHasOldWallpaper));
}

TEST(Settings, LimitsApplyAfterReading) {
    TempDir dir;
    writeFile(dir.file("c.ini"),
              "[Thumb]\nThumbSizeWidth=500\nThumbSizeHeight=10\nSortType=9\nSortDirection=-3\n"
              "[ZoomInfo]\nZoomType=7\nZoomLevel=0\n"
              "[EditView]\nViewTool=7\nSelRatio=-1.5\n");
    const SettingsStore s(dir.file("c.ini"));
    EXPECT_EQ(s.get(kThumbSizeWidth), 200);
    EXPECT_EQ(s.get(kThumbSizeHeight), 36);
    EXPECT_EQ(s.get(kSortType), 4);
    EXPECT_EQ(s.get(kSortDirection), 0);
    EXPECT_EQ(s.get(kZoomType), 0);
    EXPECT_DOUBLE_EQ(s.get(kZoomLevel), 0.01);
    EXPECT_EQ(s.get(kViewTool), 2);
    EXPECT_DOUBLE_EQ(s.get(kSelRatio), 0.0);
}

TEST(Settings, ZoomLevelLimits) {
    TempDir dir;
    SettingsStore s(dir.file("c.ini"));
    writeFile(dir.file("c.ini"), "[ZoomInfo]\nZoomLevel=40\n");
    EXPECT_DOUBLE_EQ(s.get(kZoomLevel), 16.0);
    writeFile(dir.file("c.ini"), "[ZoomInfo]\nZoomLevel=-2\n");
    EXPECT_DOUBLE_EQ(s.get(kZoomLevel), 0.01);
    writeFile(dir.file("c.ini"), "[ZoomInfo]\nZoomLevel=nonsense\n");
    EXPECT_DOUBLE_EQ(s.get(kZoomLevel), 0.01);
    writeFile(dir.file("c.ini"), "[ZoomInfo]\nZoomLevel=0.5\n");
    EXPECT_DOUBLE_EQ(s.get(kZoomLevel), 0.5);
    // The same limits apply before writing.
    ASSERT_TRUE(s.set(kZoomLevel, 100.0));
    EXPECT_NE(readFile(dir.file("c.ini")).find("ZoomLevel=16.000000"), std::string::npos);
    ASSERT_TRUE(s.set(kViewTool, -4));
    EXPECT_EQ(s.get(kViewTool), 0);
}

TEST(Settings, PlacementRoundTripsAndAHandEditedChecksumReadsAbsent) {
    TempDir dir;
    SettingsStore s(dir.file("c.ini"));
    WindowPlacement p;
    p.showCmd = kShowNormal;
    p.minX = -1;
    p.minY = -1;
    p.maxX = -32000;
    p.left = 10;
    p.top = 20;
    p.right = 810;
    p.bottom = 620;
    ASSERT_TRUE(s.setPlacement(p));
    ASSERT_TRUE(s.placement().has_value());
    EXPECT_EQ(*s.placement(), p);

    std::string text = readFile(dir.file("c.ini"));
    const std::size_t eol = text.find('\n', text.find("Placement="));
    text[eol - 1] = text[eol - 1] == '0' ? '1' : '0';  // edit the checksum digit by hand
    writeFile(dir.file("c.ini"), text);
    EXPECT_FALSE(s.placement().has_value());
}

TEST(Settings, StructsOfTheWrongSizeAreRefused) {
    TempDir dir;
    SettingsStore s(dir.file("c.ini"));
    EXPECT_FALSE(s.set(kPlacement, std::vector<std::uint8_t>(40)));
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.ini")));
}

TEST(Settings, BackgroundColourIsRedGreenBlueZero) {
    TempDir dir;
    SettingsStore s(dir.file("c.ini"));
    ASSERT_TRUE(s.setColor(kImageBkColor, 0x00336699));
    // Bytes 99 66 33 00, checksum 0x132 mod 256 = 0x32.
    EXPECT_NE(readFile(dir.file("c.ini")).find("ImageBkColor=9966330032"), std::string::npos);
    EXPECT_EQ(s.color(kImageBkColor), 0x00336699u);
}

TEST(Settings, TextAndWallpaperKeys) {
    TempDir dir;
    SettingsStore s(dir.file("c.ini"));
    ASSERT_TRUE(s.set(kOldWallpaperPath, "/home/a/.config/Tarn Photo Viewer/old wall.bmp"));
    ASSERT_TRUE(s.set(kOldWallpaperStyle, 2));
    ASSERT_TRUE(s.set(kHasOldWallpaper, true));
    EXPECT_EQ(s.get(kOldWallpaperPath), "/home/a/.config/Tarn Photo Viewer/old wall.bmp");
    EXPECT_EQ(s.get(kOldWallpaperStyle), 2);
    EXPECT_EQ(readFile(dir.file("c.ini")),
              "[OldWallpaper]\nFilePath=/home/a/.config/Tarn Photo Viewer/old wall.bmp\n"
              "WallpaperStyle=2\nHasOldWallpaper=1\n");
}

}  // namespace
}  // namespace tarn
