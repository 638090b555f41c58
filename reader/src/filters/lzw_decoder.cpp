#include "filters/lzw_decoder.h"

#include <algorithm>
#include <cstring>

namespace reader {
namespace {

constexpr int kClearCode = 256;
constexpr int kEndCode = 257;
constexpr unsigned kFirstFreeCode = 258;

}  // namespace

LzwDecoder::LzwDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param)
    : input_(std::move(input)), reader_(*input_), earlyChange_(param.earlyChange != 0 ? 1 : 0) {
    clearTable();
}

void LzwDecoder::reset() {
    reader_.reset();
    bits_ = 0;
    bitCount_ = 0;
    clearTable();
    ended_ = false;
    stringStart_ = kTableSize;
}

size_t LzwDecoder::read(std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size()) {
        if (stringStart_ < kTableSize) {
            const size_t n = std::min(out.size() - done, kTableSize - stringStart_);
            std::memcpy(out.data() + done, string_.data() + stringStart_, n);
            stringStart_ += n;
            done += n;
            continue;
        }
        if (ended_) {
            break;
        }
        const int code = nextCode();
        if (code < 0) {
            ended_ = true;
            break;
        }
        done += decodeCode(code, out.subspan(done));
    }
    return done;
}

// The next code at the current width, or -1 when the input ends inside it.
int LzwDecoder::nextCode() {
    while (bitCount_ < codeWidth_) {
        const int byte = reader_.next();
        if (byte < 0) {
            return -1;
        }
        bits_ = bits_ << 8 | uint32_t(byte);
        bitCount_ += 8;
    }
    bitCount_ -= codeWidth_;
    return int(bits_ >> bitCount_ & ((1u << codeWidth_) - 1));
}

// Decodes one code. Its string goes straight into `room` when it fits, and the count written
// there is returned; otherwise it waits in string_. A code that ends the data sets ended_.
size_t LzwDecoder::decodeCode(int code, std::span<uint8_t> room) {
    if (code == kClearCode) {
        clearTable();
        return 0;
    }
    auto first = [this](int c) { return c < 256 ? uint8_t(c) : table_[size_t(c)].first; };
    auto lengthOf = [this](int c) {
        return c < 256 ? size_t{1} : size_t{table_[size_t(c)].length};
    };

    int walk = code;
    bool repeatsFirst = false;
    if (code == kEndCode || (previous_ < 0 && code >= 256) ||
        (previous_ >= 0 && unsigned(code) > tableSize_)) {
        ended_ = true;
        return 0;
    }
    if (previous_ >= 0) {
        // A code equal to the next free one names the string it defines: the previous string
        // and the previous string's first byte.
        repeatsFirst = unsigned(code) == tableSize_;
        if (repeatsFirst) {
            walk = previous_;
        }
        table_[tableSize_] = Entry{uint16_t(previous_), uint16_t(lengthOf(previous_) + 1),
                                   first(walk), first(previous_)};
        ++tableSize_;
    }

    const size_t length = lengthOf(walk) + (repeatsFirst ? 1 : 0);
    const bool direct = length <= room.size();
    uint8_t* p = direct ? room.data() + length : string_.data() + kTableSize;
    if (repeatsFirst) {
        *--p = first(previous_);
    }
    while (walk >= 256) {
        *--p = table_[size_t(walk)].last;
        walk = table_[size_t(walk)].prefix;
    }
    *--p = uint8_t(walk);
    if (!direct) {
        stringStart_ = kTableSize - length;
    }
    previous_ = code;

    if (tableSize_ == kTableSize) {
        clearTable();
    }
    const unsigned next = tableSize_ + earlyChange_;
    codeWidth_ = next >= 2048 ? 12 : next >= 1024 ? 11 : next >= 512 ? 10 : 9;
    return direct ? length : 0;
}

void LzwDecoder::clearTable() {
    tableSize_ = kFirstFreeCode;
    codeWidth_ = 9;
    previous_ = -1;
}

}  // namespace reader
