#include "platform/shell_link.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "common/atomic_file.h"
#include "common/path_rules.h"

namespace tarn::platform {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<std::uint8_t, 16> kLinkClsid{0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kHasLinkTargetIdList = 0x01;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasRelativePath = 0x08;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeNormal = 0x80;
constexpr std::uint32_t kDriveFixed = 3;
// Shortcut files are small; anything larger is not read.
constexpr std::size_t kMaxLinkFileSize = 1 << 20;

void put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void set32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

// UTF-8 to UTF-16 code units; nothing when the text is not valid UTF-8.
std::optional<std::u16string> utf8To16(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<std::uint8_t>(s[i]);
        std::uint32_t cp = 0;
        std::size_t n = 0;
        if (c < 0x80) {
            cp = c;
            n = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            n = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            n = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            n = 4;
        } else {
            return std::nullopt;
        }
        if (i + n > s.size()) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k < n; ++k) {
            const auto cc = static_cast<std::uint8_t>(s[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr std::uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return out;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void putUtf16(std::string& out, const std::u16string& s) {
    for (const char16_t u : s) {
        put16(out, u);
    }
}

// Bounds-checked reading of little-endian data.
class Reader {
public:
    explicit Reader(std::string_view data) : m_data(data) {}

    std::optional<std::uint32_t> u16(std::size_t at) const {
        if (at > m_data.size() || m_data.size() - at < 2) {
            return std::nullopt;
        }
        return byte(at) | (byte(at + 1) << 8);
    }
    std::optional<std::uint32_t> u32(std::size_t at) const {
        if (at > m_data.size() || m_data.size() - at < 4) {
            return std::nullopt;
        }
        return byte(at) | (byte(at + 1) << 8) | (byte(at + 2) << 16) | (byte(at + 3) << 24);
    }
    // A NUL-terminated byte string starting at `at` and ending before `limit`.
    std::optional<std::string> cString(std::size_t at, std::size_t limit) const {
        limit = std::min(limit, m_data.size());
        if (at >= limit) {
            return std::nullopt;
        }
        const std::size_t end = m_data.find('\0', at);
        if (end == std::string_view::npos || end >= limit) {
            return std::nullopt;
        }
        return std::string(m_data.substr(at, end - at));
    }
    // A NUL-terminated UTF-16 string, converted to UTF-8 (lone surrogates become U+FFFD).
    std::optional<std::string> wString(std::size_t at, std::size_t limit) const {
        limit = std::min(limit, m_data.size());
        std::string out;
        for (std::size_t p = at; p + 2 <= limit; p += 2) {
            std::uint32_t u = byte(p) | (byte(p + 1) << 8);
            if (u == 0) {
                return out;
            }
            if (u >= 0xD800 && u <= 0xDBFF && p + 4 <= limit) {
                const std::uint32_t lo = byte(p + 2) | (byte(p + 3) << 8);
                if (lo >= 0xDC00 && lo <= 0xDFFF) {
                    u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                    p += 2;
                }
            }
            appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
        }
        return std::nullopt;
    }
    std::size_t size() const { return m_data.size(); }

private:
    std::uint32_t byte(std::size_t at) const { return static_cast<std::uint8_t>(m_data[at]); }
    std::string_view m_data;
};

// Turns a stored relative path into an absolute one below the shortcut's folder.
std::string resolveRelative(std::string rel, std::string_view linkFolder) {
    for (char& c : rel) {
        if (c == '\\') {
            c = '/';  // shortcuts made on Windows
        }
    }
    if (rel.empty()) {
        return {};
    }
    if (rel.front() == '/') {
        return normalizePath(rel, PathStyle::Posix);
    }
    if (linkFolder.empty()) {
        return {};
    }
    // Fold "." and ".." lexically; the link's folder is absolute.
    std::vector<std::string> parts;
    const std::string whole = std::string(linkFolder) + "/" + rel;
    for (std::size_t at = 0; at <= whole.size();) {
        std::size_t end = whole.find('/', at);
        if (end == std::string::npos) {
            end = whole.size();
        }
        const std::string c = whole.substr(at, end - at);
        at = end + 1;
        if (c.empty() || c == ".") {
            continue;
        }
        if (c == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        parts.push_back(c);
    }
    std::string out;
    for (const auto& p : parts) {
        out += "/" + p;
    }
    return out.empty() ? std::string("/") : out;
}

}  // namespace

std::string relativePathBetween(std::string_view from, std::string_view to) {
    const auto split = [](std::string_view p) {
        std::vector<std::string_view> out;
        for (std::size_t at = 0; at < p.size();) {
            std::size_t end = p.find('/', at);
            if (end == std::string_view::npos) {
                end = p.size();
            }
            if (end > at) {
                out.push_back(p.substr(at, end - at));
            }
            at = end + 1;
        }
        return out;
    };
    const auto a = split(from);
    const auto b = split(to);
    std::size_t common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common]) {
        ++common;
    }
    std::string out;
    for (std::size_t i = common; i < a.size(); ++i) {
        out += out.empty() ? ".." : "/..";
    }
    for (std::size_t i = common; i < b.size(); ++i) {
        if (!out.empty()) {
            out += '/';
        }
        out += b[i];
    }
    return out.empty() ? std::string(".") : out;
}

std::string encodeShellLink(std::string_view targetPath, std::string_view relativePath,
                            bool folder) {
    const std::optional<std::u16string> wideTarget = utf8To16(targetPath);
    const std::optional<std::u16string> wideRelative = utf8To16(relativePath);
    const bool unicode = wideRelative.has_value();

    std::uint32_t flags = kHasLinkInfo;
    if (!relativePath.empty() && relativePath.size() <= 0xFFFF) {
        flags |= kHasRelativePath;
    }
    if (unicode) {
        flags |= kIsUnicode;
    }

    std::string out;
    put32(out, kHeaderSize);
    out.append(reinterpret_cast<const char*>(kLinkClsid.data()), kLinkClsid.size());
    put32(out, flags);
    put32(out, folder ? kAttributeDirectory : kAttributeNormal);
    for (int i = 0; i < 3; ++i) {
        put32(out, 0);  // creation, access, write times
        put32(out, 0);
    }
    put32(out, 0);  // file size
    put32(out, 0);  // icon index
    put32(out, 1);  // show normally
    put16(out, 0);  // hot key
    put16(out, 0);
    put32(out, 0);
    put32(out, 0);

    // LinkInfo: the Unicode offsets are present (header 0x24) only when the path is UTF-8.
    const std::size_t infoStart = out.size();
    const std::uint32_t infoHeader = wideTarget ? 0x24 : 0x1C;
    std::string info(infoHeader, '\0');
    set32(info, 4, infoHeader);
    set32(info, 8, kVolumeIdAndLocalBasePath);
    set32(info, 12, infoHeader);
    std::string volume;
    put32(volume, 0x11);
    put32(volume, kDriveFixed);
    put32(volume, 0);     // serial number
    put32(volume, 0x10);  // label offset
    volume.push_back('\0');
    info += volume;
    set32(info, 16, static_cast<std::uint32_t>(info.size()));
    info.append(targetPath);
    info.push_back('\0');
    set32(info, 24, static_cast<std::uint32_t>(info.size()));
    info.push_back('\0');  // empty common path suffix
    if (wideTarget) {
        set32(info, 28, static_cast<std::uint32_t>(info.size()));
        putUtf16(info, *wideTarget);
        put16(info, 0);
        set32(info, 32, static_cast<std::uint32_t>(info.size()));
        put16(info, 0);
    }
    set32(info, 0, static_cast<std::uint32_t>(info.size()));
    out += info;
    (void)infoStart;

    if (flags & kHasRelativePath) {
        if (unicode) {
            put16(out, static_cast<std::uint32_t>(wideRelative->size()));
            putUtf16(out, *wideRelative);
        } else {
            put16(out, static_cast<std::uint32_t>(relativePath.size()));
            out.append(relativePath);
        }
    }
    put32(out, 0);  // no extra data blocks
    return out;
}

std::string decodeShellLinkTarget(std::string_view data, std::string_view linkFolder) {
    const Reader r(data);
    if (r.u32(0) != kHeaderSize || data.size() < kHeaderSize ||
        data.substr(4, 16) !=
            std::string_view(reinterpret_cast<const char*>(kLinkClsid.data()), kLinkClsid.size())) {
        return {};
    }
    const std::uint32_t flags = *r.u32(0x14);
    std::size_t at = kHeaderSize;
    if (flags & kHasLinkTargetIdList) {
        const auto idSize = r.u16(at);
        if (!idSize) {
            return {};
        }
        at += 2 + *idSize;
    }
    if ((flags & kHasLinkInfo) && !(flags & kForceNoLinkInfo)) {
        const auto infoSize = r.u32(at);
        const auto infoHeader = r.u32(at + 4);
        const auto infoFlags = r.u32(at + 8);
        if (!infoSize || !infoHeader || !infoFlags || *infoSize < 0x1C ||
            *infoSize > data.size() - at) {
            return {};
        }
        const std::size_t infoEnd = at + *infoSize;
        if (*infoFlags & kVolumeIdAndLocalBasePath) {
            std::optional<std::string> base;
            std::optional<std::string> suffix;
            if (*infoHeader >= 0x24) {
                const auto baseW = r.u32(at + 28);
                const auto suffixW = r.u32(at + 32);
                if (baseW && *baseW != 0 && *baseW < *infoSize) {
                    base = r.wString(at + *baseW, infoEnd);
                }
                if (suffixW && *suffixW != 0 && *suffixW < *infoSize) {
                    suffix = r.wString(at + *suffixW, infoEnd);
                }
            }
            if (!base) {
                const auto baseA = r.u32(at + 16);
                if (baseA && *baseA != 0 && *baseA < *infoSize) {
                    base = r.cString(at + *baseA, infoEnd);
                }
            }
            if (!suffix) {
                const auto suffixA = r.u32(at + 24);
                if (suffixA && *suffixA != 0 && *suffixA < *infoSize) {
                    suffix = r.cString(at + *suffixA, infoEnd);
                }
            }
            if (base && !base->empty()) {
                std::string target = *base;
                if (suffix && !suffix->empty()) {
                    target = joinPath(target, *suffix);
                }
                return target;
            }
        }
        at = infoEnd;
    } else if (flags & kHasLinkInfo) {
        // Present but to be ignored: skip it.
        const auto infoSize = r.u32(at);
        if (!infoSize || *infoSize > data.size() - at) {
            return {};
        }
        at += *infoSize;
    }
    // String data in its fixed order: the name comes before the relative path.
    const bool unicode = flags & kIsUnicode;
    const auto readCounted = [&](std::size_t& pos) -> std::optional<std::string> {
        const auto count = r.u16(pos);
        if (!count) {
            return std::nullopt;
        }
        const std::size_t bytes = *count * (unicode ? 2u : 1u);
        if (bytes > data.size() - pos - 2) {
            return std::nullopt;
        }
        std::string text;
        if (unicode) {
            std::string wide(data.substr(pos + 2, bytes));
            wide.append(2, '\0');
            text = Reader(wide).wString(0, wide.size()).value_or(std::string());
        } else {
            text.assign(data.substr(pos + 2, bytes));
        }
        pos += 2 + bytes;
        return text;
    };
    if (flags & kHasName) {
        if (!readCounted(at)) {
            return {};
        }
    }
    if (flags & kHasRelativePath) {
        const auto rel = readCounted(at);
        if (!rel) {
            return {};
        }
        return resolveRelative(*rel, linkFolder);
    }
    return {};
}

bool writeShellLink(const std::string& linkPath, const std::string& targetPath) {
    if (linkPath.empty() || targetPath.empty() || targetPath.front() != '/') {
        return false;
    }
    struct stat st;
    const bool folder = ::stat(targetPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const std::string linkFolder = parentFolder(linkPath);
    const std::string bytes =
        encodeShellLink(targetPath, relativePathBetween(linkFolder, targetPath), folder);

    return writeBytesAtomically(linkPath, bytes.data(), bytes.size());
}

std::string shortcutTarget(const std::string& path) {
    struct stat st;
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
        return {};
    }
    if (S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) {
            return {};  // dangling or looping
        }
        return resolved;
    }
    if (!S_ISREG(st.st_mode) || !extensionEquals(fileExtension(path), "lnk") ||
        static_cast<std::size_t>(st.st_size) > kMaxLinkFileSize) {
        return {};
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {};
    }
    std::string data(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    data.resize(got);
    return decodeShellLinkTarget(data, parentFolder(path));
}

}  // namespace tarn::platform
