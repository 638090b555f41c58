// An allocator that can be made to run out, for tests that no exception crosses a library's
// interface. The program's own operator new stands in for the standard one (compile
// exhausted_allocator.cpp into the test program itself, never into a library).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace fixtures {

/// A library call as the exhaustion tests make it, and the result it gives when memory runs out.
struct ExhaustedCall {
    const char* name;
    std::function<int64_t()> run;
    int64_t failure;
};

/// While on, every allocation throws std::bad_alloc.
void exhaustMemory(bool on);
/// Runs `call` with memory exhausted: its result, or none when it asked for no memory.
std::optional<int64_t> runExhausted(const std::function<int64_t()>& call);

}  // namespace fixtures
