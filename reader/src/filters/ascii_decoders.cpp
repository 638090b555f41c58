#include "filters/ascii_decoders.h"

#include <algorithm>
#include <cstring>

#include "object/lexer.h"

namespace reader {
namespace {

// Any other character than a digit counts as 0.
int hexValue(int c) { return std::max(pdf::hexDigitValue(uint8_t(c)), 0); }

}  // namespace

Base85Decoder::Base85Decoder(std::unique_ptr<ByteSource> input, const DecodeParam& /*param*/)
    : input_(std::move(input)), reader_(*input_) {}

void Base85Decoder::reset() {
    reader_.reset();
    groupStart_ = groupEnd_ = 0;
    ended_ = false;
}

size_t Base85Decoder::read(std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size()) {
        if (groupStart_ < groupEnd_) {
            const size_t n = std::min(out.size() - done, groupEnd_ - groupStart_);
            std::memcpy(out.data() + done, group_.data() + groupStart_, n);
            groupStart_ += n;
            done += n;
            continue;
        }
        if (ended_) {
            break;
        }
        decodeGroup();
    }
    return done;
}

// Reads one group into group_, or the final group and the end of the data.
void Base85Decoder::decodeGroup() {
    uint64_t value = 0;
    size_t count = 0;
    for (;;) {
        const int c = reader_.next();
        if (pdf::isPdfWhite(uint8_t(c))) {
            continue;
        }
        if (c == 'z' && count == 0) {
            group_.fill(0);
            groupStart_ = 0;
            groupEnd_ = 4;
            return;
        }
        if (c < '!' || c > 'u') {
            break;
        }
        value = value * 85 + uint64_t(c - '!');
        if (++count == 5) {
            break;
        }
    }
    size_t bytes = 4;
    if (count < 5) {
        ended_ = true;
        if (count < 2) {
            return;
        }
        bytes = count - 1;
        for (; count < 5; ++count) {
            value = value * 85 + 84;
        }
    }
    if (value > 0xffffffff) {
        ended_ = true;
        return;
    }
    for (size_t i = 0; i < 4; ++i) {
        group_[i] = uint8_t(value >> (24 - 8 * i));
    }
    groupStart_ = 0;
    groupEnd_ = bytes;
}

HexDecoder::HexDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& /*param*/)
    : input_(std::move(input)), reader_(*input_) {}

void HexDecoder::reset() {
    reader_.reset();
    ended_ = false;
}

size_t HexDecoder::read(std::span<uint8_t> out) {
    size_t done = 0;
    int high = -1;
    while (done < out.size() && !ended_) {
        const int c = reader_.next();
        if (c < 0 || c == '>') {
            ended_ = true;
            if (high >= 0) {
                out[done++] = uint8_t(high << 4);
            }
        } else if (!pdf::isPdfWhite(uint8_t(c))) {
            if (high < 0) {
                high = hexValue(c);
            } else {
                out[done++] = uint8_t(high << 4 | hexValue(c));
                high = -1;
            }
        }
    }
    return done;
}

}  // namespace reader
