#include "filters/run_length_decoder.h"

#include <algorithm>
#include <cstring>

namespace reader {

RunLengthDecoder::RunLengthDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& /*param*/)
    : input_(std::move(input)), reader_(*input_) {}

void RunLengthDecoder::reset() {
    reader_.reset();
    copyLeft_ = repeatLeft_ = 0;
    ended_ = false;
}

size_t RunLengthDecoder::read(std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size() && !ended_) {
        if (copyLeft_ > 0) {
            const int c = reader_.next();
            if (c < 0) {
                ended_ = true;
                break;
            }
            out[done++] = uint8_t(c);
            --copyLeft_;
            continue;
        }
        if (repeatLeft_ > 0) {
            const size_t n = std::min(out.size() - done, repeatLeft_);
            std::memset(out.data() + done, repeated_, n);
            repeatLeft_ -= n;
            done += n;
            continue;
        }
        const int length = reader_.next();
        if (length < 0 || length == 128) {
            ended_ = true;
        } else if (length < 128) {
            copyLeft_ = size_t(length) + 1;
        } else {
            const int c = reader_.next();
            ended_ = c < 0;
            repeated_ = uint8_t(c);
            repeatLeft_ = ended_ ? 0 : size_t(257 - length);
        }
    }
    return done;
}

}  // namespace reader
