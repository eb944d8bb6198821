#pragma once

// The image view inside the real main frame, with its questions answered by the test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <FreeImage.h>

#include "browser/image_list_ctrl.h"
#include "commands/command_ids.h"
#include "frame/main_frame.h"
#include "frame/super_status_bar.h"
#include "ui/dialog_input.h"
#include "ui/frame_fixture.h"
#include "ui/screen_grab.h"
#include "ui/ui_test_support.h"
#include "viewer/image_view.h"

namespace tarn {

// A picture whose pixel (x, y) has red x % 256, green y % 256 and blue 77.
inline void writeGradient(const std::string& path, int width, int height) {
    FIBITMAP* dib = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        BYTE* p = FreeImage_GetScanLine(dib, height - 1 - y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[FI_RGBA_RED] = static_cast<BYTE>(x % 256);
            p[FI_RGBA_GREEN] = static_cast<BYTE>(y % 256);
            p[FI_RGBA_BLUE] = 77;
        }
    }
    FreeImage_Save(FIF_PNG, dib, path.c_str());
    FreeImage_Unload(dib);
}

// The colour of an image pixel, y from the top.
inline RGBQUAD pixel(const fipSuperImage& image, int x, int y) {
    fipImage copy = image;
    copy.convertTo24Bits();
    RGBQUAD c{};
    copy.getPixelColor(x, copy.getHeight() - 1 - y, &c);
    return c;
}

inline std::string rgb(RGBQUAD c) {
    return std::to_string(c.rgbRed) + "," + std::to_string(c.rgbGreen) + "," +
           std::to_string(c.rgbBlue);
}

struct Answers {
    std::vector<std::string> asked;  // the captions and texts shown, in order
    int querySave = 2;
    std::string saveAsChosen;
    std::optional<std::string> saveAsPath;
    bool confirm = true;
    // What the colour chooser returns; nothing is Cancel.
    std::optional<std::uint32_t> color;
};

class ImageViewTest : public testing::Test {
protected:
    void open() {
        frame = fixture.open();
        view = frame->imageView();
        ImageViewPrompts& p = view->prompts();
        p.querySave = [this](const std::string& path, const fipSuperImage&, std::string& chosen) {
            answers.asked.push_back("query " + path);
            chosen = answers.saveAsChosen;
            return answers.querySave;
        };
        p.saveAs = [this](const std::string& path, const fipSuperImage&) {
            answers.asked.push_back("save as " + path);
            return answers.saveAsPath;
        };
        p.confirm = [this](const std::string& text, const std::string& caption) {
            answers.asked.push_back(caption + ": " + text);
            return answers.confirm;
        };
        p.error = [this](const std::string& text, const std::string& caption) {
            answers.asked.push_back(caption + ": " + text);
        };
        p.warn = [this](const std::string& text) { answers.asked.push_back("warn: " + text); };
        p.inform = [this](const std::string& text, const std::string& caption) {
            answers.asked.push_back(caption + ": " + text);
        };
        p.chooseColor = [this](std::uint32_t start) {
            answers.asked.push_back("colour from " + std::to_string(start));
            return answers.color;
        };
    }

    FolderModel& model() { return frame->imageList()->model(); }
    int indexOf(const std::string& name) {
        const FolderItem* item = model().itemByPath(fixture.pictures + "/" + name);
        return item == nullptr ? -1 : model().indexOf(item);
    }
    std::string path(const std::string& name) const { return fixture.pictures + "/" + name; }

    // Opens a file of the list as a double-click does.
    void openFile(const std::string& name) {
        const int index = indexOf(name);
        ASSERT_GE(index, 0) << name;
        frame->imageList()->openItem(index);
        test::flushEvents();
        ASSERT_EQ(frame->mode(), CMainFrame::kImageMode);
    }
    std::string openName() const {
        return std::filesystem::path(view->document().path()).filename().string();
    }

    // Mouse events at points relative to where the displayed image's top-left corner was when
    // the gesture began.
    void mouse(wxEventType type, int x, int y, bool left = false) {
        const Rect shown = view->geometry().displayedImage();
        mouseAt(type, {shown.left, shown.top}, x, y, left);
    }
    void mouseAt(wxEventType type, WindowPoint origin, int x, int y, bool left = false) {
        wxMouseEvent event(type);
        event.SetPosition({origin.x + x, origin.y + y});
        event.m_leftDown = left;
        event.SetEventObject(view);
        view->GetEventHandler()->ProcessEvent(event);
    }
    void drag(int x0, int y0, int x1, int y1) {
        const Rect shown = view->geometry().displayedImage();
        const WindowPoint origin{shown.left, shown.top};
        mouseAt(wxEVT_LEFT_DOWN, origin, x0, y0, true);
        mouseAt(wxEVT_MOTION, origin, (x0 + x1) / 2, (y0 + y1) / 2, true);
        mouseAt(wxEVT_MOTION, origin, x1, y1, true);
        mouseAt(wxEVT_LEFT_UP, origin, x1, y1);
    }
    void click(int x, int y) {
        mouse(wxEVT_LEFT_DOWN, x, y, true);
        mouse(wxEVT_LEFT_UP, x, y);
    }
    // Writes a gradient picture a.png (see writeGradient) and opens it.
    void openGradient(int width = 400, int height = 300) {
        writeGradient(path("a.png"), width, height);
        open();
        openFile("a.png");
    }
    // Selects with the select tool by dragging over the displayed picture; at zoom 1 the drag's
    // points are the selection's corners.
    void select(int left, int top, int right, int bottom) {
        view->clearSelection();
        ASSERT_TRUE(frame->runCommand(cmd::kSelectTool));
        drag(left, top, right, bottom);
        ASSERT_FALSE(view->selection().empty());
        if (view->geometry().zoom() == 1.0) {
            ASSERT_EQ(view->selection().rect(), (Rect{left, top, right, bottom}));
        }
    }
    // The next dialog is filled in by fill, then Ok is pressed (or it is cancelled when fill
    // returns false).
    template <typename Dialog, typename Fill>
    void answerNextDialog(Fill fill) {
        view->prompts().runDialog = [fill](wxDialog& shown) {
            auto* dialog = dynamic_cast<Dialog*>(&shown);
            EXPECT_NE(dialog, nullptr);
            if (dialog == nullptr || !fill(*dialog)) {
                return static_cast<int>(wxID_CANCEL);
            }
            test::pressOk(*dialog);
            return dialog->GetReturnCode();
        };
    }
    bool checked(int command) const { return frame->commandState(command).checked; }
    bool enabled(int command) const { return frame->commandState(command).enabled; }
    const fipSuperImage& image() const { return *view->document().image(); }

    wxImage grab() {
        const wxImage shown = test::grabClientArea(view);
        EXPECT_TRUE(shown.IsOk()) << "could not capture the screen";
        return shown;
    }

    test::FrameFixture fixture;
    CMainFrame* frame = nullptr;
    CImageView* view = nullptr;
    Answers answers;
};

inline std::string paneText(const CSuperStatusBar& bar, int id) {
    for (const PaneLayout& pane : bar.paneLayout()) {
        if (pane.id == id) {
            return pane.text;
        }
    }
    return "(none)";
}

}  // namespace tarn
