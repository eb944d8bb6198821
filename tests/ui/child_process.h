#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tarn::test {

// A program started with an environment of the test's choosing; killed if still running when
// the object goes.
class ChildProcess {
public:
    ChildProcess(const std::string& exe, const std::map<std::string, std::string>& env) {
        std::vector<std::string> envText;
        for (const auto& [k, v] : env) {
            envText.push_back(k + "=" + v);
        }
        std::vector<char*> envp;
        for (auto& e : envText) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string arg0 = exe;
        char* argv[] = {arg0.data(), nullptr};
        if (posix_spawn(&m_pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
            m_pid = -1;
        }
    }
    ~ChildProcess() {
        if (m_pid > 0 && !m_exitCode) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    void signal(int sig) const { ::kill(m_pid, sig); }

    // The exit code, or nothing if it is still running after the timeout or died by a signal.
    std::optional<int> waitExit(std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
            if (r == m_pid) {
                m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return m_exitCode;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }

private:
    pid_t m_pid = -1;
    std::optional<int> m_exitCode;
};

// The output of a shell command.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) {
            out.append(buffer, n);
        }
        ::pclose(p);
    }
    return out;
}

// Waits until a window whose title ends with this text is on the display.
inline bool waitForWindowTitled(const std::string& title, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (commandOutput("xwininfo -root -tree 2>/dev/null").find(title + "\":") !=
            std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace tarn::test
