#include "platform/item_id_list.h"

namespace tarn::platform {

namespace {

std::size_t readCount(std::string_view data, std::size_t at) {
    return static_cast<std::size_t>(static_cast<std::uint8_t>(data[at])) |
           (static_cast<std::size_t>(static_cast<std::uint8_t>(data[at + 1])) << 8);
}

void appendElement(std::string& out, std::string_view element) {
    const std::size_t count = element.size() + 2;
    out.push_back(static_cast<char>(count & 0xFF));
    out.push_back(static_cast<char>((count >> 8) & 0xFF));
    out.append(element);
}

}  // namespace

ItemIdList ItemIdList::fromElement(std::string_view element) {
    ItemIdList list;
    list.append(element);
    return list;
}

bool ItemIdList::append(std::string_view element) {
    if (element.size() > kMaxElementSize) {
        return false;
    }
    appendElement(m_bytes, element);
    return true;
}

std::optional<std::pair<ItemIdList, std::size_t>> ItemIdList::parse(std::string_view data) {
    std::size_t at = 0;
    for (;;) {
        if (data.size() - at < 2) {
            return std::nullopt;
        }
        const std::size_t count = readCount(data, at);
        if (count == 0) {
            ItemIdList list;
            list.m_bytes.assign(data.substr(0, at));
            return std::make_pair(std::move(list), at + 2);
        }
        if (count < 2 || count > data.size() - at) {
            return std::nullopt;
        }
        at += count;
    }
}

std::string ItemIdList::serialize() const {
    std::string out = m_bytes;
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

std::size_t ItemIdList::elementCount() const {
    std::size_t n = 0;
    for (std::size_t at = 0; at + 2 <= m_bytes.size(); at += readCount(m_bytes, at)) {
        ++n;
    }
    return n;
}

std::vector<std::string_view> ItemIdList::elements() const {
    std::vector<std::string_view> out;
    const std::string_view all(m_bytes);
    for (std::size_t at = 0; at + 2 <= all.size();) {
        const std::size_t count = readCount(all, at);
        out.push_back(all.substr(at + 2, count - 2));
        at += count;
    }
    return out;
}

std::string_view ItemIdList::lastElement() const {
    const std::string_view all(m_bytes);
    std::string_view last;
    for (std::size_t at = 0; at + 2 <= all.size();) {
        const std::size_t count = readCount(all, at);
        last = all.substr(at + 2, count - 2);
        at += count;
    }
    return last;
}

ItemIdList ItemIdList::joined(const ItemIdList& child) const {
    ItemIdList out;
    out.m_bytes.reserve(m_bytes.size() + child.m_bytes.size());
    out.m_bytes = m_bytes;
    out.m_bytes += child.m_bytes;
    return out;
}

ItemIdList ItemIdList::parent() const {
    std::size_t lastStart = 0;
    for (std::size_t at = 0; at + 2 <= m_bytes.size(); at += readCount(m_bytes, at)) {
        lastStart = at;
    }
    ItemIdList out;
    out.m_bytes.assign(m_bytes, 0, lastStart);
    return out;
}

ItemIdList ItemIdList::last() const {
    if (empty()) {
        return {};
    }
    return fromElement(lastElement());
}

}  // namespace tarn::platform
