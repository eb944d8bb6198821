#pragma once

#include <cstdint>
#include <optional>

#include "imaging/fip_super_image.h"
#include "platform/clipboard_file_list.h"

class wxBitmap;

namespace tarn {

// Puts the files on the clipboard in the forms the desktop's file managers paste (the
// gnome-copied-files list and a text/uri-list), replacing what was there. False when the
// clipboard cannot be opened or no path is absolute.
bool putFilesOnClipboard(const platform::ClipboardFiles& files);

// The files on the clipboard: the gnome-copied-files list first, else a text/uri-list read as a
// copy. The clipboard keeps its contents.
std::optional<platform::ClipboardFiles> filesOnClipboard();

// Whether the clipboard offers a file list; asks only which formats it has.
bool clipboardHasFiles();

// Puts the picture on the clipboard, replacing what was there.
bool putBitmapOnClipboard(const wxBitmap& bitmap);

// Puts the picture on the clipboard as a PNG, replacing what was there.
bool putImageOnClipboard(const fipImage& image);

// Whether the clipboard offers a picture; asks only which formats it has.
bool clipboardHasImage();

// A picture read from the clipboard: invalid when there was none that could be read, or when it
// has more than the pixels asked for (then tooLarge, with its size).
struct ClipboardPicture {
    fipSuperImage image;
    bool tooLarge = false;
    unsigned width = 0;
    unsigned height = 0;
};
ClipboardPicture imageFromClipboard(std::uint64_t maxPixels);

}  // namespace tarn
