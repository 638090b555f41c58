// Reading coded facsimile data bit by bit, most significant bit of each byte first.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

#include "filters/byte_source.h"

namespace reader {

/// A window of up to 64 bits over a ByteSource, which it does not own. Past the end of the data
/// the window is filled with zero bits; overrun() tells whether any of them was taken.
class FaxBitReader {
  public:
    explicit FaxBitReader(ByteSource& source) : bytes_(source) {}

    /// The next `n` bits (1 to 32) as a number, without taking them.
    uint32_t peek(int n) {
        if (count_ < n) {
            refill();
        }
        return uint32_t(window_ >> (64 - n));
    }

    /// Takes `n` bits (0 to 32, or up to 63 when peeked already).
    void skip(int n) {
        if (count_ < n) {
            refill();
        }
        window_ <<= n;
        count_ -= n;
    }

    uint32_t take(int n) {
        const uint32_t bits = peek(n);
        skip(n);
        return bits;
    }

    /// Takes the bits left in the current byte.
    void alignToByte() { skip(count_ % 8); }
    /// How many bits are left in the current byte.
    int bitsToByteBoundary() const { return count_ % 8; }

    /// How many zero bits come next, counted up to at least 57.
    int zerosAhead() {
        refill();
        return window_ == 0 ? count_ : std::countl_zero(window_);
    }

    /// Takes zero bits up to and including the next 1 bit. False when the data ends first.
    bool skipPastOne() {
        for (;;) {
            refill();
            if (window_ != 0) {
                skip(std::countl_zero(window_));
                skip(1);
                return true;
            }
            const int dataBits = count_ - padding_;
            if (dataBits <= 0) {
                return false;
            }
            skip(std::min(dataBits, 32));
        }
    }

    /// True when every bit of the data has been taken.
    bool atEnd() {
        refill();
        return padding_ >= count_;
    }
    /// True when a zero bit from past the end of the data has been taken.
    bool overrun() const { return padding_ > count_; }

    /// Starts over from the first byte of the source.
    void reset() {
        bytes_.reset();
        window_ = 0;
        count_ = 0;
        padding_ = 0;
    }

  private:
    void refill() {
        while (count_ <= 56) {
            int byte = bytes_.next();
            if (byte < 0) {
                byte = 0;
                padding_ += 8;
            }
            window_ |= uint64_t(byte) << (56 - count_);
            count_ += 8;
        }
    }

    ByteReader bytes_;
    uint64_t window_ = 0;  ///< the next count_ bits, from the top
    int count_ = 0;
    int padding_ = 0;  ///< how many of the window's last bits lie past the end of the data
};

}  // namespace reader
