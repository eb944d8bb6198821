#include "platform/file_trash.h"

#include <gio/gio.h>

#include <memory>

namespace tarn::platform {

bool moveToTrash(const std::string& path, std::string* error) {
    const std::unique_ptr<GFile, decltype(&g_object_unref)> file(g_file_new_for_path(path.c_str()),
                                                                 &g_object_unref);
    GError* failure = nullptr;
    const bool moved = g_file_trash(file.get(), nullptr, &failure) != FALSE;
    if (failure != nullptr) {
        if (error != nullptr) {
            *error = failure->message;
        }
        g_error_free(failure);
    }
    return moved;
}

}  // namespace tarn::platform
