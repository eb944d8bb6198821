#pragma once

// The image view inside the real main frame, with its questions answered by the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "browser/image_list_ctrl.h"
#include "frame/main_frame.h"
#include "frame/super_status_bar.h"
#include "ui/frame_fixture.h"
#include "ui/screen_grab.h"
#include "ui/ui_test_support.h"
#include "viewer/image_view.h"

namespace tarn {

struct Answers {
    std::vector<std::string> asked;  // the captions and texts shown, in order
    int querySave = 2;
    std::string saveAsChosen;
    std::optional<std::string> saveAsPath;
    bool confirm = true;
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
