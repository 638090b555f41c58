// No exception crosses the library's C interface: an export runs its body through guarded(),
// and an exception (memory exhausted, a file system error) becomes its failure result with
// kAllocError recorded.
#pragma once

#include "library/library_state.h"
#include "support/error_codes.h"

namespace reader {

template <typename Result, typename Body>
Result guarded(Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        setLibraryError(kAllocError);
        return failure;
    }
}

}  // namespace reader
