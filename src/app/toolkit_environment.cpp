#include "app/toolkit_environment.h"

#include <cstdlib>

namespace tarn {

void prepareToolkitEnvironment() {
    ::setenv("GDK_GL", "disable", 0);
}

}  // namespace tarn
