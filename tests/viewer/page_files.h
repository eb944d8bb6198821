#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"

#include "imaging/fip_super_image.h"
#include "imaging/image_fixtures.h"

namespace tarn::test {

// Page i of the files below is 10 + 3 * i pixels wide, so a page tells which one it is.
inline unsigned pageWidth(int page) {
    return 10u + 3u * static_cast<unsigned>(page);
}

// A multi-page file written with the library's own multi-page writer: TIFF pages in 24 bits,
// GIF pages in 8.
inline bool writePages(const std::string& path, int count, FREE_IMAGE_FORMAT format = FIF_TIFF) {
    FIMULTIBITMAP* pages = FreeImage_OpenMultiBitmap(format, path.c_str(), TRUE, FALSE, TRUE);
    if (pages == nullptr) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        FreeImageBitmap picture = makePicture(pageWidth(i), 8 + static_cast<unsigned>(i));
        if (format == FIF_GIF) {
            picture.reset(FreeImage_ColorQuantize(picture.get(), FIQ_WUQUANT));
        }
        FreeImage_AppendPage(pages, picture.get());
    }
    return FreeImage_CloseMultiBitmap(pages) != FALSE;
}

// The widths of every page of a multi-page file, read back with the library alone.
inline std::vector<unsigned> pageWidths(const std::string& path,
                                        FREE_IMAGE_FORMAT format = FIF_TIFF) {
    std::vector<unsigned> widths;
    FIMULTIBITMAP* pages = FreeImage_OpenMultiBitmap(format, path.c_str(), FALSE, TRUE, TRUE);
    if (pages == nullptr) {
        return widths;
    }
    for (int i = 0; i < FreeImage_GetPageCount(pages); ++i) {
        FIBITMAP* page = FreeImage_LockPage(pages, i);
        widths.push_back(page != nullptr ? FreeImage_GetWidth(page) : 0u);
        if (page != nullptr) {
            FreeImage_UnlockPage(pages, page, FALSE);
        }
    }
    FreeImage_CloseMultiBitmap(pages);
    return widths;
}

// Makes one page of a little-endian TIFF unreadable while the file still counts all its pages:
// its samples are given a bit depth no reader takes.
inline bool breakTiffPage(const std::string& path, int brokenPage) {
    std::string bytes = readFile(path);
    const auto u16 = [&](std::size_t at) {
        std::uint16_t v = 0;
        std::memcpy(&v, &bytes[at], 2);
        return v;
    };
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, &bytes[at], 4);
        return v;
    };
    if (bytes.size() < 8 || bytes.compare(0, 2, "II") != 0) {
        return false;
    }
    std::uint32_t directory = u32(4);
    for (int page = 0; directory != 0 && directory + 2u <= bytes.size(); ++page) {
        const unsigned entries = u16(directory);
        if (directory + 2u + 12u * entries + 4u > bytes.size()) {
            return false;
        }
        for (unsigned e = 0; e < entries && page == brokenPage; ++e) {
            const std::size_t entry = directory + 2u + 12u * e;
            if (u16(entry) != 258) {  // BitsPerSample
                continue;
            }
            const std::uint32_t count = u32(entry + 4);
            const std::size_t values = count * 2u <= 4u ? entry + 8 : u32(entry + 8);
            if (values + count * 2u > bytes.size()) {
                return false;
            }
            for (std::uint32_t k = 0; k < count; ++k) {
                const std::uint16_t odd = 7;
                std::memcpy(&bytes[values + 2u * k], &odd, 2);
            }
            writeFile(path, bytes);
            return true;
        }
        directory = u32(directory + 2u + 12u * entries);
    }
    return false;
}

}  // namespace tarn::test
