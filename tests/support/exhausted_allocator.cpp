#include "exhausted_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> exhausted{false};
std::atomic<int> refused{0};

void* allocate(size_t size) {
    if (exhausted) {
        ++refused;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

namespace fixtures {

void exhaustMemory(bool on) { exhausted = on; }

std::optional<int64_t> runExhausted(const std::function<int64_t()>& call) {
    refused = 0;
    exhausted = true;
    const int64_t result = call();
    exhausted = false;
    return refused.exchange(0) > 0 ? std::optional(result) : std::nullopt;
}

}  // namespace fixtures

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
