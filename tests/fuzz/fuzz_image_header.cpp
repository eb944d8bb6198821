// Feeds arbitrary bytes to our image header readers. Whatever they accept must be a picture of
// at least one pixel; nothing may be read outside the bytes. Only our own readers are driven:
// the library's header loads of other formats are not ours to fuzz.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "imaging/header_source.h"

namespace {

void check(const std::optional<tarn::ImageHeader>& header) {
    if (header && (header->width == 0 || header->height == 0)) {
        std::abort();
    }
}

// The signatures that send a file to one of our own readers.
bool ownSignature(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return false;
    }
    return std::memcmp(data, "\x89PNG", 4) == 0 || (data[0] == 0xFF && data[1] == 0xD8) ||
           std::memcmp(data, "GIF8", 4) == 0 || (data[0] == 'B' && data[1] == 'M') ||
           std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (ownSignature(data, size)) {
        for (int page = 0; page < 3; ++page) {
            check(tarn::readImageHeader(data, size, page));
        }
    }
    tarn::header_detail::MemorySource source(data, size);
    for (const FREE_IMAGE_FORMAT fif :
         {FIF_DDS, FIF_SGI, FIF_J2K, FIF_JP2, FIF_MNG, FIF_IFF, FIF_PICT, FIF_XBM, FIF_WBMP}) {
        check(tarn::header_detail::readOtherHeader(source, fif));
    }
    return 0;
}
