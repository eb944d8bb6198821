#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "platform/item_id_list.h"

namespace tarn {

// A remembered place: a private copy of its identifier list and the tree it was chosen in.
struct HistoryEntry {
    platform::ItemIdList list;
    int source = 0;  // 0 folder tree (or address bar), 1 favorites tree

    bool operator==(const HistoryEntry&) const = default;
};

// Back-and-forward history of the browser: the current place, up to 100 places behind it
// (oldest first) and the places ahead of it (nearest first). Back and Forward only move the
// split point; Record forgets the places ahead. Not saved between runs.
class NavigationHistory {
public:
    static constexpr std::size_t kCapacity = 100;

    // A user browsed to a place (never called while browsing through this history).
    void record(const platform::ItemIdList& list, int source);

    // Moves one place back or forward and returns the place to browse to without recording;
    // nullptr (and nothing changes) when there is none.
    const HistoryEntry* back();
    const HistoryEntry* forward();

    bool canGoBack() const { return m_backCount > 0; }
    bool canGoForward() const {
        return m_backCount < kCapacity && m_slots[m_backCount].has_value();
    }

    const HistoryEntry* current() const { return m_current ? &*m_current : nullptr; }
    std::size_t backCount() const { return m_backCount; }
    std::size_t forwardCount() const;

    // Forgets every place.
    void clear();

private:
    std::optional<HistoryEntry> m_current;
    // Slots [0, backCount) are behind, oldest first; from backCount on, ahead, nearest first,
    // up to the first empty slot.
    std::array<std::optional<HistoryEntry>, kCapacity> m_slots;
    std::size_t m_backCount = 0;
};

}  // namespace tarn
