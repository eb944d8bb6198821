#pragma once

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fakes/temp_dir.h"
#include "imaging/fip_super_image.h"
#include "imaging/jpeg_codec.h"
#include "imaging/pixel_rows.h"

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

// Writes a width x height picture of one colour (black unless given) with FreeImage, in the
// given format or else the one its name gives (JPEG at quality 95); comments go into the
// file's comment metadata.
inline void writePicture(const std::string& path, int width, int height, RGBQUAD color = {},
                         FREE_IMAGE_FORMAT fif = FIF_UNKNOWN, int bpp = 24,
                         const std::vector<std::pair<std::string, std::string>>& comments = {}) {
    if (fif == FIF_UNKNOWN) {
        fif = FreeImage_GetFIFFromFilename(path.c_str());
    }
    const FreeImageBitmap dib(FreeImage_Allocate(width, height, bpp));
    FreeImage_FillBackground(dib.get(), &color);
    for (const auto& [key, value] : comments) {
        FreeImage_SetMetadataKeyValue(FIMD_COMMENTS, dib.get(), key.c_str(), value.c_str());
    }
    EXPECT_TRUE(FreeImage_Save(fif, dib.get(), path.c_str(), fif == FIF_JPEG ? 95 : 0)) << path;
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

// Every pixel layout the row reader and writer handle.
inline std::vector<PixelLayout> allLayouts() {
    return {PixelLayout::Palette1, PixelLayout::Palette4,  PixelLayout::Palette8,
            PixelLayout::Rgb555,   PixelLayout::Rgb565,    PixelLayout::Grey16,
            PixelLayout::Rgb24,    PixelLayout::Rgba32,    PixelLayout::Rgb48,
            PixelLayout::Rgba64,   PixelLayout::GreyFloat, PixelLayout::RgbFloat,
            PixelLayout::RgbaFloat};
}

inline const char* layoutName(PixelLayout layout) {
    static const char* const kNames[] = {"palette1", "palette4", "palette8", "rgb555", "rgb565",
                                         "grey16",   "rgb24",    "rgba32",   "rgb48",  "rgba64",
                                         "greyf",    "rgbf",     "rgbaf"};
    return kNames[static_cast<int>(layout)];
}

// Sizes that catch edge and padding mistakes: single pixels, single rows and columns, odd
// sizes, and a row wider than any packing unit.
inline std::vector<std::pair<unsigned, unsigned>> oddSizes() {
    return {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {1001, 3}};
}

// Deterministic noise for pixel (x, y), channel c of a seed, the same on every platform.
inline std::uint32_t fixtureNoise(std::uint32_t seed, std::uint32_t x, std::uint32_t y,
                                  std::uint32_t c) {
    std::uint32_t h = (seed + 1) * 0x9E3779B9u ^ (x + 1) * 0x85EBCA6Bu ^ (y + 1) * 0xC2B2AE35u ^
                      (c + 1) * 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// A width x height image in the layout whose pixels differ from place to place and from seed
// to seed: palettes filled with distinct colours and a transparency table of varying alpha,
// alpha varying, wide channels using their low bytes, floats in [0, 1].
inline FreeImageBitmap makeImage(PixelLayout layout, unsigned width, unsigned height,
                                 std::uint32_t seed = 1) {
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    FreeImageBitmap dib;
    switch (layout) {
        case PixelLayout::Palette1:
        case PixelLayout::Palette4:
        case PixelLayout::Palette8: {
            const int bpp = layout == PixelLayout::Palette1   ? 1
                            : layout == PixelLayout::Palette4 ? 4
                                                              : 8;
            dib.reset(FreeImage_Allocate(w, h, bpp));
            const unsigned colors = 1u << bpp;
            RGBQUAD* palette = FreeImage_GetPalette(dib.get());
            std::vector<BYTE> table(colors);
            for (unsigned i = 0; i < colors; ++i) {
                palette[i].rgbRed = static_cast<BYTE>(i * 255 / (colors - 1));  // distinct
                palette[i].rgbGreen = static_cast<BYTE>(fixtureNoise(seed, i, 0, 1));
                palette[i].rgbBlue = static_cast<BYTE>(fixtureNoise(seed, i, 0, 2));
                table[i] = static_cast<BYTE>(fixtureNoise(seed, i, 0, 3));
            }
            FreeImage_SetTransparencyTable(dib.get(), table.data(), static_cast<int>(colors));
            for (unsigned y = 0; y < height; ++y) {
                for (unsigned x = 0; x < width; ++x) {
                    BYTE index = static_cast<BYTE>(fixtureNoise(seed, x, y, 0) % colors);
                    FreeImage_SetPixelIndex(dib.get(), x, y, &index);
                }
            }
            return dib;
        }
        case PixelLayout::Rgb555:
        case PixelLayout::Rgb565: {
            const bool is565 = layout == PixelLayout::Rgb565;
            dib.reset(FreeImage_Allocate(w, h, 16, is565 ? FI16_565_RED_MASK : FI16_555_RED_MASK,
                                         is565 ? FI16_565_GREEN_MASK : FI16_555_GREEN_MASK,
                                         is565 ? FI16_565_BLUE_MASK : FI16_555_BLUE_MASK));
            for (unsigned y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<WORD*>(FreeImage_GetScanLine(dib.get(), y));
                for (unsigned x = 0; x < width; ++x) {
                    line[x] =
                        static_cast<WORD>(fixtureNoise(seed, x, y, 0) & (is565 ? 0xFFFF : 0x7FFF));
                }
            }
            return dib;
        }
        default:
            break;
    }
    static const struct {
        PixelLayout layout;
        FREE_IMAGE_TYPE type;
        int bpp;
    } kTypes[] = {{PixelLayout::Grey16, FIT_UINT16, 16}, {PixelLayout::Rgb24, FIT_BITMAP, 24},
                  {PixelLayout::Rgba32, FIT_BITMAP, 32}, {PixelLayout::Rgb48, FIT_RGB16, 48},
                  {PixelLayout::Rgba64, FIT_RGBA16, 64}, {PixelLayout::GreyFloat, FIT_FLOAT, 32},
                  {PixelLayout::RgbFloat, FIT_RGBF, 96}, {PixelLayout::RgbaFloat, FIT_RGBAF, 128}};
    for (const auto& t : kTypes) {
        if (t.layout == layout) {
            dib.reset(FreeImage_AllocateT(t.type, w, h, t.bpp));
        }
    }
    const bool floats = layout == PixelLayout::GreyFloat || layout == PixelLayout::RgbFloat ||
                        layout == PixelLayout::RgbaFloat;
    const bool bytes = layout == PixelLayout::Rgb24 || layout == PixelLayout::Rgba32;
    const unsigned channels = FreeImage_GetBPP(dib.get()) / (floats ? 32 : bytes ? 8 : 16);
    for (unsigned y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(dib.get(), static_cast<int>(y));
        for (unsigned i = 0; i < width * channels; ++i) {
            const std::uint32_t noise = fixtureNoise(seed, i / channels, y, i % channels);
            if (floats) {
                reinterpret_cast<float*>(line)[i] = static_cast<float>(noise % 1001) / 1000.0f;
            } else if (bytes) {
                line[i] = static_cast<BYTE>(noise);
            } else {
                reinterpret_cast<WORD*>(line)[i] = static_cast<WORD>(noise);
            }
        }
    }
    return dib;
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
