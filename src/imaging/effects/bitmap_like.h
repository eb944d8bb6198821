#pragma once

#include "imaging/freeimage_ptr.h"

namespace tarn {

// A zeroed bitmap of the same type, depth, colour masks and palette as source, sized width x
// height, with its resolution (swapped when swapResolution), transparency, background colour,
// ICC profile and metadata. Null when it cannot be had.
FreeImageBitmap allocateLike(FIBITMAP* source, unsigned width, unsigned height,
                             bool swapResolution = false);

// Copies those attributes (all but palette and masks) from source to target. The transparency
// table goes only to a target of the same depth, where its indices mean the same.
void copyAttributes(FIBITMAP* source, FIBITMAP* target, bool swapResolution = false);

// Whether the library treats the bitmap's palette as grey levels.
bool hasGreyPalette(FIBITMAP* dib);

}  // namespace tarn
