#include "browser/thumbnail_queue.h"

namespace tarn {

int ThumbnailQueue::pushBatchFront(const std::vector<std::string>& paths) {
    int added = 0;
    auto insertAt = m_order.begin();
    for (const std::string& path : paths) {
        if (path.empty() || m_where.count(path) != 0) {
            continue;
        }
        const auto it = m_order.insert(insertAt, path);
        m_where.emplace(path, it);
        insertAt = std::next(it);
        ++added;
    }
    return added;
}

bool ThumbnailQueue::contains(std::string_view path) const {
    return m_where.count(std::string(path)) != 0;
}

const std::string* ThumbnailQueue::firstExcept(
    const std::unordered_set<std::string>& inHand) const {
    for (const std::string& path : m_order) {
        if (inHand.count(path) == 0) {
            return &path;
        }
    }
    return nullptr;
}

bool ThumbnailQueue::remove(std::string_view path) {
    const auto found = m_where.find(std::string(path));
    if (found == m_where.end()) {
        return false;
    }
    m_order.erase(found->second);
    m_where.erase(found);
    return true;
}

void ThumbnailQueue::clear() {
    m_order.clear();
    m_where.clear();
}

}  // namespace tarn
