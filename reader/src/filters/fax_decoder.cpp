#include "filters/fax_decoder.h"

#include <algorithm>
#include <cstring>

#include "filters/fax_codes.h"

namespace reader {
namespace {

constexpr int32_t kDefaultColumns = 1728;

// No row begins with more than eight zero bits, so eleven or more are an end-of-line code, with
// any fill bits before it.
constexpr int kEndOfLineZeros = 11;

// Changing-element lists end with this many copies of the width, so that b1 and b2 can be read
// past the last real element without a bounds test.
constexpr size_t kSentinels = 3;

int32_t widthFrom(const DecodeParam& param) {
    if (param.columns == -1) {
        return kDefaultColumns;
    }
    return param.columns >= 1 && param.columns <= kMaxFaxColumns ? param.columns : 0;
}

// Sets (or clears) pixels [from, to) of a packed row.
void fillPixels(uint8_t* row, int32_t from, int32_t to, bool set) {
    if (from >= to) {
        return;
    }
    const size_t first = size_t(from) / 8;
    const size_t last = size_t(to - 1) / 8;
    const auto head = uint8_t(0xFF >> (from % 8));
    const auto tail = uint8_t(0xFF << (7 - (to - 1) % 8));
    const auto apply = [&](size_t at, uint8_t mask) {
        row[at] = set ? uint8_t(row[at] | mask) : uint8_t(row[at] & ~mask);
    };
    if (first == last) {
        apply(first, uint8_t(head & tail));
        return;
    }
    apply(first, head);
    std::memset(row + first + 1, set ? 0xFF : 0x00, last - first - 1);
    apply(last, tail);
}

}  // namespace

FaxDecoder::FaxDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param)
    : input_(std::move(input)),
      bits_(*input_),
      k_(param.k),
      endOfLine_(param.endOfLine != 0),
      byteAlign_(param.encodedByteAlign != 0),
      blackIs1_(param.blackIs1 != 0),
      columns_(widthFrom(param)),
      rows_(std::max(param.rows, 0)) {
    if (columns_ > 0) {
        // A row has at most one change per pixel and one at its right edge.
        reference_.resize(size_t(columns_) + 1 + kSentinels);
        coding_.resize(reference_.size());
        row_.resize((size_t(columns_) + 7) / 8);
    }
    reset();
}

void FaxDecoder::reset() {
    bits_.reset();
    rowOffset_ = row_.size();
    rowCount_ = 0;
    finished_ = columns_ == 0;
    if (!finished_) {
        // The row above the first is white.
        std::fill_n(reference_.begin(), kSentinels, columns_);
    }
}

size_t FaxDecoder::read(std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size()) {
        if (rowOffset_ == row_.size()) {
            if (finished_ || !decodeRow()) {
                finished_ = true;
                break;
            }
            rowOffset_ = 0;
        }
        const size_t n = std::min(out.size() - done, row_.size() - rowOffset_);
        std::memcpy(out.data() + done, row_.data() + rowOffset_, n);
        rowOffset_ += n;
        done += n;
    }
    return done;
}

bool FaxDecoder::decodeRow() {
    if (rows_ > 0 && rowCount_ == rows_) {
        return false;
    }
    bool oneDimensional = false;
    if (!beginRow(oneDimensional)) {
        return false;
    }
    codingCount_ = 0;
    const bool decoded = oneDimensional ? decodeOneDimensional() : decodeTwoDimensional();
    if (!decoded || bits_.overrun()) {
        return false;
    }
    paintRow();
    std::fill_n(coding_.begin() + ptrdiff_t(codingCount_), kSentinels, columns_);
    std::swap(reference_, coding_);
    ++rowCount_;
    return true;
}

// Reads what comes before a row: fill bits, an end-of-line code, the tag bit of mixed coding.
// False at the end of the data.
bool FaxDecoder::beginRow(bool& oneDimensional) {
    if (k_ < 0) {
        if (byteAlign_) {
            bits_.alignToByte();
        }
        // Two-dimensional data has no end-of-line codes except the two of the end-of-block
        // code; one is passed over here.
        if (bits_.zerosAhead() >= kEndOfLineZeros && !bits_.skipPastOne()) {
            return false;
        }
        oneDimensional = false;
    } else {
        if (endOfLineAhead()) {
            if (!bits_.skipPastOne()) {
                return false;
            }
        } else if (byteAlign_) {
            bits_.alignToByte();
        }
        oneDimensional = k_ == 0 || bits_.take(1) == 1;
    }
    // The end-of-block code is end-of-line codes in a row: the second is no row, and decoding
    // ends there.
    return !bits_.atEnd();
}

// With byte-aligned rows, fill bits make an end-of-line code end on a byte boundary. Counted
// from the next boundary, such a code leaves 7 or 15 zero bits before its 1, while a row aligned
// on that boundary begins with at most 7 (the extended make-up codes). Seven is read as an
// end-of-line code only when the data is said to have them.
bool FaxDecoder::endOfLineAhead() {
    const int zeros = bits_.zerosAhead();
    if (zeros < kEndOfLineZeros) {
        return false;
    }
    if (!byteAlign_) {
        return true;
    }
    const int afterBoundary = zeros - bits_.bitsToByteBoundary();
    return afterBoundary > 7 || (afterBoundary == 7 && endOfLine_);
}

bool FaxDecoder::decodeOneDimensional() {
    int32_t a0 = 0;
    bool black = false;
    while (a0 < columns_) {
        const int32_t run = readRun(black);
        if (run < 0) {
            return false;
        }
        a0 = std::min(a0 + run, columns_);
        if (!addChange(a0)) {
            return false;
        }
        black = !black;
    }
    return true;
}

// a0 is the position coding has reached, b1 the first change of the row above right of a0 that
// turns to the colour opposite a0's, b2 the change after b1 (the names of T.4).
bool FaxDecoder::decodeTwoDimensional() {
    const FaxModeEntry* modes = ModeTable();
    int32_t a0 = -1;  // the imaginary white pixel before the row
    bool black = false;
    size_t above = 0;  // the first changing element of the row above right of a0
    while (a0 < columns_) {
        while (reference_[above] <= a0) {
            ++above;
        }
        // Even elements turn to black, odd ones to white.
        const size_t b1 = above + ((above & 1) != size_t{black});
        const FaxModeEntry mode = modes[bits_.peek(kModeLookupBits)];
        bits_.skip(mode.length);
        switch (mode.mode) {
            case FaxMode::kPass: a0 = reference_[b1 + 1]; break;
            case FaxMode::kHorizontal: {
                const int32_t first = readRun(black);
                const int32_t second = first < 0 ? -1 : readRun(!black);
                if (second < 0) {
                    return false;
                }
                const int32_t a1 = std::min(std::max(a0, 0) + first, columns_);
                a0 = std::min(a1 + second, columns_);
                if (!addChange(a1) || !addChange(a0)) {
                    return false;
                }
                break;
            }
            case FaxMode::kVertical: {
                const int32_t a1 = std::min(reference_[b1] + mode.offset, columns_);
                if (a1 < std::max(a0, 0) || !addChange(a1)) {
                    return false;
                }
                a0 = a1;
                black = !black;
                break;
            }
            case FaxMode::kExtension:
            case FaxMode::kInvalid: return false;
        }
    }
    return true;
}

// One run: make-up codes, then a terminating code. Runs past the row's end are cut there.
// Returns -1 for bits that are no code of the colour.
int32_t FaxDecoder::readRun(bool black) {
    const FaxRunEntry* table = black ? BlackRunTable() : WhiteRunTable();
    const int lookupBits = black ? kBlackLookupBits : kWhiteLookupBits;
    int32_t run = 0;
    for (;;) {
        const FaxRunEntry code = table[bits_.peek(lookupBits)];
        if (code.length == 0) {
            return -1;
        }
        bits_.skip(code.length);
        run = std::min(run + code.run, columns_);
        if (code.run < 64) {
            return run;
        }
    }
}

bool FaxDecoder::addChange(int32_t position) {
    if (codingCount_ + kSentinels == coding_.size()) {
        return false;
    }
    coding_[codingCount_++] = position;
    return true;
}

void FaxDecoder::paintRow() {
    // Pixels past the last column are white.
    std::fill(row_.begin(), row_.end(), blackIs1_ ? 0x00 : 0xFF);
    for (size_t i = 0; i < codingCount_; i += 2) {
        const int32_t end = i + 1 < codingCount_ ? coding_[i + 1] : columns_;
        fillPixels(row_.data(), coding_[i], end, blackIs1_);
    }
}

}  // namespace reader
