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
        ended_ = code < 0 || !decodeCode(code);
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

// Decodes one code into string_; false when the data ends here.
bool LzwDecoder::decodeCode(int code) {
    if (code == kClearCode) {
        clearTable();
        return true;
    }
    if (code == kEndCode) {
        return false;
    }
    auto first = [this](int c) { return c < 256 ? uint8_t(c) : table_[size_t(c)].first; };

    size_t start = kTableSize;
    int walk = code;
    if (previous_ < 0) {
        if (code >= 256) {
            return false;
        }
    } else {
        if (unsigned(code) > tableSize_) {
            return false;
        }
        if (unsigned(code) == tableSize_) {
            // The string being defined by this very code: the previous string and its first byte.
            string_[--start] = first(previous_);
            walk = previous_;
        }
        table_[tableSize_] = Entry{uint16_t(previous_), first(walk), first(previous_)};
        ++tableSize_;
    }
    while (walk >= 256) {
        string_[--start] = table_[size_t(walk)].last;
        walk = table_[size_t(walk)].prefix;
    }
    string_[--start] = uint8_t(walk);
    stringStart_ = start;
    previous_ = code;

    if (tableSize_ == kTableSize) {
        clearTable();
    }
    const unsigned next = tableSize_ + earlyChange_;
    codeWidth_ = next >= 2048 ? 12 : next >= 1024 ? 11 : next >= 512 ? 10 : 9;
    return true;
}

void LzwDecoder::clearTable() {
    tableSize_ = kFirstFreeCode;
    codeWidth_ = 9;
    previous_ = -1;
}

}  // namespace reader
