#pragma once

#include "common/rect.h"

namespace tarn {

// Where a preview window draws a picture of iw x ih in a client area of cw x ch: shrunk to fit
// with its proportions, never enlarged, each side at least 1, centred. Empty without a picture
// or room.
Rect thumbPictureRect(int iw, int ih, int cw, int ch);

}  // namespace tarn
