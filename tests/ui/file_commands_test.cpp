#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "browser/file_actions.h"
#include "browser/file_clipboard.h"
#include "browser/image_list_ctrl.h"
#include "browser/shell_tree.h"
#include "common/toolkit_calls.h"
#include "platform/file_uri.h"
#include "ui/frame_fixture.h"
#include "ui/ui_test_support.h"
#include "viewer/image_view.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using test::flushEvents;
using test::waitFor;

// A picture folder with a sub-folder, two images and a text file, shown in the list.
struct FileCommandsFixture : test::FrameFixture {
    FileCommandsFixture() {
        addFolder("Holiday");
        addImage("a.png");
        addImage("b.png");
        std::ofstream(pictures + "/notes.txt") << "notes";
    }

    CImageListCtrl* list() const { return frame->imageList(); }
    int indexOf(const std::string& name) const {
        return list()->model().indexOf(list()->model().itemByPath(pictures + "/" + name));
    }
    std::vector<std::string> listedNames() const { return list()->model().allDisplayNames(); }
};

// The popup menus a window opens: the first entry of each (the menus differ there) and where it
// appeared on the screen. Each menu is closed again as soon as it is shown.
class MenuWatch {
public:
    explicit MenuWatch(wxWindow* window) : m_window(window) {
        m_window->Bind(wxEVT_MENU_OPEN, &MenuWatch::opened, this);
    }
    ~MenuWatch() { m_window->Unbind(wxEVT_MENU_OPEN, &MenuWatch::opened, this); }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    std::vector<std::string> firstEntries;
    std::vector<wxPoint> origins;
    // The disabled entries of each menu, joined by commas.
    std::vector<std::string> disabled;

private:
    void opened(wxMenuEvent& event) {
        // Passed on: the menu's entries are enabled by whoever handles the opening.
        event.Skip();
        wxMenu* menu = event.GetMenu();
        if (menu == nullptr || menu->GetParent() != nullptr) {
            return;
        }
        wxTheApp->CallAfter([this, menu] { inspect(menu); });
    }

    void inspect(wxMenu* menu) {
        firstEntries.push_back(menu->FindItemByPosition(0)->GetItemLabel().utf8_string());
        std::string off;
        for (const wxMenuItem* item : menu->GetMenuItems()) {
            if (!item->IsSeparator() && !item->IsEnabled()) {
                off += (off.empty() ? "" : ", ") + item->GetItemLabel().utf8_string();
            }
        }
        disabled.push_back(off);
        using WidgetFn = void* (*)(void*);
        using OriginFn = int (*)(void*, int*, int*);
        using PopdownFn = void (*)(void*);
        const auto toplevel = toolkitFunction<WidgetFn>("gtk_widget_get_toplevel");
        const auto window = toolkitFunction<WidgetFn>("gtk_widget_get_window");
        const auto origin = toolkitFunction<OriginFn>("gdk_window_get_origin");
        void* native = menu->m_menu;
        int x = -1;
        int y = -1;
        if (toplevel && window && origin) {
            if (void* gdk = window(toplevel(native))) {
                origin(gdk, &x, &y);
            }
        }
        origins.emplace_back(x, y);
        if (const auto popdown = toolkitFunction<PopdownFn>("gtk_menu_popdown")) {
            popdown(native);
        }
    }

    wxWindow* m_window;
};

void rightClickAt(wxWindow* window, const wxPoint& clientPoint) {
    wxUIActionSimulator sim;
    const wxPoint target = window->ClientToScreen(clientPoint);
    sim.MouseMove(target);
    ASSERT_TRUE(waitFor([&] { return wxGetMousePosition() == target; }));
    flushEvents();
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
}

TEST(FileCommands, RightClicksOpenTheImageFolderFileAndBackgroundMenusShiftF10TheImageMenu) {
    FileCommandsFixture f;
    f.open();
    CImageListCtrl* list = f.list();
    ASSERT_TRUE(waitFor([&] { return f.indexOf("notes.txt") >= 0; }));
    MenuWatch watch(list);
    const auto centre = [&](const std::string& name) {
        const wxRect rect = list->itemRect(f.indexOf(name));
        return rect.GetPosition() + rect.GetSize() / 2;
    };
    for (const wxPoint& at : {centre("a.png"), centre("Holiday"), centre("notes.txt"),
                              wxPoint(list->GetClientSize().x - 5, list->GetClientSize().y - 5)}) {
        const std::size_t before = watch.firstEntries.size();
        rightClickAt(list, at);
        ASSERT_TRUE(waitFor([&] { return watch.origins.size() > before; }, 5000));
    }
    EXPECT_EQ(watch.firstEntries,
              (std::vector<std::string>{"&View and Edit", "&Browse", "Open Wit&h", "&New Folder"}));

    // From the keyboard: the menu of the first selected item, at its centre.
    list->selectOnly(f.indexOf("b.png"));
    list->SetFocus();
    ASSERT_TRUE(waitFor([&] { return list->HasFocus(); }));
    wxUIActionSimulator().Char(WXK_F10, wxMOD_SHIFT);
    ASSERT_TRUE(waitFor([&] { return watch.origins.size() == 5; }, 5000));
    EXPECT_EQ(watch.firstEntries.back(), "&View and Edit");
    const wxPoint expected = list->ClientToScreen(centre("b.png"));
    EXPECT_NEAR(watch.origins.back().x, expected.x, 8);
    EXPECT_NEAR(watch.origins.back().y, expected.y, 8);
}

TEST(FileCommands, TheTreesMenuActsOnTheNodeUnderTheCursorAndNeverRenamesARoot) {
    FileCommandsFixture f;
    f.open();
    CShellTree* tree = f.frame->folderTree();
    MenuWatch watch(tree);
    const auto rightClick = [&](const std::string& path) {
        const wxTreeItemId node = tree->findNode(*f.context->shell.idFromPath(path), true);
        ASSERT_TRUE(node.IsOk()) << path;
        tree->EnsureVisible(node);
        wxRect bounds;
        ASSERT_TRUE(tree->GetBoundingRect(node, bounds, true));
        const std::size_t before = watch.origins.size();
        rightClickAt(tree, bounds.GetPosition() + bounds.GetSize() / 2);
        ASSERT_TRUE(waitFor([&] { return watch.origins.size() > before; }, 5000));
        EXPECT_EQ(tree->pathOf(tree->contextNode()), path);
    };
    rightClick("/");
    rightClick(f.pictures + "/Holiday");
    ASSERT_EQ(watch.disabled.size(), 2u);
    EXPECT_NE(watch.disabled[0].find("&Rename"), std::string::npos) << watch.disabled[0];
    EXPECT_EQ(watch.disabled[1].find("&Rename"), std::string::npos) << watch.disabled[1];
    EXPECT_EQ(watch.firstEntries[0], "&New Folder");
}

std::string trashedFrom(const std::string& path) {
    const std::string info = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash/info";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(info, error)) {
        std::ifstream in(entry.path());
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        if (text.find("Path=" + path + "\n") != std::string::npos) {
            return entry.path().stem().string();
        }
    }
    return {};
}

TEST(FileCommands, WithTheFolderTreeFocusedDeleteTrashesItsFolderNotTheSelectedThumbnails) {
    FileCommandsFixture f;
    f.addImage("Holiday/x.png");
    f.open();
    CShellTree* tree = f.frame->folderTree();
    const std::string holiday = f.pictures + "/Holiday";
    ASSERT_TRUE(tree->selectFolder(*f.context->shell.idFromPath(holiday)));
    ASSERT_TRUE(waitFor([&] { return f.list()->model().count() == 1; }));
    f.list()->selectAll();
    tree->SetFocus();
    ASSERT_TRUE(waitFor([&] { return tree->HasFocus(); }));
    wxUIActionSimulator().Char(WXK_DELETE);
    ASSERT_TRUE(waitFor([&] { return !fs::exists(holiday); }));
    EXPECT_FALSE(trashedFrom(holiday).empty()) << "the folder went to the Trash";
    // The tree and the list leave the folder that went for its parent.
    EXPECT_TRUE(waitFor([&] { return f.list()->model().folderPath() == f.pictures; }));
    EXPECT_EQ(tree->pathOf(tree->GetSelection()), f.pictures);
}

TEST(FileCommands, CutThenPasteMovesTheFilesAndTheClipboardStillOffersThem) {
    FileCommandsFixture f;
    f.open();
    ASSERT_TRUE(waitFor([&] { return f.indexOf("a.png") >= 0; }));
    f.list()->selectOnly(f.indexOf("a.png"));
    f.list()->SetFocus();
    ASSERT_TRUE(waitFor([&] { return f.list()->HasFocus(); }));
    ASSERT_TRUE(f.uiState(cmd::kCut).first);
    f.send(cmd::kCut);
    const std::string holiday = f.pictures + "/Holiday";
    ASSERT_TRUE(f.frame->folderTree()->selectFolder(*f.context->shell.idFromPath(holiday)));
    f.list()->SetFocus();
    ASSERT_TRUE(waitFor([&] { return f.list()->model().folderPath() == holiday; }));
    ASSERT_TRUE(f.uiState(cmd::kPaste).first);
    f.send(cmd::kPaste);
    ASSERT_TRUE(waitFor([&] { return fs::exists(holiday + "/a.png"); }));
    EXPECT_FALSE(fs::exists(f.pictures + "/a.png"));
    EXPECT_TRUE(waitFor([&] { return f.list()->model().count() == 1; }));
    EXPECT_TRUE(f.uiState(cmd::kPaste).first) << "the clipboard keeps what was cut";
}

TEST(FileCommands, FilesCutInAnotherProgramAreMovedByPaste) {
    FileCommandsFixture f;
    f.open();
    const std::string holiday = f.pictures + "/Holiday";
    ASSERT_TRUE(f.frame->folderTree()->selectFolder(*f.context->shell.idFromPath(holiday)));
    f.list()->SetFocus();
    ASSERT_TRUE(waitFor([&] { return f.list()->model().folderPath() == holiday; }));
    // The way file managers cut: the list is held by the other program until taken over.
    const std::string command = "printf 'cut\\n" + platform::fileUri(f.pictures + "/notes.txt") +
                                "' | xclip -i -selection clipboard -t " +
                                "x-special/gnome-copied-files >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(waitFor([&] { return f.uiState(cmd::kPaste).first; }));
    f.send(cmd::kPaste);
    EXPECT_TRUE(waitFor([&] { return fs::exists(holiday + "/notes.txt"); }));
    EXPECT_FALSE(fs::exists(f.pictures + "/notes.txt"));
    // Taking the clipboard back ends the other program.
    putFilesOnClipboard({{holiday}, false});
}

TEST(FileCommands, CopyThenPasteIntoTheSameFolderAsksAndDestroysNothing) {
    FileCommandsFixture f;
    f.open();
    ASSERT_TRUE(waitFor([&] { return f.indexOf("b.png") >= 0; }));
    const std::string b = f.pictures + "/b.png";
    const auto size = fs::file_size(b);
    std::vector<std::string> asked;
    f.frame->fileActions().runner().prompts().conflict = [&](const std::string&,
                                                             const std::string& target) {
        asked.push_back(target);
        return ConflictAnswer{ConflictChoice::Replace, false};
    };
    f.list()->selectOnly(f.indexOf("b.png"));
    f.list()->SetFocus();
    ASSERT_TRUE(waitFor([&] { return f.list()->HasFocus(); }));
    f.send(cmd::kCopy);
    f.send(cmd::kPaste);
    ASSERT_TRUE(waitFor([&] { return !f.frame->fileActions().busy(); }));
    EXPECT_EQ(asked, std::vector<std::string>{b});
    EXPECT_EQ(fs::file_size(b), size);
}

TEST(FileCommands, NewFolderTakesTheFirstFreeNumberAndIsSelected) {
    FileCommandsFixture f;
    f.addFolder("New Folder");
    f.addFolder("new folder (2)");
    f.open();
    ASSERT_TRUE(waitFor([&] { return f.indexOf("notes.txt") >= 0; }));
    f.list()->SetFocus();
    ASSERT_TRUE(waitFor([&] { return f.list()->HasFocus(); }));
    f.send(cmd::kNewFolder);
    ASSERT_TRUE(fs::is_directory(f.pictures + "/New Folder (3)"));
    const int index = f.indexOf("New Folder (3)");
    ASSERT_GE(index, 0);
    EXPECT_TRUE(f.list()->model().item(index)->selected);
    EXPECT_EQ(f.list()->model().focusedIndex(), index);
}

TEST(FileCommands, TheImageViewMovesAndRenamesTheFileItShows) {
    FileCommandsFixture f;
    f.addFolder("Elsewhere");
    f.open();
    ASSERT_TRUE(waitFor([&] { return f.indexOf("b.png") >= 0; }));
    f.list()->openItem(f.indexOf("a.png"));
    ASSERT_EQ(f.frame->mode(), CMainFrame::kImageMode);
    CImageView* view = f.frame->imageView();

    // Moving it away opens the next image.
    f.frame->fileActions().prompts().chooseFolder = [&](const std::string& title,
                                                        const std::string& prompt) {
        EXPECT_EQ(title, "Move Files");
        EXPECT_EQ(prompt, "Select folder to move to");
        return std::optional<std::string>(f.pictures + "/Elsewhere");
    };
    f.send(cmd::kMoveToFolder);
    ASSERT_TRUE(waitFor([&] { return fs::exists(f.pictures + "/Elsewhere/a.png"); }));
    EXPECT_TRUE(waitFor([&] { return f.frame->GetTitle() == "b.png - Tarn Photo Viewer"; }));

    view->prompts().rename = [](const std::string&) { return std::string("c.png"); };
    f.send(cmd::kRename);
    EXPECT_TRUE(fs::exists(f.pictures + "/c.png"));
    EXPECT_FALSE(fs::exists(f.pictures + "/b.png"));
    EXPECT_EQ(f.frame->GetTitle().utf8_string(), "c.png - Tarn Photo Viewer");

    // A name that exists is refused and nothing is lost.
    std::vector<std::string> warned;
    view->prompts().warn = [&](const std::string& text) { warned.push_back(text); };
    view->prompts().rename = [](const std::string&) { return std::string("notes.txt"); };
    f.send(cmd::kRename);
    EXPECT_EQ(warned.size(), 1u);
    EXPECT_TRUE(fs::exists(f.pictures + "/c.png"));
    EXPECT_EQ(fs::file_size(f.pictures + "/notes.txt"), 5u);
}

}  // namespace
}  // namespace tarn
