#include "common/path_rules.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

constexpr auto W = PathStyle::Windows;
constexpr auto P = PathStyle::Posix;

TEST(PathRules, JoinAddsExactlyOneSeparator) {
    EXPECT_EQ(joinPath("C:\\Users\\a\\AppData", "Tarn Photo Viewer", W),
              "C:\\Users\\a\\AppData\\Tarn Photo Viewer");
    EXPECT_EQ(joinPath("C:\\Users\\a\\AppData\\", "Tarn Photo Viewer", W),
              "C:\\Users\\a\\AppData\\Tarn Photo Viewer");
    EXPECT_EQ(joinPath("/home/a/.config", "Tarn Photo Viewer", P),
              "/home/a/.config/Tarn Photo Viewer");
    EXPECT_EQ(joinPath("/home/a/.config/", "Tarn Photo Viewer", P),
              "/home/a/.config/Tarn Photo Viewer");
    EXPECT_EQ(joinPath("/", "etc", P), "/etc");
    EXPECT_EQ(joinPath("C:\\", "x", W), "C:\\x");
}

TEST(PathRules, NormaliseWindowsDrivesAndTrailingBackslash) {
    EXPECT_EQ(normalizePath("X:", W), "X:\\");
    EXPECT_EQ(normalizePath("X:\\", W), "X:\\");
    EXPECT_EQ(normalizePath("X:\\a\\", W), "X:\\a");
    EXPECT_EQ(normalizePath("X:\\a", W), "X:\\a");
    // Only one trailing backslash goes.
    EXPECT_EQ(normalizePath("X:\\a\\\\", W), "X:\\a\\");
}

TEST(PathRules, NormalisePosixDropsOneTrailingSlash) {
    EXPECT_EQ(normalizePath("/", P), "/");
    EXPECT_EQ(normalizePath("/home/", P), "/home");
    EXPECT_EQ(normalizePath("/home", P), "/home");
    EXPECT_EQ(normalizePath("", P), "");
}

TEST(PathRules, DriveRoots) {
    EXPECT_TRUE(isDriveRoot("C:", W));
    EXPECT_TRUE(isDriveRoot("c:\\", W));
    EXPECT_FALSE(isDriveRoot("C:\\a", W));
    EXPECT_FALSE(isDriveRoot("1:", W));
    EXPECT_TRUE(isDriveRoot("/", P));
    EXPECT_FALSE(isDriveRoot("/media", P));
    EXPECT_FALSE(isDriveRoot("", P));
}

TEST(PathRules, NameTitleExtensionAndFolder) {
    EXPECT_EQ(fileName("/a/b/photo.tar.gz", P), "photo.tar.gz");
    EXPECT_EQ(fileTitle("/a/b/photo.tar.gz", P), "photo.tar");
    EXPECT_EQ(fileExtension("/a/b/photo.tar.gz", P), "gz");
    EXPECT_EQ(folderPart("/a/b/photo.tar.gz", P), "/a/b");

    // A dot in a folder name is not an extension.
    EXPECT_EQ(fileExtension("/a.d/README", P), "");
    EXPECT_EQ(fileTitle("/a.d/README", P), "README");
    // A path ending in a separator is taken whole as title.
    EXPECT_EQ(fileTitle("/a/b/", P), "/a/b/");
    EXPECT_EQ(fileName("name", P), "name");
    EXPECT_EQ(folderPart("name", P), "");

    EXPECT_EQ(fileName("C:\\x\\IMG_1.JPG", W), "IMG_1.JPG");
    EXPECT_EQ(fileTitle("C:\\x\\IMG_1.JPG", W), "IMG_1");
    EXPECT_EQ(fileExtension("C:\\x\\IMG_1.JPG", W), "JPG");
    EXPECT_EQ(folderPart("C:\\x\\IMG_1.JPG", W), "C:\\x");
    // Backslashes are ordinary characters in POSIX names.
    EXPECT_EQ(fileName("/a/b\\c", P), "b\\c");
}

TEST(PathRules, ParentFolderOfTheExecutable) {
    EXPECT_EQ(parentFolder("/opt/tarn/bin/tarnview", P), "/opt/tarn/bin");
    EXPECT_EQ(parentFolder("/tarnview", P), "/");
    EXPECT_EQ(parentFolder("C:\\Program Files\\Tarn\\TarnView.exe", W), "C:\\Program Files\\Tarn");
    EXPECT_EQ(parentFolder("C:\\TarnView.exe", W), "C:\\");
}

TEST(PathRules, CleanNameDropsReservedCharacters) {
    EXPECT_EQ(cleanName("a\"b*c/d:e<f>g?h\\i|j"), "abcdefghij");
    EXPECT_EQ(cleanName("Holiday 2026.jpg"), "Holiday 2026.jpg");
    EXPECT_EQ(cleanName(""), "");
}

TEST(PathRules, ExtensionsIgnoreCaseButHostPathsDoNot) {
    EXPECT_TRUE(extensionEquals("JPG", "jpg"));
    EXPECT_FALSE(extensionEquals("jpg", "jpeg"));
    EXPECT_FALSE(samePath("/p/a.jpg", "/p/A.jpg"));
    EXPECT_TRUE(samePath("/p/a.jpg", "/p/a.jpg"));
}

TEST(PathRules, APathIsWithinItsFolderAndTheFoldersAboveButNotANamesake) {
    EXPECT_TRUE(isPathWithin("/media/usb", "/media"));
    EXPECT_TRUE(isPathWithin("/media", "/media"));
    EXPECT_FALSE(isPathWithin("/mediaX/usb", "/media"));
    EXPECT_TRUE(isPathWithin("/anything", "/"));
    EXPECT_FALSE(isPathWithin("relative", "/"));
    EXPECT_FALSE(isPathWithin("/a", ""));
}

}  // namespace
}  // namespace tarn
