#include "dialogs/save_type_rules.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

const std::string kFilter =
    "Windows or OS/2 Bitmap (*.bmp)|*.bmp|"
    "Independent JPEG Group (*.jpg;*.jif;*.jpeg;*.jpe)|*.jpg;*.jif;*.jpeg;*.jpe|"
    "Portable Network Graphics (*.png)|*.png|"
    "Tagged Image File Format (*.tif;*.tiff)|*.tif;*.tiff";

TEST(SaveTypeRules, PreselectsTheTypeOfTheInitialNamesExtension) {
    EXPECT_EQ(preselectedFilterIndex("photo.png", kFilter), 3);
    EXPECT_EQ(preselectedFilterIndex("photo.bmp", kFilter), 1);
    EXPECT_EQ(preselectedFilterIndex("photo.tiff", kFilter), 4);
    // The comparison ignores case on both sides.
    EXPECT_EQ(preselectedFilterIndex("PHOTO.Jpg", kFilter), 2);
    EXPECT_EQ(preselectedFilterIndex("/home/me/Pictures/photo.PNG", kFilter), 3);
    // A later alias of an extension counts from its first occurrence.
    EXPECT_EQ(preselectedFilterIndex("photo.jpeg", kFilter), 2);
}

TEST(SaveTypeRules, PreselectsTheFirstTypeWithoutAUsableExtension) {
    EXPECT_EQ(preselectedFilterIndex("", kFilter), 1);
    EXPECT_EQ(preselectedFilterIndex("photo", kFilter), 1);
    EXPECT_EQ(preselectedFilterIndex("photo.", kFilter), 1);
    EXPECT_EQ(preselectedFilterIndex("photo.xyz", kFilter), 1);
    // Dots in the folders are not an extension.
    EXPECT_EQ(preselectedFilterIndex("/home/me/my.png.folder/photo", kFilter), 1);
    EXPECT_EQ(preselectedFilterIndex("photo.png", ""), 1);
}

TEST(SaveTypeRules, TypeExtensionIsTheFirstPatternOfTheText) {
    EXPECT_EQ(typeExtension("Portable Network Graphics (*.png)"), "png");
    EXPECT_EQ(typeExtension("Independent JPEG Group (*.jpg;*.jif;*.jpeg;*.jpe)"), "jpg");
    EXPECT_EQ(typeExtension("All files"), "");
    EXPECT_EQ(typeExtension("All files (*)"), "");
    EXPECT_EQ(typeExtension("Cut short (*.gif"), "gif");
    EXPECT_EQ(typeExtension("Empty (*.)"), "");
}

TEST(SaveTypeRules, ChangingTheTypeReplacesTheExtension) {
    EXPECT_EQ(renamedForType("photo.png", typeExtension("JPEG (*.jpg;*.jpeg)")), "photo.jpg");
    EXPECT_EQ(renamedForType("", "jpg"), ".jpg");
    EXPECT_EQ(renamedForType("photo", "jpg"), "photo.jpg");
    EXPECT_EQ(renamedForType("my.holiday.photo.png", "tif"), "my.holiday.photo.tif");
    EXPECT_EQ(renamedForType("/home/me/my.photos/photo", "png"), "/home/me/my.photos/photo.png");
    EXPECT_EQ(renamedForType("/home/me/my.photos/photo.bmp", "png"),
              "/home/me/my.photos/photo.png");
}

TEST(SaveTypeRules, NameIsLeftAloneWhenNothingWouldChange) {
    EXPECT_EQ(renamedForType("photo.png", "png"), std::nullopt);
    // Only a difference beyond case is written.
    EXPECT_EQ(renamedForType("PHOTO.PNG", "png"), std::nullopt);
    // A type without an extension keeps the name.
    EXPECT_EQ(renamedForType("photo.png", ""), std::nullopt);
}

TEST(SaveTypeRules, DescriptionsAlternateWithPatterns) {
    const std::vector<std::string> descriptions = filterDescriptions(kFilter);
    ASSERT_EQ(descriptions.size(), 4u);
    EXPECT_EQ(descriptions[2], "Portable Network Graphics (*.png)");
    EXPECT_EQ(filterDescriptions("Only (*.x)"), std::vector<std::string>{"Only (*.x)"});
    EXPECT_TRUE(filterDescriptions("").empty());
}

}  // namespace
}  // namespace tarn
