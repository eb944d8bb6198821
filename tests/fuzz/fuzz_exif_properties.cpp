// Feeds arbitrary bytes to the EXIF store through Exiv2, then formats whatever it read.
#include <cstdint>
#include <cstdlib>

#include "imaging/exif_properties.h"
#include "imaging/exif_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarn::ExifProperties store;
    const bool loaded = store.load(data, size);
    if (loaded == store.empty()) {
        std::abort();  // success means items, failure means none
    }
    for (const tarn::ExifItem& item : store.items()) {
        // No value is bigger than the bytes it came from.
        if (item.value.size() > size) {
            std::abort();
        }
        (void)item.text();
        (void)item.unsignedAt(item.count);
        (void)item.rationalAt();
    }
    const auto rows = tarn::exifTableRows(store);
    if (rows.size() < 2) {
        std::abort();
    }
    (void)tarn::exifPanelTexts(store);
    return 0;
}
