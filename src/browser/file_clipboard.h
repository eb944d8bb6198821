#pragma once

#include <optional>

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

}  // namespace tarn
