#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "commands/key_bindings.h"
#include "commands/tool_bar_layout.h"

namespace tarn {
namespace {

TEST(CommandTable, EveryIdentifierHasOneRowAndMapsBothWays) {
    std::set<int> ids;
    const auto all = commands();
    for (std::size_t r = 0; r < all.size(); ++r) {
        EXPECT_TRUE(ids.insert(all[r].id).second) << "duplicate " << all[r].id;
        EXPECT_EQ(commandRow(all[r].id), static_cast<int>(r));
        EXPECT_EQ(commandAtRow(static_cast<int>(r)), all[r].id);
        // Toolkit identifiers stay below the toolkit's ceiling of 32767.
        const int base = 6000;
        const int ui = toUiId(all[r].id, base);
        EXPECT_LT(ui, 32767);
        EXPECT_EQ(fromUiId(ui, base), all[r].id);
    }
    EXPECT_EQ(commandRow(12345), -1);
    EXPECT_EQ(findCommand(12345), nullptr);
    EXPECT_EQ(toUiId(12345, 6000), -1);
    EXPECT_EQ(commandAtRow(-1), 0);
    EXPECT_EQ(commandAtRow(static_cast<int>(all.size())), 0);
    EXPECT_EQ(fromUiId(5999, 6000), 0);
    EXPECT_EQ(fromUiId(6000 + static_cast<int>(all.size()), 6000), 0);
    EXPECT_EQ(fromUiId(INT_MIN, 6000), 0);
    EXPECT_EQ(fromUiId(INT_MAX, 6000), 0);
}

struct Expected {
    int id;
    const char* text;
    const char* key;
    const char* tip;
    Route route;
};

TEST(CommandTable, TextsKeysTooltipsAndRoutesAsTheMenusShowThem) {
    const Expected sample[] = {
        {33089, "&Open...", "Ctrl+O", "Open (Ctrl+O)", Route::Frame},
        {33266, "Associated &Program", "F3", "Open With Associated Program (F3)", Route::Mode},
        {33267, "Associated &Editor", "F4", "Open With Associated Editor (F4)", Route::Mode},
        {33073, "&New Folder", "Ctrl+N", "", Route::Focus},
        {33075, "&Add to Favorites...", "Ctrl+D", "Add to Favorites (Ctrl+D)",
         Route::FocusTreeOrList},
        {33108, "&Locate on Disk", "Ctrl+Enter", "", Route::Focus},
        {33511, "&Export...", "Ctrl+Shift+E", "Export (Ctrl+Shift+E)", Route::Browser},
        {33054, "Propert&ies...", "Alt+Enter", "Properties (Alt+Enter)", Route::Focus},
        {33578, "E&xit", "Ctrl+Q", "", Route::Frame},
        {33507, "Copy &Image to Clipboard", "", "", Route::Browser},
        {33052, "&Delete", "Delete", "", Route::Focus},
        {33099, "Cop&y to Folder...", "", "", Route::Focus},
        {33121, "&Select All", "Ctrl+A", "", Route::Mode},
        {33374, "C&lear Selection", "", "", Route::Mode},
        {33573, "I&nvert Selection", "", "", Route::Browser},
        {33481, "&Address Bar", "", "", Route::Frame},
        {33024, "&View in Full Screen", "F11", "View in Full Screen (F11)", Route::Mode},
        {32792, "Gr&ay", "", "", Route::Histogram},
        {33529, "&85x85", "", "", Route::FrameBrowser},
        {33533, "20&0x200", "", "", Route::FrameBrowser},
        {33116, "&Photo Size", "", "", Route::Browser},
        {33118, "Sort &Forward", "+", "", Route::Browser},
        {33417, "&Back", "Alt+Left", "Back (Alt+Left Arrow)", Route::Frame},
        {158, "&Forward", "Alt+Right", "Forward (Alt+Right Arrow)", Route::Frame},
        {159, "&Up", "", "Go Up One Level", Route::Frame},
        {33120, "&Refresh", "F5", "Refresh (F5)", Route::Browser},
        {160, "", "", "Sort", Route::Frame},
        {33427, "&E-mail Images...", "", "Email Images", Route::Mode},
        {33093, "&Title", "", "", Route::Mode},
        {33485, "Rotate &180 Degrees", "", "", Route::Frame},
        {33273, "Rotate &Left 90 Degrees", "", "", Route::Mode},
        {57670, "&Help", "F1", "Help (F1)", Route::Frame},
        {33513, "&About Tarn Photo Viewer...", "", "", Route::Frame},
        {33488, "&Reopen", "Ctrl+R", "", Route::Image},
        {33539, "&Close", "Ctrl+F4", "", Route::Image},
        {1114, "Save &As...", "Ctrl+Shift+S", "Save As (Ctrl+Shift+S)", Route::Image},
        {33263, "&Browse", "Enter", "Browse (Enter)", Route::Image},
        {33251, "&Redo", "Ctrl+Y", "Redo (Ctrl+Y)", Route::Image},
        {33373, "Cr&op to Selection", "Ctrl+Shift+X", "Crop to Selection (Ctrl+Shift+X)",
         Route::Image},
        {33404, "13:1&8", "", "", Route::Image},
        {33433, "&Quick Slide Show", "Pause", "Quick Slide Show (Pause)", Route::Image},
        {33428, "&Next Image", "Page Down", "Next Image (Page Down)", Route::Image},
        {33521, "&Last Page", "", "", Route::Image},
        {33366, "&Zoom Tool", "Ctrl+3", "Zoom Tool (Ctrl+3)", Route::Image},
        {33361, "&Histogram", "", "", Route::Frame},
        {33040, "Zoom &Out", "-", "Zoom Out (-)", Route::Image},
        {33033, "&Actual Size", "/", "Actual Size (/)", Route::Image},
        {32984, "Fit &Width", "", "Fit Width", Route::Image},
        {33038, "&Zoom to...", "", "Zoom to", Route::Image},
        {167, "", "", "Fit Image (*)", Route::Image},
        {33466, "100%", "", "", Route::FrameImage},
        {33474, "7%", "", "", Route::FrameImage},
        {33321, "&Black && White (1 bit)", "", "", Route::Image},
        {33331, "2&56 Color", "", "", Route::Image},
        {33286, "Se&t DIP...", "", "", Route::Image},
        {33574, "&Vertical Flip", "Shift+V", "Vertical Flip (Shift+V)", Route::Image},
        {33300, "&Enhance Colors...", "Ctrl+E", "Enhance Colors (Ctrl+E)", Route::Image},
        {33296, "RGB>GRB", "", "", Route::Image},
        {33229, "So&ften", "", "", Route::Image},
        {33342, "Gaussian Blur &3 x 3", "", "", Route::Image},
        {33352, "&Light", "", "", Route::Image},
        {33563, "&View and Edit", "Enter", "", Route::Browser},
        {33550, "&Delete", "", "", Route::Tree},
    };
    for (const Expected& e : sample) {
        const Command* c = findCommand(e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_EQ(c->text, e.text) << e.id;
        EXPECT_EQ(c->keyText, e.key) << e.id;
        EXPECT_EQ(toolTipText(*c), e.tip) << e.id;
        EXPECT_EQ(c->route, e.route) << e.id;
    }
}

TEST(CommandTable, CheckMarksOnlyWhereAStateIsShown) {
    for (int id : {33478, 33481, 33479, 32789, 33526, 33533, 33112, 33119, 33364, 33361, 33034,
                   33037, 33390, 33389, 33456, 33474, 33433, 33024}) {
        ASSERT_NE(findCommand(id), nullptr) << id;
        EXPECT_TRUE(findCommand(id)->checkable) << id;
    }
    for (int id : {33089, 33052, 33435, 33040, 33038, 33106, 33417, 167}) {
        EXPECT_FALSE(findCommand(id)->checkable) << id;
    }
}

TEST(CommandTable, ToolBarButtonsAreAllInTheTable) {
    for (const auto bar : {browserToolBar(), imageToolBar()}) {
        for (const ToolBarSlot& slot : bar) {
            if (slot.command != 0) {
                EXPECT_NE(findCommand(slot.command), nullptr) << slot.command;
            }
        }
    }
    EXPECT_EQ(performedCommand(cmd::kFitImage), cmd::kZoomFitImage);
    EXPECT_EQ(performedCommand(cmd::kZoomIn), cmd::kZoomIn);
}

TEST(CommandRouting, FileCommandsFollowTheFocusedPane) {
    const auto browser = FrameMode::Browser;
    EXPECT_EQ(routeCommand(cmd::kDelete, browser, FocusedPane::FolderTree), Receiver::FolderTree);
    EXPECT_EQ(routeCommand(cmd::kDelete, browser, FocusedPane::FavoritesTree),
              Receiver::FavoritesTree);
    EXPECT_EQ(routeCommand(cmd::kDelete, browser, FocusedPane::ThumbnailList),
              Receiver::ThumbnailList);
    EXPECT_EQ(routeCommand(cmd::kDelete, browser, FocusedPane::Other), Receiver::ThumbnailList);
    EXPECT_EQ(routeCommand(cmd::kDelete, FrameMode::Image, FocusedPane::FolderTree),
              Receiver::ImageView);
    EXPECT_EQ(routeCommand(cmd::kDelete, FrameMode::SlideShow, FocusedPane::ThumbnailList),
              Receiver::None);
    // Add to Favorites from the favorites tree acts on the list.
    EXPECT_EQ(routeCommand(cmd::kAddToFavorites, browser, FocusedPane::FavoritesTree),
              Receiver::ThumbnailList);
    EXPECT_EQ(routeCommand(cmd::kAddToFavorites, browser, FocusedPane::FolderTree),
              Receiver::FolderTree);
}

TEST(CommandRouting, ModeBrowserImageAndFrameRoutes) {
    const auto list = FocusedPane::ThumbnailList;
    EXPECT_EQ(routeCommand(cmd::kSlideShow, FrameMode::Browser, list), Receiver::ThumbnailList);
    EXPECT_EQ(routeCommand(cmd::kSlideShow, FrameMode::Image, list), Receiver::ImageView);
    EXPECT_EQ(routeCommand(cmd::kSlideShow, FrameMode::SlideShow, list), Receiver::None);
    // Only in their own mode; a stale accelerator in the other mode goes nowhere.
    EXPECT_EQ(routeCommand(cmd::kRefresh, FrameMode::Image, list), Receiver::None);
    EXPECT_EQ(routeCommand(cmd::kSave, FrameMode::Browser, list), Receiver::None);
    EXPECT_EQ(routeCommand(cmd::kSave, FrameMode::Image, list), Receiver::ImageView);
    EXPECT_EQ(routeCommand(cmd::kThumbSize85, FrameMode::Browser, list), Receiver::Frame);
    EXPECT_EQ(routeCommand(cmd::kThumbSize85, FrameMode::Image, list), Receiver::None);
    EXPECT_EQ(routeCommand(cmd::kZoom100, FrameMode::Image, list), Receiver::Frame);
    EXPECT_EQ(routeCommand(cmd::kZoom100, FrameMode::Browser, list), Receiver::None);
    // The frame's own commands work in every mode, the lossless ones included.
    EXPECT_EQ(routeCommand(cmd::kExit, FrameMode::SlideShow, list), Receiver::Frame);
    EXPECT_EQ(routeCommand(cmd::kJpegRotateLeft, FrameMode::SlideShow, list), Receiver::Frame);
    EXPECT_EQ(routeCommand(cmd::kHistogramRed, FrameMode::Browser, list),
              Receiver::PreviewHistogram);
    // Tree menu commands and unknown numbers never reach a receiver through the frame.
    EXPECT_EQ(routeCommand(cmd::kTreeDelete, FrameMode::Browser, FocusedPane::FolderTree),
              Receiver::None);
    EXPECT_EQ(routeCommand(4242, FrameMode::Browser, list), Receiver::None);
}

TEST(CommandTable, PresetFactorsAndThumbnailSizes) {
    EXPECT_EQ(zoomPresetFactor(cmd::kZoom1600), 16.0);
    EXPECT_EQ(zoomPresetFactor(cmd::kZoom100), 1.0);
    EXPECT_EQ(zoomPresetFactor(cmd::kZoom150), 1.5);
    EXPECT_EQ(zoomPresetFactor(cmd::kZoom7), 0.07);
    EXPECT_FALSE(zoomPresetFactor(cmd::kZoomIn));
    EXPECT_EQ(thumbnailSizeOf(cmd::kThumbSize36), 36);
    EXPECT_EQ(thumbnailSizeOf(cmd::kThumbSize85), 85);
    EXPECT_EQ(thumbnailSizeOf(cmd::kThumbSize128), 128);
    EXPECT_EQ(thumbnailSizeOf(cmd::kThumbSize200), 200);
    EXPECT_FALSE(thumbnailSizeOf(cmd::kThumbSize36 - 1));
    EXPECT_FALSE(thumbnailSizeOf(cmd::kThumbSize200 + 1));
}

TEST(Accelerators, HoldEveryEntryOnce) {
    const std::pair<const char*, int> expected[] = {
        {"Ctrl+D", 33075},      {"Alt+Left", 33417},     {"Alt+Right", 158},
        {"Ctrl+F4", 33539},     {"Ctrl+Shift+X", 33373}, {"Ctrl+E", 33300},
        {"Ctrl+Q", 33578},      {"Ctrl+Shift+E", 33511}, {"F11", 33024},
        {"Shift+H", 33541},     {"Ctrl+Enter", 33108},   {"Ctrl+N", 33073},
        {"Ctrl+O", 33089},      {"F3", 33266},           {"F4", 33267},
        {"Ctrl+1", 33364},      {"Ctrl+2", 33365},       {"Ctrl+3", 33366},
        {"Ctrl+P", 33096},      {"Alt+Enter", 33054},    {"Pause", 33433},
        {"F5", 33120},          {"F2", 33419},           {"Ctrl+R", 33488},
        {"Shift+L", 33273},     {"Shift+R", 33274},      {"Ctrl+S", 132},
        {"Ctrl+Shift+S", 1114}, {"Ctrl+L", 33106},       {"Shift+V", 33574},
    };
    std::set<std::pair<std::string, int>> table;
    for (const Accelerator& a : accelerators()) {
        EXPECT_TRUE(table.insert({keyText(a.key), a.command}).second) << keyText(a.key);
        EXPECT_NE(findCommand(a.command), nullptr) << a.command;
    }
    std::set<std::pair<std::string, int>> wanted;
    for (const auto& [key, command] : expected) {
        wanted.insert({key, command});
    }
    EXPECT_EQ(table, wanted);
    // A key the menu shows for a command is its accelerator, when the command has one.
    for (const Accelerator& a : accelerators()) {
        const auto shown = findCommand(a.command)->keyText;
        EXPECT_TRUE(shown.empty() || shown == keyText(a.key)) << a.command;
        EXPECT_EQ(isAcceleratorKey(a.command, keyText(a.key)), true);
    }
}

TEST(Accelerators, OnlyTableKeysCountAsAccelerators) {
    EXPECT_TRUE(isAcceleratorKey(cmd::kOpen, "Ctrl+O"));
    EXPECT_FALSE(isAcceleratorKey(cmd::kOpen, "Enter"));  // the folder menu's "&Browse"
    EXPECT_FALSE(isAcceleratorKey(cmd::kDelete, "Delete"));
    EXPECT_FALSE(isAcceleratorKey(cmd::kSelectAll, "Ctrl+A"));
    EXPECT_FALSE(isAcceleratorKey(cmd::kZoomIn, "+"));
    EXPECT_FALSE(isAcceleratorKey(cmd::kHelpRequest, "F1"));
    EXPECT_FALSE(isAcceleratorKey(cmd::kOpen, ""));
}

TEST(KeyBindings, ViewKeysNeverCollideWithAccelerators) {
    // The frame would take such a key before the view sees it.
    for (const ViewKey& v : viewKeys()) {
        EXPECT_NE(findCommand(v.command), nullptr) << keyText(v.key);
        for (const Accelerator& a : accelerators()) {
            EXPECT_FALSE(v.key == a.key) << keyText(v.key);
        }
    }
}

TEST(KeyBindings, ViewKeysGiveTheirCommands) {
    const KeyStroke enter{KeyCode::Enter};
    EXPECT_EQ(viewKeyCommand(KeyScope::ThumbnailList, enter), cmd::kViewAndEdit);
    EXPECT_EQ(viewKeyCommand(KeyScope::ImageView, enter), cmd::kBrowse);
    EXPECT_EQ(viewKeyCommand(KeyScope::ImageView, {KeyCode::Escape}), cmd::kBrowse);
    EXPECT_EQ(viewKeyCommand(KeyScope::ThumbnailList, {KeyCode::NumpadAdd}), cmd::kSortForward);
    EXPECT_EQ(viewKeyCommand(KeyScope::ThumbnailList, {KeyCode::NumpadSubtract}),
              cmd::kSortBackward);
    // The main keyboard's "+" sorts nothing in the list but zooms in the image view.
    EXPECT_EQ(viewKeyCommand(KeyScope::ThumbnailList, {KeyCode::Char, '+'}), 0);
    EXPECT_EQ(viewKeyCommand(KeyScope::ImageView, {KeyCode::Char, '='}), cmd::kZoomIn);
    EXPECT_EQ(viewKeyCommand(KeyScope::ImageView, {KeyCode::Char, '8'}), cmd::kZoomFitImage);
    EXPECT_EQ(viewKeyCommand(KeyScope::ImageView, {KeyCode::Left}), cmd::kPreviousImage);
    EXPECT_EQ(viewKeyCommand(KeyScope::ImageView, {KeyCode::Char, 'Z', true}), cmd::kUndo);
    EXPECT_EQ(viewKeyCommand(KeyScope::Trees, {KeyCode::Delete}), cmd::kDelete);
    EXPECT_EQ(viewKeyCommand(KeyScope::Trees, {KeyCode::Char, 'A', true}), 0);
    EXPECT_EQ(viewKeyCommand(KeyScope::Framework, {KeyCode::F1}), cmd::kHelpRequest);
}

TEST(KeyBindings, TextFieldsKeepTheirKeys) {
    EXPECT_TRUE(keyBelongsToTextFields({KeyCode::Delete}));
    EXPECT_TRUE(keyBelongsToTextFields({KeyCode::Char, '+'}));
    EXPECT_TRUE(keyBelongsToTextFields({KeyCode::NumpadAdd}));
    EXPECT_TRUE(keyBelongsToTextFields({KeyCode::Home}));
    EXPECT_TRUE(keyBelongsToTextFields({KeyCode::Char, 'A', true}));
    EXPECT_TRUE(keyBelongsToTextFields({KeyCode::Char, 'Z', true}));
    // Shift+H types a capital H.
    EXPECT_TRUE(keyBelongsToTextFields({KeyCode::Char, 'H', false, false, true}));
    EXPECT_FALSE(keyBelongsToTextFields({KeyCode::F5}));
    EXPECT_FALSE(keyBelongsToTextFields({KeyCode::Pause}));
    EXPECT_FALSE(keyBelongsToTextFields({KeyCode::Char, 'O', true}));
    EXPECT_FALSE(keyBelongsToTextFields({KeyCode::Char, 'X', true, false, true}));
    EXPECT_FALSE(keyBelongsToTextFields({KeyCode::Left, 0, false, true}));
    EXPECT_FALSE(keyBelongsToTextFields({KeyCode::Enter, 0, true}));
}

TEST(KeyBindings, AcceleratorsThatWouldTakeTypingFromTextFields) {
    // Shift+letter entries type capitals in the address bar and the label editors; the frame
    // must not fire them while a text field has the focus.
    std::set<std::string> typing;
    for (const Accelerator& a : accelerators()) {
        if (keyBelongsToTextFields(a.key)) {
            typing.insert(keyText(a.key));
        }
    }
    EXPECT_EQ(typing, (std::set<std::string>{"Shift+H", "Shift+L", "Shift+R", "Shift+V"}));
}

TEST(KeyBindings, KeyTextsReadAsTheMenusShowThem) {
    EXPECT_EQ(keyText({KeyCode::Char, 'E', true, false, true}), "Ctrl+Shift+E");
    EXPECT_EQ(keyText({KeyCode::PageDown}), "Page Down");
    EXPECT_EQ(keyText({KeyCode::Right, 0, false, true}), "Alt+Right");
    EXPECT_EQ(keyText({KeyCode::NumpadSubtract}), "-");
    EXPECT_EQ(keyText({KeyCode::F4, 0, true}), "Ctrl+F4");
}

TEST(KeyBindings, EveryMenuKeyTextNamesAKey) {
    // Accelerators are read from these texts, so each must name the key it shows.
    for (const Command& c : commands()) {
        if (c.keyText.empty()) {
            continue;
        }
        const auto key = parseKeyText(c.keyText);
        ASSERT_TRUE(key.has_value()) << c.keyText;
        EXPECT_EQ(keyText(*key), c.keyText);
    }
    EXPECT_EQ(parseKeyText("Ctrl+Shift+X"), (KeyStroke{KeyCode::Char, 'X', true, false, true}));
    EXPECT_EQ(parseKeyText("Alt+Enter"), (KeyStroke{KeyCode::Enter, 0, false, true}));
    EXPECT_FALSE(parseKeyText("Ctrl+"));
    EXPECT_FALSE(parseKeyText("Ctrl+x"));
    EXPECT_FALSE(parseKeyText("Hyper+F"));
}

}  // namespace
}  // namespace tarn
