#include "app/app_folders.h"

#include <gtest/gtest.h>

#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"

namespace tarn {
namespace {

using test::FakeSpecialFolders;
using test::TempDir;

TEST(AppFolders, BuildsEveryPathAndCreatesOnlyTheDataFolder) {
    TempDir dir;
    FakeSpecialFolders special;
    special.config = dir.file("deep/config");
    const AppFoldersResult r = resolveAppFolders(special);
    ASSERT_EQ(r.error, StartupError::None);
    EXPECT_EQ(r.folders.programFolder, "/opt/tarn/bin");
    EXPECT_EQ(r.folders.dataFolder, dir.file("deep/config/Tarn Photo Viewer"));
    EXPECT_EQ(r.folders.settingsFile, dir.file("deep/config/Tarn Photo Viewer/Config.ini"));
    EXPECT_EQ(r.folders.favoritesFolder, dir.file("deep/config/Tarn Photo Viewer/Favorites"));
    EXPECT_EQ(r.folders.tempFolder, dir.file("deep/config/Tarn Photo Viewer/Temp"));
    EXPECT_TRUE(std::filesystem::is_directory(r.folders.dataFolder));
    EXPECT_FALSE(std::filesystem::exists(r.folders.favoritesFolder));
    EXPECT_FALSE(std::filesystem::exists(r.folders.tempFolder));
}

TEST(AppFolders, BaseEndingInASeparatorGetsExactlyOne) {
    TempDir dir;
    FakeSpecialFolders special;
    special.config = dir.path().string() + "/";
    const AppFoldersResult r = resolveAppFolders(special);
    ASSERT_EQ(r.error, StartupError::None);
    EXPECT_EQ(r.folders.dataFolder, dir.path().string() + "/Tarn Photo Viewer");
}

TEST(AppFolders, FailuresEndStartUp) {
    TempDir dir;
    FakeSpecialFolders special;
    special.config = dir.file("c");
    special.program.reset();
    EXPECT_EQ(resolveAppFolders(special).error, StartupError::ModuleFileName);

    special.program = "/usr/bin/tarnview";
    special.config.reset();
    EXPECT_EQ(resolveAppFolders(special).error, StartupError::ConfigFolder);

    // A file where a parent folder should be makes creation fail.
    test::writeFile(dir.file("blocker"), "x");
    special.config = dir.file("blocker/config");
    EXPECT_EQ(resolveAppFolders(special).error, StartupError::DataFolder);

    // So does a file with the data folder's name.
    std::filesystem::create_directory(dir.file("c2"));
    test::writeFile(dir.file("c2/Tarn Photo Viewer"), "x");
    special.config = dir.file("c2");
    EXPECT_EQ(resolveAppFolders(special).error, StartupError::DataFolder);
}

TEST(AppFolders, TempFolderIsRemovedWithItsContent) {
    TempDir dir;
    AppFolders f;
    f.tempFolder = dir.file("Temp");
    std::filesystem::create_directories(dir.file("Temp/sub"));
    test::writeFile(dir.file("Temp/undo.bmp"), "x");
    test::writeFile(dir.file("Temp/sub/y"), "y");
    removeTempFolder(f);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Temp")));
    removeTempFolder(f);  // a missing folder is no error
}

}  // namespace
}  // namespace tarn
