#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarn {

// EXIF value types, numbered as the EXIF standard numbers them.
enum ExifType : std::uint16_t {
    kExifByte = 1,
    kExifAscii = 2,
    kExifShort = 3,
    kExifLong = 4,
    kExifRational = 5,
    kExifSignedByte = 6,
    kExifUndefined = 7,
    kExifSignedShort = 8,
    kExifSignedLong = 9,
    kExifSignedRational = 10,
    kExifFloat = 11,
    kExifDouble = 12,
};

// The directory an item was read from. Tag ids repeat across directories (the thumbnail's
// IFD1 has its own Orientation and resolutions), so plain lookups skip the thumbnail and
// maker-note directories.
enum class ExifGroup { Image, Photo, Gps, Interop, Thumbnail, Other };

// A rational as stored: numerator over denominator, either signed or unsigned 32-bit.
struct ExifRational {
    std::int64_t numerator = 0;
    std::int64_t denominator = 0;
    // The division as floating point: a denominator of 0 gives infinity or NaN.
    double value() const {
        return static_cast<double>(numerator) / static_cast<double>(denominator);
    }
};

// One EXIF item. Numbers in `value` are in host byte order whatever the file's order was;
// texts and undefined bytes are as stored (a text may lack its terminator).
struct ExifItem {
    std::uint32_t tag = 0;
    std::uint16_t type = 0;  // an ExifType, or whatever other number the file gave
    std::uint32_t count = 0;
    ExifGroup group = ExifGroup::Other;
    std::vector<std::uint8_t> value;

    // The i-th integer of a BYTE, SHORT, LONG or UNDEFINED item; nothing for other types or
    // past the end.
    std::optional<std::uint32_t> unsignedAt(std::size_t index = 0) const;
    // The i-th rational of a RATIONAL or SRATIONAL item.
    std::optional<ExifRational> rationalAt(std::size_t index = 0) const;
    // The bytes up to the first terminator, or all of them when there is none.
    std::string_view text() const;
};

// Every EXIF item of one file, read with Exiv2 without decoding pixels, in the file's order.
// A file that cannot be read, or has no EXIF block, gives an empty store.
class ExifProperties {
public:
    ExifProperties() = default;
    // A store of given items, for formatting what came from elsewhere.
    explicit ExifProperties(std::vector<ExifItem> items) : m_items(std::move(items)) {}

    // Replaces the items with the file's; false (and empty) on any failure.
    bool load(const std::string& path);
    // The same for a file held in memory.
    bool load(const std::uint8_t* data, std::size_t size);
    void clear() { m_items.clear(); }

    bool empty() const { return m_items.empty(); }
    const std::vector<ExifItem>& items() const { return m_items; }
    // The first item with that id in the picture's own directories (IFD0, Exif and GPS), or
    // null. The interoperability directory's ids collide with GPS ids and stay out.
    const ExifItem* find(std::uint32_t tag) const;
    // The first item with that id in one directory, or null.
    const ExifItem* find(std::uint32_t tag, ExifGroup group) const;

    // An item larger than this is damage (no real EXIF block reaches it) and is skipped.
    static constexpr std::size_t kMaxItemBytes = 16u << 20;

private:
    std::vector<ExifItem> m_items;
};

}  // namespace tarn
