#pragma once

#include <FreeImagePlus.h>

#include <vector>

namespace tarn {

// A square kernel, row by row from the top of the picture; side odd, 1..15. Entries are
// clamped to +-32768; a divisor of 0 counts as 1.
struct ConvolutionParams {
    std::vector<int> kernel;
    int side = 3;
    int divisor = 1;
    int bias = 0;
};

// Each channel = clamp(round(sum / divisor) + bias) to the channel's type (halves away from
// zero; floats are neither rounded nor clamped), the border pixels repeated past the edges.
// Every layout but complex: palette and 16-bit colour bitmaps are filtered in colour and mapped
// back to their own palette or packing; 32-bit bitmaps filter alpha too.
bool convolute(fipImage& image, const ConvolutionParams& params);

// The kernels of the editor's commands.
const ConvolutionParams& kGaussian3();
const ConvolutionParams& kGaussian5();
const ConvolutionParams& kSoften();
const ConvolutionParams& kSharpen();

// Radius clamped to 0..10000; 0 leaves the image as it is.
struct AverageBlurParams {
    int radius = 0;
};

// The mean of the (2r+1) x (2r+1) square around each pixel, rounded as convolute; any layout
// convolute takes. Time does not grow with the radius.
bool averageBlur(fipImage& image, const AverageBlurParams& params);

// Weight clamped to 1..15.
struct EmbossParams {
    int weight = 5;
};

// Relief on grey: each colour channel = 128 + weight * (the three neighbours below and to the
// right - the three above and to the left) / 8. 24/32-bit bitmaps; alpha kept.
bool emboss(fipImage& image, const EmbossParams& params);

// Size clamped to 1..31; even sizes take the next odd one.
struct ErodeParams {
    int size = 5;
};

// Each colour channel takes the darkest value of the size x size square around it (grey-scale
// erosion). 24/32-bit bitmaps; alpha kept.
bool erode(fipImage& image, const ErodeParams& params);

// The 4-neighbour Laplacian (0 -1 0 / -1 4 -1 / 0 -1 0): edges bright on black. 24/32-bit
// bitmaps; alpha kept.
bool edgeDetectLight(fipImage& image);
// The 8-neighbour Laplacian (-1 -1 -1 / -1 8 -1 / -1 -1 -1). 24/32-bit bitmaps; alpha kept.
bool edgeDetectMedium(fipImage& image);
// The 5 x 5 Laplacian (-1 everywhere, 24 in the centre): wider, stronger edges. 24/32-bit
// bitmaps; alpha kept.
bool edgeDetectHeavy(fipImage& image);

}  // namespace tarn
