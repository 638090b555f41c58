#include "image/bilevel_codec.h"

#include <algorithm>
#include <vector>

#include "image/qm_states.h"

namespace vyn {

namespace {

// The decision that opens each row: 1 when the row repeats the row above. It shares its
// table entry with the pixel context of the same value.
constexpr int kTypicalRowContext = 0x29C;

// One byte per pixel for the row two above, the row above and the current row. Each is
// (stride + 1) x 8 bytes long, so the template reads zeros past the right edge; pixels left of
// column 0 never enter the context (it starts with them as 0).
class TemplateRows {
  public:
    explicit TemplateRows(size_t stride)
        : length_((stride + 1) * 8),
          storage_(3 * length_, 0),
          twoAbove_(storage_.data()),
          above_(twoAbove_ + length_),
          current_(above_ + length_) {}

    uint8_t* current() { return current_; }
    const uint8_t* above() const { return above_; }

    // The context of pixel 0: only the rows above can hold set pixels in it.
    int firstContext() const {
        return above_[2] << 7 | above_[1] << 6 | above_[0] << 5 | twoAbove_[1] << 2 |
               twoAbove_[0] << 1;
    }

    // The context of pixel x + 1 from that of x once P(x, y) is in the current row: every
    // neighbour moves one bit down, and the three bits that enter the template are replaced.
    int nextContext(int context, int32_t x) const {
        return ((context >> 1) & ~0x284) | current_[x] << 9 | above_[x + 3] << 7 |
               twoAbove_[x + 2] << 2;
    }

    void repeatAbove() { std::copy_n(above_, length_, current_); }

    // The current row becomes the row above and the row above the row two above.
    void moveUp() {
        uint8_t* freed = twoAbove_;
        twoAbove_ = above_;
        above_ = current_;
        current_ = freed;
        std::fill_n(current_, length_, 0);
    }

  private:
    size_t length_;
    std::vector<uint8_t> storage_;
    uint8_t* twoAbove_;
    uint8_t* above_;
    uint8_t* current_;
};

bool rowsFit(size_t size, int32_t width, int32_t height, int32_t stride) {
    return width > 0 && height > 0 && int64_t{stride} >= (int64_t{width} + 7) / 8 &&
           uint64_t(stride) * uint64_t(height) <= size;
}

}  // namespace

BilevelDecoder::BilevelDecoder(std::span<const uint8_t> coded) : coded_(coded) {
    const uint32_t b0 = nextByte();
    const uint32_t b1 = nextByte();
    const uint32_t b2 = nextByte();
    c_ = b0 << 24 | b1 << 16 | b2 << 8;
}

void BilevelDecoder::renormalise() {
    do {
        if (ct_ == 0) {
            c_ += uint32_t{nextByte()} << 8;
            ct_ = 8;
        }
        a_ <<= 1;
        c_ <<= 1;
        --ct_;
    } while (a_ < 0x8000);
    if (ct_ == 0) {
        c_ += uint32_t{nextByte()} << 8;
        ct_ = 8;
    }
}

int BilevelDecoder::decode(int context) {
    uint8_t& index = contexts_.state[size_t(context)];
    uint8_t& mps = contexts_.mps[size_t(context)];
    const QmState& s = kQmStates[index];
    const int result = mps;
    auto lessProbable = [&] {
        if (s.switchMps) {
            mps = uint8_t(1 - mps);
        }
        index = s.nextLps;
        return 1 - result;
    };
    auto moreProbable = [&] {
        index = s.nextMps;
        return result;
    };

    a_ -= s.qe;
    int decided;
    // The lower part of the interval belongs to the more-probable symbol unless it has become
    // the smaller part, in which case the two symbols trade places.
    if ((c_ >> 16) < a_) {
        if (a_ >= 0x8000) {
            return result;
        }
        decided = a_ < s.qe ? lessProbable() : moreProbable();
    } else {
        c_ -= a_ << 16;
        decided = a_ < s.qe ? moreProbable() : lessProbable();
        a_ = s.qe;
    }
    renormalise();
    return decided;
}

void BilevelDecoder::DecodeRows(std::span<uint8_t> bits, int32_t width, int32_t height,
                                int32_t stride) {
    if (!rowsFit(bits.size(), width, height, stride)) {
        return;
    }
    const size_t rowBytes = size_t(stride);
    TemplateRows rows(rowBytes);
    // The work done since the code ran out, in pixels decoded; a copied row counts an eighth.
    uint64_t tail = 0;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* stored = bits.data() + size_t(height - 1 - y) * rowBytes;
        if (position_ >= coded_.size()) {
            tail += uint64_t(width) / 8 + 1;
            if (tail > kTailPixels) {
                std::fill(bits.begin(),
                          bits.begin() + std::ptrdiff_t(size_t(height - y) * rowBytes),
                          0);  // the rows left are white
                return;
            }
        }
        if (decode(kTypicalRowContext) == 1) {
            // The first row has only white above it.
            if (y == 0) {
                std::fill_n(stored, rowBytes, 0);
            } else {
                std::copy_n(stored + rowBytes, rowBytes, stored);
            }
            rows.repeatAbove();
        } else {
            std::fill_n(stored, rowBytes, 0);
            if (position_ >= coded_.size()) {
                tail += uint64_t(width) - uint64_t(width) / 8;
            }
            uint8_t* current = rows.current();
            int context = rows.firstContext();
            for (int32_t x = 0; x < width; ++x) {
                if (decode(context) != 0) {
                    current[x] = 1;
                    stored[x / 8] = uint8_t(stored[x / 8] | 0x80 >> (x % 8));
                }
                context = rows.nextContext(context, x);
            }
        }
        rows.moveUp();
    }
}

BilevelEncoder::BilevelEncoder(std::span<uint8_t> output) : output_(output) {}

// The first byte the coder produces lies before the code proper and is never written.
void BilevelEncoder::emit(uint32_t byte) {
    if (!firstByteDone_) {
        firstByteDone_ = true;
        return;
    }
    if (size_ < output_.size()) {
        output_[size_++] = uint8_t(byte);
    } else {
        overflowed_ = true;
    }
}

// Bytes are held back while a carry can still reach them: the last byte below 0xFF and the
// run of 0xFF bytes after it.
void BilevelEncoder::byteOut() {
    const uint32_t temp = c_ >> 19;
    if (temp > 0xFF) {
        emit(pendingByte_ + 1);
        for (; pendingCount_ > 0; --pendingCount_) {
            emit(0x00);
        }
        pendingByte_ = temp & 0xFF;
    } else if (temp == 0xFF) {
        ++pendingCount_;
    } else {
        emit(pendingByte_);
        for (; pendingCount_ > 0; --pendingCount_) {
            emit(0xFF);
        }
        pendingByte_ = temp;
    }
    c_ &= 0x7FFFF;
}

void BilevelEncoder::renormalise() {
    do {
        a_ <<= 1;
        c_ <<= 1;
        if (--ct_ == 0) {
            byteOut();
            ct_ = 8;
        }
    } while (a_ < 0x8000);
}

void BilevelEncoder::encode(int context, int pixel) {
    uint8_t& index = contexts_.state[size_t(context)];
    uint8_t& mps = contexts_.mps[size_t(context)];
    const QmState& s = kQmStates[index];
    a_ -= s.qe;
    if (pixel == mps) {
        if (a_ >= 0x8000) {
            return;
        }
        if (a_ < s.qe) {
            c_ += a_;
            a_ = s.qe;
        }
        index = s.nextMps;
    } else {
        if (a_ >= s.qe) {
            c_ += a_;
            a_ = s.qe;
        }
        if (s.switchMps) {
            mps = uint8_t(1 - mps);
        }
        index = s.nextLps;
    }
    renormalise();
}

void BilevelEncoder::EncodeRows(std::span<const uint8_t> bits, int32_t width, int32_t height,
                                int32_t stride) {
    if (!rowsFit(bits.size(), width, height, stride)) {
        return;
    }
    const size_t rowBytes = size_t(stride);
    TemplateRows rows(rowBytes);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* stored = bits.data() + size_t(height - 1 - y) * rowBytes;
        uint8_t* current = rows.current();
        for (int32_t x = 0; x < width; ++x) {
            current[x] = uint8_t(stored[x / 8] >> (7 - x % 8) & 1);
        }
        const bool typical = y > 0 && std::equal(current, current + width, rows.above());
        encode(kTypicalRowContext, typical ? 1 : 0);
        if (!typical) {
            int context = rows.firstContext();
            for (int32_t x = 0; x < width; ++x) {
                encode(context, current[x]);
                context = rows.nextContext(context, x);
            }
        }
        rows.moveUp();
    }
}

void BilevelEncoder::EncodeFlush() {
    // The value inside the final interval with the most trailing zero bits.
    uint32_t temp = (a_ - 1 + c_) & 0xFFFF0000;
    if (temp < c_) {
        temp += 0x8000;
    }
    c_ = temp << ct_;
    if (c_ >= 0x8000000) {
        emit(pendingByte_ + 1);
        for (; pendingCount_ > 0; --pendingCount_) {
            emit(0x00);
        }
    } else {
        emit(pendingByte_);
        for (; pendingCount_ > 0; --pendingCount_) {
            emit(0xFF);
        }
    }
    emit(c_ >> 19 & 0xFF);
    emit(c_ >> 11 & 0xFF);
}

}  // namespace vyn
