#pragma once

#include <wx/app.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "app/toolkit_environment.h"
#include "imaging/freeimage_ptr.h"

namespace tarn::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts the toolkit once for every benchmark of the run; false without a display.
inline bool startToolkit() {
    static const bool started = [] {
        if (wxTheApp != nullptr) {
            return true;
        }
        // As the program starts it.
        tarn::prepareToolkitEnvironment();
        wxApp::SetInstance(new wxApp);  // owned by the toolkit
        int argc = 1;
        static char arg0[] = "tarn_bench";
        char* argv[] = {arg0, nullptr};
        return wxEntryStart(argc, argv);
    }();
    return started;
}

// A photo-like JPEG: smooth shading with grain, so that it compresses to a realistic size.
inline bool writePhoto(const std::string& path, int width, int height, unsigned seed) {
    FIBITMAP* dib = FreeImage_Allocate(width, height, 24);
    if (dib == nullptr) {
        return false;
    }
    std::minstd_rand random(seed);
    const int phase = static_cast<int>(seed * 37 % 255);
    for (int y = 0; y < height; ++y) {
        BYTE* p = FreeImage_GetScanLine(dib, y);
        for (int x = 0; x < width; ++x, p += 3) {
            const int grain = static_cast<int>(random() % 17) - 8;
            p[FI_RGBA_RED] = static_cast<BYTE>(std::clamp(x * 255 / width + grain, 0, 255));
            p[FI_RGBA_GREEN] =
                static_cast<BYTE>(std::clamp((y * 255 / height + phase) % 256 + grain, 0, 255));
            p[FI_RGBA_BLUE] =
                static_cast<BYTE>(std::clamp(((x + y) / 31 + phase) % 256 + grain, 0, 255));
        }
    }
    const bool ok = FreeImage_Save(FIF_JPEG, dib, path.c_str(), JPEG_QUALITYGOOD) != 0;
    FreeImage_Unload(dib);
    return ok;
}

}  // namespace tarn::bench
