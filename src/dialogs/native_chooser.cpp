#include "dialogs/native_chooser.h"

#include <glib.h>

#include "common/toolkit_calls.h"

namespace tarn::native_chooser {

std::optional<std::string> currentName(void* widget) {
    using Get = char* (*)(void*);
    static const Get get = toolkitFunction<Get>("gtk_file_chooser_get_current_name");
    if (get == nullptr || widget == nullptr) {
        return std::nullopt;
    }
    char* text = get(widget);
    std::string result = text != nullptr ? text : "";
    g_free(text);
    return result;
}

bool setCurrentName(void* widget, const std::string& name) {
    using Set = void (*)(void*, const char*);
    static const Set set = toolkitFunction<Set>("gtk_file_chooser_set_current_name");
    if (set == nullptr || widget == nullptr) {
        return false;
    }
    set(widget, name.c_str());
    return true;
}

bool size(void* widget, int& width, int& height) {
    using GetSize = void (*)(void*, int*, int*);
    static const GetSize getSize = toolkitFunction<GetSize>("gtk_window_get_size");
    if (getSize == nullptr || widget == nullptr) {
        return false;
    }
    getSize(widget, &width, &height);
    return true;
}

bool resize(void* widget, int width, int height) {
    using Resize = void (*)(void*, int, int);
    static const Resize resizeWindow = toolkitFunction<Resize>("gtk_window_resize");
    if (resizeWindow == nullptr || widget == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    resizeWindow(widget, width, height);
    return true;
}

}  // namespace tarn::native_chooser
