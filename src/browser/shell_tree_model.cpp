#include "browser/shell_tree_model.h"

#include <algorithm>
#include <unordered_set>

#include "common/path_rules.h"

namespace tarn {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive byte order, then plain byte order so that "a" and "A" do not tie.
bool nameLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(lowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(lowerAscii(b[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

}  // namespace

std::optional<std::vector<TreeChild>> listTreeFolders(const platform::ShellNamespace& shell,
                                                      const platform::ItemIdList& folder,
                                                      bool includeHidden) {
    using namespace platform;
    std::vector<TreeChild> children;
    const unsigned flags = kEnumFolders | (includeHidden ? kEnumHidden : 0u);
    const bool listed = shell.enumerate(folder, flags, [&](const ChildInfo& info) {
        if (!(info.attributes & kAttrFolder)) {
            return;
        }
        TreeChild child;
        child.relative = ItemIdList::fromElement(info.element);
        if (child.relative.empty()) {
            return;
        }
        const ItemIdList absolute = folder.joined(child.relative);
        child.name.assign(info.name);
        child.path.assign(info.path);
        child.icon = shell.iconIndex(absolute);
        child.hasSubFolders = (shell.attributes(absolute, kAttrHasSubFolders) != 0);
        children.push_back(std::move(child));
    });
    if (!listed) {
        return std::nullopt;
    }
    if (!shell.pathOf(folder).empty()) {
        std::stable_sort(
            children.begin(), children.end(),
            [](const TreeChild& a, const TreeChild& b) { return nameLess(a.name, b.name); });
    }
    return children;
}

ChildRefreshPlan planChildRefresh(const std::vector<platform::ItemIdList>& existing,
                                  const std::vector<TreeChild>& fresh) {
    ChildRefreshPlan plan;
    std::unordered_set<std::string> listed;
    for (const TreeChild& child : fresh) {
        listed.insert(child.relative.bytes());
    }
    std::unordered_set<std::string> kept;
    for (std::size_t i = 0; i < existing.size(); ++i) {
        const std::string& bytes = existing[i].bytes();
        // A duplicate node of the same child goes too, so every child has one node.
        if (listed.count(bytes) == 0 || !kept.insert(bytes).second) {
            plan.removed.push_back(i);
        }
    }
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (kept.insert(fresh[i].relative.bytes()).second) {
            plan.added.push_back(i);
        }
    }
    return plan;
}

std::optional<std::string> folderOfChangedEntry(std::string_view path) {
    if (path.empty() || path.front() != '/') {
        return std::nullopt;
    }
    const std::string normal = normalizePath(path, PathStyle::Posix);
    if (normal == "/") {
        return std::nullopt;
    }
    return parentFolder(normal, PathStyle::Posix);
}

}  // namespace tarn
