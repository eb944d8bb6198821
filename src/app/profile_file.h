#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// A private-profile settings file ("[Section]" headers, "key=value" lines). There is no
// cache: every read parses the file as it is on disk now. Section and key names compare
// case-insensitively; the first match wins. Lines the parser does not understand are kept
// byte for byte by every write.
//
// Writes read the file, change one line, write a temporary file beside it and rename it over
// the old one, all under one process-wide lock, so that two threads writing at once lose
// neither value and a crash never leaves a half-written file. Thread-safe.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& path() const { return m_path; }

    // Optional sign and leading digits of the value; a missing key gives the default, a value
    // without digits gives 0. Values beyond the int range saturate.
    int readInt(std::string_view section, std::string_view key, int def) const;

    // The value with surrounding blanks removed; a missing key gives the default.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def) const;

    // The value converted as the C library converts text to double; missing gives def.
    double readReal(std::string_view section, std::string_view key, double def) const;

    // Hex pairs plus a checksum byte (sum of the bytes mod 256). Absent on a missing key, a
    // length other than size, a non-hex digit or a checksum mismatch.
    std::optional<std::vector<std::uint8_t>> readStruct(std::string_view section,
                                                        std::string_view key,
                                                        std::size_t size) const;

    // Each write returns false when the file could not be replaced; the old file is then
    // unchanged. The folder holding the file must exist.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, int value);
    bool writeFlag(std::string_view section, std::string_view key, bool value);
    bool writeReal(std::string_view section, std::string_view key, double value);
    bool writeStruct(std::string_view section, std::string_view key,
                     const std::vector<std::uint8_t>& bytes);

    // Parsing helpers, exposed for the fuzz target and tests.
    static std::optional<std::string> findValue(std::string_view content, std::string_view section,
                                                std::string_view key);
    static std::string withValue(std::string_view content, std::string_view section,
                                 std::string_view key, std::string_view value);
    static int parseInt(std::string_view text);
    static std::string encodeStruct(const std::vector<std::uint8_t>& bytes);
    static std::optional<std::vector<std::uint8_t>> decodeStruct(std::string_view text,
                                                                 std::size_t size);

private:
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    std::string m_path;
};

}  // namespace tarn
