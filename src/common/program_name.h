#pragma once

#include <string_view>

namespace tarn {

// The window title without a file or folder, and the caption of the program's notices.
inline constexpr std::string_view kProgramTitle = "Tarn Photo Viewer";

// Names the folder of failed thumbnails, so another version tries those files again.
inline constexpr std::string_view kProgramVersion = "1.0";

}  // namespace tarn
