#include "imaging/effects/convolution.h"

#include <algorithm>
#include <new>

#include "imaging/effects/convolution_kernel.h"

namespace tarn {

namespace {

bool isTrueColor(FIBITMAP* dib) {
    return dib != nullptr && FreeImage_GetImageType(dib) == FIT_BITMAP &&
           (FreeImage_GetBPP(dib) == 24 || FreeImage_GetBPP(dib) == 32);
}

bool applyKernel(fipImage& image, const PreparedKernel& kernel, bool trueColorOnly) {
    FIBITMAP* dib = image;
    if (trueColorOnly && !isTrueColor(dib)) {
        return false;
    }
    try {
        return runKernel(dib, kernel);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool edgeDetect(fipImage& image, const ConvolutionParams& params) {
    PreparedKernel kernel = prepareKernel(params);
    kernel.keepAlpha = true;
    return applyKernel(image, kernel, true);
}

}  // namespace

bool convolute(fipImage& image, const ConvolutionParams& params) {
    return applyKernel(image, prepareKernel(params), false);
}

const ConvolutionParams& kGaussian3() {
    static const ConvolutionParams kernel{{1, 2, 1, 2, 4, 2, 1, 2, 1}, 3, 16, 0};
    return kernel;
}

const ConvolutionParams& kGaussian5() {
    static const ConvolutionParams kernel{
        {0, 1, 2, 1, 0, 1, 3, 4, 3, 1, 2, 4, 8, 4, 2, 1, 3, 4, 3, 1, 0, 1, 2, 1, 0}, 5, 52, 0};
    return kernel;
}

const ConvolutionParams& kSoften() {
    static const ConvolutionParams kernel{{1, 1, 1, 1, 8, 1, 1, 1, 1}, 3, 16, 0};
    return kernel;
}

const ConvolutionParams& kSharpen() {
    static const ConvolutionParams kernel{{-1, -1, -1, -1, 15, -1, -1, -1, -1}, 3, 7, 0};
    return kernel;
}

bool emboss(fipImage& image, const EmbossParams& params) {
    const int w = std::clamp(params.weight, 1, 15);
    PreparedKernel kernel = prepareKernel({{-w, -w, 0, -w, 0, w, 0, w, w}, 3, 8, 128});
    kernel.keepAlpha = true;
    return applyKernel(image, kernel, true);
}

bool edgeDetectLight(fipImage& image) {
    return edgeDetect(image, {{0, -1, 0, -1, 4, -1, 0, -1, 0}, 3, 1, 0});
}

bool edgeDetectMedium(fipImage& image) {
    return edgeDetect(image, {{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 3, 1, 0});
}

bool edgeDetectHeavy(fipImage& image) {
    ConvolutionParams params{std::vector<int>(25, -1), 5, 1, 0};
    params.kernel[12] = 24;
    return edgeDetect(image, params);
}

}  // namespace tarn
