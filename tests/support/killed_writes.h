// Writes interrupted by a kill at a chosen point, for tests that a file is never left half
// written.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <functional>

#include "files/partial_file.h"

namespace fixtures {

/// Runs `work` in a child process that is killed with SIGKILL at its `write`-th write of a
/// partial file (counting from 1); the child's wait status, or -1 when it could not be run.
inline int killedAtWrite(uint64_t write, const std::function<void()>& work) {
    static uint64_t killAt;
    killAt = write;
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        files::setWriteHook([](uint64_t n) {
            if (n == killAt) {
                std::raise(SIGKILL);
            }
            return true;
        });
        work();
        ::_exit(0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child ? status : -1;
}

}  // namespace fixtures
