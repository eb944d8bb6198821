// The editor's histogram window over a real image, read back from the screen.
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/frame.h>

#include <string>

#include "info/dlg_histogram.h"
#include "ui/histogram_pictures.h"
#include "ui/screen_grab.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

using test::flushEvents;
using test::pixel;
using test::samePicture;
using test::waitFor;

class DlgHistogramTest : public testing::Test {
protected:
    void SetUp() override {
        m_frame = new wxFrame(nullptr, wxID_ANY, "editor", wxPoint(20, 20), wxSize(300, 200));
        m_frame->Show();
        m_dialog = new CDlgHistogram(m_frame);
        m_dialog->Move(360, 40);
        // 64 x 64 of (200, 0, 0).
        m_image.setSize(FIT_BITMAP, 64, 64, 24);
        RGBQUAD colour{0, 0, 200, 0};
        FreeImage_FillBackground(static_cast<FIBITMAP*>(m_image), &colour);
    }
    void TearDown() override {
        m_frame->Destroy();
        flushEvents();
    }

    // Shown with a 256-pixel-wide histogram: one column per bin, 100 pixels high.
    void showWide() {
        m_dialog->Show();
        m_dialog->SetClientSize(256, 100 + CDlgHistogram::kBottomStrip);
        ASSERT_TRUE(waitFor([this] {
            return m_dialog->IsShownOnScreen() &&
                   m_dialog->histogram()->GetClientSize() == wxSize(256, 100);
        }));
    }
    wxImage grabbed() {
        wxImage image;
        waitFor([&] {
            image = test::grabClientArea(m_dialog->histogram());
            return samePicture(image, m_dialog->histogram()->picture());
        });
        return image;
    }
    void click(int box, bool value) {
        wxCheckBox* check = m_dialog->checkBox(box);
        check->SetValue(value);
        wxCommandEvent event(wxEVT_CHECKBOX, check->GetId());
        event.SetEventObject(check);
        event.SetInt(value ? 1 : 0);
        check->GetEventHandler()->ProcessEvent(event);
    }

    wxFrame* m_frame = nullptr;
    CDlgHistogram* m_dialog = nullptr;
    fipSuperImage m_image;
};

TEST_F(DlgHistogramTest, ComputesShownChannelsLazilyWithOneScale) {
    const CWndHistogram& histogram = *m_dialog->histogram();
    EXPECT_TRUE(m_dialog->checkBox(0)->GetValue());
    EXPECT_TRUE(m_dialog->checkBox(2)->GetValue());
    EXPECT_FALSE(m_dialog->checkBox(3)->GetValue());
    EXPECT_FALSE(m_dialog->IsShown());

    showWide();
    m_dialog->setImage(&m_image);
    wxImage image = grabbed();
    ASSERT_TRUE(samePicture(image, m_dialog->histogram()->picture()));
    EXPECT_TRUE(histogram.computed(kHistRed));
    EXPECT_FALSE(histogram.computed(kHistGrey));
    // Three channels of 4096 pixels each over 768 bins: limit (12288 / 768) * 4 = 64.
    EXPECT_EQ(histogram.maximum(), 64U);
    // Bin 0: green over white, then blue blended halfway over it, full height.
    EXPECT_EQ(pixel(image, 0, 0), (HistogramColour{27, 127, 129}));
    EXPECT_EQ(pixel(image, 0, 99), (HistogramColour{27, 127, 129}));
    EXPECT_EQ(pixel(image, 200, 50), kEditorChannelColours[kHistRed]);
    EXPECT_EQ(pixel(image, 43, 50), (HistogramColour{255, 255, 255}));

    // "L": grey is computed at the next paint and the common limit becomes
    // (64 * 3 + 4096) / 1024 * 4 = 16.
    click(3, true);
    image = grabbed();
    EXPECT_TRUE(histogram.computed(kHistGrey));
    EXPECT_EQ(histogram.maximum(), 16U);
    EXPECT_EQ(pixel(image, 43, 0), kEditorChannelColours[kHistGrey]);
    EXPECT_EQ(pixel(image, 200, 0), kEditorChannelColours[kHistRed]);

    // Unchecking keeps what was computed; a reset forgets it.
    click(0, false);
    image = grabbed();
    EXPECT_EQ(pixel(image, 200, 50), (HistogramColour{255, 255, 255}));
    EXPECT_TRUE(histogram.computed(kHistRed));
    m_dialog->resetHistogram();
    EXPECT_FALSE(histogram.computed(kHistGrey));
    image = grabbed();
    EXPECT_TRUE(histogram.computed(kHistGrey));
    EXPECT_FALSE(histogram.computed(kHistRed));

    // No image: white.
    m_dialog->setImage(nullptr);
    image = grabbed();
    EXPECT_TRUE(samePicture(image, drawEditorHistogram({}, 0, {}, 256, 100)));
}

TEST_F(DlgHistogramTest, LayoutMinimumSizeAndClosing) {
    showWide();
    m_dialog->SetClientSize(300, 180);
    ASSERT_TRUE(waitFor([this] { return m_dialog->GetClientSize() == wxSize(300, 180); }));
    EXPECT_EQ(m_dialog->histogram()->GetRect(), wxRect(0, 0, 300, 155));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m_dialog->checkBox(i)->GetPosition(),
                  wxPoint(CDlgHistogram::kCheckBoxLeft[i], 160));
    }
    EXPECT_EQ(m_dialog->checkBox(3)->GetLabel(), "L");
    EXPECT_EQ(m_dialog->GetMinSize(), wxSize(160, 120));

    // Painted on the screen, so the server has mapped it and a later map cannot show it again.
    ASSERT_TRUE(samePicture(grabbed(), m_dialog->histogram()->picture()));
    int closed = 0;
    m_dialog->setCloseHandler([&] { ++closed; });
    m_dialog->Close();
    flushEvents();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(m_dialog->IsShown());
    // Still there to be shown again.
    m_dialog->Show();
    EXPECT_TRUE(samePicture(grabbed(), m_dialog->histogram()->picture()));
}

}  // namespace
}  // namespace tarn
