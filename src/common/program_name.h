#pragma once

#include <string_view>

namespace tarn {

// The window title without a file or folder, and the caption of the program's notices.
inline constexpr std::string_view kProgramTitle = "Tarn Photo Viewer";

}  // namespace tarn
