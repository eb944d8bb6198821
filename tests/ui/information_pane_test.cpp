// The browser's information pane follows the focused item of the thumbnail list.
#include <gtest/gtest.h>

#include "browser/image_list_ctrl.h"
#include "frame/main_frame.h"
#include "imaging/exif_fixtures.h"
#include "info/exif_info_wnd.h"
#include "info/image_preview_view.h"
#include "ui/frame_fixture.h"

namespace tarn {
namespace {

int indexOf(const FolderModel& model, const std::string& name) {
    for (int i = 0; i < model.count(); ++i) {
        if (model.item(i)->displayName == name) {
            return i;
        }
    }
    return -1;
}

TEST(InformationPane, FollowsTheFocusedFileAndClearsWhenNothingHasTheFocus) {
    test::FrameFixture f;
    ASSERT_TRUE(test::writeJpegWithExif(f.pictures + "/camera.jpg",
                                        "-Make=Tarnish -Model='Fell 7' -ISO=400"));
    ASSERT_TRUE(test::writeJpegWithExif(f.pictures + "/phone.jpg", "-Make=Pocket"));
    CMainFrame* frame = f.open();
    CImagePreviewView* pane = frame->previewView();
    const CExifInfoWnd* exif = pane->exifWindow();
    // The EXIF window sits at the bottom under the title strip.
    const wxSize client = pane->GetClientSize();
    EXPECT_EQ(exif->GetRect(), wxRect(0, client.y - 74, client.x, 74));
    EXPECT_EQ(pane->title()->GetRect(), wxRect(0, 0, client.x, 16));

    const FolderModel& model = frame->imageList()->model();
    frame->imageList()->setFocusedItem(indexOf(model, "camera.jpg"));
    EXPECT_EQ(exif->texts().make, "Tarnish");
    EXPECT_EQ(exif->texts().model, "Fell 7");
    EXPECT_EQ(exif->texts().iso, "400");
    frame->imageList()->setFocusedItem(indexOf(model, "phone.jpg"));
    EXPECT_EQ(exif->texts().make, "Pocket");
    EXPECT_EQ(exif->texts().iso, "");
    frame->imageList()->setFocusedItem(-1);
    EXPECT_EQ(exif->texts().make, "");
}

}  // namespace
}  // namespace tarn
