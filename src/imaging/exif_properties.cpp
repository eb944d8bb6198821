#include "imaging/exif_properties.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>

#include "imaging/exiv2_setup.h"

namespace tarn {
namespace {

// Exiv2's names of the directories; the picture's own come first in a file.
ExifGroup groupOf(const std::string& name) {
    if (name == "Image") {
        return ExifGroup::Image;
    }
    if (name == "Photo") {
        return ExifGroup::Photo;
    }
    if (name == "GPSInfo") {
        return ExifGroup::Gps;
    }
    if (name == "Iop") {
        return ExifGroup::Interop;
    }
    return name == "Thumbnail" ? ExifGroup::Thumbnail : ExifGroup::Other;
}

constexpr Exiv2::ByteOrder kHostOrder =
    std::endian::native == std::endian::little ? Exiv2::littleEndian : Exiv2::bigEndian;

std::vector<ExifItem> readItems(Exiv2::Image& image) {
    image.readMetadata();
    std::vector<ExifItem> items;
    const Exiv2::ExifData& data = image.exifData();
    items.reserve(data.count());
    for (const Exiv2::Exifdatum& datum : data) {
        const long size = datum.size();
        const long count = datum.count();
        if (size < 0 || count < 0 ||
            static_cast<unsigned long>(size) > ExifProperties::kMaxItemBytes) {
            continue;
        }
        ExifItem item;
        item.tag = datum.tag();
        item.type = static_cast<std::uint16_t>(datum.typeId());
        item.count = static_cast<std::uint32_t>(count);
        item.group = groupOf(datum.groupName());
        item.value.resize(static_cast<std::size_t>(size));
        if (size > 0) {
            const long copied = datum.copy(item.value.data(), kHostOrder);
            item.value.resize(static_cast<std::size_t>(std::clamp(copied, 0L, size)));
        }
        items.push_back(std::move(item));
    }
    return items;
}

template <typename Open>
bool loadWith(std::vector<ExifItem>& items, Open open) {
    items.clear();
    initialiseExiv2();
    try {
        auto image = open();
        if (image.get() == nullptr) {
            return false;
        }
        items = readItems(*image);
    } catch (const std::exception&) {
        // Exiv2 throws on anything it cannot parse; the store stays empty.
        items.clear();
        return false;
    }
    return !items.empty();
}

template <typename T>
T readHost(const std::uint8_t* bytes) {
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace

std::optional<std::uint32_t> ExifItem::unsignedAt(std::size_t index) const {
    std::size_t width = 0;
    switch (type) {
        case kExifByte:
        case kExifUndefined:
            width = 1;
            break;
        case kExifShort:
            width = 2;
            break;
        case kExifLong:
            width = 4;
            break;
        default:
            return std::nullopt;
    }
    if (index >= value.size() / width) {
        return std::nullopt;
    }
    const std::uint8_t* at = value.data() + index * width;
    switch (width) {
        case 1:
            return *at;
        case 2:
            return readHost<std::uint16_t>(at);
        default:
            return readHost<std::uint32_t>(at);
    }
}

std::optional<ExifRational> ExifItem::rationalAt(std::size_t index) const {
    if ((type != kExifRational && type != kExifSignedRational) || index >= value.size() / 8) {
        return std::nullopt;
    }
    const std::uint8_t* at = value.data() + index * 8;
    if (type == kExifRational) {
        return ExifRational{readHost<std::uint32_t>(at), readHost<std::uint32_t>(at + 4)};
    }
    return ExifRational{readHost<std::int32_t>(at), readHost<std::int32_t>(at + 4)};
}

std::string_view ExifItem::text() const {
    if (value.empty()) {
        return {};
    }
    const auto* begin = reinterpret_cast<const char*>(value.data());
    const void* end = std::memchr(begin, '\0', value.size());
    return std::string_view(begin, end != nullptr ? static_cast<const char*>(end) - begin
                                                  : static_cast<std::ptrdiff_t>(value.size()));
}

bool ExifProperties::load(const std::string& path) {
    return loadWith(m_items, [&path] { return Exiv2::ImageFactory::open(path, false); });
}

bool ExifProperties::load(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) {
        m_items.clear();
        return false;
    }
    return loadWith(
        m_items, [data, size] { return Exiv2::ImageFactory::open(data, static_cast<long>(size)); });
}

const ExifItem* ExifProperties::find(std::uint32_t tag) const {
    for (const ExifItem& item : m_items) {
        if (item.tag == tag && (item.group == ExifGroup::Image || item.group == ExifGroup::Photo ||
                                item.group == ExifGroup::Gps)) {
            return &item;
        }
    }
    return nullptr;
}

const ExifItem* ExifProperties::find(std::uint32_t tag, ExifGroup group) const {
    for (const ExifItem& item : m_items) {
        if (item.tag == tag && item.group == group) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace tarn
