// Feeds arbitrary bytes to the packed-bitmap reader (undo snapshots come back through it) and
// to the JPEG marker reader. Whatever is accepted must pack again to the same size it claims.
#include <cstdint>
#include <cstdlib>

#include "imaging/fip_super_image.h"
#include "imaging/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarn::fipSuperImage image;
    if (image.copyFromHandle(data, size)) {
        const std::vector<std::uint8_t> again = image.copyToHandle();
        if (again.size() != image.getDIBSize() || again.size() > size + 1024) {
            std::abort();
        }
        tarn::fipSuperImage back;
        if (!back.copyFromHandle(again)) {
            std::abort();
        }
    }
    // Small JPEG-like inputs through TurboJPEG and our marker reading.
    int width = 0;
    int height = 0;
    if (tarn::readJpegSize(data, size, width, height) &&
        static_cast<long long>(width) * height <= 4096 * 4096) {
        (void)tarn::decodeJpeg(data, size);
        (void)tarn::decodeJpeg(data, size, true, 8, 8);
    }
    return 0;
}
