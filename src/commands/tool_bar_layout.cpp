#include "commands/tool_bar_layout.h"

#include <array>

namespace tarn {

namespace {

constexpr ToolBarSlot sep{0, -1, DropKind::None};
constexpr ToolBarSlot button(int command, int image, DropKind drop = DropKind::None) {
    return {command, image, drop};
}

constexpr std::array kBrowserToolBar{
    button(cmd::kBack, 0),
    button(cmd::kForward, 1),
    button(cmd::kUp, 2),
    sep,
    button(cmd::kExport, 3),
    button(cmd::kAddToFavorites, 4),
    button(cmd::kNewFolder, 5),
    button(cmd::kDelete, 6),
    sep,
    button(cmd::kRotateLeft, 7),
    button(cmd::kRotateRight, 8),
    button(cmd::kSlideShow, 9),
    button(cmd::kFullScreen, 10),
    sep,
    button(cmd::kPrint, 11),
    button(cmd::kEmailImages, 12),
    button(cmd::kSetWallpaper, 13, DropKind::Arrow),
    button(cmd::kSort, 14, DropKind::Whole),
    sep,
    button(cmd::kProperties, 15),
    button(cmd::kHelp, 16, DropKind::Arrow),
};

constexpr std::array kImageToolBar{
    button(cmd::kBrowse, 18),
    button(cmd::kOpen, 19),
    button(cmd::kSaveAs, 20),
    sep,
    button(cmd::kUndo, 21),
    button(cmd::kRedo, 22),
    sep,
    button(cmd::kCropToSelection, 23),
    button(cmd::kRotateLeft, 7),
    button(cmd::kRotateRight, 8),
    button(cmd::kRedEyeReduction, 24),
    button(cmd::kEnhanceColors, 25, DropKind::Arrow),
    sep,
    button(cmd::kPreviousImage, 26),
    button(cmd::kNextImage, 27),
    button(cmd::kQuickSlideShow, 28),
    sep,
    button(cmd::kPanTool, 29),
    button(cmd::kSelectTool, 30),
    button(cmd::kZoomTool, 31),
    sep,
    button(cmd::kZoomIn, 32, DropKind::Arrow),
    button(cmd::kZoomOut, 33, DropKind::Arrow),
    button(cmd::kFitImage, 34, DropKind::Arrow),
    sep,
    button(cmd::kSlideShow, 9),
    button(cmd::kFullScreen, 10),
    sep,
    button(cmd::kPrint, 11),
    button(cmd::kEmailImages, 12),
    button(cmd::kSetWallpaper, 13, DropKind::Arrow),
    sep,
    button(cmd::kProperties, 15),
    button(cmd::kHelp, 16, DropKind::Arrow),
};

}  // namespace

std::span<const ToolBarSlot> browserToolBar() {
    return kBrowserToolBar;
}
std::span<const ToolBarSlot> imageToolBar() {
    return kImageToolBar;
}

}  // namespace tarn
