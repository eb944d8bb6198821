#include <gtest/gtest.h>

#include <cstdlib>

#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "ui/child_process.h"

namespace tarn {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;
using test::readFile;
using test::TempDir;
using test::writeFile;

// The environment of a user whose home is a fresh folder.
std::map<std::string, std::string> userEnv(const TempDir& home) {
    std::map<std::string, std::string> env{{"HOME", home.path().string()}};
    for (const char* name : {"DISPLAY", "XAUTHORITY", "PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS",
                             "LSAN_OPTIONS", "LANG", "NO_AT_BRIDGE"}) {
        if (const char* v = std::getenv(name)) {
            env[name] = v;
        }
    }
    return env;
}

TEST(AppStartup, ShowsTheFrameAndOnExitRemovesTempAndWritesItsSetting) {
    TempDir home;
    const std::string data = home.file(".config/Tarn Photo Viewer");
    std::filesystem::create_directories(data + "/Temp/sub");
    writeFile(data + "/Temp/undo1.bmp", "x");
    writeFile(data + "/Temp/sub/y", "y");
    writeFile(data + "/Config.ini", "; mine\n[App]\nShowHiddenFiles=2\n[Other]\nx=y\n");

    ChildProcess app(TARNVIEW_EXE, userEnv(home));
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(test::waitForWindowTitled("Tarn Photo Viewer", 30s));
    app.signal(SIGTERM);
    EXPECT_EQ(app.waitExit(30s), 0);

    EXPECT_FALSE(std::filesystem::exists(data + "/Temp"));
    const std::string config = readFile(data + "/Config.ini");
    EXPECT_EQ(config.rfind("; mine\n[App]\nShowHiddenFiles=0\n[Other]\nx=y\n", 0), 0u) << config;
    EXPECT_NE(config.find("[MainFrame]\nShowToolBar=1\n"), std::string::npos) << config;
    EXPECT_FALSE(std::filesystem::exists(data + "/Favorites"));
}

TEST(AppStartup, EndsCleanlyWhileThumbnailsOfBigPhotosAreBeingMade) {
    TempDir home;
    const std::string pictures = home.file("Pictures");
    std::filesystem::create_directories(pictures);
    const std::vector<std::uint8_t> photo = test::encodeJpeg(3000, 2000);
    for (int i = 0; i < 24; ++i) {
        test::writeBytes(pictures + "/photo" + std::to_string(i) + ".jpg", photo);
    }
    ChildProcess app(TARNVIEW_EXE, userEnv(home));
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(test::waitForWindowTitled("Pictures - Tarn Photo Viewer", 60s));
    // The workers are decoding now; ending must join them without a fault or a leak (the
    // sanitizers turn either into another exit code).
    app.signal(SIGTERM);
    EXPECT_EQ(app.waitExit(30s), 0);
}

TEST(AppStartup, CreatesTheDataFolderUnderXdgConfigHome) {
    TempDir home;
    auto env = userEnv(home);
    env["XDG_CONFIG_HOME"] = home.file("xdg/conf");
    ChildProcess app(TARNVIEW_EXE, env);
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(test::waitForWindowTitled("Tarn Photo Viewer", 30s));
    app.signal(SIGTERM);
    EXPECT_EQ(app.waitExit(30s), 0);

    EXPECT_NE(readFile(home.file("xdg/conf/Tarn Photo Viewer/Config.ini"))
                  .find("[App]\nShowHiddenFiles=0\n"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(home.file(".config")));
}

TEST(AppStartup, AnUncreatableDataFolderEndsWithExitCodeOne) {
    TempDir home;
    writeFile(home.file("not-a-folder"), "x");
    auto env = userEnv(home);
    env["XDG_CONFIG_HOME"] = home.file("not-a-folder");
    ChildProcess app(TARNVIEW_EXE, env);
    ASSERT_TRUE(app.started());
    EXPECT_EQ(app.waitExit(30s), 1);
    EXPECT_EQ(readFile(home.file("not-a-folder")), "x");
}

}  // namespace
}  // namespace tarn
