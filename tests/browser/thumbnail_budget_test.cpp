#include "browser/thumbnail_budget.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

using platform::ShellNamespace;
using test::TempDir;

TEST(ThumbnailBudget, TheFarthestThumbnailsGoFirstAndTheShownOnesStay) {
    const ImagingService imaging;
    const TempDir tmp;
    std::filesystem::create_directories(tmp.file("home/a"));
    for (int i = 0; i < 20; ++i) {
        test::writeFile(tmp.file("home/a/" + std::to_string(100 + i) + ".jpg"), "x");
    }
    const ShellNamespace shell(tmp.file("home"), {});
    FolderModel model(shell, ImageExtensions::fromFreeImage());
    ASSERT_TRUE(model.browse(*shell.idFromPath(tmp.file("home/a")), kBrowseFromTree, false, [] {}));
    ASSERT_EQ(model.count(), 20);
    for (int i = 0; i < model.count(); ++i) {
        model.item(i)->thumbnail.reset(FreeImage_Allocate(10, 10, 32));
        model.item(i)->thumbnailPending = false;
    }
    const std::size_t one = FreeImage_GetMemorySize(model.item(0)->thumbnail.get());

    // Room for everything: nothing goes.
    EXPECT_EQ(dropFarThumbnails(model, 8, 9, 20 * one), 0);
    // Room for six around items 8 and 9: 6..11 stay.
    EXPECT_EQ(dropFarThumbnails(model, 8, 9, 6 * one), 14);
    for (int i = 0; i < model.count(); ++i) {
        const bool kept = i >= 6 && i <= 11;
        EXPECT_EQ(static_cast<bool>(model.item(i)->thumbnail), kept) << i;
        EXPECT_EQ(model.item(i)->thumbnailPending, !kept) << i;
    }
    // The shown items keep theirs even when they alone are over the budget.
    EXPECT_EQ(dropFarThumbnails(model, 7, 10, 0), 2);
    for (int i = 7; i <= 10; ++i) {
        EXPECT_TRUE(model.item(i)->thumbnail) << i;
    }
}

}  // namespace
}  // namespace tarn
