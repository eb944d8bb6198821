#pragma once

#include <FreeImage.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"
#include "imaging/fip_super_image.h"
#include "imaging/jpeg_codec.h"

namespace tarn::test {

// A colourful 24- or 32-bit picture whose pixels differ from place to place.
inline FreeImageBitmap makePicture(unsigned width, unsigned height, unsigned bpp = 24) {
    FreeImageBitmap dib(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height),
                                           static_cast<int>(bpp)));
    for (unsigned y = 0; y < height; ++y) {
        BYTE* pixel = FreeImage_GetScanLine(dib.get(), static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x, pixel += bpp / 8) {
            pixel[FI_RGBA_RED] = static_cast<BYTE>(x * 255 / (width > 1 ? width - 1 : 1));
            pixel[FI_RGBA_GREEN] = static_cast<BYTE>(y * 255 / (height > 1 ? height - 1 : 1));
            pixel[FI_RGBA_BLUE] = static_cast<BYTE>((x * 7 + y * 13) % 256);
            if (bpp == 32) {
                pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(255 - (x + y) % 128);
            }
        }
    }
    return dib;
}

inline fipSuperImage pictureImage(unsigned width, unsigned height, unsigned bpp = 24) {
    fipSuperImage image;
    image = makePicture(width, height, bpp).release();
    return image;
}

// Encodes a smooth picture as JPEG bytes with TurboJPEG (4:2:0, quality 90).
inline std::vector<std::uint8_t> encodeJpeg(unsigned width, unsigned height, int quality = 90,
                                            int subsamp = TJSAMP_420) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    std::mt19937 random(7);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            const int noise = static_cast<int>(random() % 9) - 4;
            p[0] = static_cast<std::uint8_t>(std::clamp<int>(x * 255 / width + noise, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp<int>(y * 255 / height + noise, 0, 255));
            p[2] = static_cast<std::uint8_t>(
                std::clamp<int>(((x + y) * 255 / (width + height)) + noise, 0, 255));
        }
    }
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, rgb.data(), static_cast<int>(width), 0, static_cast<int>(height), TJPF_RGB,
                &out, &size, subsamp, quality, 0);
    std::vector<std::uint8_t> bytes(out, out + size);
    tjFree(out);
    tjDestroy(handle);
    return bytes;
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

// Decoded RGB pixels of a JPEG file, top row first.
inline std::vector<std::uint8_t> decodeRgb(const std::string& path, int& width, int& height) {
    std::vector<std::uint8_t> bytes;
    readFileBytes(path, bytes);
    tjhandle handle = tjInitDecompress();
    int subsamp = 0;
    int colorspace = 0;
    std::vector<std::uint8_t> rgb;
    if (tjDecompressHeader3(handle, bytes.data(), bytes.size(), &width, &height, &subsamp,
                            &colorspace) == 0) {
        rgb.resize(static_cast<std::size_t>(width) * height * 3);
        if (tjDecompress2(handle, bytes.data(), bytes.size(), rgb.data(), width, 0, height,
                          TJPF_RGB, 0) != 0) {
            rgb.clear();
        }
    }
    tjDestroy(handle);
    return rgb;
}

// True when both images have the same size, type and pixel bytes (padding ignored).
inline bool samePixels(FIBITMAP* a, FIBITMAP* b) {
    if (FreeImage_GetWidth(a) != FreeImage_GetWidth(b) ||
        FreeImage_GetHeight(a) != FreeImage_GetHeight(b) ||
        FreeImage_GetBPP(a) != FreeImage_GetBPP(b) ||
        FreeImage_GetImageType(a) != FreeImage_GetImageType(b)) {
        return false;
    }
    const unsigned line = FreeImage_GetLine(a);
    for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y) {
        if (std::memcmp(FreeImage_GetScanLine(a, static_cast<int>(y)),
                        FreeImage_GetScanLine(b, static_cast<int>(y)), line) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace tarn::test
