#pragma once

#include <dlfcn.h>

namespace tarn {

// wx has loaded the toolkit already, so the few toolkit calls it has no counterpart for are
// looked up there rather than built against the toolkit's headers. Null when the toolkit
// lacks the call; toolkit objects pass as void*.
template <typename Function>
Function toolkitFunction(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_DEFAULT, name));
}

}  // namespace tarn
