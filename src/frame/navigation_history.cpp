#include "frame/navigation_history.h"

#include <algorithm>
#include <utility>

namespace tarn {

void NavigationHistory::record(const platform::ItemIdList& list, int source) {
    if (m_backCount == kCapacity) {
        // The oldest place goes.
        std::move(m_slots.begin() + 1, m_slots.end(), m_slots.begin());
        m_slots.back().reset();
        m_backCount = kCapacity - 1;
    }
    for (std::size_t i = m_backCount; i < kCapacity; ++i) {
        m_slots[i].reset();
    }
    if (m_current) {
        m_slots[m_backCount] = std::move(*m_current);
        ++m_backCount;
    }
    m_current = HistoryEntry{list, source};
}

const HistoryEntry* NavigationHistory::back() {
    if (m_backCount == 0) {
        return nullptr;
    }
    --m_backCount;
    std::swap(m_current, m_slots[m_backCount]);
    return current();
}

const HistoryEntry* NavigationHistory::forward() {
    if (!canGoForward()) {
        return nullptr;
    }
    std::swap(m_current, m_slots[m_backCount]);
    ++m_backCount;
    return current();
}

std::size_t NavigationHistory::forwardCount() const {
    std::size_t n = 0;
    for (std::size_t i = m_backCount; i < kCapacity && m_slots[i]; ++i) {
        ++n;
    }
    return n;
}

void NavigationHistory::clear() {
    m_current.reset();
    for (auto& slot : m_slots) {
        slot.reset();
    }
    m_backCount = 0;
}

}  // namespace tarn
