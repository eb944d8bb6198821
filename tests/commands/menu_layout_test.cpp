#include "commands/menu_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "commands/command_table.h"
#include "commands/key_bindings.h"

namespace tarn {
namespace {

void forEachNode(const std::vector<MenuNode>& nodes,
                 const std::function<void(const MenuNode&)>& visit) {
    for (const MenuNode& n : nodes) {
        visit(n);
        forEachNode(n.children, visit);
    }
}

// A menu level as one line: labels, "-" for separators, "[Pop-up]" for pop-ups.
std::string outline(const std::vector<MenuNode>& nodes) {
    std::string s;
    for (const MenuNode& n : nodes) {
        if (!s.empty()) {
            s += " | ";
        }
        if (n.kind == MenuNodeKind::Separator) {
            s += "-";
        } else if (n.kind == MenuNodeKind::Popup) {
            s += "[" + std::string(n.label) + "]";
        } else {
            s += n.label;
        }
    }
    return s;
}

std::vector<int> commandsOf(const std::vector<MenuNode>& nodes) {
    std::vector<int> ids;
    for (const MenuNode& n : nodes) {
        ids.push_back(n.kind == MenuNodeKind::Command ? n.command : 0);
    }
    return ids;
}

TEST(MenuLayout, EveryItemResolvesAndSeparatorsOnlySeparate) {
    for (MenuId id : allMenus()) {
        const Menu& m = menu(id);
        ASSERT_EQ(m.id, id);
        ASSERT_FALSE(m.items.empty());
        std::function<void(const std::vector<MenuNode>&)> check =
            [&](const std::vector<MenuNode>& level) {
                ASSERT_FALSE(level.empty()) << static_cast<int>(id);
                EXPECT_NE(level.front().kind, MenuNodeKind::Separator) << static_cast<int>(id);
                EXPECT_NE(level.back().kind, MenuNodeKind::Separator) << static_cast<int>(id);
                for (std::size_t i = 0; i < level.size(); ++i) {
                    const MenuNode& n = level[i];
                    if (n.kind == MenuNodeKind::Separator && i > 0) {
                        EXPECT_NE(level[i - 1].kind, MenuNodeKind::Separator);
                    }
                    if (n.kind == MenuNodeKind::Command) {
                        const Command* c = findCommand(n.command);
                        ASSERT_NE(c, nullptr) << n.command;
                        EXPECT_FALSE(n.label.empty()) << n.command;
                        EXPECT_EQ(n.label.find('\t'), std::string_view::npos);
                        EXPECT_EQ(n.checkable, c->checkable);
                        EXPECT_EQ(n.accelerator, isAcceleratorKey(n.command, n.keyText));
                        EXPECT_TRUE(n.children.empty());
                    }
                    if (n.kind == MenuNodeKind::Popup) {
                        EXPECT_FALSE(n.label.empty());
                        check(n.children);
                    }
                }
            };
        check(m.items);
    }
}

TEST(MenuLayout, EveryMenuCommandOfTheTableIsInSomeMenu) {
    std::set<int> shown;
    for (MenuId id : allMenus()) {
        forEachNode(menu(id).items, [&](const MenuNode& n) {
            if (n.kind == MenuNodeKind::Command) {
                shown.insert(n.command);
            }
        });
    }
    for (const Command& c : commands()) {
        // The tool-bar-only buttons have no menu text.
        if (c.text.empty()) {
            EXPECT_TRUE(c.id == cmd::kSort || c.id == cmd::kFitImage || c.id == cmd::kHelp);
            continue;
        }
        EXPECT_TRUE(shown.count(c.id)) << c.id << " " << c.text;
    }
}

TEST(MenuLayout, MainMenusHaveTheirTopLevelPopups) {
    EXPECT_EQ(outline(menu(MenuId::Browser).items),
              "[&File] | [&Edit] | [&View] | [&Tools] | [&Help]");
    EXPECT_EQ(outline(menu(MenuId::Image).items),
              "[&File] | [&Edit] | [&View] | [&Zoom] | [&Image] | [Effe&cts] | [&Tools] | "
              "[&Help]");
}

TEST(MenuLayout, ImageViewMenuHasNoAddressBar) {
    const MenuNode* browserView = findPopup(menu(MenuId::Browser).items, "View");
    const MenuNode* imageView = findPopup(menu(MenuId::Image).items, "View");
    ASSERT_NE(browserView, nullptr);
    ASSERT_NE(imageView, nullptr);
    const auto b = commandsOf(browserView->children);
    const auto i = commandsOf(imageView->children);
    EXPECT_EQ(std::vector<int>(b.begin(), b.begin() + 3),
              (std::vector<int>{cmd::kToolBar, cmd::kAddressBar, cmd::kStatusBar}));
    EXPECT_EQ(std::vector<int>(i.begin(), i.begin() + 2),
              (std::vector<int>{cmd::kToolBar, cmd::kStatusBar}));
    std::set<int> imageCommands;
    forEachNode(menu(MenuId::Image).items,
                [&](const MenuNode& n) { imageCommands.insert(n.command); });
    EXPECT_FALSE(imageCommands.count(cmd::kAddressBar));
}

TEST(MenuLayout, BrowserSubMenusInOrder) {
    const auto& top = menu(MenuId::Browser).items;
    EXPECT_EQ(outline(findPopup(top, "Thumbnail Size")->children),
              "&36x36 | &48x48 | &64x64 | &85x85 | &100x100 | 1&28x128 | 1&50x150 | 20&0x200");
    EXPECT_EQ(outline(findPopup(top, "Sort By")->children),
              "File &Name | Modified &Date | File &Type | File &Size | &Photo Size | - | "
              "Sort &Forward | Sort &Backward");
    EXPECT_EQ(outline(findPopup(top, "Goto")->children), "&Back | &Forward | &Up");
    EXPECT_EQ(outline(findPopup(top, "Histogram")->children), "&Red | &Green | &Blue | Gr&ay");
    EXPECT_EQ(commandsOf(findPopup(top, "JPEG Lossless Transformations")->children),
              (std::vector<int>{33483, 33484, 33485, 0, 33486, 33487}));
    // The browser's Rotate keeps the long texts.
    EXPECT_EQ(outline(findPopup(top, "Rotate")->children),
              "Rotate &Left 90 Degrees | Rotate &Right 90 Degrees | Rotate &180 Degrees");
}

TEST(MenuLayout, ImageSubMenusUseTheirOwnTexts) {
    const auto& top = menu(MenuId::Image).items;
    const MenuNode* image = findPopup(top, "Image");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(outline(findPopup(image->children, "Rotate")->children),
              "Rotate &Left | Rotate &Right | Rotate &180 Degrees | - | &Custom...");
    EXPECT_EQ(outline(findPopup(top, "Swap Colors")->children),
              "RGB>RBG | RGB>BGR | RGB>BRG | RGB>GRB | RGB>GBR");
    EXPECT_EQ(outline(findPopup(top, "Edge Detect")->children), "&Heavy | &Medium | &Light");
    // "F&ile" under View, not the top-level "&File".
    EXPECT_EQ(outline(findPopup(findPopup(top, "View")->children, "File")->children),
              "&Next Image | &Previous Image | &First Image | &Last Image");
    EXPECT_EQ(outline(findPopup(top, "Page")->children),
              "&Next Page | &Previous Page | &First Page | &Last Page");
    const MenuNode* edit = findPopup(top, "Edit");
    EXPECT_EQ(outline(findPopup(edit->children, "Set Selectioin Ratio")->children),
              "&Free | &Same as Image | &1:1 | 1:&2 | &3:4 | &9:13 | 1&0:15 | 13:1&8 | 20:2&5 | - "
              "| &Portrait | &Landscape");
    const MenuNode* tools = findPopup(top, "Tools");
    EXPECT_EQ(tools->children.front().label, "&Email Images...");
    const MenuNode* file = findPopup(top, "File");
    std::set<std::string_view> fileLabels;
    for (const MenuNode& n : file->children) {
        fileLabels.insert(n.label);
    }
    EXPECT_TRUE(fileLabels.count("Add to &Favorites..."));
    EXPECT_TRUE(fileLabels.count("&Reopen"));
}

TEST(MenuLayout, ListContextMenusInTheirExactOrder) {
    EXPECT_EQ(outline(contextItems(MenuId::ListImage)),
              "&View and Edit | View in &Full Screen | &Slide Show | - | [Open Wit&h] | "
              "&Add to Favorites... | &Locate on Disk | - | Cu&t | &Copy | "
              "C&opy Image to Clipboard | - | &Delete | &Rename | - | Cop&y to Folder... | "
              "&Move to Folder... | - | E&xport... | &Print... | &Email Images... | "
              "[Set &Wallpaper] | - | Propert&ies...");
    EXPECT_EQ(outline(findPopup(contextItems(MenuId::ListImage), "Set Wallpaper")->children),
              "&Center | &Title | &Stretch | - | &Restore");
    EXPECT_EQ(outline(contextItems(MenuId::ListFolder)),
              "&Browse | &Add to Favorites... | &Locate on Disk | - | Cu&t | &Copy | &Paste | - | "
              "&Delete | &Rename | - | Copy to &Folder... | &Move to Folder... | - | "
              "Propert&ies...");
    EXPECT_EQ(outline(contextItems(MenuId::ListFile)),
              "[Open Wit&h] | &Add to Favorites... | &Locate on Disk | - | Cu&t | &Copy | &Paste "
              "| - | &Delete | &Rename | - | Cop&y to Folder... | &Move to Folder... | - | "
              "Propert&ies...");
    EXPECT_EQ(outline(contextItems(MenuId::ListBackground)),
              "&New Folder | &Add to Favorites... | &Locate on Disk | - | &Export... | &Paste | - "
              "| [&Sort By] | &Refresh | Sele&cte All | - | Propert&ies");
    // The folder menu's Browse is the frame's open command, shown with Enter.
    const MenuNode& browse = contextItems(MenuId::ListFolder).front();
    EXPECT_EQ(browse.command, cmd::kOpen);
    EXPECT_EQ(browse.keyText, "Enter");
    EXPECT_FALSE(browse.accelerator);
    EXPECT_EQ(contextItems(MenuId::ListFolder)[8].keyText, "Del");
    EXPECT_EQ(contextItems(MenuId::ListBackground)[9].keyText, "Ctrl A");
    EXPECT_EQ(contextItems(MenuId::ListBackground)[9].command, cmd::kSelectAll);
}

TEST(MenuLayout, TreeImageViewAndHistogramMenus) {
    EXPECT_EQ(
        commandsOf(contextItems(MenuId::FolderTree)),
        (std::vector<int>{33544, 33545, 33546, 0, 33547, 33548, 33549, 0, 33550, 33551, 0, 33552}));
    EXPECT_EQ(commandsOf(contextItems(MenuId::FavoritesTree)),
              (std::vector<int>{33544, 33546, 0, 33547, 33548, 33549, 0, 33550, 33551, 0, 33552}));
    EXPECT_EQ(outline(contextItems(MenuId::FolderTree)),
              "&New Folder | &Add to Favorites... | &Locate on Disk | - | Cu&t | &Copy | &Paste | "
              "- | &Delete | &Rename | - | Propert&ies...");
    EXPECT_EQ(commandsOf(contextItems(MenuId::ImageView)),
              (std::vector<int>{33024, 33433, 33263, 0, 33428, 33429, 33430, 33431, 0,    33435,
                                33040, 33033, 33034, 0, 33273, 33274, 33373, 33374, 0,    0,
                                33052, 33419, 0,     0, 33075, 33108, 0,     0,     33054}));
    const auto& view = contextItems(MenuId::ImageView);
    EXPECT_EQ(view[5].label, "Pre&vious Image");
    EXPECT_EQ(view[6].label, "First Ima&ge");
    EXPECT_EQ(view[18].label, "Set Select&ioin Ratio");
    EXPECT_EQ(view[23].label, "Open Wit&h");
    EXPECT_EQ(view[26].label, "Set &Wallpaper");
    EXPECT_EQ(view.back().label, "Proper&ties...");
    EXPECT_EQ(commandsOf(contextItems(MenuId::Histogram)),
              (std::vector<int>{32789, 32790, 32791, 32792}));
}

TEST(MenuLayout, MenuKeysAreAcceleratorsOnlyWhenTheTableHoldsThem) {
    const auto& top = menu(MenuId::Browser).items;
    const MenuNode* file = findPopup(top, "File");
    EXPECT_EQ(file->children.front().label, "&Open...");
    EXPECT_EQ(file->children.front().keyText, "Ctrl+O");
    EXPECT_TRUE(file->children.front().accelerator);
    // Keys that belong to views are shown but never flagged.
    std::set<std::string_view> viewKeyTexts{
        "Delete", "Enter", "Ctrl+A", "Ctrl+C",  "Ctrl+V",    "Ctrl+X", "Ctrl+Z", "Ctrl+Y", "+",
        "-",      "*",     "/",      "Page Up", "Page Down", "Home",   "End",    "F1"};
    int shownViewKeys = 0;
    for (MenuId id : allMenus()) {
        forEachNode(menu(id).items, [&](const MenuNode& n) {
            if (viewKeyTexts.count(n.keyText)) {
                ++shownViewKeys;
                EXPECT_FALSE(n.accelerator) << n.command << " " << n.keyText;
            }
        });
    }
    EXPECT_GT(shownViewKeys, 20);
}

TEST(MenuLayout, PopupsAreFoundWithoutMarksOrCase) {
    EXPECT_EQ(plainMenuText("Sort &By"), "Sort By");
    EXPECT_EQ(plainMenuText("&Black && White"), "Black & White");
    EXPECT_TRUE(menuTextMatches("Set &Wallpaper", "set wallpaper"));
    EXPECT_TRUE(menuTextMatches("&Help", "HELP"));
    EXPECT_FALSE(menuTextMatches("Sort &By", "Sort"));
    const auto& top = menu(MenuId::Browser).items;
    EXPECT_EQ(findPopup(top, "sort by"), findPopup(top, "Sort &By"));
    EXPECT_NE(findPopup(top, "SORT BY"), nullptr);
    EXPECT_EQ(findPopup(top, "Sort Forward"), nullptr);  // an item, not a pop-up
    EXPECT_EQ(findPopup(top, "Nothing"), nullptr);
    // Level by level: "Zoom" is the top-level pop-up of the image menu.
    EXPECT_EQ(findPopup(menu(MenuId::Image).items, "Zoom")->label, "&Zoom");
}

TEST(MenuLayout, DropDownsOpenTheirPopups) {
    EXPECT_EQ(commandsOf(dropDownMenu(cmd::kSort)->children),
              (std::vector<int>{33112, 33113, 33114, 33117, 33116, 0, 33118, 33119}));
    EXPECT_EQ(dropDownMenu(cmd::kSort)->label, "&Sort By");
    EXPECT_EQ(dropDownMenu(cmd::kFitImage)->label, "&Zoom");
    EXPECT_EQ(dropDownMenu(cmd::kFitImage)->children.front().command, cmd::kZoomIn);
    EXPECT_EQ(commandsOf(dropDownMenu(cmd::kZoomIn)->children),
              (std::vector<int>{33456, 33457, 33458, 33459, 33460, 33461, 33462, 33463, 33464,
                                33465, 33466}));
    EXPECT_EQ(commandsOf(dropDownMenu(cmd::kZoomOut)->children),
              (std::vector<int>{33466, 33467, 33468, 33469, 33470, 33471, 33472, 33473, 33474}));
    EXPECT_EQ(dropDownMenu(cmd::kZoomIn)->children.back().label, "100%");
    EXPECT_EQ(dropDownMenu(cmd::kZoomOut)->children.front().label, "100%");
    EXPECT_EQ(commandsOf(dropDownMenu(cmd::kSetWallpaper)->children),
              (std::vector<int>{33092, 33093, 33094, 0, 33095}));
    EXPECT_EQ(commandsOf(dropDownMenu(cmd::kEnhanceColors)->children),
              (std::vector<int>{33300, 33299}));
    EXPECT_EQ(dropDownMenu(cmd::kHelp)->label, "&Help");
    EXPECT_EQ(dropDownMenu(cmd::kHelp)->children.front().command, cmd::kHelpRequest);
    EXPECT_EQ(dropDownMenu(cmd::kBack), nullptr);
    EXPECT_EQ(dropDownMenu(0), nullptr);
}

}  // namespace
}  // namespace tarn
