#include "dialogs/resize_rules.h"

#include <algorithm>
#include <cmath>

#include "dialogs/number_text.h"

namespace tarn {
namespace {

constexpr double kFallbackDpi = 72.0;
// Far past any size the checks let through, far inside int.
constexpr double kPixelLimit = 1e9;

constexpr std::array<int, 6> kPresetWidths = {0, 640, 800, 1024, 1280, 1600};
constexpr std::array<int, 6> kPresetHeights = {0, 480, 600, 768, 960, 1200};
constexpr std::array<int, 5> kPresetPercents = {25, 50, 75, 100, 200};

// Kept to three decimals; what cannot be a value (a division by zero) is 0.
double thousandths(double value) {
    const double rounded = std::round(value * 1000.0) * 0.001;
    return std::isfinite(rounded) ? rounded : 0.0;
}

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

SourceImage withUsableResolution(SourceImage source) {
    if (!(source.dpiX > 0)) {
        source.dpiX = kFallbackDpi;
    }
    if (!(source.dpiY > 0)) {
        source.dpiY = kFallbackDpi;
    }
    return source;
}

std::string sizeText(PixelSize size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

int roundedPixels(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::round(std::clamp(value, -kPixelLimit, kPixelLimit)));
}

SizeArithmetic::SizeArithmetic(const SourceImage& source, double scale, bool canvas)
    : m_source(source), m_scale(canvas ? 1.0 : scale), m_canvas(canvas) {}

double SizeArithmetic::dotsPerInch(Axis axis) const {
    return axis == Axis::Width ? m_source.dpiX : m_source.dpiY;
}

int SizeArithmetic::sourceSide(Axis axis) const {
    return axis == Axis::Width ? m_source.width : m_source.height;
}

int SizeArithmetic::pixels(Axis axis, double value, SizeUnit unit) const {
    switch (unit) {
        case SizeUnit::Pixels:
            return roundedPixels(value);
        case SizeUnit::Inches:
            return roundedPixels(m_scale * dotsPerInch(axis) * value);
        case SizeUnit::Cm:
            return roundedPixels(m_scale * dotsPerInch(axis) * (value * kInchesPerCm));
        case SizeUnit::Percent:
            return roundedPixels(sourceSide(axis) * value * 0.01);
    }
    return 0;
}

PixelSize SizeArithmetic::pixelSize(const SizeFields& fields) const {
    return {pixels(Axis::Width, fields.width, fields.unit),
            pixels(Axis::Height, fields.height, fields.unit)};
}

double SizeArithmetic::valueFromPixels(Axis axis, int pixels, SizeUnit unit) const {
    switch (unit) {
        case SizeUnit::Pixels:
            return pixels;
        case SizeUnit::Inches:
            return thousandths(pixels / (dotsPerInch(axis) * m_scale));
        case SizeUnit::Cm:
            return thousandths(pixels / (dotsPerInch(axis) * m_scale) * 2.54);
        case SizeUnit::Percent:
            return thousandths(static_cast<double>(pixels) / sourceSide(axis) * 100.0);
    }
    return 0;
}

int SizeArithmetic::heightForWidth(int width) const {
    if (m_source.width <= 0) {
        return 1;
    }
    return std::max(1,
                    roundedPixels(static_cast<double>(m_source.height) * width / m_source.width));
}

int SizeArithmetic::widthForHeight(int height) const {
    if (m_source.height <= 0) {
        return 1;
    }
    return std::max(1,
                    roundedPixels(static_cast<double>(m_source.width) * height / m_source.height));
}

bool SizeArithmetic::isProportional(PixelSize size) const {
    if (m_source.width <= 0 || m_source.height <= 0) {
        return true;  // no source to keep the aspect of
    }
    const int widthFromHeight =
        m_canvas
            ? roundedPixels(static_cast<double>(m_source.width) * size.height / m_source.height)
            : widthForHeight(size.height);
    return size.height == heightForWidth(size.width) || size.width == widthFromHeight;
}

bool SizeArithmetic::applyPreset(SizeFields& fields, int preset) {
    if (preset <= 0 || preset >= static_cast<int>(kSizePresetNames.size())) {
        return false;
    }
    fields.preset = preset;
    if (preset < static_cast<int>(kPresetWidths.size())) {
        fields.unit = SizeUnit::Pixels;
        fields.width = kPresetWidths[preset];
        fields.height = kPresetHeights[preset];
        fields.keepAspect = false;
    } else {
        const int percent = kPresetPercents[preset - kPresetWidths.size()];
        fields.unit = SizeUnit::Percent;
        fields.width = percent;
        fields.height = percent;
        fields.keepAspect = true;
    }
    return true;
}

void SizeArithmetic::changeUnit(SizeFields& fields, SizeUnit unit) const {
    const PixelSize size = pixelSize(fields);
    fields.unit = unit;
    fields.width = valueFromPixels(Axis::Width, size.width, unit);
    fields.height = valueFromPixels(Axis::Height, size.height, unit);
    fields.preset = 0;
}

std::string SizeArithmetic::valueText(Axis axis, int pixels, SizeUnit unit) const {
    if (unit == SizeUnit::Pixels) {
        return std::to_string(pixels);
    }
    return threeDecimalsText(valueFromPixels(axis, pixels, unit));
}

std::optional<std::string> SizeArithmetic::heightTextAfterWidthTyped(
    const SizeFields& fields) const {
    const PixelSize size = pixelSize(fields);
    if (!fields.keepAspect || isProportional(size)) {
        return std::nullopt;
    }
    return valueText(Axis::Height, heightForWidth(size.width), fields.unit);
}

std::optional<std::string> SizeArithmetic::widthTextAfterHeightTyped(
    const SizeFields& fields) const {
    const PixelSize size = pixelSize(fields);
    if (!fields.keepAspect || isProportional(size)) {
        return std::nullopt;
    }
    const int width = widthForHeight(size.height);
    if (width == size.width) {
        return std::nullopt;
    }
    return valueText(Axis::Width, width, fields.unit);
}

std::optional<std::string> SizeArithmetic::heightTextAfterKeepAspect(
    const SizeFields& fields) const {
    const PixelSize size = pixelSize(fields);
    if (!fields.keepAspect || isProportional(size)) {
        return std::nullopt;
    }
    const int height = heightForWidth(size.width);
    if (height == size.height) {
        return std::nullopt;
    }
    return valueText(Axis::Height, height, fields.unit);
}

double dpiInInches(double value, DpiUnit unit) {
    return unit == DpiUnit::PixelsPerCm ? value * 2.54 : value;
}

double resizeScale(const SourceImage& source, double dpiValue, DpiUnit unit) {
    const double smaller = std::min(source.dpiX, source.dpiY);
    if (!(smaller > 0)) {
        return 0.0;
    }
    return dpiInInches(dpiValue, unit) / smaller;
}

double convertDpiValue(double value, DpiUnit from, DpiUnit to) {
    if (from == to) {
        return value;
    }
    if (to == DpiUnit::PixelsPerInch) {
        return std::round(value * 2540.0) * 0.001;
    }
    return std::round(value * 393.70078740157476) * 0.001;
}

double startDpiValue(const SourceImage& source) {
    return roundedPixels(std::min(source.dpiX, source.dpiY));
}

SizeCheck checkResize(const SourceImage& source, const SizeFields& fields, double dpiValue,
                      DpiUnit unit, ResizeResult& result) {
    const double scale = resizeScale(source, dpiValue, unit);
    const double dpiX = source.dpiX * scale;
    const double dpiY = source.dpiY * scale;
    if (!inRange(roundedPixels(dpiX), 1, kMaxResizeDpi) ||
        !inRange(roundedPixels(dpiY), 1, kMaxResizeDpi)) {
        return {SizeBox::Dpi, kDpiInvalidMessage};
    }
    const PixelSize size = SizeArithmetic(source, scale, false).pixelSize(fields);
    if (!inRange(size.width, 1, kMaxImageSide)) {
        return {SizeBox::Width, kSizeInvalidMessage};
    }
    if (!inRange(size.height, 1, kMaxImageSide)) {
        return {SizeBox::Height, kSizeInvalidMessage};
    }
    result = {size.width, size.height, dpiX, dpiY};
    return {};
}

SizeCheck checkCanvas(const SourceImage& source, const SizeFields& fields, PixelSize& result) {
    const PixelSize size = SizeArithmetic(source, 1.0, true).pixelSize(fields);
    if (!inRange(size.width, 1, kMaxImageSide)) {
        return {SizeBox::Width, kSizeInvalidMessage};
    }
    if (!inRange(size.height, 1, kMaxImageSide)) {
        return {SizeBox::Height, kSizeInvalidMessage};
    }
    result = size;
    return {};
}

}  // namespace tarn
