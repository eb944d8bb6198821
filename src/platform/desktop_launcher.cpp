#include "platform/desktop_launcher.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "platform/file_uri.h"

namespace tarn::platform {

namespace {

struct GObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GOwned = std::unique_ptr<T, GObjectDeleter>;

struct GListDeleter {
    void operator()(GList* list) const { g_list_free_full(list, g_object_unref); }
};
using GObjectList = std::unique_ptr<GList, GListDeleter>;

struct GErrorDeleter {
    void operator()(GError* e) const { g_error_free(e); }
};
using GErrorOwned = std::unique_ptr<GError, GErrorDeleter>;

// How long the file manager may take to answer before the folder is opened instead; it may have
// to start first.
constexpr int kFileManagerTimeoutMs = 4000;

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
}

// Takes the GError GIO left, if any, into error; whether the call succeeded.
bool finish(bool succeeded, GError* failure, std::string* error) {
    const GErrorOwned owned(failure);
    if (!succeeded) {
        setError(error, owned ? owned->message : "the desktop could not start a program");
    }
    return succeeded;
}

std::string contentTypeOf(const std::string& path) {
    const GOwned<GFile> file(g_file_new_for_path(path.c_str()));
    const GOwned<GFileInfo> info(g_file_query_info(file.get(),
                                                   G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                   G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (info) {
        if (const char* type = g_file_info_get_content_type(info.get())) {
            return type;
        }
    }
    std::unique_ptr<gchar, decltype(&g_free)> guessed(
        g_content_type_guess(path.c_str(), nullptr, 0, nullptr), &g_free);
    return guessed ? guessed.get() : "application/octet-stream";
}

std::string idOf(GAppInfo* app) {
    const char* id = g_app_info_get_id(app);
    return id != nullptr ? id : "";
}

std::string categoriesOf(GAppInfo* app) {
    if (!G_IS_DESKTOP_APP_INFO(app)) {
        return {};
    }
    const char* categories = g_desktop_app_info_get_categories(G_DESKTOP_APP_INFO(app));
    return categories != nullptr ? categories : "";
}

// The session bus's address without starting a bus when there is none.
std::string sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) {
        return address;
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        const std::string socket = std::string(runtime) + "/bus";
        std::error_code ec;
        if (std::filesystem::exists(socket, ec)) {
            std::unique_ptr<gchar, decltype(&g_free)> escaped(
                g_dbus_address_escape_value(socket.c_str()), &g_free);
            return std::string("unix:path=") + escaped.get();
        }
    }
    return {};
}

bool askFileManagerToShow(const std::string& uri, std::string* error) {
    const std::string address = sessionBusAddress();
    if (address.empty()) {
        setError(error, "there is no session bus");
        return false;
    }
    GError* failure = nullptr;
    const GOwned<GDBusConnection> bus(g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &failure));
    if (!bus) {
        return finish(false, failure, error);
    }
    const char* items[] = {uri.c_str(), nullptr};
    GVariant* reply = g_dbus_connection_call_sync(
        bus.get(), "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", items, ""), nullptr,
        G_DBUS_CALL_FLAGS_NONE, kFileManagerTimeoutMs, nullptr, &failure);
    if (reply != nullptr) {
        g_variant_unref(reply);
    }
    g_dbus_connection_close_sync(bus.get(), nullptr, nullptr);
    return finish(reply != nullptr, failure, error);
}

}  // namespace

std::optional<std::string> editorApplication(const std::vector<OfferedApplication>& offered) {
    const auto isRasterEditor = [](const std::string& categories) {
        std::istringstream list(categories);
        std::string category;
        while (std::getline(list, category, ';')) {
            if (category == "RasterGraphics") {
                return true;
            }
        }
        return false;
    };
    for (const OfferedApplication& app : offered) {
        if (!app.isDefault && isRasterEditor(app.categories)) {
            return app.id;
        }
    }
    for (const OfferedApplication& app : offered) {
        if (app.isDefault) {
            return app.id;
        }
    }
    return std::nullopt;
}

std::string folderShowing(const std::string& path) {
    std::filesystem::path item(path);
    while (item.has_relative_path() && !item.has_filename()) {
        item = item.parent_path();  // "/a/b/" names the folder b
    }
    return item.has_relative_path() ? item.parent_path().string() : item.string();
}

bool LinuxDesktopLauncher::openWithDefault(const std::string& path, std::string* error) {
    const std::string uri = fileUri(path);
    if (uri.empty()) {
        setError(error, "not an absolute path: " + path);
        return false;
    }
    GError* failure = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &failure);
    return finish(launched, failure, error);
}

bool LinuxDesktopLauncher::openWithEditor(const std::string& path, std::string* error) {
    const std::string type = contentTypeOf(path);
    const GOwned<GAppInfo> defaultApp(g_app_info_get_default_for_type(type.c_str(), FALSE));
    const GObjectList recommended(g_app_info_get_recommended_for_type(type.c_str()));

    std::vector<OfferedApplication> offered;
    bool defaultOffered = false;
    for (GList* node = recommended.get(); node != nullptr; node = node->next) {
        auto* app = static_cast<GAppInfo*>(node->data);
        const bool isDefault = defaultApp && g_app_info_equal(app, defaultApp.get());
        defaultOffered = defaultOffered || isDefault;
        offered.push_back({idOf(app), categoriesOf(app), isDefault});
    }
    if (defaultApp && !defaultOffered) {
        offered.push_back({idOf(defaultApp.get()), categoriesOf(defaultApp.get()), true});
    }
    const std::optional<std::string> chosen = editorApplication(offered);
    for (GList* node = recommended.get(); chosen && node != nullptr; node = node->next) {
        auto* app = static_cast<GAppInfo*>(node->data);
        if (idOf(app) != *chosen || (defaultApp && g_app_info_equal(app, defaultApp.get()))) {
            continue;
        }
        const GOwned<GFile> file(g_file_new_for_path(path.c_str()));
        GList files{file.get(), nullptr, nullptr};
        GError* failure = nullptr;
        const bool launched = g_app_info_launch(app, &files, nullptr, &failure);
        return finish(launched, failure, error);
    }
    // No editor apart from the default one: that one opens it.
    return openWithDefault(path, error);
}

bool LinuxDesktopLauncher::showInFileManager(const std::string& path, std::string* error) {
    const std::string uri = fileUri(path);
    if (uri.empty()) {
        setError(error, "not an absolute path: " + path);
        return false;
    }
    if (askFileManagerToShow(uri, nullptr)) {
        return true;
    }
    return openWithDefault(folderShowing(path), error);
}

}  // namespace tarn::platform
