#include "imaging/fip_super_image.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "common/atomic_file.h"
#include "common/rounding.h"
#include "imaging/freeimage_ptr.h"
#include "imaging/jpeg_codec.h"

namespace tarn {

namespace {

// Header of a packed bitmap, laid out as on disk (40 bytes, little-endian fields).
struct PackedHeader {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t clrUsed;
    std::uint32_t clrImportant;
};
static_assert(sizeof(PackedHeader) == 40);

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// Other image types than standard bitmaps are marked like this in the compression field.
constexpr std::uint32_t kTypeMark = 0xFF;
// Keeps a hostile header from asking for absurd memory.
constexpr std::uint64_t kMaxPackedPixels = 1ull << 30;

unsigned paletteEntries(FIBITMAP* dib) {
    return FreeImage_GetBPP(dib) <= 8 ? FreeImage_GetColorsUsed(dib) : 0;
}

bool hasMasks(FIBITMAP* dib) {
    return FreeImage_GetImageType(dib) == FIT_BITMAP && FreeImage_GetBPP(dib) == 16;
}

// A standard 8-bit-per-channel bitmap from any image type.
FreeImageBitmap toStandard(FIBITMAP* dib) {
    switch (FreeImage_GetImageType(dib)) {
        case FIT_BITMAP:
            return FreeImageBitmap(FreeImage_Clone(dib));
        case FIT_RGB16:
            return FreeImageBitmap(FreeImage_ConvertTo24Bits(dib));
        case FIT_RGBA16:
            return FreeImageBitmap(FreeImage_ConvertTo32Bits(dib));
        case FIT_RGBF:
        case FIT_RGBAF:
            return FreeImageBitmap(FreeImage_ToneMapping(dib, FITMO_DRAGO03));
        default:
            return FreeImageBitmap(FreeImage_ConvertToStandardType(dib, TRUE));
    }
}

}  // namespace

bool formatWritesDepth(FREE_IMAGE_FORMAT fif, FREE_IMAGE_TYPE type, unsigned bpp) {
    // The JPEG-XR writer of the library as built here fails on every image it is given.
    if (fif == FIF_UNKNOWN || fif == FIF_JXR || !FreeImage_FIFSupportsWriting(fif) ||
        !FreeImage_FIFSupportsExportType(fif, type)) {
        return false;
    }
    if (type != FIT_BITMAP) {
        return true;
    }
    // The JPEG writer claims 32 bits but takes only CMYK pixels there.
    if (fif == FIF_JPEG && bpp == 32) {
        return false;
    }
    return FreeImage_FIFSupportsExportBPP(fif, static_cast<int>(bpp)) != FALSE;
}

namespace {

bool writesDirectly(FREE_IMAGE_FORMAT fif, FIBITMAP* dib) {
    return formatWritesDepth(fif, FreeImage_GetImageType(dib), FreeImage_GetBPP(dib));
}

bool writesSomeBitmap(FREE_IMAGE_FORMAT fif) {
    if (!FreeImage_FIFSupportsExportType(fif, FIT_BITMAP)) {
        return false;
    }
    for (const unsigned bpp : {1u, 4u, 8u, 24u, 32u}) {
        if (formatWritesDepth(fif, FIT_BITMAP, bpp)) {
            return true;
        }
    }
    return false;
}

FreeImageBitmap convertBitmapTo(FIBITMAP* dib, unsigned bpp) {
    switch (bpp) {
        case 1:
            return FreeImageBitmap(FreeImage_Threshold(dib, 128));
        case 4:
            return FreeImageBitmap(FreeImage_ConvertTo4Bits(dib));
        case 8: {
            if (FreeImage_GetBPP(dib) < 8 || FreeImage_GetColorType(dib) == FIC_MINISBLACK) {
                return FreeImageBitmap(FreeImage_ConvertTo8Bits(dib));
            }
            const FreeImageBitmap rgb(FreeImage_ConvertTo24Bits(dib));
            return rgb ? FreeImageBitmap(FreeImage_ColorQuantizeEx(rgb.get(), FIQ_WUQUANT, 256))
                       : nullptr;
        }
        case 24:
            return FreeImageBitmap(FreeImage_ConvertTo24Bits(dib));
        case 32:
            return FreeImageBitmap(FreeImage_ConvertTo32Bits(dib));
        default:
            return nullptr;
    }
}

// A copy of the image in a type and depth the format can write, nearest to the original.
FreeImageBitmap convertedFor(FIBITMAP* dib, FREE_IMAGE_FORMAT fif) {
    if (writesDirectly(fif, dib)) {
        return FreeImageBitmap(FreeImage_Clone(dib));
    }
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(fif)) {
        return nullptr;
    }
    if (writesSomeBitmap(fif)) {
        FreeImageBitmap standard = toStandard(dib);
        if (!standard || writesDirectly(fif, standard.get())) {
            return standard;
        }
        std::vector<unsigned> order;
        switch (FreeImage_GetBPP(standard.get())) {
            case 32:
                order = {24, 8, 4, 1};
                break;
            case 24:
                order = {32, 8, 4, 1};
                break;
            case 16:
                order = {24, 32, 8, 4, 1};
                break;
            case 8:
                order = {24, 32, 4, 1};
                break;
            case 4:
                order = {8, 24, 32, 1};
                break;
            default:
                order = {8, 4, 24, 32};
                break;
        }
        for (const unsigned bpp : order) {
            if (formatWritesDepth(fif, FIT_BITMAP, bpp)) {
                return convertBitmapTo(standard.get(), bpp);
            }
        }
        return nullptr;
    }
    if (FreeImage_FIFSupportsExportType(fif, FIT_RGBF)) {
        if (FreeImageBitmap direct{FreeImage_ConvertToRGBF(dib)}) {
            return direct;
        }
        const FreeImageBitmap standard = toStandard(dib);
        const FreeImageBitmap rgb(standard ? FreeImage_ConvertTo24Bits(standard.get()) : nullptr);
        return rgb ? FreeImageBitmap(FreeImage_ConvertToRGBF(rgb.get())) : nullptr;
    }
    return nullptr;
}

bool saveBitmap(FIBITMAP* dib, FREE_IMAGE_FORMAT fif, const char* path, int flags) {
    if (dib == nullptr || path == nullptr || !writesDirectly(fif, dib)) {
        return false;
    }
    // Encoded in memory first: the library's file writers do not notice a full disk, and a
    // file cut short must never replace the old one. The byte writer checks every write.
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (memory == nullptr) {
        return false;
    }
    BYTE* data = nullptr;
    DWORD size = 0;
    const bool saved = FreeImage_SaveToMemory(fif, dib, memory, flags) != FALSE &&
                       FreeImage_AcquireMemory(memory, &data, &size) != FALSE &&
                       writeBytesAtomically(path, data, size);
    FreeImage_CloseMemory(memory);
    return saved;
}

FreeImageBitmap thumbnailOf(FIBITMAP* src, unsigned width, unsigned height, bool convert) {
    if (src == nullptr || width == 0 || height == 0) {
        return nullptr;
    }
    FreeImageBitmap standard;
    if (convert && FreeImage_GetImageType(src) != FIT_BITMAP) {
        standard = toStandard(src);
        if (!standard) {
            return nullptr;
        }
        src = standard.get();
    }
    unsigned fitWidth = 0;
    unsigned fitHeight = 0;
    fitInside(FreeImage_GetWidth(src), FreeImage_GetHeight(src), width, height, fitWidth,
              fitHeight);
    if (fitWidth == FreeImage_GetWidth(src) && fitHeight == FreeImage_GetHeight(src)) {
        return standard ? std::move(standard) : FreeImageBitmap(FreeImage_Clone(src));
    }
    return FreeImageBitmap(FreeImage_Rescale(src, static_cast<int>(fitWidth),
                                             static_cast<int>(fitHeight), FILTER_BILINEAR));
}

// n grey levels (2..256) from an 8-bit grey bitmap, palettised in 4 or 8 bits.
FreeImageBitmap greyLevels(FIBITMAP* grey, unsigned levels, unsigned bpp) {
    const unsigned width = FreeImage_GetWidth(grey);
    const unsigned height = FreeImage_GetHeight(grey);
    FreeImageBitmap out(FreeImage_Allocate(width, height, bpp));
    if (!out) {
        return nullptr;
    }
    RGBQUAD* palette = FreeImage_GetPalette(out.get());
    const unsigned paletteSize = 1u << bpp;
    for (unsigned i = 0; i < paletteSize; ++i) {
        const unsigned level = std::min(i, levels - 1);
        const auto value = static_cast<BYTE>(roundToInt(level * 255.0 / (levels - 1)));
        palette[i] = RGBQUAD{value, value, value, 0};
    }
    // Grey value -> level index.
    BYTE map[256];
    for (unsigned v = 0; v < 256; ++v) {
        map[v] = static_cast<BYTE>(roundToInt(v * (levels - 1) / 255.0));
    }
    const RGBQUAD* sourcePalette = FreeImage_GetPalette(grey);
    for (unsigned y = 0; y < height; ++y) {
        const BYTE* in = FreeImage_GetScanLine(grey, static_cast<int>(y));
        BYTE* line = FreeImage_GetScanLine(out.get(), static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x) {
            const BYTE index = map[sourcePalette[in[x]].rgbRed];
            if (bpp == 8) {
                line[x] = index;
            } else if (x % 2 == 0) {
                line[x / 2] = static_cast<BYTE>(index << 4);
            } else {
                line[x / 2] |= index;
            }
        }
    }
    return out;
}

// An 8-bit palettised bitmap with at most 16 colours packed into 4 bits.
FreeImageBitmap packTo4(FIBITMAP* dib8) {
    const unsigned width = FreeImage_GetWidth(dib8);
    const unsigned height = FreeImage_GetHeight(dib8);
    FreeImageBitmap out(FreeImage_Allocate(width, height, 4));
    if (!out) {
        return nullptr;
    }
    std::memcpy(FreeImage_GetPalette(out.get()), FreeImage_GetPalette(dib8), 16 * sizeof(RGBQUAD));
    for (unsigned y = 0; y < height; ++y) {
        const BYTE* in = FreeImage_GetScanLine(dib8, static_cast<int>(y));
        BYTE* line = FreeImage_GetScanLine(out.get(), static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x) {
            const BYTE index = in[x] & 0x0F;
            line[x / 2] = x % 2 == 0 ? static_cast<BYTE>(index << 4) : (line[x / 2] | index);
        }
    }
    return out;
}

}  // namespace

void fitInside(unsigned width, unsigned height, unsigned boxWidth, unsigned boxHeight,
               unsigned& fitWidth, unsigned& fitHeight) {
    if (width <= boxWidth && height <= boxHeight) {
        fitWidth = width;
        fitHeight = height;
        return;
    }
    const double d = width;
    const double e = height;
    if (static_cast<double>(boxHeight) * d < static_cast<double>(boxWidth) * e) {
        fitWidth = static_cast<unsigned>(std::max(1L, roundHalfAwayFromZero(d / e * boxHeight)));
        fitHeight = std::max(1u, boxHeight);
    } else {
        fitWidth = std::max(1u, boxWidth);
        fitHeight = static_cast<unsigned>(std::max(1L, roundHalfAwayFromZero(e / d * boxWidth)));
    }
}

fipSuperImage& fipSuperImage::operator=(const fipSuperImage& other) {
    fipImage::operator=(other);
    return *this;
}

fipSuperImage& fipSuperImage::operator=(const fipImage& other) {
    fipImage::operator=(other);
    return *this;
}

fipSuperImage& fipSuperImage::operator=(FIBITMAP* dib) {
    fipImage::operator=(dib);
    return *this;
}

BOOL fipSuperImage::adopt(FIBITMAP* dib) {
    if (dib == nullptr) {
        return FALSE;
    }
    fipImage::replace(dib);
    return TRUE;
}

BOOL fipSuperImage::load(const char* path, int flags) {
    if (path == nullptr) {
        return FALSE;
    }
    const FREE_IMAGE_FORMAT fif = getFileType(path);
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        return FALSE;
    }
    if (fif == FIF_JPEG && flags == 0) {
        std::vector<std::uint8_t> bytes;
        if (!readFileBytes(path, bytes)) {
            return FALSE;
        }
        if (FreeImageBitmap dib = decodeJpeg(bytes.data(), bytes.size())) {
            _fif = FIF_JPEG;
            return adopt(dib.release());
        }
        // Damaged data stays refused; only what TurboJPEG cannot read goes to the library.
        if (!jpegNeedsOtherDecoder(bytes.data(), bytes.size())) {
            return FALSE;
        }
    }
    FIBITMAP* dib = FreeImage_Load(fif, path, flags);
    if (dib == nullptr) {
        return FALSE;
    }
    _fif = fif;
    return adopt(dib);
}

BOOL fipSuperImage::save(const char* path, int flags) const {
    return save(getFIFFromFilename(path), path, flags);
}

BOOL fipSuperImage::save(FREE_IMAGE_FORMAT fif, const char* path, int flags) const {
    return isValid() && saveBitmap(_dib, fif, path, flags);
}

BOOL fipSuperImage::saveFitBPP(const char* path, int flags) const {
    return saveFitBPP(getFIFFromFilename(path), path, flags);
}

BOOL fipSuperImage::saveFitBPP(FREE_IMAGE_FORMAT fif, const char* path, int flags) const {
    if (!isValid() || path == nullptr) {
        return FALSE;
    }
    if (writesDirectly(fif, _dib)) {
        return saveBitmap(_dib, fif, path, flags);
    }
    const FreeImageBitmap converted = convertedFor(_dib, fif);
    return converted && saveBitmap(converted.get(), fif, path, flags);
}

BOOL fipSuperImage::convertToSupportedBPP(FREE_IMAGE_FORMAT fif) {
    if (!isValid()) {
        return FALSE;
    }
    if (writesDirectly(fif, _dib)) {
        return TRUE;
    }
    return adopt(convertedFor(_dib, fif).release());
}

bool fipSuperImage::canBeSavedAs(FREE_IMAGE_FORMAT fif) const {
    if (!isValid() || fif == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(fif)) {
        return false;
    }
    return writesDirectly(fif, _dib) || writesSomeBitmap(fif) ||
           FreeImage_FIFSupportsExportType(fif, FIT_RGBF);
}

FREE_IMAGE_FORMAT fipSuperImage::getFIFFromFilename(const char* path) {
    return path == nullptr ? FIF_UNKNOWN : FreeImage_GetFIFFromFilename(path);
}

FREE_IMAGE_FORMAT fipSuperImage::getFileType(const char* path) {
    if (path == nullptr) {
        return FIF_UNKNOWN;
    }
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path, 0);
    return fif != FIF_UNKNOWN ? fif : FreeImage_GetFIFFromFilename(path);
}

int fipSuperImage::getPageCount(const char* path) {
    const FREE_IMAGE_FORMAT fif = getFileType(path);
    if (fif != FIF_TIFF && fif != FIF_GIF && fif != FIF_ICO) {
        return 0;
    }
    const FreeImageMultiPage pages = openPagesReadOnly(fif, path);
    return pages ? FreeImage_GetPageCount(pages.get()) : 0;
}

BOOL fipSuperImage::isMultiPageFile(const char* path) {
    return getPageCount(path) > 1;
}

BOOL fipSuperImage::loadPage(const char* path, int page) {
    if (path == nullptr) {
        return FALSE;
    }
    const FreeImageMultiPage pages = openPagesReadOnly(getFileType(path), path);
    if (!pages || page < 0 || page >= FreeImage_GetPageCount(pages.get())) {
        return FALSE;
    }
    FreeImageBitmap copy;
    if (const LockedPage locked = lockPage(pages.get(), page)) {
        copy.reset(FreeImage_Clone(locked.get()));
    }
    return adopt(copy.release());
}

std::size_t fipSuperImage::getDIBSize() const {
    if (!isValid()) {
        return 0;
    }
    return sizeof(PackedHeader) + (hasMasks(_dib) ? 3 * sizeof(std::uint32_t) : 0) +
           paletteEntries(_dib) * sizeof(RGBQUAD) +
           static_cast<std::size_t>(FreeImage_GetPitch(_dib)) * FreeImage_GetHeight(_dib);
}

std::vector<std::uint8_t> fipSuperImage::copyToHandle() const {
    std::vector<std::uint8_t> packed;
    if (!isValid()) {
        return packed;
    }
    packed.resize(getDIBSize());
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(_dib);
    const std::size_t pixels =
        static_cast<std::size_t>(FreeImage_GetPitch(_dib)) * FreeImage_GetHeight(_dib);
    PackedHeader header{};
    header.size = sizeof(PackedHeader);
    header.width = static_cast<std::int32_t>(FreeImage_GetWidth(_dib));
    header.height = static_cast<std::int32_t>(FreeImage_GetHeight(_dib));
    header.planes = 1;
    header.bitCount = static_cast<std::uint16_t>(FreeImage_GetBPP(_dib));
    header.compression = type != FIT_BITMAP ? kTypeMark + type
                         : hasMasks(_dib)   ? kBiBitfields
                                            : kBiRgb;
    header.sizeImage = static_cast<std::uint32_t>(pixels);
    header.xPelsPerMeter = static_cast<std::int32_t>(FreeImage_GetDotsPerMeterX(_dib));
    header.yPelsPerMeter = static_cast<std::int32_t>(FreeImage_GetDotsPerMeterY(_dib));
    header.clrUsed = paletteEntries(_dib);
    std::uint8_t* out = packed.data();
    std::memcpy(out, &header, sizeof header);
    out += sizeof header;
    if (hasMasks(_dib)) {
        const std::uint32_t masks[3] = {FreeImage_GetRedMask(_dib), FreeImage_GetGreenMask(_dib),
                                        FreeImage_GetBlueMask(_dib)};
        std::memcpy(out, masks, sizeof masks);
        out += sizeof masks;
    }
    if (header.clrUsed > 0) {
        std::memcpy(out, FreeImage_GetPalette(_dib), header.clrUsed * sizeof(RGBQUAD));
        out += header.clrUsed * sizeof(RGBQUAD);
    }
    std::memcpy(out, FreeImage_GetBits(_dib), pixels);
    return packed;
}

BOOL fipSuperImage::copyFromHandle(const std::uint8_t* data, std::size_t size) {
    PackedHeader header{};
    if (data == nullptr || size < sizeof header) {
        return FALSE;
    }
    std::memcpy(&header, data, sizeof header);
    if ((header.size != 40 && header.size != 108 && header.size != 124) || header.size > size ||
        header.width <= 0 || header.height == 0 ||
        header.height == std::numeric_limits<std::int32_t>::min() || header.planes != 1) {
        return FALSE;
    }
    const auto width = static_cast<unsigned>(header.width);
    const bool topDown = header.height < 0;
    const auto height = static_cast<unsigned>(topDown ? -header.height : header.height);
    if (static_cast<std::uint64_t>(width) * height > kMaxPackedPixels) {
        return FALSE;
    }
    FREE_IMAGE_TYPE type = FIT_BITMAP;
    const unsigned bpp = header.bitCount;
    std::size_t offset = header.size;
    std::uint32_t masks[3] = {0, 0, 0};
    if (header.compression >= kTypeMark) {
        type = static_cast<FREE_IMAGE_TYPE>(header.compression - kTypeMark);
        if (type <= FIT_BITMAP || type > FIT_RGBAF) {
            return FALSE;
        }
        // The depth must be the type's own.
        FreeImageBitmap probe(FreeImage_AllocateT(type, 1, 1));
        if (!probe || FreeImage_GetBPP(probe.get()) != bpp) {
            return FALSE;
        }
    } else if (header.compression == kBiRgb) {
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
            return FALSE;
        }
        if (bpp == 16) {
            masks[0] = FI16_555_RED_MASK;
            masks[1] = FI16_555_GREEN_MASK;
            masks[2] = FI16_555_BLUE_MASK;
        }
    } else if (header.compression == kBiBitfields) {
        if (bpp != 16 && bpp != 32) {
            return FALSE;
        }
        // Masks follow a short header and sit inside a long one.
        const std::size_t at = header.size == 40 ? header.size : 40;
        if (at + sizeof masks > size) {
            return FALSE;
        }
        std::memcpy(masks, data + at, sizeof masks);
        if (header.size == 40) {
            offset += sizeof masks;
        }
    } else {
        return FALSE;
    }
    unsigned colors = 0;
    if (type == FIT_BITMAP && bpp <= 8) {
        colors = header.clrUsed == 0 ? 1u << bpp : header.clrUsed;
        if (colors > (1u << bpp)) {
            return FALSE;
        }
    }
    const std::uint64_t pitch = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    const std::uint64_t pixels = pitch * height;
    if (offset + colors * sizeof(RGBQUAD) + pixels > size) {
        return FALSE;
    }
    FreeImageBitmap dib(FreeImage_AllocateT(type, static_cast<int>(width), static_cast<int>(height),
                                            static_cast<int>(bpp), masks[0], masks[1], masks[2]));
    if (!dib || FreeImage_GetPitch(dib.get()) != pitch) {
        return FALSE;
    }
    if (colors > 0) {
        RGBQUAD* palette = FreeImage_GetPalette(dib.get());
        std::memset(palette, 0, (1u << bpp) * sizeof(RGBQUAD));
        std::memcpy(palette, data + offset, colors * sizeof(RGBQUAD));
        offset += colors * sizeof(RGBQUAD);
    }
    const std::uint8_t* source = data + offset;
    for (unsigned y = 0; y < height; ++y) {
        const unsigned row = topDown ? height - 1 - y : y;
        std::memcpy(FreeImage_GetScanLine(dib.get(), static_cast<int>(y)), source + row * pitch,
                    pitch);
    }
    if (header.xPelsPerMeter > 0) {
        FreeImage_SetDotsPerMeterX(dib.get(), static_cast<unsigned>(header.xPelsPerMeter));
    }
    if (header.yPelsPerMeter > 0) {
        FreeImage_SetDotsPerMeterY(dib.get(), static_cast<unsigned>(header.yPelsPerMeter));
    }
    return adopt(dib.release());
}

BOOL fipSuperImage::replace(fipSuperImage& other) {
    if (&other == this || !other.isValid()) {
        return FALSE;
    }
    FIBITMAP* dib = other._dib;
    other._dib = nullptr;
    other._bHasChanged = TRUE;
    _fif = other._fif;
    return adopt(dib);
}

BOOL fipSuperImage::clearSubImage(int left, int top, int width, int height, RGBQUAD color) {
    if (!isValid() || FreeImage_GetImageType(_dib) != FIT_BITMAP || width <= 0 || height <= 0) {
        return FALSE;
    }
    const long long right = std::min<long long>(static_cast<long long>(left) + width, getWidth());
    const long long bottom = std::min<long long>(static_cast<long long>(top) + height, getHeight());
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (left >= right || top >= bottom) {
        return FALSE;
    }
    FreeImageBitmap view(
        FreeImage_CreateView(_dib, static_cast<unsigned>(left), static_cast<unsigned>(top),
                             static_cast<unsigned>(right), static_cast<unsigned>(bottom)));
    if (!view) {
        return FALSE;
    }
    color.rgbReserved = 0xFF;
    const BOOL ok = FreeImage_FillBackground(view.get(), &color, FI_COLOR_IS_RGB_COLOR);
    if (ok) {
        _bHasChanged = TRUE;
    }
    return ok;
}

BOOL fipSuperImage::cut(fipSuperImage& piece, int left, int top, int width, int height,
                        RGBQUAD color) {
    if (!isValid() || width <= 0 || height <= 0) {
        return FALSE;
    }
    const int right =
        static_cast<int>(std::min<long long>(static_cast<long long>(left) + width, getWidth()));
    const int bottom =
        static_cast<int>(std::min<long long>(static_cast<long long>(top) + height, getHeight()));
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (left >= right || top >= bottom) {
        return FALSE;
    }
    FIBITMAP* copy = FreeImage_Copy(_dib, left, top, right, bottom);
    if (copy == nullptr) {
        return FALSE;
    }
    piece = copy;
    return clearSubImage(left, top, right - left, bottom - top, color);
}

BOOL fipSuperImage::setCanvasSize(unsigned width, unsigned height, int position, RGBQUAD color) {
    if (!isValid() || width == 0 || height == 0 || position < 0 || position > 8) {
        return FALSE;
    }
    const long long dx = static_cast<long long>(width) - getWidth();
    const long long dy = static_cast<long long>(height) - getHeight();
    auto split = [](long long delta, int anchor, int& before, int& after) {
        before = static_cast<int>(anchor == 0 ? 0 : anchor == 1 ? delta / 2 : delta);
        after = static_cast<int>(delta - before);
    };
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    split(dx, position % 3, left, right);
    split(dy, position / 3, top, bottom);
    color.rgbReserved = 0xFF;
    return adopt(
        FreeImage_EnlargeCanvas(_dib, left, top, right, bottom, &color, FI_COLOR_IS_RGB_COLOR));
}

BOOL fipSuperImage::adjustBPP(unsigned bits, BOOL grayscale, unsigned colors) {
    if (!isValid() || FreeImage_GetImageType(_dib) != FIT_BITMAP) {
        return FALSE;
    }
    FreeImageBitmap grey;
    if (grayscale || bits == 1) {
        grey.reset(FreeImage_ConvertToGreyscale(_dib));
        if (!grey) {
            return FALSE;
        }
    }
    FIBITMAP* source = grey ? grey.get() : _dib;
    FreeImageBitmap result;
    switch (bits) {
        case 1:
            result.reset(FreeImage_Threshold(source, 128));
            break;
        case 4:
        case 8: {
            const unsigned limit = bits == 4 ? 16 : 256;
            const unsigned count = colors == 0 ? limit : std::clamp(colors, 2u, limit);
            if (grey) {
                result = greyLevels(source, count, bits);
            } else {
                const FreeImageBitmap rgb(FreeImage_ConvertTo24Bits(source));
                FreeImageBitmap quantised(
                    rgb ? FreeImage_ColorQuantizeEx(rgb.get(), FIQ_WUQUANT, static_cast<int>(count))
                        : nullptr);
                result = quantised && bits == 4 ? packTo4(quantised.get()) : std::move(quantised);
            }
            break;
        }
        case 24:
            result.reset(FreeImage_ConvertTo24Bits(source));
            break;
        case 32:
            result.reset(FreeImage_ConvertTo32Bits(source));
            break;
        default:
            return FALSE;
    }
    if (!result) {
        return FALSE;
    }
    FreeImage_SetDotsPerMeterX(result.get(), FreeImage_GetDotsPerMeterX(_dib));
    FreeImage_SetDotsPerMeterY(result.get(), FreeImage_GetDotsPerMeterY(_dib));
    return adopt(result.release());
}

BOOL fipSuperImage::swapChannels(int order) {
    if (!isValid() || FreeImage_GetImageType(_dib) != FIT_BITMAP || order < 0 || order > 4) {
        return FALSE;
    }
    // For each order: which old channel (0 red, 1 green, 2 blue) feeds new red, green, blue.
    static const int kSources[5][3] = {{0, 2, 1}, {2, 1, 0}, {2, 0, 1}, {1, 0, 2}, {1, 2, 0}};
    const int* from = kSources[order];
    auto permute = [from](BYTE& red, BYTE& green, BYTE& blue) {
        const BYTE old[3] = {red, green, blue};
        red = old[from[0]];
        green = old[from[1]];
        blue = old[from[2]];
    };
    const unsigned bpp = getBPP();
    if (bpp <= 8) {
        RGBQUAD* palette = FreeImage_GetPalette(_dib);
        for (unsigned i = 0; i < FreeImage_GetColorsUsed(_dib); ++i) {
            permute(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
        }
    } else if (bpp == 24 || bpp == 32) {
        const unsigned step = bpp / 8;
        for (unsigned y = 0; y < getHeight(); ++y) {
            BYTE* pixel = FreeImage_GetScanLine(_dib, static_cast<int>(y));
            for (unsigned x = 0; x < getWidth(); ++x, pixel += step) {
                permute(pixel[FI_RGBA_RED], pixel[FI_RGBA_GREEN], pixel[FI_RGBA_BLUE]);
            }
        }
    } else {
        return FALSE;
    }
    _bHasChanged = TRUE;
    return TRUE;
}

unsigned fipSuperImage::getUniqueColors() const {
    if (!isValid()) {
        return 0;
    }
    FreeImageBitmap converted;
    FIBITMAP* dib = _dib;
    const bool palettised = FreeImage_GetImageType(dib) == FIT_BITMAP && getBPP() <= 8;
    if (!palettised &&
        (FreeImage_GetImageType(dib) != FIT_BITMAP || (getBPP() != 24 && getBPP() != 32))) {
        FreeImageBitmap standard = toStandard(dib);
        converted.reset(standard ? FreeImage_ConvertTo24Bits(standard.get()) : nullptr);
        if (!converted) {
            return 0;
        }
        dib = converted.get();
    }
    auto seen = std::make_unique<std::bitset<1u << 24>>();
    unsigned count = 0;
    auto mark = [&](BYTE red, BYTE green, BYTE blue) {
        const std::size_t key = (static_cast<std::size_t>(red) << 16) | (green << 8) | blue;
        if (!seen->test(key)) {
            seen->set(key);
            ++count;
        }
    };
    const unsigned width = FreeImage_GetWidth(dib);
    const unsigned height = FreeImage_GetHeight(dib);
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (palettised) {
        bool used[256] = {};
        for (unsigned y = 0; y < height; ++y) {
            const BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
            for (unsigned x = 0; x < width; ++x) {
                const unsigned bit = x * bpp;
                const unsigned shift = 8 - bpp - bit % 8;
                used[(line[bit / 8] >> shift) & ((1u << bpp) - 1)] = true;
            }
        }
        const RGBQUAD* palette = FreeImage_GetPalette(dib);
        for (unsigned i = 0; i < FreeImage_GetColorsUsed(dib); ++i) {
            if (used[i]) {
                mark(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
            }
        }
        return count;
    }
    const unsigned step = bpp / 8;
    for (unsigned y = 0; y < height; ++y) {
        const BYTE* pixel = FreeImage_GetScanLine(dib, static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x, pixel += step) {
            mark(pixel[FI_RGBA_RED], pixel[FI_RGBA_GREEN], pixel[FI_RGBA_BLUE]);
        }
    }
    return count;
}

void fipSuperImage::RGBtoHSL(RGBQUAD color, double& hue, double& saturation, double& lightness) {
    const double r = color.rgbRed / 255.0;
    const double g = color.rgbGreen / 255.0;
    const double b = color.rgbBlue / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    lightness = (high + low) / 2;
    const double delta = high - low;
    if (delta <= 0) {
        hue = 0;
        saturation = 0;
        return;
    }
    saturation = lightness <= 0.5 ? delta / (high + low) : delta / (2 - high - low);
    if (high == r) {
        hue = 60 * std::fmod((g - b) / delta + 6, 6.0);
    } else if (high == g) {
        hue = 60 * ((b - r) / delta + 2);
    } else {
        hue = 60 * ((r - g) / delta + 4);
    }
    if (hue >= 360) {
        hue -= 360;
    }
}

BOOL fipSuperImage::makeThumbnail(unsigned width, unsigned height, BOOL convert) {
    if (!isValid()) {
        return FALSE;
    }
    unsigned fitWidth = 0;
    unsigned fitHeight = 0;
    fitInside(getWidth(), getHeight(), width, height, fitWidth, fitHeight);
    const bool standard = !convert || FreeImage_GetImageType(_dib) == FIT_BITMAP;
    if (width > 0 && height > 0 && standard && fitWidth == getWidth() && fitHeight == getHeight()) {
        return TRUE;
    }
    return adopt(thumbnailOf(_dib, width, height, convert != FALSE).release());
}

BOOL fipSuperImage::makeThumbnail(const fipImage& source, unsigned width, unsigned height,
                                  BOOL convert) {
    if (!source.isValid()) {
        return FALSE;
    }
    // The library reads the bitmap only.
    FIBITMAP* dib = const_cast<fipImage&>(source);
    return adopt(thumbnailOf(dib, width, height, convert != FALSE).release());
}

}  // namespace tarn
