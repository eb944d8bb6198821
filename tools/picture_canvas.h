#pragma once

// Drawing on 32-bit pictures with y from the top, for the tools that make the program's pictures.
#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>

namespace pictures {

namespace fs = std::filesystem;

using Bitmap = std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)>;

inline Bitmap newCanvas(int w, int h) {
    Bitmap b(FreeImage_Allocate(w, h, 32), &FreeImage_Unload);
    if (b) {
        std::fill_n(FreeImage_GetBits(b.get()), FreeImage_GetPitch(b.get()) * h, 0);
    }
    return b;
}

struct Rgba {
    int r, g, b, a = 255;
};

// Pixel access with y from the top.
inline void blend(FIBITMAP* bmp, int x, int y, Rgba c, double coverage = 1.0) {
    const int w = static_cast<int>(FreeImage_GetWidth(bmp));
    const int h = static_cast<int>(FreeImage_GetHeight(bmp));
    if (x < 0 || y < 0 || x >= w || y >= h || coverage <= 0) {
        return;
    }
    BYTE* p = FreeImage_GetScanLine(bmp, h - 1 - y) + x * 4;
    const double a = std::min(1.0, coverage) * c.a / 255.0;
    const double da = p[FI_RGBA_ALPHA] / 255.0;
    const double outA = a + da * (1 - a);
    const auto mix = [&](int src, BYTE dst) {
        return outA <= 0 ? 0
                         : static_cast<BYTE>(std::lround((src * a + dst * da * (1 - a)) / outA));
    };
    p[FI_RGBA_RED] = mix(c.r, p[FI_RGBA_RED]);
    p[FI_RGBA_GREEN] = mix(c.g, p[FI_RGBA_GREEN]);
    p[FI_RGBA_BLUE] = mix(c.b, p[FI_RGBA_BLUE]);
    p[FI_RGBA_ALPHA] = static_cast<BYTE>(std::lround(outA * 255));
}

// Draws src over dst with its alpha; dst keeps what src leaves transparent.
inline void composite(FIBITMAP* dst, FIBITMAP* src, int left, int top) {
    const int w = static_cast<int>(FreeImage_GetWidth(src));
    const int h = static_cast<int>(FreeImage_GetHeight(src));
    for (int y = 0; y < h; ++y) {
        const BYTE* p = FreeImage_GetScanLine(src, h - 1 - y);
        for (int x = 0; x < w; ++x, p += 4) {
            blend(dst, left + x, top + y, {p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE], 255},
                  p[FI_RGBA_ALPHA] / 255.0);
        }
    }
}

// Draws a shape given as a coverage test, supersampled 4 x 4 for smooth edges.
inline void fillShape(FIBITMAP* bmp, Rgba c, const std::function<bool(double, double)>& inside) {
    const int w = static_cast<int>(FreeImage_GetWidth(bmp));
    const int h = static_cast<int>(FreeImage_GetHeight(bmp));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
                }
            }
            blend(bmp, x, y, c, hits / 16.0);
        }
    }
}

inline void rect(FIBITMAP* b, double x0, double y0, double x1, double y1, Rgba c) {
    fillShape(b, c, [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

inline void disc(FIBITMAP* b, double cx, double cy, double r, Rgba c) {
    fillShape(b, c, [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; });
}

inline void line(FIBITMAP* b, double x0, double y0, double x1, double y1, double width, Rgba c) {
    fillShape(b, c, [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2;
    });
}

inline void triangle(FIBITMAP* b, double ax, double ay, double bx, double by, double cx, double cy,
                     Rgba c) {
    fillShape(b, c, [=](double x, double y) {
        const auto side = [&](double px, double py, double qx, double qy) {
            return (qx - px) * (y - py) - (qy - py) * (x - px);
        };
        const double s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy),
                     s3 = side(cx, cy, ax, ay);
        return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
    });
}

inline constexpr Rgba kInk{46, 52, 54};
inline constexpr Rgba kBlue{53, 132, 228};
inline constexpr Rgba kWhite{255, 255, 255};

inline bool save(FIBITMAP* bmp, const fs::path& file) {
    const fs::path tmp = file.string() + ".tmp";
    if (!FreeImage_Save(FIF_PNG, bmp, tmp.c_str(), 0)) {
        return false;
    }
    std::error_code ec;
    fs::rename(tmp, file, ec);
    return !ec;
}

}  // namespace pictures
