#pragma once

#include <string>
#include <vector>

#include "platform/desktop_launcher.h"

namespace tarn::test {

// Records what the program asked the desktop to do; refuses with `failure` when it is set.
class FakeDesktopLauncher final : public platform::DesktopLauncher {
public:
    struct Call {
        std::string what;  // "open", "edit" or "show"
        std::string path;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    std::string failure;  // non-empty: every call fails with this reason

    bool openWithDefault(const std::string& path, std::string* error) override {
        return record("open", path, error);
    }
    bool openWithEditor(const std::string& path, std::string* error) override {
        return record("edit", path, error);
    }
    bool showInFileManager(const std::string& path, std::string* error) override {
        return record("show", path, error);
    }

private:
    bool record(const char* what, const std::string& path, std::string* error) {
        calls.push_back({what, path});
        if (failure.empty()) {
            return true;
        }
        if (error != nullptr) {
            *error = failure;
        }
        return false;
    }
};

}  // namespace tarn::test
