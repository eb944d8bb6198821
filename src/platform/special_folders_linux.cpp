#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/path_rules.h"
#include "platform/special_folders.h"

namespace tarn::platform {

namespace {

std::optional<std::string> processEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace

LinuxSpecialFolders::LinuxSpecialFolders(EnvLookup env)
    : m_env(env ? std::move(env) : EnvLookup(processEnv)) {}

std::optional<std::string> LinuxSpecialFolders::homeFolder() const {
    if (auto home = m_env("HOME"); home && !home->empty()) {
        return normalizePath(*home);
    }
    const struct passwd* pw = getpwuid(getuid());
    if (pw != nullptr && pw->pw_dir != nullptr && pw->pw_dir[0] != '\0') {
        return normalizePath(pw->pw_dir);
    }
    return std::nullopt;
}

std::optional<std::string> LinuxSpecialFolders::configFolder() const {
    // Relative values are invalid by the XDG rules and are ignored.
    if (auto xdg = m_env("XDG_CONFIG_HOME"); xdg && !xdg->empty() && xdg->front() == '/') {
        return normalizePath(*xdg);
    }
    const auto home = homeFolder();
    if (!home) {
        return std::nullopt;
    }
    return joinPath(*home, ".config");
}

std::optional<std::string> LinuxSpecialFolders::picturesDirFromUserDirs(std::string_view content,
                                                                        std::string_view home) {
    std::optional<std::string> found;
    while (!content.empty()) {
        const std::size_t nl = content.find('\n');
        std::string_view line = content.substr(0, nl);
        content.remove_prefix(nl == std::string_view::npos ? content.size() : nl + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
        if (line.substr(0, kKey.size()) != kKey) {
            continue;
        }
        line.remove_prefix(kKey.size());
        if (line.size() < 2 || line.front() != '"') {
            continue;
        }
        const std::size_t close = line.find('"', 1);
        if (close == std::string_view::npos) {
            continue;
        }
        std::string_view value = line.substr(1, close - 1);
        std::string path;
        if (value == "$HOME" || value.substr(0, 6) == "$HOME/") {
            path = std::string(home) + std::string(value.substr(5));
        } else if (!value.empty() && value.front() == '/') {
            path = std::string(value);
        } else {
            continue;
        }
        found = normalizePath(path);
    }
    return found;
}

std::optional<std::string> LinuxSpecialFolders::picturesFolder() const {
    const auto home = homeFolder();
    if (!home) {
        return std::nullopt;
    }
    if (const auto config = configFolder()) {
        std::ifstream in(joinPath(*config, "user-dirs.dirs"), std::ios::binary);
        if (in) {
            const std::string content((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
            if (const auto dir = picturesDirFromUserDirs(content, *home);
                dir && isDirectory(*dir)) {
                return dir;
            }
        }
    }
    if (const std::string pictures = joinPath(*home, "Pictures"); isDirectory(pictures)) {
        return pictures;
    }
    return home;
}

std::optional<std::string> LinuxSpecialFolders::programFile() const {
    std::vector<char> buffer(kMaxPath + 1);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) {
        return std::nullopt;
    }
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

}  // namespace tarn::platform
