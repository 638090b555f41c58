#include "interrupt_cleanup.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <mutex>

namespace files {

namespace {

// Partial files open at once that an interrupt removes; those past the last slot are left to
// the next run's clean-up of stale files.
constexpr size_t kSlots = 64;
constexpr std::array kSignals = {SIGINT, SIGTERM, SIGHUP};

std::array<std::atomic<const char*>, kSlots> openFiles{};

// Only async-signal-safe calls: unlink, then the signal's default action.
extern "C" void removeAndStop(int signal) {
    for (std::atomic<const char*>& slot : openFiles) {
        if (const char* path = slot.load()) {
            ::unlink(path);
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installHandlers() {
    for (const int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
            (current.sa_flags & SA_SIGINFO) == 0) {
            struct sigaction action {};
            action.sa_handler = removeAndStop;
            sigemptyset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
    }
}

}  // namespace

void removeOnInterrupt(const char* path) {
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    for (std::atomic<const char*>& slot : openFiles) {
        const char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, path)) {
            return;
        }
    }
}

void keepOnInterrupt(const char* path) {
    for (std::atomic<const char*>& slot : openFiles) {
        const char* expected = path;
        if (slot.compare_exchange_strong(expected, nullptr)) {
            return;
        }
    }
}

}  // namespace files
