#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::platform {

// Files put on the clipboard by Cut (moved on paste) or Copy.
struct ClipboardFiles {
    std::vector<std::string> paths;
    bool cut = false;
    bool operator==(const ClipboardFiles&) const = default;
};

// The x-special/gnome-copied-files text the desktop's file managers exchange: "cut" or "copy",
// then one file:// URI per line. Paths that are not absolute are left out.
std::string gnomeCopiedFilesText(const ClipboardFiles& files);

// A text/uri-list: one file:// URI per line, every line ended by CR LF.
std::string uriListText(const std::vector<std::string>& paths);

// The files of a gnome-copied-files text; nothing when it names no local file. Remote or
// malformed URIs are skipped. The plain-text form GNOME Files puts on the clipboard (the same
// list below an "x-special/nautilus-clipboard" line) is read too.
std::optional<ClipboardFiles> parseGnomeCopiedFiles(std::string_view text);

// Whether a plain text on the clipboard is the file list of GNOME Files.
bool isNautilusClipboardText(std::string_view text);

// The local paths of a text/uri-list; comment lines and remote or malformed URIs are skipped.
std::vector<std::string> parseUriList(std::string_view text);

// The local path a file URI names (file:///..., file://localhost/..., file:/...), percent escapes
// decoded. Nothing for other hosts and schemes, broken escapes, a NUL or a query or fragment.
std::optional<std::string> pathFromFileUri(std::string_view uri);

}  // namespace tarn::platform
