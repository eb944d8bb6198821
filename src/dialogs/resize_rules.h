#pragma once

#include <array>
#include <optional>
#include <string>

namespace tarn {

// The arithmetic of "Resize" and "Resize Canvas": sizes typed in pixels, inches, centimetres or
// per cent of the source, a print resolution, and the checks of "Ok". No windows here.

enum class SizeUnit { Pixels = 0, Inches = 1, Cm = 2, Percent = 3 };
enum class DpiUnit { PixelsPerInch = 0, PixelsPerCm = 1 };
enum class Axis { Width, Height };

inline constexpr double kInchesPerCm = 0.39370078740157477;
inline constexpr int kMaxImageSide = 9999;
inline constexpr int kMaxResizeDpi = 5000;

inline constexpr std::array<const char*, 11> kSizePresetNames = {
    "Custom", "640 x 480", "800 x 600", "1024 x 768", "1280 x 960", "1600 x 1200",
    "25%",    "50%",       "75%",       "100%",       "200%"};
inline constexpr std::array<const char*, 4> kSizeUnitNames = {"pixels", "inches", "cm", "%"};
inline constexpr std::array<const char*, 2> kDpiUnitNames = {"pixels/inch", "pixels/cm"};
inline constexpr std::array<const char*, 6> kResampleFilterNames = {
    "Box", "Bilinear", "B-Spline", "Bicubic", "Catmull-Rom", "Lanczos"};
inline constexpr std::array<const char*, 9> kCanvasPositionNames = {
    "Top-Left",     "Top-Center",  "Top-Right",     "Middle-Left", "Center",
    "Middle-Right", "Bottom-Left", "Bottom-Center", "Bottom-Right"};
inline constexpr int kBilinearFilter = 1;
// The library's filter number (FREE_IMAGE_FILTER) for an entry of the filter list.
inline constexpr std::array<int, 6> kLibraryFilterNumbers = {0, 2, 3, 1, 4, 5};
inline constexpr int kCenterPosition = 4;

// The image being resized: pixels and dots per inch.
struct SourceImage {
    int width = 0;
    int height = 0;
    double dpiX = 0;
    double dpiY = 0;
};

// A resolution of 0 (a file that stores none) is taken as 72 dpi, so that inches and
// centimetres still mean something.
SourceImage withUsableResolution(SourceImage source);

// The fields of the size boxes. Width and height share one unit.
struct SizeFields {
    int preset = 0;
    SizeUnit unit = SizeUnit::Pixels;
    double width = 0;
    double height = 0;
    bool keepAspect = true;
};

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// "4000 x 3000".
std::string sizeText(PixelSize size);

// Rounded half away from zero and kept well inside int, so that absurd input (1e300, inf, nan)
// stays a number that the checks refuse; nan gives 0.
int roundedPixels(double value);

// Converts between box values and pixels for one source. scale is the factor s that the chosen
// print resolution gives (1 for the canvas, which keeps the source's resolution).
class SizeArithmetic {
public:
    SizeArithmetic(const SourceImage& source, double scale, bool canvas);

    int pixels(Axis axis, double value, SizeUnit unit) const;
    PixelSize pixelSize(const SizeFields& fields) const;
    // The value in the unit, to three decimals (pixels stay whole).
    double valueFromPixels(Axis axis, int pixels, SizeUnit unit) const;

    int heightForWidth(int width) const;
    int widthForHeight(int height) const;
    // Whether either side already follows from the other; stops the boxes from feeding back.
    bool isProportional(PixelSize size) const;

    // A preset chosen: "Custom" changes nothing; returns whether the fields changed.
    static bool applyPreset(SizeFields& fields, int preset);
    // Both units become the new one, the values re-expressed from the pixel size; the preset
    // becomes "Custom".
    void changeUnit(SizeFields& fields, SizeUnit unit) const;

    // The text the other box gets when one box was typed into with "Keep aspect ratio" on;
    // nothing when it stays as it is. Three decimals unless the unit is pixels.
    std::optional<std::string> heightTextAfterWidthTyped(const SizeFields& fields) const;
    std::optional<std::string> widthTextAfterHeightTyped(const SizeFields& fields) const;
    // "Keep aspect ratio" just set: the height derived from the width, if it changes.
    std::optional<std::string> heightTextAfterKeepAspect(const SizeFields& fields) const;

private:
    double dotsPerInch(Axis axis) const;
    int sourceSide(Axis axis) const;
    std::string valueText(Axis axis, int pixels, SizeUnit unit) const;

    SourceImage m_source;
    double m_scale;
    bool m_canvas;
};

// The print resolution typed in Resize, in pixels per inch.
double dpiInInches(double value, DpiUnit unit);
// s: the typed resolution over the smaller source resolution (0 without a source resolution).
double resizeScale(const SourceImage& source, double dpiValue, DpiUnit unit);
// The DPI value re-expressed when its unit changes, to three decimals.
double convertDpiValue(double value, DpiUnit from, DpiUnit to);
// The DPI box's first value: the smaller source resolution, rounded.
double startDpiValue(const SourceImage& source);

// The box at fault when "Ok" is refused, and what to say.
enum class SizeBox { None, Width, Height, Dpi };
struct SizeCheck {
    SizeBox box = SizeBox::None;
    std::string message;
    bool ok() const { return box == SizeBox::None; }
};

inline constexpr const char* kNotANumberMessage = "Please enter a number.";
inline constexpr const char* kDpiInvalidMessage = "DPI is invalid!";
inline constexpr const char* kSizeInvalidMessage = "Image size is invalid!";

struct ResizeResult {
    int width = 0;
    int height = 0;
    double dpiX = 0;
    double dpiY = 0;
};

// Resize's "Ok": the resolution first, then the width, then the height.
SizeCheck checkResize(const SourceImage& source, const SizeFields& fields, double dpiValue,
                      DpiUnit unit, ResizeResult& result);
// Resize Canvas's "Ok": only the size.
SizeCheck checkCanvas(const SourceImage& source, const SizeFields& fields, PixelSize& result);

}  // namespace tarn
