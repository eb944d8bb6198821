#pragma once

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarn {

// The channels of an image's rows as one array of values per row, channels interleaved.
template <typename V>
struct ChannelPlane {
    BYTE* bits = nullptr;
    std::ptrdiff_t pitch = 0;
    int width = 0;
    int height = 0;
    int channels = 1;

    V* row(int y) const { return reinterpret_cast<V*>(bits + pitch * y); }
    int values() const { return width * channels; }
};

// Palette and 16-bit colour bitmaps as 8-bit B, G, R values, so that a filter sees colours.
class UnpackedColors {
public:
    // False when the bitmap is not one of those layouts. Throws std::bad_alloc.
    bool unpack(FIBITMAP* dib);
    ChannelPlane<std::uint8_t> plane();
    // Writes the values back: the nearest entry of the palette, or the 16-bit packing.
    void pack(FIBITMAP* dib) const;

private:
    std::vector<std::uint8_t> m_values;
    int m_width = 0;
    int m_height = 0;
};

enum class PlaneKind { None, Bytes, Unpacked, U16, I16, U32, I32, F32, F64 };

// How the filters see a bitmap: 24/32-bit and grey 8-bit bitmaps as bytes, palette and 16-bit
// colour bitmaps unpacked, the other types per channel in their own type; None for complex.
PlaneKind planeKind(FIBITMAP* dib);

template <typename V>
ChannelPlane<V> planeOf(FIBITMAP* dib, int channels) {
    return {FreeImage_GetBits(dib), static_cast<std::ptrdiff_t>(FreeImage_GetPitch(dib)),
            static_cast<int>(FreeImage_GetWidth(dib)), static_cast<int>(FreeImage_GetHeight(dib)),
            channels};
}

// Runs op(plane) on the bitmap's channels in their own type and returns what it returns; an
// unpacked bitmap is written back only when op succeeds. False for a layout none of the filters
// takes. Throws std::bad_alloc; op must leave the plane as it was when it returns false.
template <typename Op>
bool withChannelPlane(FIBITMAP* dib, Op&& op) {
    const unsigned bpp = FreeImage_GetBPP(dib);
    switch (planeKind(dib)) {
        case PlaneKind::Bytes:
            return op(planeOf<std::uint8_t>(dib, static_cast<int>(bpp / 8)));
        case PlaneKind::Unpacked: {
            UnpackedColors colors;
            if (!colors.unpack(dib)) {
                return false;
            }
            ChannelPlane<std::uint8_t> plane = colors.plane();
            if (!op(plane)) {
                return false;
            }
            colors.pack(dib);
            return true;
        }
        case PlaneKind::U16:
            return op(planeOf<std::uint16_t>(dib, static_cast<int>(bpp / 16)));
        case PlaneKind::I16:
            return op(planeOf<std::int16_t>(dib, 1));
        case PlaneKind::U32:
            return op(planeOf<std::uint32_t>(dib, 1));
        case PlaneKind::I32:
            return op(planeOf<std::int32_t>(dib, 1));
        case PlaneKind::F32:
            return op(planeOf<float>(dib, static_cast<int>(bpp / 32)));
        case PlaneKind::F64:
            return op(planeOf<double>(dib, 1));
        case PlaneKind::None:
            break;
    }
    return false;
}

}  // namespace tarn
