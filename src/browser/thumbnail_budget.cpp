#include "browser/thumbnail_budget.h"

#include <algorithm>
#include <vector>

namespace tarn {

int dropFarThumbnails(FolderModel& model, int first, int last, std::size_t budget) {
    struct Held {
        int distance;
        int index;
        std::size_t bytes;
    };
    std::vector<Held> held;
    std::size_t total = 0;
    for (int i = 0; i < model.count(); ++i) {
        const FolderItem* item = model.item(i);
        if (!item->thumbnail) {
            continue;
        }
        const std::size_t bytes = FreeImage_GetMemorySize(item->thumbnail.get());
        total += bytes;
        const int distance = i < first ? first - i : (i > last ? i - last : 0);
        if (distance > 0) {
            held.push_back({distance, i, bytes});
        }
    }
    if (total <= budget) {
        return 0;
    }
    std::sort(held.begin(), held.end(),
              [](const Held& a, const Held& b) { return a.distance > b.distance; });
    int dropped = 0;
    for (const Held& h : held) {
        if (total <= budget) {
            break;
        }
        FolderItem* item = model.item(h.index);
        item->thumbnail.reset();
        item->thumbnailPending = true;
        total -= h.bytes;
        ++dropped;
    }
    return dropped;
}

}  // namespace tarn
