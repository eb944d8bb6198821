#pragma once

#include "imaging/pixel_rows.h"

namespace tarn {

// Area average (box filter) of the whole image read through reader to width x height, top row
// first: RGB triples into rgb and, when alpha is not null, one byte each into alpha. Each target
// pixel is the average of the source pixels it covers, weighted by how much of each it covers;
// enlarging stretches the same way. Row bands run on threads threads (the caller's thread among
// them); the result does not depend on how many.
void downscaleArea(const PixelRowReader& reader, int width, int height, unsigned char* rgb,
                   unsigned char* alpha, int threads);

// How many threads downscaleArea is worth for a source of that size: one below a megapixel,
// else one per core, at most 8 and at most one per target row.
int downscaleThreads(int sourceWidth, int sourceHeight, int targetHeight);

}  // namespace tarn
