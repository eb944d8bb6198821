#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "imaging/freeimage_ptr.h"
#include "platform/item_id_list.h"

namespace tarn {

// One child of the browsed folder. The model owns it and everything it holds; only the thread
// that owns the model (the user-interface thread) reads or writes it. Thumbnails and photo sizes
// come back from the thumbnail worker as values stored there.
struct FolderItem {
    platform::ItemIdList absoluteId;
    // The child's identifier within its folder; recognises it on refresh.
    platform::ItemIdList relativeId;
    // File-system path; empty for a child without one.
    std::string path;
    // The label under the thumbnail.
    std::string displayName;
    FreeImageBitmap thumbnail;
    // Index into the system icon lists (platform/system_icons.h).
    int iconIndex = 0;
    // FileKind: 0 folder, 1 image, 2 other file, 3 shortcut.
    int kind = 0;
    bool hidden = false;
    bool fileSystem = false;
    // Last write, nanoseconds since 1970; 0 when not a file-system child.
    std::int64_t modified = 0;
    // Bytes; 0 for folders and children outside the file system.
    std::uint64_t size = 0;
    // 0 until the thumbnail worker has loaded the image.
    int photoWidth = 0;
    int photoHeight = 0;
    bool thumbnailPending = false;
    // For a shortcut where it leads (empty when unresolved); for every other kind the path.
    std::string targetPath;
    // A double-click enters it as a folder.
    bool browsableFolder = false;
    // Scratch mark of refresh.
    bool seen = false;
    // State of the list row; lives here so the window only draws it.
    bool selected = false;
    bool focused = false;
};

}  // namespace tarn
