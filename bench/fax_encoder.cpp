#include "fax_encoder.h"

#include <algorithm>
#include <cstdlib>

#include "filters/fax_codes.h"

namespace bench {
namespace {

using reader::FaxMode;

class BitWriter {
  public:
    void put(uint32_t bits, int length) {
        for (int i = length - 1; i >= 0; --i) {
            current_ = uint8_t(current_ << 1 | (bits >> i & 1));
            if (++count_ == 8) {
                bytes_.push_back(current_);
                current_ = 0;
                count_ = 0;
            }
        }
    }
    std::vector<uint8_t> finish() {
        if (count_ > 0) {
            bytes_.push_back(uint8_t(current_ << (8 - count_)));
        }
        return std::move(bytes_);
    }

  private:
    std::vector<uint8_t> bytes_;
    uint8_t current_ = 0;
    int count_ = 0;
};

constexpr uint32_t kEndOfLine = 1;
constexpr int kEndOfLineLength = 12;

// The positions where the colour changes, the first to black, then three copies of the width.
std::vector<int32_t> changesOf(const uint8_t* row, int32_t width) {
    std::vector<int32_t> changes;
    int previous = 0;
    for (int32_t x = 0; x < width; ++x) {
        const int pixel = row[x / 8] >> (7 - x % 8) & 1;
        if (pixel != previous) {
            changes.push_back(x);
            previous = pixel;
        }
    }
    changes.insert(changes.end(), 3, width);
    return changes;
}

// Terminating codes come first in the lists, then the make-up codes for 64, 128, ... 2560.
void putRun(BitWriter& out, int32_t run, bool black) {
    const auto codes = black ? reader::BlackRunCodes() : reader::WhiteRunCodes();
    while (run >= 64) {
        const int32_t multiple = std::min(run / 64, 40);
        out.put(codes[size_t(63 + multiple)].bits, codes[size_t(63 + multiple)].length);
        run -= multiple * 64;
    }
    out.put(codes[size_t(run)].bits, codes[size_t(run)].length);
}

void putMode(BitWriter& out, FaxMode mode, int offset) {
    for (const reader::FaxModeCode& code : reader::ModeCodes()) {
        if (code.mode == mode && code.offset == offset) {
            out.put(code.bits, code.length);
            return;
        }
    }
}

void putOneDimensionalRow(BitWriter& out, const std::vector<int32_t>& changes, int32_t width) {
    int32_t start = 0;
    bool black = false;
    for (const int32_t change : changes) {
        putRun(out, change - start, black);
        if (change == width) {
            return;
        }
        start = change;
        black = !black;
    }
}

// T.4's coding procedure: pass mode when b2 lies left of a1, vertical mode when a1 is within
// three pixels of b1, horizontal mode otherwise.
void putTwoDimensionalRow(BitWriter& out, const std::vector<int32_t>& above,
                          const std::vector<int32_t>& changes, int32_t width) {
    int32_t a0 = -1;
    bool black = false;
    size_t next = 0;
    size_t over = 0;
    while (a0 < width) {
        while (changes[next] <= a0) {
            ++next;
        }
        while (above[over] <= a0) {
            ++over;
        }
        const size_t b = over + ((over & 1) != size_t{black});
        const int32_t a1 = changes[next];
        const int32_t b1 = above[b];
        const int32_t b2 = above[b + 1];
        if (b2 < a1) {
            putMode(out, FaxMode::kPass, 0);
            a0 = b2;
        } else if (std::abs(a1 - b1) <= 3) {
            putMode(out, FaxMode::kVertical, a1 - b1);
            a0 = a1;
            black = !black;
        } else {
            const int32_t a2 = changes[next + 1];
            putMode(out, FaxMode::kHorizontal, 0);
            putRun(out, a1 - std::max(a0, 0), black);
            putRun(out, a2 - a1, !black);
            a0 = a2;
        }
    }
}

}  // namespace

std::vector<uint8_t> EncodeFax(std::span<const uint8_t> rows, int32_t width, int32_t height,
                               size_t stride, FaxCoding coding) {
    BitWriter out;
    std::vector<int32_t> above(3, width);
    for (int32_t y = 0; y < height; ++y) {
        const std::vector<int32_t> changes = changesOf(rows.data() + size_t(y) * stride, width);
        if (coding == FaxCoding::kTwoDimensional) {
            putTwoDimensionalRow(out, above, changes, width);
        } else {
            out.put(kEndOfLine, kEndOfLineLength);
            const bool oneDimensional = coding == FaxCoding::kOneDimensional || y % 4 == 0;
            if (coding == FaxCoding::kMixed) {
                out.put(oneDimensional ? 1 : 0, 1);
            }
            if (oneDimensional) {
                putOneDimensionalRow(out, changes, width);
            } else {
                putTwoDimensionalRow(out, above, changes, width);
            }
        }
        above = changes;
    }
    if (coding == FaxCoding::kTwoDimensional) {
        out.put(kEndOfLine, kEndOfLineLength);
        out.put(kEndOfLine, kEndOfLineLength);
    }
    return out.finish();
}

}  // namespace bench
