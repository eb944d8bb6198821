#include "app/system_image_lists.h"

#include <gtest/gtest.h>

#include "platform/system_icons.h"

namespace tarn {
namespace {

TEST(SystemImageLists, BuildsBothSizesFromTheIconThemeAndDetaches) {
    CSystemImageLists lists;
    EXPECT_EQ(lists.large(), nullptr);
    EXPECT_EQ(lists.small(), nullptr);
    lists.attach();
    ASSERT_NE(lists.large(), nullptr);
    ASSERT_NE(lists.small(), nullptr);
    const int count = static_cast<int>(platform::SystemIcon::Count);
    EXPECT_EQ(lists.large()->GetImageCount(), count);
    EXPECT_EQ(lists.small()->GetImageCount(), count);
    EXPECT_EQ(lists.large()->GetSize(), wxSize(32, 32));
    EXPECT_EQ(lists.small()->GetSize(), wxSize(16, 16));
    // The folder icon is a real picture, not the blank stand-in.
    const wxImage folder = lists.small()
                               ->GetBitmap(platform::systemIconIndex(platform::SystemIcon::Folder))
                               .ConvertToImage();
    bool opaque = false;
    for (int i = 0; i < 16 * 16 && !opaque; ++i) {
        opaque = !folder.HasAlpha() || folder.GetAlpha()[i] > 0;
    }
    EXPECT_TRUE(opaque);
    lists.detach();
    EXPECT_EQ(lists.large(), nullptr);
}

}  // namespace
}  // namespace tarn
