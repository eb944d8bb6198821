// The browser's histogram window on real files, read back from the screen.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <memory>
#include <string>

#include "commands/menu_builder.h"
#include "fakes/temp_dir.h"
#include "imaging/freeimage_ptr.h"
#include "info/histogram_wnd.h"
#include "ui/histogram_pictures.h"
#include "ui/screen_grab.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

using test::flushEvents;
using test::pixel;
using test::samePicture;
using test::waitFor;

// One column per bin: 255 plot columns, plot 100 pixels high above the baseline at 110.
constexpr int kWidth = 20 + 255;
constexpr int kHeight = 120;

std::string writeFlatPng(const test::TempDir& dir, const std::string& name, unsigned size,
                         RGBQUAD colour) {
    FreeImageBitmap dib(FreeImage_Allocate(static_cast<int>(size), static_cast<int>(size), 24));
    FreeImage_FillBackground(dib.get(), &colour);
    const std::string path = dir.file(name);
    EXPECT_TRUE(FreeImage_Save(FIF_PNG, dib.get(), path.c_str(), 0));
    return path;
}

class HistogramWndTest : public testing::Test {
protected:
    void SetUp() override { build(); }
    void TearDown() override { destroy(); }

    void build() {
        m_frame = new wxFrame(nullptr, wxID_ANY, "histogram", wxPoint(40, 40), wxSize(400, 300));
        // On a panel: a frame would stretch its only child over the whole client area.
        auto* panel = new wxPanel(m_frame);
        m_window = new CHistogramWnd(panel, m_settings);
        m_window->SetSize(0, 0, kWidth, kHeight);
        m_frame->Show();
        waitFor([this] { return m_window->IsShownOnScreen(); }, 2000);
        flushEvents();
    }
    void destroy() {
        if (m_frame != nullptr) {
            m_frame->Destroy();
            flushEvents();
            m_frame = nullptr;
        }
    }

    // Sets the file and waits for its result.
    void show(const std::string& path) {
        const int before = m_window->finishedRequests();
        m_window->setFile(path);
        ASSERT_TRUE(waitFor([&] { return m_window->finishedRequests() > before; }));
    }
    // The window on the screen once it shows what a paint of its state draws.
    wxImage grabbed() {
        wxImage image;
        waitFor([&] {
            image = test::grabClientArea(m_window);
            return samePicture(image, m_window->picture());
        });
        return image;
    }
    void run(int command) { m_window->commands().runCommand(command); }

    test::TempDir m_dir;
    SettingsStore m_settings{m_dir.file("Config.ini")};
    wxFrame* m_frame = nullptr;
    CHistogramWnd* m_window = nullptr;
};

TEST_F(HistogramWndTest, DrawsTheColumnsOfAKnownPicture) {
    // 64 x 64 of (200, 0, 0): each channel one bin of 4096, clipped to 64 = its maximum.
    show(writeFlatPng(m_dir, "red.png", 64, RGBQUAD{0, 0, 200, 0}));
    wxImage image = grabbed();
    ASSERT_TRUE(samePicture(image, m_window->picture()));
    // Bin 0: green and blue full height, green drawn first and overdrawn by the pair colour.
    EXPECT_EQ(pixel(image, 10, 11), browserPenColour((1U << kHistGreen) | (1U << kHistBlue)));
    EXPECT_EQ(pixel(image, 10, 110), browserPenColour((1U << kHistGreen) | (1U << kHistBlue)));
    // Bin 200: red alone, full height.
    EXPECT_EQ(pixel(image, 210, 11), browserPenColour(1U << kHistRed));
    EXPECT_EQ(pixel(image, 210, 10), (HistogramColour{255, 255, 255}));
    // Bin 43 (the luma) stays empty while grey is hidden; the frame runs along the bottom.
    EXPECT_EQ(pixel(image, 53, 60), (HistogramColour{255, 255, 255}));
    EXPECT_EQ(pixel(image, 53, 110), kBrowserFrameColour);

    run(cmd::kHistogramGray);
    image = grabbed();
    EXPECT_EQ(pixel(image, 53, 60), browserPenColour(1U << kHistGrey));

    // Every channel hidden: the frame alone.
    for (const int command :
         {cmd::kHistogramRed, cmd::kHistogramGreen, cmd::kHistogramBlue, cmd::kHistogramGray}) {
        run(command);
    }
    image = grabbed();
    EXPECT_TRUE(samePicture(image, drawBrowserHistogram({}, {}, {}, kWidth, kHeight)));
    EXPECT_EQ(pixel(image, 10, 110), kBrowserFrameColour);
    EXPECT_EQ(pixel(image, 10, 60), (HistogramColour{255, 255, 255}));
}

TEST_F(HistogramWndTest, FilesWithoutAHistogramShowTheEmptyFrame) {
    const RgbPicture frameOnly = drawBrowserHistogram({}, {}, {}, kWidth, kHeight);
    const std::string red = writeFlatPng(m_dir, "red.png", 64, RGBQUAD{0, 0, 200, 0});
    const std::string notImage = m_dir.file("notes.txt");
    test::writeFile(notImage, "not a picture");
    const std::string broken = m_dir.file("broken.png");
    test::writeFile(broken, "\x89PNG but nothing after");
    const std::string tiny = writeFlatPng(m_dir, "tiny.png", 10, RGBQUAD{0, 0, 200, 0});
    for (const std::string& path :
         {tiny, notImage, broken, m_dir.file("gone.png"), std::string()}) {
        SCOPED_TRACE(path);
        show(red);
        ASSERT_FALSE(samePicture(grabbed(), frameOnly));
        show(path);
        EXPECT_TRUE(samePicture(grabbed(), frameOnly));
    }
}

TEST_F(HistogramWndTest, TheLastOfQuickRequestsRemains) {
    const std::string red = writeFlatPng(m_dir, "red.png", 128, RGBQUAD{0, 0, 200, 0});
    const std::string blue = writeFlatPng(m_dir, "blue.png", 100, RGBQUAD{220, 0, 0, 0});
    const std::string green = writeFlatPng(m_dir, "green.png", 90, RGBQUAD{0, 180, 0, 0});
    const int before = m_window->finishedRequests();
    m_window->setFile(red);
    m_window->setFile(blue);
    m_window->setFile(green);
    EXPECT_EQ(m_window->file(), green);
    ASSERT_TRUE(waitFor([&] { return m_window->finishedRequests() > before; }));
    flushEvents();
    // Green (bin 180) shows; red's bin 200 and blue's bin 220 do not.
    const wxImage image = grabbed();
    EXPECT_EQ(pixel(image, 190, 60), browserPenColour(1U << kHistGreen));
    EXPECT_EQ(pixel(image, 210, 60), (HistogramColour{255, 255, 255}));
    EXPECT_EQ(pixel(image, 230, 60), (HistogramColour{255, 255, 255}));
}

TEST_F(HistogramWndTest, ChannelFlagsComeFromAndGoBackToTheSettings) {
    // First start: grey unchecked, the colours checked.
    const auto checked = [this](int command) {
        return m_window->commands().commandState(command).value_or(CommandState{}).checked;
    };
    EXPECT_TRUE(checked(cmd::kHistogramRed));
    EXPECT_TRUE(checked(cmd::kHistogramGreen));
    EXPECT_TRUE(checked(cmd::kHistogramBlue));
    EXPECT_FALSE(checked(cmd::kHistogramGray));

    // The context menu's items come to the window as menu events.
    wxCommandEvent red(wxEVT_MENU, commandUiId(cmd::kHistogramRed));
    m_window->GetEventHandler()->ProcessEvent(red);
    run(cmd::kHistogramGray);
    EXPECT_FALSE(checked(cmd::kHistogramRed));
    EXPECT_TRUE(m_window->shown(kHistGrey));

    destroy();
    EXPECT_FALSE(m_settings.get(settings::kShowRed));
    EXPECT_TRUE(m_settings.get(settings::kShowGray));
    EXPECT_TRUE(m_settings.get(settings::kShowBlue));
    build();
    EXPECT_FALSE(checked(cmd::kHistogramRed));
    EXPECT_TRUE(checked(cmd::kHistogramGray));
}

}  // namespace
}  // namespace tarn
