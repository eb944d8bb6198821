#pragma once

#include <span>

namespace tarn {

// Command numbers of the tool-bar buttons (the program's command identities).
namespace cmd {
inline constexpr int kBack = 33417;
inline constexpr int kForward = 158;
inline constexpr int kUp = 159;
inline constexpr int kExport = 33511;
inline constexpr int kAddToFavorites = 33075;
inline constexpr int kNewFolder = 33073;
inline constexpr int kDelete = 33052;
inline constexpr int kRotateLeft = 33273;
inline constexpr int kRotateRight = 33274;
inline constexpr int kSlideShow = 33106;
inline constexpr int kFullScreen = 33024;
inline constexpr int kPrint = 33096;
inline constexpr int kEmailImages = 33427;
inline constexpr int kSetWallpaper = 33092;
inline constexpr int kSort = 160;
inline constexpr int kProperties = 33054;
inline constexpr int kHelp = 57667;
inline constexpr int kBrowse = 33263;
inline constexpr int kOpen = 33089;
inline constexpr int kSaveAs = 1114;
inline constexpr int kUndo = 33250;
inline constexpr int kRedo = 33251;
inline constexpr int kCropToSelection = 33373;
inline constexpr int kRedEyeReduction = 33302;
inline constexpr int kEnhanceColors = 33300;
inline constexpr int kPreviousImage = 33429;
inline constexpr int kNextImage = 33428;
inline constexpr int kQuickSlideShow = 33433;
inline constexpr int kPanTool = 33364;
inline constexpr int kSelectTool = 33365;
inline constexpr int kZoomTool = 33366;
inline constexpr int kZoomIn = 33435;
inline constexpr int kZoomOut = 33040;
inline constexpr int kFitImage = 167;
}  // namespace cmd

// How a tool-bar button opens its pop-up menu.
enum class DropKind {
    None,
    Arrow,  // the arrow beside the button opens it
    Whole,  // anywhere on the button opens it
};

// One slot of a tool bar: a button, or a separator when command is 0.
struct ToolBarSlot {
    int command;
    int image;  // index into the tool-bar picture
    DropKind drop;
};

inline constexpr int kToolBarImageCount = 35;
inline constexpr int kToolBarImageSize = 24;

std::span<const ToolBarSlot> browserToolBar();
std::span<const ToolBarSlot> imageToolBar();

}  // namespace tarn
