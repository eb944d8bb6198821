#pragma once

namespace tarn {

// Command numbers: the commands' identities in every toolkit-free module. The window side
// maps them to toolkit identifiers through the command table (command_table.h).
namespace cmd {

// File
inline constexpr int kOpen = 33089;
inline constexpr int kOpenWithProgram = 33266;
inline constexpr int kOpenWithEditor = 33267;
inline constexpr int kNewFolder = 33073;
inline constexpr int kAddToFavorites = 33075;
inline constexpr int kLocateOnDisk = 33108;
inline constexpr int kExport = 33511;
inline constexpr int kPrint = 33096;
inline constexpr int kProperties = 33054;
inline constexpr int kExit = 33578;
inline constexpr int kReopen = 33488;
inline constexpr int kClose = 33539;
inline constexpr int kSave = 132;
inline constexpr int kSaveAs = 1114;
inline constexpr int kBrowse = 33263;

// Edit
inline constexpr int kCut = 33105;
inline constexpr int kCopy = 33104;
inline constexpr int kPaste = 33102;
inline constexpr int kCopyImageToClipboard = 33507;
inline constexpr int kDelete = 33052;
inline constexpr int kRename = 33419;
inline constexpr int kCopyToFolder = 33099;
inline constexpr int kMoveToFolder = 33098;
inline constexpr int kSelectAll = 33121;
inline constexpr int kSelectAllFiles = 33571;
inline constexpr int kSelectAllImages = 33572;
inline constexpr int kClearSelection = 33374;
inline constexpr int kInvertSelection = 33573;
inline constexpr int kUndo = 33250;
inline constexpr int kRedo = 33251;
inline constexpr int kClear = 33371;
inline constexpr int kSetBackgroundColor = 33372;
inline constexpr int kCropToSelection = 33373;
inline constexpr int kRatioFree = 33390;
inline constexpr int kRatioSameAsImage = 33391;
inline constexpr int kRatio1x1 = 33398;
inline constexpr int kRatio1x2 = 33399;
inline constexpr int kRatio3x4 = 33401;
inline constexpr int kRatio9x13 = 33402;
inline constexpr int kRatio10x15 = 33403;
inline constexpr int kRatio13x18 = 33404;
inline constexpr int kRatio20x25 = 33405;
inline constexpr int kRatioPortrait = 33388;
inline constexpr int kRatioLandscape = 33389;

// View
inline constexpr int kToolBar = 33478;
inline constexpr int kAddressBar = 33481;
inline constexpr int kStatusBar = 33479;
inline constexpr int kSlideShow = 33106;
inline constexpr int kFullScreen = 33024;
inline constexpr int kHistogramRed = 32789;
inline constexpr int kHistogramGreen = 32790;
inline constexpr int kHistogramBlue = 32791;
inline constexpr int kHistogramGray = 32792;
inline constexpr int kThumbSize36 = 33526;
inline constexpr int kThumbSize48 = 33527;
inline constexpr int kThumbSize64 = 33528;
inline constexpr int kThumbSize85 = 33529;
inline constexpr int kThumbSize100 = 33530;
inline constexpr int kThumbSize128 = 33531;
inline constexpr int kThumbSize150 = 33532;
inline constexpr int kThumbSize200 = 33533;
inline constexpr int kSortByName = 33112;
inline constexpr int kSortByDate = 33113;
inline constexpr int kSortByType = 33114;
inline constexpr int kSortBySize = 33117;
inline constexpr int kSortByPhotoSize = 33116;
inline constexpr int kSortForward = 33118;
inline constexpr int kSortBackward = 33119;
inline constexpr int kBack = 33417;
inline constexpr int kForward = 158;
inline constexpr int kUp = 159;
inline constexpr int kRefresh = 33120;
inline constexpr int kSort = 160;  // tool-bar button: only opens its drop-down
inline constexpr int kQuickSlideShow = 33433;
inline constexpr int kNextImage = 33428;
inline constexpr int kPreviousImage = 33429;
inline constexpr int kFirstImage = 33430;
inline constexpr int kLastImage = 33431;
inline constexpr int kNextPage = 33518;
inline constexpr int kPreviousPage = 33519;
inline constexpr int kFirstPage = 33520;
inline constexpr int kLastPage = 33521;
inline constexpr int kPanTool = 33364;
inline constexpr int kSelectTool = 33365;
inline constexpr int kZoomTool = 33366;
inline constexpr int kShowHistogram = 33361;

// Zoom
inline constexpr int kZoomIn = 33435;
inline constexpr int kZoomOut = 33040;
inline constexpr int kActualSize = 33033;
inline constexpr int kZoomFitImage = 33034;
inline constexpr int kZoomFitWidth = 32984;
inline constexpr int kZoomFitHeight = 33036;
inline constexpr int kZoomLock = 33037;
inline constexpr int kZoomTo = 33038;
inline constexpr int kFitImage = 167;  // tool-bar button; performs kZoomFitImage
inline constexpr int kZoom1600 = 33456;
inline constexpr int kZoom1200 = 33457;
inline constexpr int kZoom800 = 33458;
inline constexpr int kZoom700 = 33459;
inline constexpr int kZoom600 = 33460;
inline constexpr int kZoom500 = 33461;
inline constexpr int kZoom400 = 33462;
inline constexpr int kZoom300 = 33463;
inline constexpr int kZoom200 = 33464;
inline constexpr int kZoom150 = 33465;
inline constexpr int kZoom100 = 33466;
inline constexpr int kZoom70 = 33467;
inline constexpr int kZoom50 = 33468;
inline constexpr int kZoom30 = 33469;
inline constexpr int kZoom25 = 33470;
inline constexpr int kZoom20 = 33471;
inline constexpr int kZoom15 = 33472;
inline constexpr int kZoom10 = 33473;
inline constexpr int kZoom7 = 33474;

// Image
inline constexpr int kCountColors = 33269;
inline constexpr int kRotateLeft = 33273;
inline constexpr int kRotateRight = 33274;
inline constexpr int kRotate180 = 33493;
inline constexpr int kRotateCustom = 33270;
inline constexpr int kFlipVertical = 33574;
inline constexpr int kFlipHorizontal = 33541;
inline constexpr int kEnhanceColors = 33300;
inline constexpr int kAdjustHsl = 33299;
inline constexpr int kResize = 33276;
inline constexpr int kCanvasSize = 33277;
inline constexpr int kDepthBlackWhite = 33321;
inline constexpr int kDepth8Grays = 33323;
inline constexpr int kDepth16Grays = 33324;
inline constexpr int kDepth256Grays = 33325;
inline constexpr int kDepth8Colors = 33326;
inline constexpr int kDepth16Colors = 33327;
inline constexpr int kDepth256Colors = 33331;
inline constexpr int kDepth24Bit = 33329;
inline constexpr int kDepth32Bit = 33330;
inline constexpr int kDepthCustom = 33318;
inline constexpr int kSetDpi = 33286;
inline constexpr int kRedEyeReduction = 33302;
inline constexpr int kSwapRbg = 33293;
inline constexpr int kSwapBgr = 33294;
inline constexpr int kSwapBrg = 33295;
inline constexpr int kSwapGrb = 33296;
inline constexpr int kSwapGbr = 33297;

// Effects
inline constexpr int kNegative = 33279;
inline constexpr int kGrayscale = 33280;
inline constexpr int kBlackWhite = 33281;
inline constexpr int kThreshold = 33282;
inline constexpr int kColorize = 33359;
inline constexpr int kSepia = 33360;
inline constexpr int kSolarize = 33358;
inline constexpr int kGaussianBlur3 = 33342;
inline constexpr int kGaussianBlur5 = 33343;
inline constexpr int kAverageBlur = 33340;
inline constexpr int kSoften = 33229;
inline constexpr int kSharpen = 33535;
inline constexpr int kAddNoise = 33285;
inline constexpr int kEmboss = 33338;
inline constexpr int kErode = 33357;
inline constexpr int kEdgeHeavy = 33356;
inline constexpr int kEdgeMedium = 33354;
inline constexpr int kEdgeLight = 33352;
inline constexpr int kSpread = 33346;
inline constexpr int kStripe = 33345;
inline constexpr int kWind = 33337;
inline constexpr int kMosaic = 33335;

// Tools
inline constexpr int kEmailImages = 33427;
inline constexpr int kSetWallpaper = 33092;  // "Center"; also the tool-bar button
inline constexpr int kWallpaperCenter = kSetWallpaper;
inline constexpr int kWallpaperTile = 33093;
inline constexpr int kWallpaperStretch = 33094;
inline constexpr int kWallpaperRestore = 33095;
inline constexpr int kJpegRotateLeft = 33483;
inline constexpr int kJpegRotateRight = 33484;
inline constexpr int kJpegRotate180 = 33485;
inline constexpr int kJpegFlipVertical = 33486;
inline constexpr int kJpegFlipHorizontal = 33487;

// Help
inline constexpr int kHelpRequest = 57670;
inline constexpr int kHelp = 57667;  // tool-bar button
inline constexpr int kWebsite = 33523;
inline constexpr int kCheckForUpdates = 33524;
inline constexpr int kContactUs = 33525;
inline constexpr int kAbout = 33513;

// Context menus
inline constexpr int kViewAndEdit = 33563;
// Handled by the trees themselves; never routed by the frame.
inline constexpr int kTreeNewFolder = 33544;
inline constexpr int kTreeAddToFavorites = 33545;
inline constexpr int kTreeLocateOnDisk = 33546;
inline constexpr int kTreeCut = 33547;
inline constexpr int kTreeCopy = 33548;
inline constexpr int kTreePaste = 33549;
inline constexpr int kTreeDelete = 33550;
inline constexpr int kTreeRename = 33551;
inline constexpr int kTreeProperties = 33552;

}  // namespace cmd
}  // namespace tarn
