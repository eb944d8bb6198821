#include "commands/command_table.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tarn {

namespace {

using R = Route;

constexpr Command row(int id, std::string_view text, std::string_view key, std::string_view tip,
                      Route route, bool checkable = false, int performs = 0) {
    return {id, text, key, tip, route, checkable, performs};
}
constexpr Command check(int id, std::string_view text, Route route, std::string_view key = {},
                        std::string_view tip = {}) {
    return {id, text, key, tip, route, true, 0};
}

constexpr std::array kCommands{
    // File
    row(cmd::kOpen, "&Open...", "Ctrl+O", "Open", R::Frame),
    row(cmd::kOpenWithProgram, "Associated &Program", "F3", "Open With Associated Program",
        R::Mode),
    row(cmd::kOpenWithEditor, "Associated &Editor", "F4", "Open With Associated Editor", R::Mode),
    row(cmd::kNewFolder, "&New Folder", "Ctrl+N", {}, R::Focus),
    row(cmd::kAddToFavorites, "&Add to Favorites...", "Ctrl+D", "Add to Favorites",
        R::FocusTreeOrList),
    row(cmd::kLocateOnDisk, "&Locate on Disk", "Ctrl+Enter", {}, R::Focus),
    row(cmd::kExport, "&Export...", "Ctrl+Shift+E", "Export", R::Browser),
    row(cmd::kPrint, "&Print...", "Ctrl+P", "Print", R::Mode),
    row(cmd::kProperties, "Propert&ies...", "Alt+Enter", "Properties", R::Focus),
    row(cmd::kExit, "E&xit", "Ctrl+Q", {}, R::Frame),
    row(cmd::kReopen, "&Reopen", "Ctrl+R", {}, R::Image),
    row(cmd::kClose, "&Close", "Ctrl+F4", {}, R::Image),
    row(cmd::kSave, "&Save", "Ctrl+S", "Save", R::Image),
    row(cmd::kSaveAs, "Save &As...", "Ctrl+Shift+S", "Save As", R::Image),
    row(cmd::kBrowse, "&Browse", "Enter", "Browse", R::Image),

    // Edit
    row(cmd::kCut, "Cu&t", "Ctrl+X", {}, R::Focus),
    row(cmd::kCopy, "&Copy", "Ctrl+C", {}, R::Focus),
    row(cmd::kPaste, "&Paste", "Ctrl+V", {}, R::Focus),
    row(cmd::kCopyImageToClipboard, "Copy &Image to Clipboard", {}, {}, R::Browser),
    row(cmd::kDelete, "&Delete", "Delete", {}, R::Focus),
    row(cmd::kRename, "&Rename", "F2", {}, R::Focus),
    // The trees act on their selected item.
    row(cmd::kCopyToFolder, "Cop&y to Folder...", {}, {}, R::Focus),
    row(cmd::kMoveToFolder, "&Move to Folder...", {}, {}, R::Focus),
    row(cmd::kSelectAll, "&Select All", "Ctrl+A", {}, R::Mode),
    row(cmd::kSelectAllFiles, "Select &All Files", {}, {}, R::Browser),
    row(cmd::kSelectAllImages, "S&elect All Images", {}, {}, R::Browser),
    row(cmd::kClearSelection, "C&lear Selection", {}, {}, R::Mode),
    row(cmd::kInvertSelection, "I&nvert Selection", {}, {}, R::Browser),
    row(cmd::kUndo, "&Undo", "Ctrl+Z", "Undo", R::Image),
    row(cmd::kRedo, "&Redo", "Ctrl+Y", "Redo", R::Image),
    row(cmd::kClear, "C&lear", {}, {}, R::Image),
    row(cmd::kSetBackgroundColor, "&Set Background Color...", {}, {}, R::Image),
    row(cmd::kCropToSelection, "Cr&op to Selection", "Ctrl+Shift+X", "Crop to Selection", R::Image),
    check(cmd::kRatioFree, "&Free", R::Image),
    check(cmd::kRatioSameAsImage, "&Same as Image", R::Image),
    check(cmd::kRatio1x1, "&1:1", R::Image),
    check(cmd::kRatio1x2, "1:&2", R::Image),
    check(cmd::kRatio3x4, "&3:4", R::Image),
    check(cmd::kRatio9x13, "&9:13", R::Image),
    check(cmd::kRatio10x15, "1&0:15", R::Image),
    check(cmd::kRatio13x18, "13:1&8", R::Image),
    check(cmd::kRatio20x25, "20:2&5", R::Image),
    check(cmd::kRatioPortrait, "&Portrait", R::Image),
    check(cmd::kRatioLandscape, "&Landscape", R::Image),

    // View
    check(cmd::kToolBar, "&Tool Bar", R::Frame),
    check(cmd::kAddressBar, "&Address Bar", R::Frame),
    check(cmd::kStatusBar, "&Status Bar", R::Frame),
    row(cmd::kSlideShow, "S&lide Show", "Ctrl+L", "Slide Show", R::Mode),
    check(cmd::kFullScreen, "&View in Full Screen", R::Mode, "F11", "View in Full Screen"),
    check(cmd::kHistogramRed, "&Red", R::Histogram),
    check(cmd::kHistogramGreen, "&Green", R::Histogram),
    check(cmd::kHistogramBlue, "&Blue", R::Histogram),
    check(cmd::kHistogramGray, "Gr&ay", R::Histogram),
    check(cmd::kThumbSize36, "&36x36", R::FrameBrowser),
    check(cmd::kThumbSize48, "&48x48", R::FrameBrowser),
    check(cmd::kThumbSize64, "&64x64", R::FrameBrowser),
    check(cmd::kThumbSize85, "&85x85", R::FrameBrowser),
    check(cmd::kThumbSize100, "&100x100", R::FrameBrowser),
    check(cmd::kThumbSize128, "1&28x128", R::FrameBrowser),
    check(cmd::kThumbSize150, "1&50x150", R::FrameBrowser),
    check(cmd::kThumbSize200, "20&0x200", R::FrameBrowser),
    check(cmd::kSortByName, "File &Name", R::Browser),
    check(cmd::kSortByDate, "Modified &Date", R::Browser),
    check(cmd::kSortByType, "File &Type", R::Browser),
    check(cmd::kSortBySize, "File &Size", R::Browser),
    check(cmd::kSortByPhotoSize, "&Photo Size", R::Browser),
    check(cmd::kSortForward, "Sort &Forward", R::Browser, "+"),
    check(cmd::kSortBackward, "Sort &Backward", R::Browser, "-"),
    row(cmd::kBack, "&Back", "Alt+Left", "Back (Alt+Left Arrow)", R::Frame),
    row(cmd::kForward, "&Forward", "Alt+Right", "Forward (Alt+Right Arrow)", R::Frame),
    row(cmd::kUp, "&Up", {}, "Go Up One Level", R::Frame),
    row(cmd::kRefresh, "&Refresh", "F5", "Refresh", R::Browser),
    row(cmd::kSort, {}, {}, "Sort", R::Frame),
    check(cmd::kQuickSlideShow, "&Quick Slide Show", R::Image, "Pause", "Quick Slide Show"),
    row(cmd::kNextImage, "&Next Image", "Page Down", "Next Image", R::Image),
    row(cmd::kPreviousImage, "&Previous Image", "Page Up", "Previous Image", R::Image),
    row(cmd::kFirstImage, "&First Image", "Home", "First Image", R::Image),
    row(cmd::kLastImage, "&Last Image", "End", "Last Image", R::Image),
    row(cmd::kNextPage, "&Next Page", {}, {}, R::Image),
    row(cmd::kPreviousPage, "&Previous Page", {}, {}, R::Image),
    row(cmd::kFirstPage, "&First Page", {}, {}, R::Image),
    row(cmd::kLastPage, "&Last Page", {}, {}, R::Image),
    check(cmd::kPanTool, "&Pan Tool", R::Image, "Ctrl+1", "Pan Tool"),
    check(cmd::kSelectTool, "S&elect Tool", R::Image, "Ctrl+2", "Select Tool"),
    check(cmd::kZoomTool, "&Zoom Tool", R::Image, "Ctrl+3", "Zoom Tool"),
    check(cmd::kShowHistogram, "&Histogram", R::Frame),

    // Zoom
    row(cmd::kZoomIn, "Zoom &In", "+", "Zoom In", R::Image),
    row(cmd::kZoomOut, "Zoom &Out", "-", "Zoom Out", R::Image),
    check(cmd::kActualSize, "&Actual Size", R::Image, "/", "Actual Size"),
    check(cmd::kZoomFitImage, "&Fit Image", R::Image, "*", "Fit Image"),
    check(cmd::kZoomFitWidth, "Fit &Width", R::Image, {}, "Fit Width"),
    check(cmd::kZoomFitHeight, "Fit &Height", R::Image, {}, "Fit Height"),
    check(cmd::kZoomLock, "Zoom &Lock", R::Image, {}, "Zoom Lock"),
    row(cmd::kZoomTo, "&Zoom to...", {}, "Zoom to", R::Image),
    row(cmd::kFitImage, {}, {}, "Fit Image (*)", R::Image, false, cmd::kZoomFitImage),
    check(cmd::kZoom1600, "1600%", R::FrameImage),
    check(cmd::kZoom1200, "1200%", R::FrameImage),
    check(cmd::kZoom800, "800%", R::FrameImage),
    check(cmd::kZoom700, "700%", R::FrameImage),
    check(cmd::kZoom600, "600%", R::FrameImage),
    check(cmd::kZoom500, "500%", R::FrameImage),
    check(cmd::kZoom400, "400%", R::FrameImage),
    check(cmd::kZoom300, "300%", R::FrameImage),
    check(cmd::kZoom200, "200%", R::FrameImage),
    check(cmd::kZoom150, "150%", R::FrameImage),
    check(cmd::kZoom100, "100%", R::FrameImage),
    check(cmd::kZoom70, "70%", R::FrameImage),
    check(cmd::kZoom50, "50%", R::FrameImage),
    check(cmd::kZoom30, "30%", R::FrameImage),
    check(cmd::kZoom25, "25%", R::FrameImage),
    check(cmd::kZoom20, "20%", R::FrameImage),
    check(cmd::kZoom15, "15%", R::FrameImage),
    check(cmd::kZoom10, "10%", R::FrameImage),
    check(cmd::kZoom7, "7%", R::FrameImage),

    // Image
    row(cmd::kCountColors, "&Count Colors Used...", {}, {}, R::Image),
    row(cmd::kRotateLeft, "Rotate &Left 90 Degrees", {}, {}, R::Mode),
    row(cmd::kRotateRight, "Rotate &Right 90 Degrees", {}, {}, R::Mode),
    row(cmd::kRotate180, "Rotate &180 Degrees", {}, {}, R::Mode),
    row(cmd::kRotateCustom, "&Custom...", {}, {}, R::Image),
    row(cmd::kFlipVertical, "&Vertical Flip", "Shift+V", "Vertical Flip", R::Image),
    row(cmd::kFlipHorizontal, "&Horizontal Flip", "Shift+H", "Horizontal Flip", R::Image),
    row(cmd::kEnhanceColors, "&Enhance Colors...", "Ctrl+E", "Enhance Colors", R::Image),
    row(cmd::kAdjustHsl, "&Adjust HSL...", {}, "Adjust HSL", R::Image),
    row(cmd::kResize, "Re&size...", {}, {}, R::Image),
    row(cmd::kCanvasSize, "Ca&nvas Size...", {}, {}, R::Image),
    row(cmd::kDepthBlackWhite, "&Black && White (1 bit)", {}, {}, R::Image),
    row(cmd::kDepth8Grays, "&8 Grays", {}, {}, R::Image),
    row(cmd::kDepth16Grays, "&16 Grays", {}, {}, R::Image),
    row(cmd::kDepth256Grays, "&256 Grays", {}, {}, R::Image),
    row(cmd::kDepth8Colors, "8 &Colors", {}, {}, R::Image),
    row(cmd::kDepth16Colors, "1&6 Colors", {}, {}, R::Image),
    row(cmd::kDepth256Colors, "2&56 Color", {}, {}, R::Image),
    row(cmd::kDepth24Bit, "24-bit &True Color", {}, {}, R::Image),
    row(cmd::kDepth32Bit, "&32-bit True Color", {}, {}, R::Image),
    row(cmd::kDepthCustom, "C&ustom...", {}, {}, R::Image),
    row(cmd::kSetDpi, "Se&t DIP...", {}, {}, R::Image),
    row(cmd::kRedEyeReduction, "Red E&ye Reduction", {}, "Red Eye Reduction", R::Image),
    row(cmd::kSwapRbg, "RGB>RBG", {}, {}, R::Image),
    row(cmd::kSwapBgr, "RGB>BGR", {}, {}, R::Image),
    row(cmd::kSwapBrg, "RGB>BRG", {}, {}, R::Image),
    row(cmd::kSwapGrb, "RGB>GRB", {}, {}, R::Image),
    row(cmd::kSwapGbr, "RGB>GBR", {}, {}, R::Image),

    // Effects
    row(cmd::kNegative, "&Negative", {}, {}, R::Image),
    row(cmd::kGrayscale, "&Grayscale", {}, {}, R::Image),
    row(cmd::kBlackWhite, "&Black && White", {}, {}, R::Image),
    row(cmd::kThreshold, "Thresho&ld...", {}, {}, R::Image),
    row(cmd::kColorize, "&Colorize...", {}, {}, R::Image),
    row(cmd::kSepia, "&Sepia", {}, {}, R::Image),
    row(cmd::kSolarize, "S&olarize...", {}, {}, R::Image),
    row(cmd::kGaussianBlur3, "Gaussian Blur &3 x 3", {}, {}, R::Image),
    row(cmd::kGaussianBlur5, "Gaussian Blur &5 x 5", {}, {}, R::Image),
    row(cmd::kAverageBlur, "&Average Blur...", {}, {}, R::Image),
    row(cmd::kSoften, "So&ften", {}, {}, R::Image),
    row(cmd::kSharpen, "S&harpen", {}, {}, R::Image),
    row(cmd::kAddNoise, "Add No&ise...", {}, {}, R::Image),
    row(cmd::kEmboss, "&Emboss...", {}, {}, R::Image),
    row(cmd::kErode, "E&rode", {}, {}, R::Image),
    row(cmd::kEdgeHeavy, "&Heavy", {}, {}, R::Image),
    row(cmd::kEdgeMedium, "&Medium", {}, {}, R::Image),
    row(cmd::kEdgeLight, "&Light", {}, {}, R::Image),
    row(cmd::kSpread, "S&pread...", {}, {}, R::Image),
    row(cmd::kStripe, "S&tripe...", {}, {}, R::Image),
    row(cmd::kWind, "&Wind...", {}, {}, R::Image),
    row(cmd::kMosaic, "&Mosaic...", {}, {}, R::Image),

    // Tools
    row(cmd::kEmailImages, "&E-mail Images...", {}, "Email Images", R::Mode),
    row(cmd::kWallpaperCenter, "&Center", {}, "Set Wallpaper", R::Mode),
    row(cmd::kWallpaperTile, "&Title", {}, {}, R::Mode),
    row(cmd::kWallpaperStretch, "&Stretch", {}, {}, R::Mode),
    row(cmd::kWallpaperRestore, "&Restore", {}, {}, R::Mode),
    row(cmd::kJpegRotateLeft, "Rotate &Left 90 Degrees", {}, {}, R::Frame),
    row(cmd::kJpegRotateRight, "Rotate &Right 90 Degrees", {}, {}, R::Frame),
    row(cmd::kJpegRotate180, "Rotate &180 Degrees", {}, {}, R::Frame),
    row(cmd::kJpegFlipVertical, "&Vertical Flip", {}, {}, R::Frame),
    row(cmd::kJpegFlipHorizontal, "&Horizontal Flip", {}, {}, R::Frame),

    // Help
    row(cmd::kHelpRequest, "&Help", "F1", "Help", R::Frame),
    // The button does what the Help item does, so it shows the same tooltip.
    row(cmd::kHelp, {}, {}, "Help (F1)", R::Frame),
    row(cmd::kWebsite, "&Tarn Photo Viewer Website", {}, {}, R::Frame),
    row(cmd::kCheckForUpdates, "Check for &Updates", {}, {}, R::Frame),
    row(cmd::kContactUs, "Co&ntact Us", {}, {}, R::Frame),
    row(cmd::kAbout, "&About Tarn Photo Viewer...", {}, {}, R::Frame),

    // Context menus
    row(cmd::kViewAndEdit, "&View and Edit", "Enter", {}, R::Browser),
    row(cmd::kTreeNewFolder, "&New Folder", {}, {}, R::Tree),
    row(cmd::kTreeAddToFavorites, "&Add to Favorites...", {}, {}, R::Tree),
    row(cmd::kTreeLocateOnDisk, "&Locate on Disk", {}, {}, R::Tree),
    row(cmd::kTreeCut, "Cu&t", {}, {}, R::Tree),
    row(cmd::kTreeCopy, "&Copy", {}, {}, R::Tree),
    row(cmd::kTreePaste, "&Paste", {}, {}, R::Tree),
    row(cmd::kTreeDelete, "&Delete", {}, {}, R::Tree),
    row(cmd::kTreeRename, "&Rename", {}, {}, R::Tree),
    row(cmd::kTreeProperties, "Propert&ies...", {}, {}, R::Tree),
};

// (command, row) sorted by command, built once.
const std::vector<std::pair<int, int>>& rowIndex() {
    static const std::vector<std::pair<int, int>> index = [] {
        std::vector<std::pair<int, int>> v;
        v.reserve(kCommands.size());
        for (std::size_t i = 0; i < kCommands.size(); ++i) {
            v.emplace_back(kCommands[i].id, static_cast<int>(i));
        }
        std::sort(v.begin(), v.end());
        return v;
    }();
    return index;
}

struct Preset {
    int id;
    double factor;
};
constexpr std::array kZoomPresets{
    Preset{cmd::kZoom1600, 16}, Preset{cmd::kZoom1200, 12}, Preset{cmd::kZoom800, 8},
    Preset{cmd::kZoom700, 7},   Preset{cmd::kZoom600, 6},   Preset{cmd::kZoom500, 5},
    Preset{cmd::kZoom400, 4},   Preset{cmd::kZoom300, 3},   Preset{cmd::kZoom200, 2},
    Preset{cmd::kZoom150, 1.5}, Preset{cmd::kZoom100, 1},   Preset{cmd::kZoom70, 0.7},
    Preset{cmd::kZoom50, 0.5},  Preset{cmd::kZoom30, 0.3},  Preset{cmd::kZoom25, 0.25},
    Preset{cmd::kZoom20, 0.2},  Preset{cmd::kZoom15, 0.15}, Preset{cmd::kZoom10, 0.1},
    Preset{cmd::kZoom7, 0.07},
};

constexpr std::array kThumbSizes{36, 48, 64, 85, 100, 128, 150, 200};

}  // namespace

std::span<const Command> commands() {
    return kCommands;
}

int commandRow(int id) {
    const auto& index = rowIndex();
    const auto it = std::lower_bound(index.begin(), index.end(), std::pair{id, 0});
    return it != index.end() && it->first == id ? it->second : -1;
}

const Command* findCommand(int id) {
    const int r = commandRow(id);
    return r < 0 ? nullptr : &kCommands[static_cast<std::size_t>(r)];
}

int commandAtRow(int r) {
    if (r < 0 || static_cast<std::size_t>(r) >= kCommands.size()) {
        return 0;
    }
    return kCommands[static_cast<std::size_t>(r)].id;
}

int toUiId(int command, int base) {
    const int r = commandRow(command);
    return r < 0 ? -1 : base + r;
}

int fromUiId(int uiId, int base) {
    // Compared before subtracting so that far-off identifiers cannot overflow.
    if (uiId < base) {
        return 0;
    }
    return commandAtRow(uiId - base);
}

std::string toolTipText(const Command& c) {
    std::string text(c.tip);
    if (!text.empty() && !c.keyText.empty() && text.find('(') == std::string::npos) {
        text += " (" + std::string(c.keyText) + ")";
    }
    return text;
}

int performedCommand(int id) {
    const Command* c = findCommand(id);
    return c != nullptr && c->performs != 0 ? c->performs : id;
}

Receiver routeCommand(int id, FrameMode mode, FocusedPane focus) {
    const Command* c = findCommand(id);
    if (c == nullptr) {
        return Receiver::None;
    }
    const bool browser = mode == FrameMode::Browser;
    const bool image = mode == FrameMode::Image;
    switch (c->route) {
        case Route::Mode:
            return browser ? Receiver::ThumbnailList : image ? Receiver::ImageView : Receiver::None;
        case Route::Focus:
        case Route::FocusTreeOrList:
            if (image) {
                return Receiver::ImageView;
            }
            if (!browser) {
                return Receiver::None;
            }
            if (focus == FocusedPane::FolderTree) {
                return Receiver::FolderTree;
            }
            if (focus == FocusedPane::FavoritesTree && c->route == Route::Focus) {
                return Receiver::FavoritesTree;
            }
            return Receiver::ThumbnailList;
        case Route::Browser:
            return browser ? Receiver::ThumbnailList : Receiver::None;
        case Route::Image:
            return image ? Receiver::ImageView : Receiver::None;
        case Route::Frame:
            return Receiver::Frame;
        case Route::FrameBrowser:
            return browser ? Receiver::Frame : Receiver::None;
        case Route::FrameImage:
            return image ? Receiver::Frame : Receiver::None;
        case Route::Histogram:
            return Receiver::PreviewHistogram;
        case Route::Tree:
            return Receiver::None;
    }
    return Receiver::None;
}

std::optional<double> zoomPresetFactor(int id) {
    for (const Preset& p : kZoomPresets) {
        if (p.id == id) {
            return p.factor;
        }
    }
    return std::nullopt;
}

std::optional<int> thumbnailSizeOf(int id) {
    if (id < cmd::kThumbSize36 || id > cmd::kThumbSize200) {
        return std::nullopt;
    }
    return kThumbSizes[static_cast<std::size_t>(id - cmd::kThumbSize36)];
}

}  // namespace tarn
