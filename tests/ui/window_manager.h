#pragma once

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include "ui/child_process.h"

namespace tarn::test {

// Openbox managing the test display while the object lives: maximising, full screen and
// placement need a window manager, which bare Xvfb has not.
class WindowManager {
public:
    WindowManager() : m_process("/usr/bin/openbox", environment()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));  // let it take the display
    }
    bool running() {
        return m_process.started() && !m_process.waitExit(std::chrono::milliseconds(1));
    }

private:
    static std::map<std::string, std::string> environment() {
        std::map<std::string, std::string> env;
        for (const char* name : {"DISPLAY", "XAUTHORITY", "HOME", "PATH"}) {
            if (const char* v = std::getenv(name)) {
                env[name] = v;
            }
        }
        return env;
    }
    ChildProcess m_process;
};

}  // namespace tarn::test
