#include "library/library_state.h"

namespace reader {

LibraryState& libraryState() {
    static LibraryState state;
    return state;
}

CReader* readerAt(int handle) {
    if (handle < 0 || handle >= kReaderSlots) {
        return nullptr;
    }
    return libraryState().readers[size_t(handle)].get();
}

}  // namespace reader
