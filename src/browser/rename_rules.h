#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// What the name editor shows: the file title for files (the extension stays as it is), the
// whole name for folders.
std::string nameShownForEditing(const std::string& path, bool isFolder);

// The path of the item renamed to name in its own folder; nullopt when the name is refused: a
// name of only dots, or one holding a '/' or a NUL (with *refusal saying why, when given).
std::optional<std::string> pathWithName(const std::string& oldPath, std::string_view name,
                                        std::string* refusal = nullptr);

// The new path for the text typed into the name editor, or nullopt when nothing is to be done:
// the text trimmed of blanks at both ends is empty, or equals (byte for byte) what was shown,
// or it is refused (see pathWithName). A file keeps its extension: ".ext" is appended, nothing
// when the old name had none.
std::optional<std::string> renamedPath(const std::string& oldPath, bool isFolder,
                                       std::string_view typed, std::string_view shown,
                                       std::string* refusal = nullptr);

// Renames from to to without ever replacing an existing item. False with a message naming the
// file and the reason (name too long, name taken, no permission, vanished) on failure.
bool renameItem(const std::string& from, const std::string& to, std::string* error);

}  // namespace tarn
