// Feeds arbitrary bytes to our bitmap reader. Whatever it accepts must be a picture of the size
// the header gave, in one of the depths the reader promises.
#include <cstdint>
#include <cstdlib>

#include "imaging/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Tiny RLE files may declare pictures of hundreds of megapixels, which the reader rightly
    // allocates; keep the runs fast by leaving those out.
    if (size >= 26) {
        const std::uint32_t header = data[14] | (data[15] << 8);
        const std::uint64_t width = header == 12 ? (data[18] | (data[19] << 8))
                                                 : (data[18] | (data[19] << 8) | (data[20] << 16));
        const std::uint64_t height = header == 12 ? (data[20] | (data[21] << 8))
                                                  : (data[22] | (data[23] << 8) | (data[24] << 16));
        if ((header != 12 && (data[21] != 0 || (data[25] != 0 && data[25] != 0xFF))) ||
            width * height > 1024 * 1024) {
            return 0;
        }
    }
    const tarn::FreeImageBitmap dib = tarn::readBmp(data, size);
    if (dib) {
        const unsigned bpp = FreeImage_GetBPP(dib.get());
        if ((bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) ||
            FreeImage_GetWidth(dib.get()) == 0 || FreeImage_GetHeight(dib.get()) == 0) {
            std::abort();
        }
    }
    return 0;
}
