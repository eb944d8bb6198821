#pragma once

#include <string>

#include "browser/folder_item.h"

namespace tarn {

// The tip shown over an item of the thumbnail list, lines separated by line feeds.
// Images (and shortcuts to images, described by their target): name, location, size, date and
// pixel size; other files and shortcuts: name, size and date; folders: name and date. A photo
// size not yet known is read from the file's header when it is a fast-thumbnail format; the
// last line ends after its label when it stays unknown.
std::string infoTipText(const FolderItem& item, const std::string& folderPath, bool targetIsImage);

// Pixel size from the file's header without decoding the pixels. False when unreadable.
bool readImageSize(const std::string& path, int& width, int& height);

}  // namespace tarn
