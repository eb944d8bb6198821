#include "dialogs/save_type_rules.h"

#include <algorithm>
#include <cctype>

namespace tarn {

namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && upper(a) == upper(b);
}

std::size_t lastComponentStart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

std::vector<std::string> filterDescriptions(std::string_view filter) {
    std::vector<std::string> result;
    if (filter.empty()) {
        return result;
    }
    std::size_t start = 0;
    for (bool description = true;; description = !description) {
        const std::size_t bar = filter.find('|', start);
        if (description) {
            result.emplace_back(filter.substr(
                start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        }
        if (bar == std::string_view::npos) {
            return result;
        }
        start = bar + 1;
    }
}

int preselectedFilterIndex(std::string_view initialName, std::string_view filter) {
    const std::string_view component = initialName.substr(lastComponentStart(initialName));
    const std::size_t dot = component.find_last_of('.');
    if (dot == std::string_view::npos || dot + 1 == component.size()) {
        return 1;
    }
    const std::string upperFilter = upper(filter);
    const std::size_t found = upperFilter.find(upper(component.substr(dot + 1)));
    if (found == std::string::npos) {
        return 1;
    }
    const auto bars = std::count(upperFilter.begin(), upperFilter.begin() + found, '|');
    return static_cast<int>(bars / 2 + 1);
}

std::string typeExtension(std::string_view typeText) {
    const std::size_t open = typeText.find("(*.");
    if (open == std::string_view::npos) {
        return {};
    }
    const std::size_t start = open + 3;
    const std::size_t end = std::min(typeText.find_first_of(";)", start), typeText.size());
    return std::string(typeText.substr(start, end - start));
}

std::optional<std::string> renamedForType(std::string_view currentName,
                                          std::string_view extension) {
    if (extension.empty()) {
        return std::nullopt;
    }
    const std::size_t componentStart = lastComponentStart(currentName);
    std::size_t end = currentName.find_last_of('.');
    if (end == std::string_view::npos || end < componentStart) {
        end = currentName.size();
    }
    std::string renamed(currentName.substr(0, end));
    renamed += '.';
    renamed += extension;
    if (equalIgnoringCase(renamed, currentName)) {
        return std::nullopt;
    }
    return renamed;
}

}  // namespace tarn
