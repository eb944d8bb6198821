#include "platform/special_folders.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/temp_dir.h"

namespace tarn::platform {
namespace {

using test::TempDir;

LinuxSpecialFolders withEnv(std::map<std::string, std::string> env) {
    return LinuxSpecialFolders([env](const char* name) -> std::optional<std::string> {
        const auto it = env.find(name);
        if (it == env.end()) {
            return std::nullopt;
        }
        return it->second;
    });
}

TEST(SpecialFolders, ConfigHonoursXdgConfigHome) {
    EXPECT_EQ(withEnv({{"HOME", "/home/a"}}).configFolder(), "/home/a/.config");
    EXPECT_EQ(withEnv({{"HOME", "/home/a/"}}).configFolder(), "/home/a/.config");
    EXPECT_EQ(withEnv({{"HOME", "/home/a"}, {"XDG_CONFIG_HOME", "/xdg/"}}).configFolder(), "/xdg");
    // Empty or relative values are ignored.
    EXPECT_EQ(withEnv({{"HOME", "/home/a"}, {"XDG_CONFIG_HOME", ""}}).configFolder(),
              "/home/a/.config");
    EXPECT_EQ(withEnv({{"HOME", "/home/a"}, {"XDG_CONFIG_HOME", "rel"}}).configFolder(),
              "/home/a/.config");
}

TEST(SpecialFolders, PicturesEntryOfUserDirs) {
    const std::string dirs =
        "# comment\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(LinuxSpecialFolders::picturesDirFromUserDirs(dirs, "/home/a"), "/home/a/Bilder");
    EXPECT_EQ(LinuxSpecialFolders::picturesDirFromUserDirs("XDG_PICTURES_DIR=\"/srv/p/\"\n", "/h"),
              "/srv/p");
    EXPECT_FALSE(LinuxSpecialFolders::picturesDirFromUserDirs("XDG_PICTURES_DIR=rel\n", "/h"));
    EXPECT_FALSE(LinuxSpecialFolders::picturesDirFromUserDirs("XDG_PICTURES_DIR=\"x", "/h"));
    EXPECT_FALSE(LinuxSpecialFolders::picturesDirFromUserDirs("", "/h"));
}

TEST(SpecialFolders, PicturesFallsBackToPicturesThenHome) {
    TempDir home;
    const auto folders = withEnv({{"HOME", home.path().string()}});
    EXPECT_EQ(folders.picturesFolder(), home.path().string());

    std::filesystem::create_directory(home.file("Pictures"));
    EXPECT_EQ(folders.picturesFolder(), home.file("Pictures"));

    // user-dirs.dirs wins when its folder exists, and only then.
    std::filesystem::create_directories(home.file(".config"));
    test::writeFile(home.file(".config/user-dirs.dirs"), "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n");
    EXPECT_EQ(folders.picturesFolder(), home.file("Pictures"));
    std::filesystem::create_directory(home.file("Fotos"));
    EXPECT_EQ(folders.picturesFolder(), home.file("Fotos"));
}

TEST(SpecialFolders, ProgramFileIsThisExecutable) {
    const auto exe = LinuxSpecialFolders().programFile();
    ASSERT_TRUE(exe.has_value());
    EXPECT_EQ(std::filesystem::path(*exe).filename(), "tarn_core_tests");
}

}  // namespace
}  // namespace tarn::platform
