#include "commands/menu_layout.h"

#include <array>
#include <cctype>

#include "commands/command_table.h"
#include "commands/key_bindings.h"

namespace tarn {

namespace {

// An item with the table's texts, or with the text (and key) this menu gives it.
MenuNode item(int id, std::string_view text = {}, std::string_view key = {}) {
    MenuNode n;
    n.kind = MenuNodeKind::Command;
    n.command = id;
    n.label = text;
    n.keyText = key;
    if (const Command* c = findCommand(id)) {
        if (n.label.empty()) {
            n.label = c->text;
        }
        if (n.keyText.empty()) {
            n.keyText = c->keyText;
        }
        n.checkable = c->checkable;
    }
    n.accelerator = isAcceleratorKey(id, n.keyText);
    return n;
}

MenuNode sep() {
    return MenuNode{};
}

MenuNode popup(std::string_view text, std::vector<MenuNode> children) {
    MenuNode n;
    n.kind = MenuNodeKind::Popup;
    n.label = text;
    n.children = std::move(children);
    return n;
}

Menu contextMenu(MenuId id, std::string_view caption, std::vector<MenuNode> children) {
    std::vector<MenuNode> items;
    items.push_back(popup(caption, std::move(children)));
    return Menu{id, caption, std::move(items)};
}

MenuNode openWith() {
    return popup("Open Wit&h", {item(cmd::kOpenWithProgram), item(cmd::kOpenWithEditor)});
}

MenuNode setWallpaper() {
    return popup("Set &Wallpaper",
                 {item(cmd::kWallpaperCenter), item(cmd::kWallpaperTile),
                  item(cmd::kWallpaperStretch), sep(), item(cmd::kWallpaperRestore)});
}

MenuNode jpegLossless() {
    return popup(
        "&JPEG Lossless Transformations",
        {item(cmd::kJpegRotateLeft), item(cmd::kJpegRotateRight), item(cmd::kJpegRotate180), sep(),
         item(cmd::kJpegFlipVertical), item(cmd::kJpegFlipHorizontal)});
}

MenuNode sortBy(std::string_view text) {
    return popup(text, {item(cmd::kSortByName), item(cmd::kSortByDate), item(cmd::kSortByType),
                        item(cmd::kSortBySize), item(cmd::kSortByPhotoSize), sep(),
                        item(cmd::kSortForward), item(cmd::kSortBackward)});
}

MenuNode selectionRatio() {
    return popup("Set Select&ioin Ratio",
                 {item(cmd::kRatioFree), item(cmd::kRatioSameAsImage), item(cmd::kRatio1x1),
                  item(cmd::kRatio1x2), item(cmd::kRatio3x4), item(cmd::kRatio9x13),
                  item(cmd::kRatio10x15), item(cmd::kRatio13x18), item(cmd::kRatio20x25), sep(),
                  item(cmd::kRatioPortrait), item(cmd::kRatioLandscape)});
}

MenuNode helpMenu() {
    return popup("&Help",
                 {item(cmd::kHelpRequest), sep(), item(cmd::kWebsite), item(cmd::kCheckForUpdates),
                  item(cmd::kContactUs), sep(), item(cmd::kAbout)});
}

Menu browserMenu() {
    std::vector<MenuNode> top;
    top.push_back(popup(
        "&File", {item(cmd::kOpen), openWith(), sep(), item(cmd::kNewFolder),
                  item(cmd::kAddToFavorites), item(cmd::kLocateOnDisk), sep(), item(cmd::kExport),
                  item(cmd::kPrint), sep(), item(cmd::kProperties), sep(), item(cmd::kExit)}));
    top.push_back(popup(
        "&Edit",
        {item(cmd::kCut), item(cmd::kCopy), item(cmd::kPaste), item(cmd::kCopyImageToClipboard),
         sep(), item(cmd::kDelete), item(cmd::kRename), sep(), item(cmd::kCopyToFolder),
         item(cmd::kMoveToFolder), sep(), item(cmd::kSelectAll), item(cmd::kSelectAllFiles),
         item(cmd::kSelectAllImages), item(cmd::kClearSelection), item(cmd::kInvertSelection)}));
    top.push_back(popup(
        "&View", {item(cmd::kToolBar), item(cmd::kAddressBar), item(cmd::kStatusBar), sep(),
                  item(cmd::kSlideShow), item(cmd::kFullScreen), sep(),
                  popup("&Histogram", {item(cmd::kHistogramRed), item(cmd::kHistogramGreen),
                                       item(cmd::kHistogramBlue), item(cmd::kHistogramGray)}),
                  popup("Th&umbnail Size", {item(cmd::kThumbSize36), item(cmd::kThumbSize48),
                                            item(cmd::kThumbSize64), item(cmd::kThumbSize85),
                                            item(cmd::kThumbSize100), item(cmd::kThumbSize128),
                                            item(cmd::kThumbSize150), item(cmd::kThumbSize200)}),
                  sortBy("Sort &By"),
                  popup("&Goto", {item(cmd::kBack), item(cmd::kForward), item(cmd::kUp)}), sep(),
                  item(cmd::kRefresh)}));
    top.push_back(
        popup("&Tools", {item(cmd::kEmailImages), setWallpaper(), sep(), jpegLossless(),
                         popup("&Rotate", {item(cmd::kRotateLeft), item(cmd::kRotateRight),
                                           item(cmd::kRotate180)})}));
    top.push_back(helpMenu());
    return Menu{MenuId::Browser, "Browser", std::move(top)};
}

Menu imageMenu() {
    std::vector<MenuNode> top;
    top.push_back(
        popup("&File",
              {item(cmd::kOpen), openWith(), item(cmd::kReopen), item(cmd::kClose), sep(),
               item(cmd::kSave), item(cmd::kSaveAs), sep(), item(cmd::kBrowse), sep(),
               item(cmd::kAddToFavorites, "Add to &Favorites..."), item(cmd::kLocateOnDisk), sep(),
               item(cmd::kPrint), sep(), item(cmd::kProperties), sep(), item(cmd::kExit)}));
    top.push_back(popup(
        "&Edit", {item(cmd::kUndo), item(cmd::kRedo), sep(), item(cmd::kCut), item(cmd::kCopy),
                  item(cmd::kPaste), item(cmd::kClear), sep(), item(cmd::kSetBackgroundColor),
                  sep(), item(cmd::kCropToSelection), item(cmd::kSelectAll, "Select &All"),
                  item(cmd::kClearSelection, "Cl&ear Selection"), selectionRatio(), sep(),
                  item(cmd::kDelete, "&Delete File"), item(cmd::kRename, "Re&name..."),
                  item(cmd::kCopyToFolder), item(cmd::kMoveToFolder)}));
    top.push_back(
        popup("&View", {item(cmd::kToolBar), item(cmd::kStatusBar), sep(), item(cmd::kSlideShow),
                        item(cmd::kQuickSlideShow), item(cmd::kFullScreen, "&Full Screen"), sep(),
                        popup("F&ile", {item(cmd::kNextImage), item(cmd::kPreviousImage),
                                        item(cmd::kFirstImage), item(cmd::kLastImage)}),
                        popup("P&age", {item(cmd::kNextPage), item(cmd::kPreviousPage),
                                        item(cmd::kFirstPage), item(cmd::kLastPage)}),
                        sep(), item(cmd::kPanTool), item(cmd::kSelectTool), item(cmd::kZoomTool),
                        sep(), item(cmd::kShowHistogram)}));
    top.push_back(popup(
        "&Zoom", {item(cmd::kZoomIn), item(cmd::kZoomOut), sep(), item(cmd::kActualSize),
                  item(cmd::kZoomFitImage), item(cmd::kZoomFitWidth), item(cmd::kZoomFitHeight),
                  sep(), item(cmd::kZoomLock), item(cmd::kZoomTo)}));
    top.push_back(popup(
        "&Image",
        {item(cmd::kCountColors), sep(),
         popup("&Rotate",
               {item(cmd::kRotateLeft, "Rotate &Left"), item(cmd::kRotateRight, "Rotate &Right"),
                item(cmd::kRotate180), sep(), item(cmd::kRotateCustom)}),
         popup("&Flip", {item(cmd::kFlipVertical), item(cmd::kFlipHorizontal)}), sep(),
         item(cmd::kEnhanceColors), item(cmd::kAdjustHsl), sep(), item(cmd::kResize),
         item(cmd::kCanvasSize),
         popup("Change Color &Depth",
               {item(cmd::kDepthBlackWhite), item(cmd::kDepth8Grays), item(cmd::kDepth16Grays),
                item(cmd::kDepth256Grays), item(cmd::kDepth8Colors), item(cmd::kDepth16Colors),
                item(cmd::kDepth256Colors), item(cmd::kDepth24Bit), item(cmd::kDepth32Bit), sep(),
                item(cmd::kDepthCustom)}),
         item(cmd::kSetDpi), sep(), item(cmd::kRedEyeReduction),
         popup("S&wap Colors", {item(cmd::kSwapRbg), item(cmd::kSwapBgr), item(cmd::kSwapBrg),
                                item(cmd::kSwapGrb), item(cmd::kSwapGbr)})}));
    top.push_back(popup(
        "Effe&cts", {item(cmd::kNegative),
                     item(cmd::kGrayscale),
                     item(cmd::kBlackWhite),
                     item(cmd::kThreshold),
                     item(cmd::kColorize),
                     item(cmd::kSepia),
                     item(cmd::kSolarize),
                     sep(),
                     item(cmd::kGaussianBlur3),
                     item(cmd::kGaussianBlur5),
                     item(cmd::kAverageBlur),
                     item(cmd::kSoften),
                     item(cmd::kSharpen),
                     item(cmd::kAddNoise),
                     sep(),
                     item(cmd::kEmboss),
                     item(cmd::kErode),
                     popup("Edge &Detect",
                           {item(cmd::kEdgeHeavy), item(cmd::kEdgeMedium), item(cmd::kEdgeLight)}),
                     item(cmd::kSpread),
                     item(cmd::kStripe),
                     item(cmd::kWind),
                     item(cmd::kMosaic)}));
    top.push_back(popup("&Tools", {item(cmd::kEmailImages, "&Email Images..."), setWallpaper(),
                                   sep(), jpegLossless()}));
    top.push_back(helpMenu());
    return Menu{MenuId::Image, "Image", std::move(top)};
}

std::vector<Menu> buildMenus() {
    std::vector<Menu> menus;
    menus.push_back(browserMenu());
    menus.push_back(imageMenu());
    menus.push_back(contextMenu(MenuId::ListImage, "ListCtrl Popup Menu - Photo",
                                {item(cmd::kViewAndEdit),
                                 item(cmd::kFullScreen, "View in &Full Screen"),
                                 item(cmd::kSlideShow, "&Slide Show"),
                                 sep(),
                                 openWith(),
                                 item(cmd::kAddToFavorites),
                                 item(cmd::kLocateOnDisk),
                                 sep(),
                                 item(cmd::kCut),
                                 item(cmd::kCopy),
                                 item(cmd::kCopyImageToClipboard, "C&opy Image to Clipboard"),
                                 sep(),
                                 item(cmd::kDelete),
                                 item(cmd::kRename),
                                 sep(),
                                 item(cmd::kCopyToFolder),
                                 item(cmd::kMoveToFolder),
                                 sep(),
                                 item(cmd::kExport, "E&xport..."),
                                 item(cmd::kPrint),
                                 item(cmd::kEmailImages, "&Email Images..."),
                                 setWallpaper(),
                                 sep(),
                                 item(cmd::kProperties)}));
    menus.push_back(
        contextMenu(MenuId::ListFolder, "ListCtrl Popup Menu - Folder",
                    {item(cmd::kOpen, "&Browse", "Enter"), item(cmd::kAddToFavorites),
                     item(cmd::kLocateOnDisk), sep(), item(cmd::kCut), item(cmd::kCopy),
                     item(cmd::kPaste), sep(), item(cmd::kDelete, {}, "Del"), item(cmd::kRename),
                     sep(), item(cmd::kCopyToFolder, "Copy to &Folder..."),
                     item(cmd::kMoveToFolder), sep(), item(cmd::kProperties)}));
    menus.push_back(contextMenu(
        MenuId::ListFile, "ListCtrl Popup Menu - Folder",
        {openWith(), item(cmd::kAddToFavorites), item(cmd::kLocateOnDisk), sep(), item(cmd::kCut),
         item(cmd::kCopy), item(cmd::kPaste), sep(), item(cmd::kDelete, {}, "Del"),
         item(cmd::kRename), sep(), item(cmd::kCopyToFolder), item(cmd::kMoveToFolder), sep(),
         item(cmd::kProperties)}));
    menus.push_back(
        contextMenu(MenuId::ListBackground, "ListCtrl Popup Menu - SYS",
                    {item(cmd::kNewFolder), item(cmd::kAddToFavorites), item(cmd::kLocateOnDisk),
                     sep(), item(cmd::kExport), item(cmd::kPaste), sep(), sortBy("&Sort By"),
                     item(cmd::kRefresh), item(cmd::kSelectAll, "Sele&cte All", "Ctrl A"), sep(),
                     item(cmd::kProperties, "Propert&ies")}));
    menus.push_back(contextMenu(
        MenuId::FolderTree, "ShellTreePopup",
        {item(cmd::kTreeNewFolder), item(cmd::kTreeAddToFavorites), item(cmd::kTreeLocateOnDisk),
         sep(), item(cmd::kTreeCut), item(cmd::kTreeCopy), item(cmd::kTreePaste), sep(),
         item(cmd::kTreeDelete), item(cmd::kTreeRename), sep(), item(cmd::kTreeProperties)}));
    menus.push_back(contextMenu(
        MenuId::FavoritesTree, "Favorites Popup Menu",
        {item(cmd::kTreeNewFolder), item(cmd::kTreeLocateOnDisk), sep(), item(cmd::kTreeCut),
         item(cmd::kTreeCopy), item(cmd::kTreePaste), sep(), item(cmd::kTreeDelete),
         item(cmd::kTreeRename), sep(), item(cmd::kTreeProperties)}));
    menus.push_back(contextMenu(MenuId::ImageView, "Image View Menu",
                                {item(cmd::kFullScreen, "&Full Screen"),
                                 item(cmd::kQuickSlideShow),
                                 item(cmd::kBrowse),
                                 sep(),
                                 item(cmd::kNextImage),
                                 item(cmd::kPreviousImage, "Pre&vious Image"),
                                 item(cmd::kFirstImage, "First Ima&ge"),
                                 item(cmd::kLastImage),
                                 sep(),
                                 item(cmd::kZoomIn),
                                 item(cmd::kZoomOut),
                                 item(cmd::kActualSize),
                                 item(cmd::kZoomFitImage),
                                 sep(),
                                 item(cmd::kRotateLeft, "Rotate &Left"),
                                 item(cmd::kRotateRight, "Rotate &Right"),
                                 item(cmd::kCropToSelection),
                                 item(cmd::kClearSelection, "Cl&ear Selection"),
                                 selectionRatio(),
                                 sep(),
                                 item(cmd::kDelete),
                                 item(cmd::kRename),
                                 sep(),
                                 openWith(),
                                 item(cmd::kAddToFavorites, "Add to &Favorites..."),
                                 item(cmd::kLocateOnDisk),
                                 setWallpaper(),
                                 sep(),
                                 item(cmd::kProperties, "Proper&ties...")}));
    menus.push_back(contextMenu(MenuId::Histogram, "Histogram",
                                {item(cmd::kHistogramRed), item(cmd::kHistogramGreen),
                                 item(cmd::kHistogramBlue), item(cmd::kHistogramGray)}));
    menus.push_back(contextMenu(
        MenuId::ZoomInPresets, "Zoom In",
        {item(cmd::kZoom1600), item(cmd::kZoom1200), item(cmd::kZoom800), item(cmd::kZoom700),
         item(cmd::kZoom600), item(cmd::kZoom500), item(cmd::kZoom400), item(cmd::kZoom300),
         item(cmd::kZoom200), item(cmd::kZoom150), item(cmd::kZoom100)}));
    menus.push_back(contextMenu(MenuId::ZoomOutPresets, "Zoom Out",
                                {item(cmd::kZoom100), item(cmd::kZoom70), item(cmd::kZoom50),
                                 item(cmd::kZoom30), item(cmd::kZoom25), item(cmd::kZoom20),
                                 item(cmd::kZoom15), item(cmd::kZoom10), item(cmd::kZoom7)}));
    menus.push_back(contextMenu(MenuId::AdjustColors, "Adjust Colors",
                                {item(cmd::kEnhanceColors), item(cmd::kAdjustHsl)}));
    return menus;
}

const std::vector<Menu>& allMenuData() {
    static const std::vector<Menu> menus = buildMenus();
    return menus;
}

constexpr std::array kMenuIds{
    MenuId::Browser,      MenuId::Image,          MenuId::ListImage,     MenuId::ListFolder,
    MenuId::ListFile,     MenuId::ListBackground, MenuId::FolderTree,    MenuId::FavoritesTree,
    MenuId::ImageView,    MenuId::Histogram,      MenuId::ZoomInPresets, MenuId::ZoomOutPresets,
    MenuId::AdjustColors,
};

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

const Menu& menu(MenuId id) {
    for (const Menu& m : allMenuData()) {
        if (m.id == id) {
            return m;
        }
    }
    // Every MenuId is built above; reaching here is a programming error.
    return allMenuData().front();
}

std::span<const MenuId> allMenus() {
    return kMenuIds;
}

const std::vector<MenuNode>& contextItems(MenuId id) {
    return menu(id).items.front().children;
}

std::string plainMenuText(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += text[i];
    }
    return plain;
}

bool menuTextMatches(std::string_view itemText, std::string_view wanted) {
    const std::string a = plainMenuText(itemText);
    const std::string b = plainMenuText(wanted);
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

const MenuNode* findPopup(std::span<const MenuNode> nodes, std::string_view text) {
    std::vector<const MenuNode*> level;
    for (const MenuNode& n : nodes) {
        level.push_back(&n);
    }
    while (!level.empty()) {
        std::vector<const MenuNode*> next;
        for (const MenuNode* n : level) {
            if (n->kind != MenuNodeKind::Popup) {
                continue;
            }
            if (menuTextMatches(n->label, text)) {
                return n;
            }
            for (const MenuNode& child : n->children) {
                next.push_back(&child);
            }
        }
        level = std::move(next);
    }
    return nullptr;
}

const MenuNode* dropDownMenu(int buttonCommand) {
    switch (buttonCommand) {
        case cmd::kSort:
            return findPopup(contextItems(MenuId::ListBackground), "Sort By");
        case cmd::kFitImage:
            return findPopup(menu(MenuId::Image).items, "Zoom");
        case cmd::kZoomOut:
            return &menu(MenuId::ZoomOutPresets).items.front();
        case cmd::kZoomIn:
            return &menu(MenuId::ZoomInPresets).items.front();
        case cmd::kSetWallpaper: {
            const MenuNode* tools = findPopup(menu(MenuId::Browser).items, "Tools");
            return tools != nullptr ? findPopup(tools->children, "Set Wallpaper") : nullptr;
        }
        case cmd::kEnhanceColors:
            return &menu(MenuId::AdjustColors).items.front();
        case cmd::kHelp:
            return findPopup(menu(MenuId::Browser).items, "Help");
        default:
            return nullptr;
    }
}

}  // namespace tarn
