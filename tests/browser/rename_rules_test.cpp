#include "browser/rename_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "fakes/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(RenameRules, TheEditorShowsTheTitleOfAFileAndTheWholeNameOfAFolder) {
    EXPECT_EQ(nameShownForEditing("/pics/photo.jpg", false), "photo");
    EXPECT_EQ(nameShownForEditing("/pics/archive.tar.gz", false), "archive.tar");
    EXPECT_EQ(nameShownForEditing("/pics/README", false), "README");
    EXPECT_EQ(nameShownForEditing("/pics/2024.summer", true), "2024.summer");
    EXPECT_EQ(nameShownForEditing("/pics/2024.summer/", true), "2024.summer");
}

TEST(RenameRules, AFileKeepsItsExtensionAndOnlyItsOwn) {
    EXPECT_EQ(renamedPath("/pics/photo.jpg", false, "holiday", "photo"), "/pics/holiday.jpg");
    EXPECT_EQ(renamedPath("/pics/photo.jpg", false, "holiday.png", "photo"),
              "/pics/holiday.png.jpg");
    // No extension before, none after: no trailing dot.
    EXPECT_EQ(renamedPath("/pics/README", false, "NOTES", "README"), "/pics/NOTES");
    // A folder's dot is part of its name.
    EXPECT_EQ(renamedPath("/pics/2024.summer", true, "2024.winter", "2024.summer"),
              "/pics/2024.winter");
    EXPECT_EQ(renamedPath("/top", true, "other", "top"), "/other");
    // Blanks at both ends are dropped, blanks inside kept.
    EXPECT_EQ(renamedPath("/pics/photo.jpg", false, "  my holiday \t", "photo"),
              "/pics/my holiday.jpg");
}

TEST(RenameRules, NothingIsDoneForBlanksOrTheNameShown) {
    for (const char* typed : {"", "   ", "\t ", "photo", "  photo  "}) {
        std::string refusal;
        EXPECT_EQ(renamedPath("/pics/photo.jpg", false, typed, "photo", &refusal), std::nullopt)
            << '"' << typed << '"';
        EXPECT_EQ(refusal, "") << "nothing to do is no refusal";
    }
    EXPECT_EQ(renamedPath("/pics/Album", true, "Album", "Album"), std::nullopt);
    // The comparison is exact: another case is another name.
    EXPECT_EQ(renamedPath("/pics/Album", true, "album", "Album"), "/pics/album");
}

TEST(RenameRules, NamesOfDotsOrWithASlashAreRefusedWithAReason) {
    for (const char* typed : {".", "..", "...", "a/b", "/"}) {
        for (const bool folder : {false, true}) {
            std::string refusal;
            EXPECT_EQ(renamedPath("/pics/photo.jpg", folder, typed, "photo", &refusal),
                      std::nullopt)
                << typed;
            EXPECT_FALSE(refusal.empty()) << typed;
        }
    }
    EXPECT_EQ(pathWithName("/pics/photo.jpg", ".."), std::nullopt);
    EXPECT_EQ(pathWithName("/pics/photo.jpg", ".hidden.jpg"), "/pics/.hidden.jpg");
}

TEST(RenameRules, RenameItemMovesFilesAndFoldersWithinTheirFolder) {
    const TempDir dir;
    writeFile(dir.file("photo.jpg"), "pixels");
    fs::create_directory(dir.file("Album"));
    writeFile(dir.file("Album/inside.png"), "more");

    std::string error = "untouched";
    ASSERT_TRUE(renameItem(dir.file("photo.jpg"), dir.file("holiday.jpg"), &error));
    EXPECT_EQ(readFile(dir.file("holiday.jpg")), "pixels");
    EXPECT_FALSE(fs::exists(dir.file("photo.jpg")));
    ASSERT_TRUE(renameItem(dir.file("Album"), dir.file("Trip 2024"), &error));
    EXPECT_EQ(readFile(dir.file("Trip 2024/inside.png")), "more");
    EXPECT_FALSE(fs::exists(dir.file("Album")));
    EXPECT_EQ(error, "untouched") << "success leaves the message alone";
}

TEST(RenameRules, RenameItemNeverReplacesAndNamesTheFileAndTheReason) {
    const TempDir dir;
    writeFile(dir.file("photo.jpg"), "mine");
    writeFile(dir.file("taken.jpg"), "theirs");
    fs::create_directory(dir.file("Full"));
    writeFile(dir.file("Full/keep.txt"), "kept");
    fs::create_directory(dir.file("Empty"));

    std::string error;
    EXPECT_FALSE(renameItem(dir.file("photo.jpg"), dir.file("taken.jpg"), &error));
    EXPECT_NE(error.find("photo.jpg"), std::string::npos) << error;
    EXPECT_NE(error.find("already exists"), std::string::npos) << error;
    EXPECT_EQ(readFile(dir.file("photo.jpg")), "mine");
    EXPECT_EQ(readFile(dir.file("taken.jpg")), "theirs");

    // A plain rename would put an empty folder in the place of a file's new name silently.
    EXPECT_FALSE(renameItem(dir.file("Full"), dir.file("Empty"), &error));
    EXPECT_NE(error.find("already exists"), std::string::npos) << error;
    EXPECT_EQ(readFile(dir.file("Full/keep.txt")), "kept");
    EXPECT_TRUE(fs::is_directory(dir.file("Empty")));

    EXPECT_FALSE(
        renameItem(dir.file("photo.jpg"), dir.file(std::string(300, 'x') + ".jpg"), &error));
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
    EXPECT_EQ(readFile(dir.file("photo.jpg")), "mine");

    EXPECT_FALSE(renameItem(dir.file("gone.jpg"), dir.file("new.jpg"), &error));
    EXPECT_NE(error.find("gone.jpg"), std::string::npos) << error;
    EXPECT_NE(error.find("no longer there"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir.file("new.jpg")));
}

}  // namespace
}  // namespace tarn
