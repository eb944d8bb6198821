#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/profile_file.h"

// Every key of Config.ini, in one table. Owners read and write their keys only through
// SettingsStore with these descriptors, so no other file spells a key name or a limit.
namespace tarn::settings {

struct KeyName {
    std::string_view section;
    std::string_view key;
};

// Written "1" or "0". Some flags count as on only for exactly 1, others for any nonzero value.
struct FlagKey {
    KeyName name;
    bool def;
    bool onlyExactlyOne;
};

// Decimal text; the limit is applied after reading and before writing.
struct IntKey {
    KeyName name;
    int def;
    int (*limit)(int);
};

// Written with "%f", read with the C library's text-to-double conversion.
struct RealKey {
    KeyName name;
    double def;
    double (*limit)(double);
};

struct TextKey {
    KeyName name;
    std::string_view def;
};

// Hex pairs and a checksum byte; absent when unreadable.
struct StructKey {
    KeyName name;
    std::size_t size;
};

int noLimit(int v);
int clampThumbSize(int v);        // 36..200
int clampSortType(int v);         // 0..4
int clampSortDirection(int v);    // 0..1
int zoomTypeOrZero(int v);        // 0..4, anything else 0
int clampViewTool(int v);         // 0..2
double limitZoomLevel(double v);  // 0 or less 0.01, above 16 16
double limitSelRatio(double v);   // below 0 reads 0

inline constexpr FlagKey kShowHiddenFiles{{"App", "ShowHiddenFiles"}, false, true};

inline constexpr FlagKey kShowToolBar{{"MainFrame", "ShowToolBar"}, true, false};
inline constexpr FlagKey kShowAddressBar{{"MainFrame", "ShowAddressBar"}, true, false};
inline constexpr FlagKey kShowStatusBar{{"MainFrame", "ShowStatusBar"}, true, false};
inline constexpr StructKey kPlacement{{"MainFrame", "Placement"}, 44};

inline constexpr IntKey kThumbSizeWidth{{"Thumb", "ThumbSizeWidth"}, 85, clampThumbSize};
inline constexpr IntKey kThumbSizeHeight{{"Thumb", "ThumbSizeHeight"}, 85, clampThumbSize};
inline constexpr IntKey kSortType{{"Thumb", "SortType"}, 0, clampSortType};
inline constexpr IntKey kSortDirection{{"Thumb", "SortDirection"}, 0, clampSortDirection};
// Thumbnails read from and written to the desktop's shared thumbnail cache.
inline constexpr FlagKey kUseSharedCache{{"Thumb", "UseSharedCache"}, true, false};

inline constexpr IntKey kZoomType{{"ZoomInfo", "ZoomType"}, 0, zoomTypeOrZero};
inline constexpr RealKey kZoomLevel{{"ZoomInfo", "ZoomLevel"}, 1.0, limitZoomLevel};

inline constexpr IntKey kViewTool{{"EditView", "ViewTool"}, 0, clampViewTool};
inline constexpr StructKey kImageBkColor{{"EditView", "ImageBkColor"}, 4};
inline constexpr RealKey kSelRatio{{"EditView", "SelRatio"}, 0.0, limitSelRatio};
inline constexpr IntKey kSelType{{"EditView", "SelType"}, 0, noLimit};
inline constexpr IntKey kSelOrientation{{"EditView", "SelOrientation"}, 0, noLimit};

inline constexpr FlagKey kShowRed{{"Histogram", "ShowRed"}, true, false};
inline constexpr FlagKey kShowGreen{{"Histogram", "ShowGreen"}, true, false};
inline constexpr FlagKey kShowBlue{{"Histogram", "ShowBlue"}, true, false};
inline constexpr FlagKey kShowGray{{"Histogram", "ShowGray"}, false, false};

inline constexpr FlagKey kShowPreview{{"OpenFileDlg", "ShowPreview"}, true, true};

inline constexpr FlagKey kHasOldWallpaper{{"OldWallpaper", "HasOldWallpaper"}, false, true};
inline constexpr TextKey kOldWallpaperPath{{"OldWallpaper", "FilePath"}, ""};
inline constexpr IntKey kOldWallpaperStyle{{"OldWallpaper", "WallpaperStyle"}, 0, noLimit};

inline constexpr std::array<const KeyName*, 25> kAllKeys{
    &kShowHiddenFiles.name, &kShowToolBar.name,      &kShowAddressBar.name,
    &kShowStatusBar.name,   &kPlacement.name,        &kThumbSizeWidth.name,
    &kThumbSizeHeight.name, &kSortType.name,         &kSortDirection.name,
    &kZoomType.name,        &kZoomLevel.name,        &kViewTool.name,
    &kImageBkColor.name,    &kSelRatio.name,         &kSelType.name,
    &kSelOrientation.name,  &kShowRed.name,          &kShowGreen.name,
    &kShowBlue.name,        &kShowGray.name,         &kShowPreview.name,
    &kHasOldWallpaper.name, &kOldWallpaperPath.name, &kOldWallpaperStyle.name,
    &kUseSharedCache.name,
};

// The window-placement record of the main frame: eleven 32-bit signed values, little endian.
struct WindowPlacement {
    std::int32_t length = 44;
    std::int32_t flags = 0;
    std::int32_t showCmd = 0;
    std::int32_t minX = 0, minY = 0;
    std::int32_t maxX = 0, maxY = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    std::vector<std::uint8_t> toBytes() const;
    static std::optional<WindowPlacement> fromBytes(const std::vector<std::uint8_t>& bytes);
    bool operator==(const WindowPlacement&) const = default;
};

// Show commands of the placement record.
inline constexpr std::int32_t kShowNormal = 1;
inline constexpr std::int32_t kShowMinimized = 2;
inline constexpr std::int32_t kShowMaximized = 3;

}  // namespace tarn::settings

namespace tarn {

// Typed access to Config.ini through the key table. No cache: each read asks the file.
class SettingsStore {
public:
    explicit SettingsStore(std::string path) : m_file(std::move(path)) {}

    const std::string& path() const { return m_file.path(); }

    bool get(const settings::FlagKey& key) const;
    int get(const settings::IntKey& key) const;
    double get(const settings::RealKey& key) const;
    std::string get(const settings::TextKey& key) const;
    std::optional<std::vector<std::uint8_t>> get(const settings::StructKey& key) const;

    bool set(const settings::FlagKey& key, bool value);
    bool set(const settings::IntKey& key, int value);
    bool set(const settings::RealKey& key, double value);
    bool set(const settings::TextKey& key, std::string_view value);
    bool set(const settings::StructKey& key, const std::vector<std::uint8_t>& bytes);

    std::optional<settings::WindowPlacement> placement() const;
    bool setPlacement(const settings::WindowPlacement& placement);

    // A colour reference 0x00BBGGRR stored as red, green, blue, 0.
    std::optional<std::uint32_t> color(const settings::StructKey& key) const;
    bool setColor(const settings::StructKey& key, std::uint32_t colorRef);

private:
    ProfileFile m_file;
};

}  // namespace tarn
