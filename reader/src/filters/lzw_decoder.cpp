#include "filters/lzw_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace reader {
namespace {

constexpr unsigned kClearCode = 256;
constexpr unsigned kEndCode = 257;
constexpr unsigned kFirstFreeCode = 258;

// Copies `length` bytes forwards from `from` to `to`, which lies after it; the two may overlap,
// in which case the bytes written first are read again, as the string being defined needs.
// Eight bytes at a time when they do not overlap that closely and `room` bytes may be written.
inline void copyForwards(uint8_t* to, const uint8_t* from, size_t length, size_t room) {
    if (to - from >= 8 && room >= length + 8) {
        for (size_t i = 0; i < length; i += 8) {
            std::memcpy(to + i, from + i, 8);
        }
        return;
    }
    for (size_t i = 0; i < length; ++i) {
        to[i] = from[i];
    }
}

}  // namespace

LzwDecoder::LzwDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param)
    : input_(std::move(input)), reader_(*input_), earlyChange_(param.earlyChange != 0 ? 1 : 0) {
    for (unsigned c = 0; c < 256; ++c) {
        table_[c] = Entry{0, 1, uint8_t(c), uint8_t(c)};
    }
    clearTable();
}

void LzwDecoder::reset() {
    reader_.reset();
    bits_ = 0;
    bitCount_ = 0;
    clearTable();
    delivered_ = 0;
    ended_ = false;
    stringStart_ = kTableSize;
}

size_t LzwDecoder::read(std::span<uint8_t> out) {
    uint8_t* const data = out.data();
    const size_t size = out.size();
    const uint64_t base = delivered_;  // where data[0] is in the output
    size_t done = 0;
    while (done < size) {
        if (stringStart_ < kTableSize) {
            const size_t n = std::min(size - done, kTableSize - stringStart_);
            std::memcpy(data + done, string_.data() + stringStart_, n);
            stringStart_ += n;
            done += n;
            continue;
        }
        if (ended_) {
            break;
        }
        const int next = nextCode();
        if (next < 0) {
            ended_ = true;
            break;
        }
        const auto code = unsigned(next);
        if (code == kClearCode) {
            clearTable();
            continue;
        }
        if (code == kEndCode || code > tableSize_ || (previous_ < 0 && code >= 256)) {
            ended_ = true;
            break;
        }
        const uint64_t at = base + done;
        if (previous_ >= 0) {
            // A code equal to the next free one names the string it defines: the previous
            // string and the previous string's first byte.
            const Entry& previous = table_[size_t(previous_)];
            const uint8_t first = code == tableSize_ ? previous.first : table_[code].first;
            table_[tableSize_] =
                Entry{uint16_t(previous_), uint16_t(previous.length + 1), first, previous.first};
            written_[tableSize_] = previousAt_;
            ++tableSize_;
        }

        const size_t length = table_[code].length;
        uint8_t* const to = data + done;
        if (length > size - done) {
            writeString(code, string_.data() + kTableSize);
            stringStart_ = kTableSize - length;
        } else if (code < 256) {
            *to = uint8_t(code);
            done += 1;
        } else {
            if (written_[code] >= base) {
                copyForwards(to, data + (written_[code] - base), length, size - done);
            } else {
                writeString(code, to + length);
            }
            done += length;
        }
        previous_ = int(code);
        previousAt_ = at;

        if (tableSize_ == kTableSize) {
            clearTable();
        } else {
            codeWidth_ = std::clamp(unsigned(std::bit_width(tableSize_ + earlyChange_)), 9u, 12u);
        }
    }
    delivered_ += done;
    return done;
}

int LzwDecoder::nextCode() {
    if (bitCount_ < codeWidth_) {
        // Up to 7 bytes ahead: the bits of later codes wait in bits_.
        while (bitCount_ <= 56) {
            const int byte = reader_.next();
            if (byte < 0) {
                break;
            }
            bits_ = bits_ << 8 | uint64_t(byte);
            bitCount_ += 8;
        }
        if (bitCount_ < codeWidth_) {
            return -1;
        }
    }
    bitCount_ -= codeWidth_;
    return int(bits_ >> bitCount_ & ((1u << codeWidth_) - 1));
}

void LzwDecoder::writeString(unsigned code, uint8_t* end) const {
    uint8_t* p = end;
    while (code >= 256) {
        *--p = table_[code].last;
        code = table_[code].prefix;
    }
    *--p = uint8_t(code);
}

void LzwDecoder::clearTable() {
    tableSize_ = kFirstFreeCode;
    codeWidth_ = 9;
    previous_ = -1;
}

}  // namespace reader
