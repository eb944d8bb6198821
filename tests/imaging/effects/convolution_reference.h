#pragma once

// Slow, obvious versions of the convolution family, pixel by pixel from their definitions.
#include <FreeImagePlus.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace tarn::test {

// Every channel of every pixel as a double; colours of palette and 16-bit bitmaps as B, G, R.
struct Grid {
    int width = 0;
    int height = 0;
    int channels = 1;
    std::vector<double> values;

    double& at(int x, int y, int c) {
        return values[(std::size_t{1} * y * width + x) * channels + c];
    }
    double edge(int x, int y, int c) const {
        x = std::clamp(x, 0, width - 1);
        y = std::clamp(y, 0, height - 1);
        return values[(std::size_t{1} * y * width + x) * channels + c];
    }
};

inline bool isColorMapped(const fipImage& image) {
    const unsigned bpp = image.getBitsPerPixel();
    const FREE_IMAGE_COLOR_TYPE color = FreeImage_GetColorType(const_cast<fipImage&>(image));
    const bool grey = color == FIC_MINISBLACK || color == FIC_MINISWHITE;
    return image.getImageType() == FIT_BITMAP &&
           (bpp == 16 || bpp == 1 || bpp == 4 || (bpp == 8 && !grey));
}

inline bool is565(const fipImage& image) {
    return FreeImage_GetGreenMask(const_cast<fipImage&>(image)) == FI16_565_GREEN_MASK;
}

template <typename T>
T readAs(const BYTE* row, int index) {
    T value;
    std::memcpy(&value, row + index * sizeof(T), sizeof(T));
    return value;
}

inline Grid readGrid(const fipImage& image) {
    Grid grid{static_cast<int>(image.getWidth()), static_cast<int>(image.getHeight()), 1, {}};
    const FREE_IMAGE_TYPE type = image.getImageType();
    const unsigned bpp = image.getBitsPerPixel();
    if (isColorMapped(image)) {
        grid.channels = 3;
    } else if (type == FIT_BITMAP) {
        grid.channels = static_cast<int>(bpp / 8);
    } else if (type == FIT_RGB16 || type == FIT_RGBF) {
        grid.channels = 3;
    } else if (type == FIT_RGBA16 || type == FIT_RGBAF) {
        grid.channels = 4;
    }
    grid.values.resize(std::size_t{1} * grid.width * grid.height * grid.channels);
    for (int y = 0; y < grid.height; ++y) {
        const BYTE* row = image.getScanLine(y);
        for (int x = 0; x < grid.width; ++x) {
            for (int c = 0; c < grid.channels; ++c) {
                const int i = x * grid.channels + c;
                double& v = grid.at(x, y, c);
                if (type == FIT_BITMAP && bpp == 16) {
                    const int word = readAs<std::uint16_t>(row, x);
                    const int bits = c == 1 && is565(image) ? 6 : 5;
                    const int shift = c == 0 ? 0 : c == 1 ? 5 : (is565(image) ? 11 : 10);
                    const int top = (1 << bits) - 1;
                    v = std::round(((word >> shift) & top) * 255.0 / top);
                } else if (isColorMapped(image)) {
                    BYTE index = 0;
                    image.getPixelIndex(x, y, &index);
                    const RGBQUAD entry = image.getPalette()[index];
                    v = c == 0 ? entry.rgbBlue : c == 1 ? entry.rgbGreen : entry.rgbRed;
                } else if (type == FIT_BITMAP) {
                    v = row[i];
                } else if (type == FIT_UINT16 || type == FIT_RGB16 || type == FIT_RGBA16) {
                    v = readAs<std::uint16_t>(row, i);
                } else if (type == FIT_INT16) {
                    v = readAs<std::int16_t>(row, i);
                } else if (type == FIT_UINT32) {
                    v = readAs<std::uint32_t>(row, i);
                } else if (type == FIT_INT32) {
                    v = readAs<std::int32_t>(row, i);
                } else if (type == FIT_DOUBLE) {
                    v = readAs<double>(row, i);
                } else {
                    v = readAs<float>(row, i);
                }
            }
        }
    }
    return grid;
}

template <typename T>
void writeRounded(BYTE* row, int index, double value) {
    const T stored = static_cast<T>(
        std::clamp(std::round(value), static_cast<double>(std::numeric_limits<T>::lowest()),
                   static_cast<double>(std::numeric_limits<T>::max())));
    std::memcpy(row + index * sizeof(T), &stored, sizeof(T));
}

// Writes a grid back: integers rounded half away from zero and clamped to the type, floats as
// they are, colours to the nearest palette entry or the 16-bit packing.
inline void writeGrid(fipImage& image, Grid grid) {
    const FREE_IMAGE_TYPE type = image.getImageType();
    const unsigned bpp = image.getBitsPerPixel();
    for (int y = 0; y < grid.height; ++y) {
        BYTE* row = image.getScanLine(y);
        for (int x = 0; x < grid.width; ++x) {
            if (isColorMapped(image)) {
                double bgr[3];
                for (int c = 0; c < 3; ++c) {
                    bgr[c] = std::clamp(std::round(grid.at(x, y, c)), 0.0, 255.0);
                }
                if (bpp == 16) {
                    const int g = is565(image) ? 63 : 31;
                    const auto narrow = [](double v, int top) {
                        return static_cast<int>(std::round(v * top / 255.0));
                    };
                    const int word = narrow(bgr[0], 31) | narrow(bgr[1], g) << 5 |
                                     narrow(bgr[2], 31) << (is565(image) ? 11 : 10) |
                                     (is565(image) ? 0 : readAs<std::uint16_t>(row, x) & 0x8000);
                    writeRounded<std::uint16_t>(row, x, word);
                    continue;
                }
                BYTE best = 0;
                double bestDistance = 1e9;
                for (unsigned i = 0; i < image.getColorsUsed(); ++i) {
                    const RGBQUAD e = image.getPalette()[i];
                    const double d = std::pow(e.rgbBlue - bgr[0], 2) +
                                     std::pow(e.rgbGreen - bgr[1], 2) +
                                     std::pow(e.rgbRed - bgr[2], 2);
                    if (d < bestDistance) {
                        best = static_cast<BYTE>(i);
                        bestDistance = d;
                    }
                }
                image.setPixelIndex(x, y, &best);
                continue;
            }
            for (int c = 0; c < grid.channels; ++c) {
                const int i = x * grid.channels + c;
                const double v = grid.at(x, y, c);
                if (type == FIT_BITMAP) {
                    writeRounded<std::uint8_t>(row, i, v);
                } else if (type == FIT_UINT16 || type == FIT_RGB16 || type == FIT_RGBA16) {
                    writeRounded<std::uint16_t>(row, i, v);
                } else if (type == FIT_INT16) {
                    writeRounded<std::int16_t>(row, i, v);
                } else if (type == FIT_UINT32) {
                    writeRounded<std::uint32_t>(row, i, v);
                } else if (type == FIT_INT32) {
                    writeRounded<std::int32_t>(row, i, v);
                } else if (type == FIT_DOUBLE) {
                    std::memcpy(row + i * sizeof(double), &v, sizeof(double));
                } else {
                    const float f = static_cast<float>(v);
                    std::memcpy(row + i * sizeof(float), &f, sizeof(float));
                }
            }
        }
    }
}

// The image with each channel replaced by value(grid, x, y, c) of the original.
inline fipImage mapChannels(const fipImage& image,
                            const std::function<double(const Grid&, int, int, int)>& value) {
    const Grid source = readGrid(image);
    Grid out = source;
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            for (int c = 0; c < source.channels; ++c) {
                out.at(x, y, c) = value(source, x, y, c);
            }
        }
    }
    fipImage result(image);
    writeGrid(result, out);
    return result;
}

// Sum of the kernel over the window; its top row over the row above (the next scanline).
inline double kernelSum(const Grid& g, int x, int y, int c, const std::vector<int>& k, int side) {
    const int r = side / 2;
    double sum = 0;
    for (int ky = 0; ky < side; ++ky) {
        for (int kx = 0; kx < side; ++kx) {
            sum += static_cast<double>(k[ky * side + kx]) * g.edge(x + kx - r, y + r - ky, c);
        }
    }
    return sum;
}

inline fipImage referenceConvolution(const fipImage& image, const std::vector<int>& kernel,
                                     int side, int divisor, int bias, bool keepAlpha = false) {
    const bool integer = image.getImageType() != FIT_FLOAT && image.getImageType() != FIT_DOUBLE &&
                         image.getImageType() != FIT_RGBF && image.getImageType() != FIT_RGBAF;
    return mapChannels(image, [&](const Grid& g, int x, int y, int c) {
        if (keepAlpha && c == 3) {
            return g.edge(x, y, c);
        }
        const double mean = kernelSum(g, x, y, c, kernel, side) / (divisor == 0 ? 1 : divisor);
        return (integer ? std::round(mean) : mean) + bias;
    });
}

}  // namespace tarn::test
