// An allocator that can be made to run out, for tests that no exception crosses a library's
// interface. The program's own operator new stands in for the standard one (compile
// exhausted_allocator.cpp into the test program itself, never into a library).
#pragma once

namespace fixtures {

/// While on, every allocation throws std::bad_alloc.
void exhaustMemory(bool on);
/// The allocations refused since the last call.
int takeRefusedAllocations();

}  // namespace fixtures
