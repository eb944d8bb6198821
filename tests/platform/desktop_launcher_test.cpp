#include "platform/desktop_launcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "fakes/temp_dir.h"

namespace tarn::platform {
namespace {

TEST(DesktopLauncher, EditorIsARasterEditorOtherThanTheDefault) {
    const OfferedApplication viewer{"viewer.desktop", "Graphics;RasterGraphics;Viewer;", true};
    const OfferedApplication office{"office.desktop", "Office;Graphics;", false};
    const OfferedApplication painter{"painter.desktop", "Graphics;RasterGraphics", false};
    const OfferedApplication gimp2{"second.desktop", "RasterGraphics;", false};
    const OfferedApplication lookalike{"vector.desktop", "VectorGraphics;NotRasterGraphics;",
                                       false};

    EXPECT_EQ(editorApplication({viewer, office, painter, gimp2}), "painter.desktop");
    EXPECT_EQ(editorApplication({office, gimp2, painter, viewer}), "second.desktop");
    // The default one is the editor only when nothing else edits.
    EXPECT_EQ(editorApplication({office, viewer, lookalike}), "viewer.desktop");
    EXPECT_EQ(editorApplication({office, lookalike}), std::nullopt);
    EXPECT_EQ(editorApplication({}), std::nullopt);
}

TEST(DesktopLauncher, FileManagerFallsBackToTheParentFolder) {
    EXPECT_EQ(folderShowing("/home/ann/pics/a.jpg"), "/home/ann/pics");
    EXPECT_EQ(folderShowing("/home/ann/pics/"), "/home/ann");
    EXPECT_EQ(folderShowing("/home"), "/");
    EXPECT_EQ(folderShowing("/"), "/");
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::string desktopEntry(const std::string& recorder, const std::string& name,
                         const std::string& types, const std::string& categories) {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + recorder + " " + name +
           " %f\nMimeType=" + types + "\nCategories=" + categories + "\n";
}

// Waits until the recorder has written the line; whether it did.
bool recorded(const std::string& file, const std::string& line) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (test::readFile(file).find(line + "\n") == std::string::npos) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A desktop of its own: a viewer (the default for PNG, also able to paint), a painter and a
// folder opener, each of them a script that records how it was started. No session bus.
int launchInTemporaryDesktop() {
    const test::TempDir desktop;
    const std::filesystem::path root = desktop.path();
    const std::string recorder = (root / "record.sh").string();
    const std::string record = (root / "started.txt").string();
    writeFile(recorder, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + record + "'\n");
    std::filesystem::permissions(recorder, std::filesystem::perms::owner_all);
    const auto apps = root / "data" / "applications";
    writeFile(apps / "viewer.desktop",
              desktopEntry(recorder, "viewer", "image/png;", "Graphics;RasterGraphics;Viewer;"));
    writeFile(apps / "painter.desktop",
              desktopEntry(recorder, "painter", "image/png;", "Graphics;RasterGraphics;"));
    writeFile(apps / "filer.desktop",
              desktopEntry(recorder, "filer", "inode/directory;", "System;FileManager;"));
    // What the desktop's database tool indexes from the entries' MimeType lines.
    writeFile(apps / "mimeinfo.cache",
              "[MIME Cache]\nimage/png=viewer.desktop;painter.desktop;\n"
              "inode/directory=filer.desktop;\n");
    writeFile(root / "config" / "mimeapps.list",
              "[Default Applications]\nimage/png=viewer.desktop\n"
              "inode/directory=filer.desktop\n");
    writeFile(root / "system" / "mime" / "globs2", "50:image/png:*.png\n");
    const std::string picture = (root / "pics" / "shot.png").string();
    writeFile(picture, "\x89PNG\r\n\x1a\n");

    setenv("HOME", root.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (root / "system").c_str(), 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (root / "no-bus").string()).c_str(), 1);
    setenv("GIO_USE_VFS", "local", 1);
    unsetenv("XDG_RUNTIME_DIR");
    unsetenv("XDG_CURRENT_DESKTOP");

    LinuxDesktopLauncher launcher;
    std::string error;
    const std::string expected[] = {"filer " + (root / "pics").string(), "painter " + picture,
                                    "viewer " + picture};
    const bool started =
        launcher.showInFileManager(picture, &error) && recorded(record, expected[0]) &&
        launcher.openWithEditor(picture, &error) && recorded(record, expected[1]) &&
        launcher.openWithDefault(picture, &error) && recorded(record, expected[2]);
    const std::string seen = test::readFile(record);
    if (!started || seen != expected[0] + "\n" + expected[1] + "\n" + expected[2] + "\n") {
        std::cerr << "error: " << error << "\nstarted:\n" << seen;
        return 1;
    }
    // Nothing handles this type, so nothing starts and the reason is told.
    error.clear();
    const std::string text = (root / "notes.txt").string();
    writeFile(text, "words");
    if (launcher.openWithDefault(text, &error) || error.empty() ||
        launcher.openWithDefault("relative.png", &error)) {
        std::cerr << "an unhandled file was opened\n";
        return 1;
    }
    return 0;
}

TEST(DesktopLauncher, StartsTheDesktopsChoicesAndFallsBackWithoutAFileManager) {
    // A process of its own: the desktop's folders are read once per process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(_exit(launchInTemporaryDesktop()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tarn::platform
