// Feeds arbitrary bytes to the shortcut reader, and the identifier-list parser beside it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/item_id_list.h"
#include "platform/shell_link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string target = tarn::platform::decodeShellLinkTarget(bytes, "/home/me/Favorites");
    // Whatever is read is a path of its own or nothing.
    if (!target.empty() && target.size() > 2 * size + 64) {
        std::abort();
    }

    if (const auto parsed = tarn::platform::ItemIdList::parse(bytes)) {
        // What parses serialises back to the bytes it was read from.
        if (parsed->first.serialize() != bytes.substr(0, parsed->second)) {
            std::abort();
        }
    }
    return 0;
}
