#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/effects/channel_planes.h"
#include "imaging/effects/parallel_rows.h"

namespace tarn {

// Copies a row of pixels with its first and last pixel repeated radius times on either side.
template <typename V>
void padRow(const V* source, V* padded, int width, int channels, int radius) {
    const int values = width * channels;
    for (int i = 0; i < radius; ++i) {
        std::memcpy(padded + i * channels, source, sizeof(V) * channels);
        std::memcpy(padded + (radius + width + i) * channels, source + values - channels,
                    sizeof(V) * channels);
    }
    std::memcpy(padded + radius * channels, source, sizeof(V) * values);
}

// Filters a plane in place, one output row at a time from the 2r+1 source rows around it,
// each padded by r pixels of its border pixel on both sides. rowOp(rows, out, scratch) gets
// rows[0] = the row r above (the last scanline in FreeImage's order) down to rows[2r] = the row
// r below; rows outside the image repeat the border row. Each band of rows keeps a ring of the
// source rows it still needs and a copy, made before any band starts, of the rows of its
// neighbours it reads, so the bands can write their own rows while the others read.
// Allocates everything before the first row is written; throws std::bad_alloc only then.
template <typename V, typename RowOp>
void filterRowsInPlace(const ChannelPlane<V>& plane, int radius, std::size_t scratchBytes,
                       std::int64_t workPerPixel, RowOp&& rowOp) {
    const int height = plane.height;
    const int window = 2 * radius + 1;
    const std::size_t padded = static_cast<std::size_t>(plane.width + 2 * radius) * plane.channels;
    const std::int64_t work = static_cast<std::int64_t>(plane.width) * height * workPerPixel;
    const int bandCount = rowBandCount(height, work);

    struct Band {
        int top = 0;
        int bottom = 0;
        std::vector<V> ring;        // window padded rows
        std::vector<V> neighbours;  // r rows above the band, then r rows below
        std::vector<const V*> slots;
        std::vector<const V*> rows;
        std::vector<unsigned char> scratch;
    };
    std::vector<Band> bands(bandCount);
    for (int i = 0; i < bandCount; ++i) {
        Band& band = bands[i];
        band.top = static_cast<int>(static_cast<std::int64_t>(height) * i / bandCount);
        band.bottom = static_cast<int>(static_cast<std::int64_t>(height) * (i + 1) / bandCount);
        band.ring.resize(padded * window);
        band.neighbours.resize(padded * 2 * radius);
        band.slots.resize(window);
        band.rows.resize(window);
        band.scratch.resize(scratchBytes);
        for (int j = band.top - radius; j < band.top; ++j) {
            if (j >= 0) {
                padRow(plane.row(j), &band.neighbours[padded * (j - band.top + radius)],
                       plane.width, plane.channels, radius);
            }
        }
        for (int j = band.bottom; j < band.bottom + radius; ++j) {
            if (j < height) {
                padRow(plane.row(j), &band.neighbours[padded * (radius + j - band.bottom)],
                       plane.width, plane.channels, radius);
            }
        }
    }

    forEachRowBand(height, work, [&](int top, int bottom) {
        Band& band = *std::find_if(bands.begin(), bands.end(),
                                   [top](const Band& b) { return b.top == top; });
        const auto load = [&](int j) {
            const int slot = (j - top + radius) % window;
            j = std::clamp(j, 0, height - 1);
            if (j < top) {
                band.slots[slot] = &band.neighbours[padded * (j - top + radius)];
            } else if (j >= bottom) {
                band.slots[slot] = &band.neighbours[padded * (radius + j - bottom)];
            } else {
                V* buffer = &band.ring[padded * slot];
                padRow(plane.row(j), buffer, plane.width, plane.channels, radius);
                band.slots[slot] = buffer;
            }
        };
        for (int j = top - radius; j < top + radius; ++j) {
            load(j);
        }
        for (int y = top; y < bottom; ++y) {
            load(y + radius);
            for (int k = 0; k < window; ++k) {
                band.rows[k] = band.slots[(y + radius - k - top + radius) % window];
            }
            rowOp(band.rows.data(), plane.row(y), band.scratch.data());
        }
    });
}

}  // namespace tarn
