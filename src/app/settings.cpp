#include "app/settings.h"

#include <algorithm>

namespace tarn::settings {

int noLimit(int v) {
    return v;
}
int clampThumbSize(int v) {
    return std::clamp(v, 36, 200);
}
int clampSortType(int v) {
    return std::clamp(v, 0, 4);
}
int clampSortDirection(int v) {
    return std::clamp(v, 0, 1);
}
int zoomTypeOrZero(int v) {
    return v >= 0 && v <= 4 ? v : 0;
}
int clampViewTool(int v) {
    return std::clamp(v, 0, 2);
}

double limitZoomLevel(double v) {
    if (!(v > 0)) {
        return 0.01;  // also NaN
    }
    return std::min(v, 16.0);
}

double limitSelRatio(double v) {
    return v > 0 ? v : 0.0;
}

std::vector<std::uint8_t> WindowPlacement::toBytes() const {
    const std::int32_t fields[] = {length, flags, showCmd, minX,  minY,  maxX,
                                   maxY,   left,  top,     right, bottom};
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44);
    for (const std::int32_t f : fields) {
        const auto u = static_cast<std::uint32_t>(f);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(u >> shift));
        }
    }
    return bytes;
}

std::optional<WindowPlacement> WindowPlacement::fromBytes(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != 44) {
        return std::nullopt;
    }
    std::int32_t fields[11];
    for (std::size_t i = 0; i < 11; ++i) {
        std::uint32_t u = 0;
        for (std::size_t b = 0; b < 4; ++b) {
            u |= static_cast<std::uint32_t>(bytes[i * 4 + b]) << (8 * b);
        }
        fields[i] = static_cast<std::int32_t>(u);
    }
    WindowPlacement p;
    p.length = fields[0];
    p.flags = fields[1];
    p.showCmd = fields[2];
    p.minX = fields[3];
    p.minY = fields[4];
    p.maxX = fields[5];
    p.maxY = fields[6];
    p.left = fields[7];
    p.top = fields[8];
    p.right = fields[9];
    p.bottom = fields[10];
    return p;
}

}  // namespace tarn::settings

namespace tarn {

using namespace settings;

bool SettingsStore::get(const FlagKey& key) const {
    const int v = m_file.readInt(key.name.section, key.name.key, key.def ? 1 : 0);
    return key.onlyExactlyOne ? v == 1 : v != 0;
}

int SettingsStore::get(const IntKey& key) const {
    return key.limit(m_file.readInt(key.name.section, key.name.key, key.def));
}

double SettingsStore::get(const RealKey& key) const {
    return key.limit(m_file.readReal(key.name.section, key.name.key, key.def));
}

std::string SettingsStore::get(const TextKey& key) const {
    return m_file.readString(key.name.section, key.name.key, key.def);
}

std::optional<std::vector<std::uint8_t>> SettingsStore::get(const StructKey& key) const {
    return m_file.readStruct(key.name.section, key.name.key, key.size);
}

bool SettingsStore::set(const FlagKey& key, bool value) {
    return m_file.writeFlag(key.name.section, key.name.key, value);
}

bool SettingsStore::set(const IntKey& key, int value) {
    return m_file.writeInt(key.name.section, key.name.key, key.limit(value));
}

bool SettingsStore::set(const RealKey& key, double value) {
    return m_file.writeReal(key.name.section, key.name.key, key.limit(value));
}

bool SettingsStore::set(const TextKey& key, std::string_view value) {
    return m_file.writeString(key.name.section, key.name.key, value);
}

bool SettingsStore::set(const StructKey& key, const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != key.size) {
        return false;
    }
    return m_file.writeStruct(key.name.section, key.name.key, bytes);
}

std::optional<WindowPlacement> SettingsStore::placement() const {
    const auto bytes = get(kPlacement);
    return bytes ? WindowPlacement::fromBytes(*bytes) : std::nullopt;
}

bool SettingsStore::setPlacement(const WindowPlacement& placement) {
    return set(kPlacement, placement.toBytes());
}

std::optional<std::uint32_t> SettingsStore::color(const StructKey& key) const {
    const auto bytes = get(key);
    if (!bytes || bytes->size() != 4) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>((*bytes)[0]) | static_cast<std::uint32_t>((*bytes)[1]) << 8 |
           static_cast<std::uint32_t>((*bytes)[2]) << 16;
}

bool SettingsStore::setColor(const StructKey& key, std::uint32_t colorRef) {
    return set(key, {static_cast<std::uint8_t>(colorRef), static_cast<std::uint8_t>(colorRef >> 8),
                     static_cast<std::uint8_t>(colorRef >> 16), 0});
}

}  // namespace tarn
