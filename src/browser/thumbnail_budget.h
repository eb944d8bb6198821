#pragma once

#include <cstddef>

#include "browser/folder_model.h"

namespace tarn {

// The memory the list's thumbnails may take, so that the browser stays near 100 MB on folders of
// thousands: about a hundred at the largest box (the shown screen and one either side), some 550
// at the usual one. Beyond it the thumbnails farthest from the shown rows are dropped; they are
// made again (from the thumbnail cache, mostly) when their rows come back.
constexpr std::size_t kThumbnailMemoryBudget = std::size_t{12} << 20;

// Drops the thumbnails farthest from the items first..last until the rest fit the budget. Those
// items are pending again; the items first..last themselves keep theirs whatever they take.
// Returns how many were dropped.
int dropFarThumbnails(FolderModel& model, int first, int last,
                      std::size_t budget = kThumbnailMemoryBudget);

}  // namespace tarn
