#pragma once

#include <climits>
#include <string>
#include <string_view>

namespace tarn {

// Windows style: backslash separators, "X:" drive roots. POSIX style: "/" separators, "/" the
// only root. The host uses its own style; both are kept so stored paths of either kind work.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kHostPathStyle = PathStyle::Windows;
inline constexpr std::size_t kMaxPath = 260;
#else
inline constexpr PathStyle kHostPathStyle = PathStyle::Posix;
inline constexpr std::size_t kMaxPath = PATH_MAX;
#endif

char pathSeparator(PathStyle style = kHostPathStyle);

// Appends the separator only when the base does not already end in one.
std::string joinPath(std::string_view base, std::string_view name,
                     PathStyle style = kHostPathStyle);

// Windows: "X:" becomes "X:\", a path longer than three characters loses one trailing
// backslash. POSIX: a path longer than one character loses one trailing "/".
std::string normalizePath(std::string_view path, PathStyle style = kHostPathStyle);

// Windows: exactly "X:" or "X:\". POSIX: exactly "/".
bool isDriveRoot(std::string_view path, PathStyle style = kHostPathStyle);

// The last path component.
std::string fileName(std::string_view path, PathStyle style = kHostPathStyle);

// The last component without its extension; a path ending in a separator is taken whole.
std::string fileTitle(std::string_view path, PathStyle style = kHostPathStyle);

// The characters after the last '.' of the last component, without the dot; empty when none.
std::string fileExtension(std::string_view path, PathStyle style = kHostPathStyle);

// The path up to (not including) the last separator; empty when there is none.
std::string folderPart(std::string_view path, PathStyle style = kHostPathStyle);

// The folder that holds a file: normalised, then cut at the last separator. A file in a
// root keeps the root ("/x" gives "/", "C:\x" gives "C:\").
std::string parentFolder(std::string_view path, PathStyle style = kHostPathStyle);

// Drops every double quotation mark and every character of * / : < > ? \ | from a name.
std::string cleanName(std::string_view name);

// ASCII case-insensitive comparison of extensions ("JPG" equals "jpg").
bool extensionEquals(std::string_view a, std::string_view b);

// True when a normalised '/'-separated path is folder itself or lies below it.
bool isPathWithin(std::string_view path, std::string_view folder);

// Compares whole paths by the host file system's rule (exact on Linux).
bool samePath(std::string_view a, std::string_view b);

}  // namespace tarn
