#include "imaging/effects/resample_filters.h"

#include <algorithm>
#include <cmath>

namespace tarn {

namespace {

constexpr double kPi = 3.14159265358979323846;

double box(double t) {
    return t >= -0.5 && t < 0.5 ? 1.0 : 0.0;
}

double tent(double t) {
    return std::max(0.0, 1.0 - std::fabs(t));
}

// The family of cubics of Mitchell and Netravali.
double cubic(double t, double b, double c) {
    const double x = std::fabs(t);
    if (x < 1.0) {
        return ((12 - 9 * b - 6 * c) * x * x * x + (-18 + 12 * b + 6 * c) * x * x + (6 - 2 * b)) /
               6.0;
    }
    if (x < 2.0) {
        return ((-b - 6 * c) * x * x * x + (6 * b + 30 * c) * x * x + (-12 * b - 48 * c) * x +
                (8 * b + 24 * c)) /
               6.0;
    }
    return 0.0;
}

double bspline(double t) {
    return cubic(t, 1.0, 0.0);
}

double mitchell(double t) {
    return cubic(t, 1.0 / 3.0, 1.0 / 3.0);
}

double catmullRom(double t) {
    return cubic(t, 0.0, 0.5);
}

double sinc(double x) {
    return x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
}

double lanczos3(double t) {
    return std::fabs(t) < 3.0 ? sinc(t) * sinc(t / 3.0) : 0.0;
}

}  // namespace

bool resampleFilter(FREE_IMAGE_FILTER filter, ResampleFilter& out) {
    switch (filter) {
        case FILTER_BOX:
            out = {0.5, box};
            return true;
        case FILTER_BILINEAR:
            out = {1.0, tent};
            return true;
        case FILTER_BSPLINE:
            out = {2.0, bspline};
            return true;
        case FILTER_BICUBIC:
            out = {2.0, mitchell};
            return true;
        case FILTER_CATMULLROM:
            out = {2.0, catmullRom};
            return true;
        case FILTER_LANCZOS3:
            out = {3.0, lanczos3};
            return true;
    }
    return false;
}

ResampleTaps resampleTaps(unsigned source, unsigned target, const ResampleFilter& filter) {
    const double scale = static_cast<double>(source) / target;
    const double stretch = std::max(1.0, scale);
    const double radius = filter.support * stretch;
    // The kernel's span, cut to the image and to the pixels it gives a weight.
    std::vector<int> low(target), high(target);
    std::vector<double> weights;
    for (unsigned i = 0; i < target; ++i) {
        const double centre = (i + 0.5) * scale;
        int from = std::max(0, static_cast<int>(std::floor(centre - radius)));
        int to =
            std::min(static_cast<int>(source) - 1, static_cast<int>(std::ceil(centre + radius)));
        while (from < to && filter.weight((from + 0.5 - centre) / stretch) == 0.0) {
            ++from;
        }
        while (to > from && filter.weight((to + 0.5 - centre) / stretch) == 0.0) {
            --to;
        }
        low[i] = from;
        high[i] = to;
    }
    ResampleTaps taps;
    for (unsigned i = 0; i < target; ++i) {
        taps.count = std::max(taps.count, static_cast<unsigned>(high[i] - low[i] + 1));
    }
    taps.first.resize(target);
    taps.weight.assign(static_cast<std::size_t>(target) * taps.count, 0.0f);
    weights.resize(taps.count);
    for (unsigned i = 0; i < target; ++i) {
        const double centre = (i + 0.5) * scale;
        double sum = 0.0;
        for (int j = low[i]; j <= high[i]; ++j) {
            weights[j - low[i]] = filter.weight((j + 0.5 - centre) / stretch);
            sum += weights[j - low[i]];
        }
        const int first = std::min(low[i], static_cast<int>(source - taps.count));
        taps.first[i] = first;
        float* out = &taps.weight[static_cast<std::size_t>(i) * taps.count];
        if (sum == 0.0) {
            // No source pixel under the kernel: take the nearest one.
            const int nearest =
                std::clamp(static_cast<int>(centre), 0, static_cast<int>(source) - 1);
            out[nearest - first] = 1.0f;
            continue;
        }
        for (int j = low[i]; j <= high[i]; ++j) {
            out[j - first] = static_cast<float>(weights[j - low[i]] / sum);
        }
    }
    return taps;
}

}  // namespace tarn
