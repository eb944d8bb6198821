#include "platform/file_uri.h"

#include <glib.h>

#include <memory>

namespace tarn::platform {

namespace {

struct GFreeDeleter {
    void operator()(gchar* p) const { g_free(p); }
};
using GText = std::unique_ptr<gchar, GFreeDeleter>;

}  // namespace

std::string fileUri(const std::string& absolutePath) {
    // GLib's spelling is the one other programs hash, so names match theirs byte for byte.
    const GText uri(g_filename_to_uri(absolutePath.c_str(), nullptr, nullptr));
    return uri ? std::string(uri.get()) : std::string();
}

std::string md5Hex(std::string_view bytes) {
    const GText hex(g_compute_checksum_for_data(
        G_CHECKSUM_MD5, reinterpret_cast<const guchar*>(bytes.data()), bytes.size()));
    return hex ? std::string(hex.get()) : std::string();
}

}  // namespace tarn::platform
