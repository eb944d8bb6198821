#pragma once

#include <cstdint>
#include <functional>

namespace tarn {

// Runs band(top, bottom) over the rows [0, rows), split into one band per core when the work
// (pixels touched) is large enough to pay for threads; on one band otherwise. Bands never
// overlap, so each may write its own rows of a shared output. Returns when every band is done.
void forEachRowBand(int rows, std::int64_t work,
                    const std::function<void(int top, int bottom)>& band);

// The number of bands forEachRowBand would use.
int rowBandCount(int rows, std::int64_t work);

}  // namespace tarn
