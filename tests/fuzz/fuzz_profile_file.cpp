// Feeds arbitrary bytes to the settings-file parser as a whole Config.ini.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tarn::ProfileFile;
    const std::string_view content(reinterpret_cast<const char*>(data), size);

    (void)ProfileFile::findValue(content, "Thumb", "ThumbSizeWidth");
    if (const auto v = ProfileFile::findValue(content, "MainFrame", "Placement")) {
        (void)ProfileFile::decodeStruct(*v, 44);
    }
    (void)ProfileFile::parseInt(content.substr(0, 64));

    // Whatever the file holds, a written value reads back and the other keys keep theirs.
    const std::string written = ProfileFile::withValue(content, "Thumb", "SortType", "3");
    if (ProfileFile::findValue(written, "Thumb", "SortType") != "3") {
        std::abort();
    }
    if (ProfileFile::findValue(written, "Thumb", "ThumbSizeWidth") !=
        ProfileFile::findValue(content, "Thumb", "ThumbSizeWidth")) {
        std::abort();
    }
    // Adding a key that is not there only ever adds bytes.
    const bool absent = !ProfileFile::findValue(content, "Thumb", "Fuzz_Absent_Key");
    const std::string added = ProfileFile::withValue(content, "Thumb", "Fuzz_Absent_Key", "1");
    if (absent && added.size() <= size) {
        std::abort();
    }
    return 0;
}
