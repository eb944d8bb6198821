#pragma once

#include <dirent.h>

#include <memory>

namespace tarn::platform {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

// An open directory stream, closed when the owner goes.
using DirHandle = std::unique_ptr<DIR, DirCloser>;

}  // namespace tarn::platform
