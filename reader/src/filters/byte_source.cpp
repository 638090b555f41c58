#include "filters/byte_source.h"

#include <algorithm>
#include <cstring>

namespace reader {

size_t ByteSource::readAll(std::vector<uint8_t>& out, size_t limit, size_t initialSize,
                           size_t growStep) {
    const size_t start = out.size();
    size_t used = start;
    out.resize(std::min(start + initialSize, start + limit));
    while (used - start < limit) {
        if (used == out.size()) {
            // Doubling what was read, up to a step of `growStep`: room made is zeroed, so a
            // small stream past its first guess must not be given megabytes.
            const size_t step = std::clamp<size_t>(used - start, 4096, growStep);
            out.resize(std::min(out.size() + step, start + limit));
        }
        const size_t n = read(std::span(out).subspan(used));
        if (n == 0) {
            break;
        }
        used += n;
    }
    out.resize(used);
    return used - start;
}

size_t BufferSource::read(std::span<uint8_t> out) {
    const size_t n = std::min(out.size(), data_.size() - position_);
    if (n > 0) {
        std::memcpy(out.data(), data_.data() + position_, n);
        position_ += n;
    }
    return n;
}

}  // namespace reader
