// The frame's menus, context menus and tool bars, built from the command table.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "browser/browser_view.h"
#include "browser/image_list_ctrl.h"
#include "browser/shell_tree.h"
#include "commands/menu_builder.h"
#include "common/toolkit_calls.h"
#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"
#include "frame/main_frame.h"
#include "frame/super_status_bar.h"
#include "ui/commands_fixture.h"
#include "ui/frame_fixture.h"
#include "ui/ui_test_support.h"
#include "viewer/image_view.h"

namespace tarn {
namespace {

using test::pumpEvents;
using test::waitFor;

// The two context-menu spellings of keys ("Ctrl A", "Del") are shown as everywhere else.
std::string canonicalKey(std::string_view text) {
    if (text == "Ctrl A") {
        return "Ctrl+A";
    }
    if (text == "Del") {
        return "Delete";
    }
    return std::string(text);
}

// Compares a built menu with its data, item by item: text, identifier, kind and shown key.
void expectMenuMatches(const wxMenu* built, std::span<const MenuNode> nodes,
                       const std::string& where) {
    ASSERT_EQ(built->GetMenuItemCount(), nodes.size()) << where;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const MenuNode& node = nodes[i];
        const wxMenuItem* item = built->FindItemByPosition(i);
        const std::string at = where + " #" + std::to_string(i);
        switch (node.kind) {
            case MenuNodeKind::Separator:
                EXPECT_TRUE(item->IsSeparator()) << at;
                break;
            case MenuNodeKind::Popup:
                ASSERT_TRUE(item->IsSubMenu()) << at;
                EXPECT_EQ(item->GetItemLabel().utf8_string(), node.label) << at;
                expectMenuMatches(item->GetSubMenu(), node.children,
                                  at + " " + std::string(node.label));
                break;
            case MenuNodeKind::Command:
                EXPECT_EQ(item->GetId(), commandUiId(node.command)) << at;
                // The label never carries a key: GTK would make it a window-wide accelerator.
                EXPECT_EQ(item->GetItemLabel().utf8_string(), node.label) << at;
                EXPECT_EQ(item->GetItemLabel().Find('\t'), wxNOT_FOUND) << at;
                EXPECT_EQ(item->IsCheckable(), node.checkable) << at;
                EXPECT_EQ(shownKeyText(item).utf8_string(), canonicalKey(node.keyText)) << at;
                break;
        }
    }
}

void expectMenuBarMatches(const wxMenuBar* bar, const Menu& data) {
    ASSERT_EQ(bar->GetMenuCount(), data.items.size());
    for (std::size_t i = 0; i < data.items.size(); ++i) {
        EXPECT_EQ(bar->GetMenuLabel(i).utf8_string(), data.items[i].label);
        expectMenuMatches(bar->GetMenu(i), data.items[i].children,
                          std::string(data.items[i].label));
    }
}

TEST(FrameCommands, EachModeShowsItsMenuBuiltFromTheTable) {
    CommandsFixture f;
    CMainFrame* frame = f.open();
    ASSERT_EQ(frame->GetMenuBar(), frame->browserMenuBar());
    expectMenuBarMatches(frame->browserMenuBar(), menu(MenuId::Browser));
    const wxMenuBar* bar = frame->browserMenuBar();
    EXPECT_EQ(bar->GetMenuLabel(0), "&File");
    EXPECT_EQ(bar->GetMenuLabel(4), "&Help");
    const wxMenuItem* open = bar->FindItem(commandUiId(cmd::kOpen));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->GetItemLabel(), "&Open...");
    EXPECT_EQ(shownKeyText(open), "Ctrl+O");
    EXPECT_EQ(shownKeyText(bar->FindItem(commandUiId(cmd::kDelete))), "Delete");
    EXPECT_NE(bar->FindItem(commandUiId(cmd::kAddressBar)), nullptr);

    frame->enterImageMode();
    pumpEvents();
    ASSERT_EQ(frame->GetMenuBar(), frame->imageMenuBar());
    expectMenuBarMatches(frame->imageMenuBar(), menu(MenuId::Image));
    EXPECT_EQ(frame->imageMenuBar()->GetMenuLabel(3), "&Zoom");
    // The image mode's View menu has no Address Bar item.
    EXPECT_EQ(frame->imageMenuBar()->FindItem(commandUiId(cmd::kAddressBar)), nullptr);

    frame->leaveImageMode();
    pumpEvents();
    EXPECT_EQ(frame->GetMenuBar(), frame->browserMenuBar());
}

// A menu as the user reads it: labels in order, "|" for a separator, sub-menus in brackets.
std::string menuOutline(const wxMenu* menu) {
    std::string text;
    for (std::size_t i = 0; i < menu->GetMenuItemCount(); ++i) {
        const wxMenuItem* item = menu->FindItemByPosition(i);
        if (item->IsSeparator()) {
            text += " |";
            continue;
        }
        text += (text.empty() || text.back() == '|' || text.back() == '(' ? " " : ", ");
        text += item->GetItemLabel().utf8_string();
        if (item->IsSubMenu()) {
            text += " (" + menuOutline(item->GetSubMenu()) + ")";
        }
    }
    return text.empty() || text.front() != ' ' ? text : text.substr(1);
}

TEST(FrameCommands, ContextMenusOfferTheirEntriesInOrder) {
    CommandsFixture f;
    f.open();
    const auto outline = [](MenuId id) {
        const std::unique_ptr<wxMenu> built(buildContextMenu(id));
        return menuOutline(built.get());
    };
    EXPECT_EQ(outline(MenuId::ListImage),
              "&View and Edit, View in &Full Screen, &Slide Show | Open Wit&h (Associated "
              "&Program, Associated &Editor), &Add to Favorites..., &Locate on Disk | Cu&t, "
              "&Copy, C&opy Image to Clipboard | &Delete, &Rename | Cop&y to Folder..., "
              "&Move to Folder... | E&xport..., &Print..., &Email Images..., Set &Wallpaper "
              "(&Center, &Title, &Stretch | &Restore) | Propert&ies...");
    EXPECT_EQ(outline(MenuId::ListFolder),
              "&Browse, &Add to Favorites..., &Locate on Disk | Cu&t, &Copy, &Paste | &Delete, "
              "&Rename | Copy to &Folder..., &Move to Folder... | Propert&ies...");
    EXPECT_EQ(outline(MenuId::ListFile),
              "Open Wit&h (Associated &Program, Associated &Editor), &Add to Favorites..., "
              "&Locate on Disk | Cu&t, &Copy, &Paste | &Delete, &Rename | Cop&y to Folder..., "
              "&Move to Folder... | Propert&ies...");
    EXPECT_EQ(outline(MenuId::ListBackground),
              "&New Folder, &Add to Favorites..., &Locate on Disk | &Export..., &Paste | &Sort "
              "By (File &Name, Modified &Date, File &Type, File &Size, &Photo Size | Sort "
              "&Forward, Sort &Backward), &Refresh, Sele&cte All | Propert&ies");
    EXPECT_EQ(outline(MenuId::FolderTree),
              "&New Folder, &Add to Favorites..., &Locate on Disk | Cu&t, &Copy, &Paste | "
              "&Delete, &Rename | Propert&ies...");
    const std::unique_ptr<wxMenu> background(buildContextMenu(MenuId::ListBackground));
    const wxMenuItem* selectAll = background->FindItem(commandUiId(cmd::kSelectAll));
    ASSERT_NE(selectAll, nullptr);
    EXPECT_EQ(shownKeyText(selectAll), "Ctrl+A");
}

TEST(FrameCommands, ToolBarsCarryTooltipsAndTheirDropDowns) {
    CommandsFixture f;
    CMainFrame* frame = f.open();
    wxToolBar* bar = frame->browserToolBar();
    const wxToolBarToolBase* back = bar->FindById(commandUiId(cmd::kBack));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetShortHelp(), "Back (Alt+Left Arrow)");
    const wxToolBarToolBase* sort = bar->FindById(commandUiId(cmd::kSort));
    ASSERT_NE(sort, nullptr);
    ASSERT_NE(sort->GetDropdownMenu(), nullptr);
    expectMenuMatches(sort->GetDropdownMenu(), dropDownMenu(cmd::kSort)->children, "Sort");
    const wxToolBarToolBase* zoomIn = frame->imageToolBar()->FindById(commandUiId(cmd::kZoomIn));
    ASSERT_NE(zoomIn, nullptr);
    ASSERT_NE(zoomIn->GetDropdownMenu(), nullptr);
    EXPECT_EQ(zoomIn->GetDropdownMenu()->FindItemByPosition(0)->GetItemLabel(), "1600%");
}

TEST(FrameCommands, ANarrowBarOffersItsHiddenButtonsBehindTheOverflowArrow) {
    using Items = int (*)(void*);
    using Item = void* (*)(void*, int);
    using Flag = int (*)(void*);
    using Proxy = void* (*)(void*);
    using Label = const char* (*)(void*);
    const auto items = toolkitFunction<Items>("gtk_toolbar_get_n_items");
    const auto item = toolkitFunction<Item>("gtk_toolbar_get_nth_item");
    const auto childVisible = toolkitFunction<Flag>("gtk_widget_get_child_visible");
    const auto showsArrow = toolkitFunction<Flag>("gtk_toolbar_get_show_arrow");
    const auto proxy = toolkitFunction<Proxy>("gtk_tool_item_retrieve_proxy_menu_item");
    const auto label = toolkitFunction<Label>("gtk_menu_item_get_label");
    ASSERT_TRUE(items && item && childVisible && showsArrow && proxy && label);

    CommandsFixture f;
    CMainFrame* frame = f.open();
    wxToolBar* bar = frame->browserToolBar();
    void* native = bar->GTKGetToolbar();
    void* last = item(native, items(native) - 1);
    frame->SetSize(0, 0, 1400, 600);
    EXPECT_TRUE(waitFor([&] { return childVisible(last) != 0; }));
    // Narrower than its buttons: the bar shrinks with the frame and hides the last ones.
    frame->SetSize(0, 0, 420, 600);
    EXPECT_TRUE(waitFor([&] { return childVisible(last) == 0; }));
    EXPECT_LE(bar->GetSize().x, frame->GetClientSize().x);
    EXPECT_NE(showsArrow(native), 0);
    // The overflow menu names the hidden button as its menu item does.
    void* entry = proxy(last);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(wxString::FromUTF8(label(entry)),
              wxStripMenuCodes(wxString::FromUTF8(std::string(findCommand(cmd::kHelp)->text))));
}

TEST(FrameCommands, TheCurrentZoomIsCheckedInBothPresetMenus) {
    CommandsFixture f;
    CMainFrame* frame = f.open();
    frame->enterImageMode();
    pumpEvents();
    ASSERT_EQ(frame->viewZoom(), 1.0);
    for (const int button : {cmd::kZoomIn, cmd::kZoomOut}) {
        wxMenu* presets = frame->imageToolBar()->FindById(commandUiId(button))->GetDropdownMenu();
        ASSERT_NE(presets, nullptr);
        presets->UpdateUI(frame);
        const wxMenuItem* hundred = presets->FindItem(commandUiId(cmd::kZoom100));
        ASSERT_NE(hundred, nullptr);
        EXPECT_EQ(hundred->GetItemLabel(), "100%");
        EXPECT_TRUE(hundred->IsChecked()) << button;
        for (const wxMenuItem* item : presets->GetMenuItems()) {
            EXPECT_EQ(item->IsChecked(), item == hundred) << item->GetItemLabel();
        }
        // No image is loaded: no preset can be chosen.
        EXPECT_FALSE(hundred->IsEnabled());
    }
}

}  // namespace
}  // namespace tarn
