#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tarn::test {

// Runs a check as an ordinary user, whom folder permissions stop (they do not stop root): in a
// child process that drops to "nobody" when the test runs as root. The check returns 0 when
// every expectation held, else the number of the first that failed.
inline int runAsOrdinaryUser(const std::function<int()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        return -1;
    }
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(100);
        }
        ::_exit(check());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -2;
    }
    return WEXITSTATUS(status);
}

}  // namespace tarn::test
