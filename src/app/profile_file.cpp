#include "app/profile_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "common/atomic_file.h"
#include "common/path_rules.h"

namespace tarn {

namespace {

// Serialises every read-modify-write of every settings file in the process.
std::mutex& writeLock() {
    static std::mutex lock;
    return lock;
}

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return extensionEquals(a, b);
}

struct Line {
    std::string_view text;        // without its line ending
    std::string_view terminator;  // "\n", "\r\n" or empty for a last line without one
};

std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    while (!content.empty()) {
        const std::size_t nl = content.find('\n');
        if (nl == std::string_view::npos) {
            lines.push_back({content, {}});
            break;
        }
        std::size_t end = nl;
        if (end > 0 && content[end - 1] == '\r') {
            --end;
        }
        lines.push_back({content.substr(0, end), content.substr(end, nl + 1 - end)});
        content.remove_prefix(nl + 1);
    }
    return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionOf(std::string_view line) {
    const std::string_view t = trim(line);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    std::string_view name = t.substr(1);
    const std::size_t close = name.find(']');
    if (close != std::string_view::npos) {
        name = name.substr(0, close);
    }
    return trim(name);
}

// The key of a "key=value" line, or nothing when the line has no "=".
std::optional<std::string_view> keyOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(0, eq));
}

struct Location {
    std::optional<std::size_t> section;  // index of the section's header line
    std::optional<std::size_t> key;      // index of the key's line
    std::size_t lastContent = 0;         // last non-blank line of the section
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location where;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionOf(lines[i].text)) {
            if (inSection) {
                break;  // left the first matching section
            }
            inSection = sameName(*name, section);
            if (inSection) {
                where.section = i;
                where.lastContent = i;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (!trim(lines[i].text).empty()) {
            where.lastContent = i;
        }
        const auto k = keyOf(lines[i].text);
        if (k && sameName(*k, key)) {
            where.key = i;
            break;
        }
    }
    return where;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : m_path(std::move(path)) {}

std::optional<std::string> ProfileFile::findValue(std::string_view content,
                                                  std::string_view section, std::string_view key) {
    const std::vector<Line> lines = splitLines(content);
    const Location where = locate(lines, section, key);
    if (!where.key) {
        return std::nullopt;
    }
    const std::string_view line = lines[*where.key].text;
    return std::string(trim(line.substr(line.find('=') + 1)));
}

std::string ProfileFile::withValue(std::string_view content, std::string_view section,
                                   std::string_view key, std::string_view value) {
    const std::vector<Line> lines = splitLines(content);
    // New lines follow the file's own line endings.
    const std::string_view newline =
        !lines.empty() && lines.front().terminator == "\r\n" ? "\r\n" : "\n";
    const std::string entry = std::string(key) + "=" + std::string(value);
    const Location where = locate(lines, section, key);

    std::string out;
    out.reserve(content.size() + entry.size() + section.size() + 8);
    const auto append = [&](std::string_view text, std::string_view terminator) {
        out += text;
        out += terminator.empty() ? newline : terminator;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        if (where.key && *where.key == i) {
            append(entry, lines[i].terminator);
            continue;
        }
        if (!where.key && where.section && where.lastContent == i) {
            append(lines[i].text, lines[i].terminator);
            append(entry, lines[i].terminator);  // the same ending as its neighbour
            continue;
        }
        if (last && lines[i].terminator.empty() && where.section) {
            out += lines[i].text;  // keep a missing final newline missing
            continue;
        }
        append(lines[i].text, lines[i].terminator);
    }
    if (!where.section) {
        out += "[";
        out += section;
        out += "]";
        out += newline;
        out += entry;
        out += newline;
    }
    return out;
}

int ProfileFile::parseInt(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            break;
        }
        value = std::min<long long>(value * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string ProfileFile::encodeStruct(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2 + 2);
    unsigned sum = 0;
    const auto put = [&](std::uint8_t b) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    };
    for (const std::uint8_t b : bytes) {
        put(b);
        sum += b;
    }
    put(static_cast<std::uint8_t>(sum & 0xFF));
    return out;
}

std::optional<std::vector<std::uint8_t>> ProfileFile::decodeStruct(std::string_view text,
                                                                   std::size_t size) {
    if (text.size() != (size + 1) * 2) {
        return std::nullopt;
    }
    const auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size + 1);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = nibble(text[i]);
        const int lo = nibble(text[i + 1]);
        if (hi < 0 || lo < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        sum += bytes[i];
    }
    if ((sum & 0xFF) != bytes.back()) {
        return std::nullopt;
    }
    bytes.pop_back();
    return bytes;
}

std::optional<std::string> ProfileFile::value(std::string_view section,
                                              std::string_view key) const {
    const auto content = readWholeFile(m_path);
    if (!content) {
        return std::nullopt;
    }
    return findValue(*content, section, key);
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int def) const {
    const auto v = value(section, key);
    return v ? parseInt(*v) : def;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
    const auto v = value(section, key);
    return v ? *v : std::string(def);
}

double ProfileFile::readReal(std::string_view section, std::string_view key, double def) const {
    const auto v = value(section, key);
    return v ? std::strtod(v->c_str(), nullptr) : def;
}

std::optional<std::vector<std::uint8_t>> ProfileFile::readStruct(std::string_view section,
                                                                 std::string_view key,
                                                                 std::size_t size) const {
    const auto v = value(section, key);
    return v ? decodeStruct(*v, size) : std::nullopt;
}

bool ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    // A line break inside a value would split the line and corrupt the file.
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    const std::lock_guard<std::mutex> guard(writeLock());
    std::error_code ec;
    const bool exists = std::filesystem::exists(m_path, ec);
    const auto content = readWholeFile(m_path);
    if (exists && !content) {
        return false;  // unreadable: never replace what we could not read
    }
    const std::string updated = withValue(content.value_or(std::string()), section, key, value);
    return writeBytesAtomically(m_path, updated.data(), updated.size());
}

bool ProfileFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

bool ProfileFile::writeFlag(std::string_view section, std::string_view key, bool value) {
    return writeString(section, key, value ? "1" : "0");
}

bool ProfileFile::writeReal(std::string_view section, std::string_view key, double value) {
    std::array<char, 512> text{};
    std::snprintf(text.data(), text.size(), "%f", value);
    return writeString(section, key, text.data());
}

bool ProfileFile::writeStruct(std::string_view section, std::string_view key,
                              const std::vector<std::uint8_t>& bytes) {
    return writeString(section, key, encodeStruct(bytes));
}

}  // namespace tarn
