#include "app/resource_pictures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"

namespace tarn {
namespace {

const std::string kProgramFolder = std::filesystem::path(TARNVIEW_EXE).parent_path().string();

TEST(ResourcePictures, TheBuildPutsThePicturesBesideTheProgram) {
    const CResourcePictures pictures(kProgramFolder);
    const wxBitmap strip = pictures.bitmap("tool bar.png");
    ASSERT_TRUE(strip.IsOk());
    // 35 images of 24 x 24, normal half then disabled half.
    EXPECT_EQ(strip.GetSize(), wxSize(35 * 24 * 2, 24));
    EXPECT_EQ(pictures.bitmap("pane folders.png").GetSize(), wxSize(67, 24));
    EXPECT_EQ(pictures.bitmap("pane favorites hover.png").GetSize(), wxSize(76, 24));
    EXPECT_EQ(pictures.bitmap("folder.png").GetSize(), wxSize(128, 128));
    EXPECT_EQ(pictures.bitmap("shortcut overlay.png").GetSize(), wxSize(32, 32));

    // The disabled Back button is not the normal one.
    const wxImage image = strip.ConvertToImage();
    const wxImage normal = image.GetSubImage(wxRect(0, 0, 24, 24));
    const wxImage disabled = image.GetSubImage(wxRect(35 * 24, 0, 24, 24));
    EXPECT_NE(0, memcmp(normal.GetData(), disabled.GetData(), 24 * 24 * 3));
}

TEST(ResourcePictures, MissingOrDamagedPicturesGiveNoBitmapAndNoMessage) {
    test::TempDir dir;
    test::writeFile(dir.file("broken.png"), "\x89PNG\r\n\x1a\n nothing");
    const CResourcePictures pictures(dir.path().string());
    EXPECT_EQ(pictures.path("absent.png"), "");
    EXPECT_FALSE(pictures.bitmap("absent.png").IsOk());
    EXPECT_EQ(pictures.path("broken.png"), dir.file("broken.png"));
    EXPECT_FALSE(pictures.bitmap("broken.png").IsOk());
}

}  // namespace
}  // namespace tarn
