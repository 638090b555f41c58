#include <sys/mman.h>

#include "reader/creader.h"

namespace reader {

// Pages of an anonymous mapping read as zero and are given memory when first written.
ZeroedBuffer::ZeroedBuffer(size_t size)
    : bytes_(static_cast<char*>(
          ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0))),
      size_(size) {
    if (bytes_ == MAP_FAILED) {
        bytes_ = nullptr;
        size_ = 0;
    }
}

ZeroedBuffer::~ZeroedBuffer() {
    if (bytes_ != nullptr) {
        ::munmap(bytes_, size_);
    }
}

}  // namespace reader
