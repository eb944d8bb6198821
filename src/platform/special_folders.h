#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tarn::platform {

// Where the system keeps the user's folders. Every answer may be missing; callers decide
// what a missing folder means.
class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;

    // The user's configuration folder (the roaming application-data folder).
    virtual std::optional<std::string> configFolder() const = 0;
    // The user's pictures folder.
    virtual std::optional<std::string> picturesFolder() const = 0;
    virtual std::optional<std::string> homeFolder() const = 0;
    // Full path of the running executable.
    virtual std::optional<std::string> programFile() const = 0;
};

// Linux: XDG_CONFIG_HOME (absolute) else ~/.config; XDG_PICTURES_DIR from user-dirs.dirs,
// else ~/Pictures, else home; the executable from /proc/self/exe.
class LinuxSpecialFolders final : public SpecialFolders {
public:
    using EnvLookup = std::function<std::optional<std::string>(const char* name)>;

    // The lookup defaults to the process environment; tests pass their own.
    explicit LinuxSpecialFolders(EnvLookup env = {});

    std::optional<std::string> configFolder() const override;
    std::optional<std::string> picturesFolder() const override;
    std::optional<std::string> homeFolder() const override;
    std::optional<std::string> programFile() const override;

    // The XDG_PICTURES_DIR entry of a user-dirs.dirs text, with $HOME expanded.
    static std::optional<std::string> picturesDirFromUserDirs(std::string_view content,
                                                              std::string_view home);

private:
    EnvLookup m_env;
};

}  // namespace tarn::platform
