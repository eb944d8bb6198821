#pragma once

#include <string>

namespace tarn::platform {

// Moves a file or folder to the user's Trash (the freedesktop one, so the file manager can put it
// back). Returns false, with the reason in error when given, if it could not be moved.
bool moveToTrash(const std::string& path, std::string* error = nullptr);

}  // namespace tarn::platform
