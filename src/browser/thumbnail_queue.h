#pragma once

#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tarn {

// The paths waiting for a thumbnail; the head is served next. Each path is queued once. A
// new batch goes to the front in its own order, ahead of older requests, so the rows the user
// looks at now come first. Not thread-safe: the thumbnail worker's mutex guards it.
class ThumbnailQueue {
public:
    // Puts the paths not yet queued at the front, in the given order. Returns how many were
    // added.
    int pushBatchFront(const std::vector<std::string>& paths);
    bool contains(std::string_view path) const;
    // The head stays queued until removed, so a request for it meanwhile is not doubled.
    const std::string& front() const { return m_order.front(); }
    // The first path not in hand, or nullptr; the paths in hand are few and near the head.
    const std::string* firstExcept(const std::unordered_set<std::string>& inHand) const;
    bool remove(std::string_view path);
    void clear();
    bool empty() const { return m_order.empty(); }
    std::size_t size() const { return m_order.size(); }
    std::vector<std::string> paths() const { return {m_order.begin(), m_order.end()}; }

private:
    std::list<std::string> m_order;
    std::unordered_map<std::string, std::list<std::string>::iterator> m_where;
};

}  // namespace tarn
