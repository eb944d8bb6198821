#pragma once

#include <string>
#include <string_view>

namespace tarn::platform {

// Shortcut files in the Shell Link binary format (.lnk). We write the target as the LinkInfo
// local base path (with a Unicode copy when the path is valid UTF-8) and as a relative path
// from the shortcut's folder; we read the local base path plus the common path suffix, else
// the relative path.

// The bytes of a shortcut to targetPath. relativePath may be empty (then none is stored);
// folder sets the target's directory attribute.
std::string encodeShellLink(std::string_view targetPath, std::string_view relativePath,
                            bool folder);

// The target named by shortcut bytes; a relative path is taken from linkFolder. Empty when the
// data is malformed, cut short or names no target.
std::string decodeShellLinkTarget(std::string_view data, std::string_view linkFolder);

// Writes a shortcut at linkPath to the absolute targetPath through a temporary file renamed
// over the old one; false (and nothing changed) on failure.
bool writeShellLink(const std::string& linkPath, const std::string& targetPath);

// The target of a shortcut: a .lnk file's stored target, or where a symbolic link leads
// (fully resolved). Empty when it cannot be resolved: dangling or looping links, unreadable
// or malformed files, anything that is not a shortcut.
std::string shortcutTarget(const std::string& path);

// The path from folder `from` to `to`, both absolute and normalised ("../x/y").
std::string relativePathBetween(std::string_view from, std::string_view to);

}  // namespace tarn::platform
