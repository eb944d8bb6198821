#pragma once

#include <wx/image.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "app/app_context.h"
#include "app/system_image_lists.h"
#include "commands/menu_builder.h"
#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"
#include "frame/main_frame.h"
#include "ui/ui_test_support.h"

namespace tarn::test {

// A user whose home is a fresh folder with a picture folder, and a main frame opened on it
// with the program's own pictures. The test fills the picture folder before open().
struct FrameFixture {
    FrameFixture() {
        pictures = home.file("Pictures");
        std::filesystem::create_directories(pictures);
        makeContext();
    }

    ~FrameFixture() { close(); }

    void addFolder(const std::string& name) const {
        std::filesystem::create_directories(pictures + "/" + name);
    }
    void addImage(const std::string& name) const {
        wxImage(64, 48).SaveFile(wxString::FromUTF8(pictures + "/" + name), wxBITMAP_TYPE_PNG);
    }

    // A restored (not maximised) window rectangle stored as a previous run left it.
    void storeNormalPlacement(int left, int top, int right, int bottom) const {
        settings::WindowPlacement stored;
        stored.showCmd = settings::kShowNormal;
        stored.left = left;
        stored.top = top;
        stored.right = right;
        stored.bottom = bottom;
        context->settings.setPlacement(stored);
    }

    // A fresh context over the same home, as a new run of the program has.
    void makeContext() {
        auto special = std::make_unique<FakeSpecialFolders>();
        special->home = home.path().string();
        special->pictures = pictures;
        special->config = home.file(".config");
        AppFolders folders;
        folders.programFolder = std::filesystem::path(TARNVIEW_EXE).parent_path().string();
        folders.dataFolder = home.path().string();
        folders.settingsFile = home.file("Config.ini");
        folders.tempFolder = home.file("Temp");
        context = std::make_unique<AppContext>(folders, std::move(special));
    }

    CMainFrame* open() {
        frame = new CMainFrame(*context, icons);
        frame->activateFirstTime();
        showAndWait(frame);
        return frame;
    }

    void close() {
        if (frame != nullptr) {
            frame->Destroy();
            frame = nullptr;
            pumpEvents();
        }
    }

    // A command as a menu item or a tool-bar button sends it.
    void send(int command) const {
        wxCommandEvent event(wxEVT_MENU, commandUiId(command));
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
        flushEvents();
    }

    // Enabled and checked as the menu item or tool-bar button is shown.
    std::pair<bool, bool> uiState(int command) const {
        wxUpdateUIEvent event(commandUiId(command));
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
        return {event.GetEnabled(), event.GetChecked()};
    }

    TempDir home;
    std::string pictures;
    std::unique_ptr<AppContext> context;
    CSystemImageLists icons;
    CMainFrame* frame = nullptr;
};

}  // namespace tarn::test
