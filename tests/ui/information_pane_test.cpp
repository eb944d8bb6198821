// The browser's information pane follows the focused item of the thumbnail list.
#include <gtest/gtest.h>

#include "browser/image_list_ctrl.h"
#include "commands/command_ids.h"
#include "frame/main_frame.h"
#include "imaging/exif_fixtures.h"
#include "info/dlg_histogram.h"
#include "info/exif_info_wnd.h"
#include "info/histogram_wnd.h"
#include "info/image_preview_view.h"
#include "info/wnd_histogram.h"
#include "ui/frame_fixture.h"
#include "viewer/image_view.h"

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
    EXPECT_EQ(pane->histogram()->GetRect(), wxRect(0, 16, client.x, client.y - 90));

    const FolderModel& model = frame->imageList()->model();
    // The EXIF texts are read by a worker.
    frame->imageList()->setFocusedItem(indexOf(model, "camera.jpg"));
    ASSERT_TRUE(test::waitFor([&] { return exif->texts().make == "Tarnish"; }));
    EXPECT_EQ(exif->texts().model, "Fell 7");
    EXPECT_EQ(exif->texts().iso, "400");
    EXPECT_EQ(pane->histogram()->file(), f.pictures + "/camera.jpg");
    frame->imageList()->setFocusedItem(indexOf(model, "phone.jpg"));
    ASSERT_TRUE(test::waitFor([&] { return exif->texts().make == "Pocket"; }));
    EXPECT_EQ(exif->texts().iso, "");
    frame->imageList()->setFocusedItem(-1);
    EXPECT_EQ(exif->texts().make, "");
    EXPECT_EQ(pane->histogram()->file(), "");
}

TEST(InformationPane, TheEditorsHistogramShowsInTheImageModeWhileItsFlagIsSet) {
    test::FrameFixture f;
    ASSERT_TRUE(test::writeJpegWithExif(f.pictures + "/camera.jpg", "-Make=Tarnish"));
    CMainFrame* frame = f.open();
    CDlgHistogram* histogram = frame->histogramDialog();
    ASSERT_FALSE(histogram->IsShown());
    frame->imageList()->openItem(indexOf(frame->imageList()->model(), "camera.jpg"));
    ASSERT_EQ(frame->mode(), CMainFrame::kImageMode);
    EXPECT_FALSE(frame->commandState(cmd::kShowHistogram).checked);
    ASSERT_TRUE(frame->runCommand(cmd::kShowHistogram));
    EXPECT_TRUE(histogram->IsShown());
    EXPECT_TRUE(frame->commandState(cmd::kShowHistogram).checked);
    EXPECT_EQ(histogram->histogram()->image(), frame->imageView()->document().image());
    // Back in the browser it goes, and comes back with the next image.
    ASSERT_TRUE(frame->runCommand(cmd::kBrowse));
    EXPECT_FALSE(histogram->IsShown());
    frame->imageList()->openItem(indexOf(frame->imageList()->model(), "camera.jpg"));
    EXPECT_TRUE(histogram->IsShown());
    // Closed by the user it stays away.
    histogram->Close();
    test::flushEvents();
    EXPECT_FALSE(frame->commandState(cmd::kShowHistogram).checked);
    ASSERT_TRUE(frame->runCommand(cmd::kBrowse));
    frame->imageList()->openItem(indexOf(frame->imageList()->model(), "camera.jpg"));
    EXPECT_FALSE(histogram->IsShown());
}

}  // namespace
}  // namespace tarn
