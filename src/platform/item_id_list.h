#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::platform {

// A sequence of opaque elements naming a place in the shell namespace. Held in its serial
// form without the terminator: each element is a 16-bit little-endian byte count that
// includes the two count bytes, then the element's bytes. One buffer per list keeps
// copies cheap for large folders.
class ItemIdList {
public:
    // The empty list: the Desktop.
    ItemIdList() = default;

    // Largest element payload a count can describe.
    static constexpr std::size_t kMaxElementSize = 0xFFFF - 2;

    // A list of one element; false-y (empty list) when the element is too long.
    static ItemIdList fromElement(std::string_view element);

    // Reads a serial form ended by a 16-bit zero. Returns the list and the number of bytes
    // consumed (terminator included); nothing when the data is cut short or a count is
    // smaller than two.
    static std::optional<std::pair<ItemIdList, std::size_t>> parse(std::string_view data);

    // The serial form with its terminating 16-bit zero.
    std::string serialize() const;

    bool empty() const { return m_bytes.empty(); }
    std::size_t elementCount() const;
    std::vector<std::string_view> elements() const;
    // The last element's payload; empty for the Desktop.
    std::string_view lastElement() const;

    // This list followed by the elements of another.
    ItemIdList joined(const ItemIdList& child) const;
    // Appends one element; false when it is too long.
    bool append(std::string_view element);
    // The list without its last element (the Desktop stays the Desktop).
    ItemIdList parent() const;
    // The last element alone.
    ItemIdList last() const;

    // Serial bytes without the terminator; equal bytes mean equal element sequences.
    const std::string& bytes() const { return m_bytes; }

    bool operator==(const ItemIdList&) const = default;

private:
    std::string m_bytes;
};

}  // namespace tarn::platform
