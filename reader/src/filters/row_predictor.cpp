#include "filters/row_predictor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace reader {
namespace {

constexpr uint64_t kMaxRowBytes = uint64_t{1} << 24;
constexpr size_t kRowPadding = 3;

uint8_t paeth(int left, int up, int upperLeft) {
    const int p = left + up - upperLeft;
    const int toLeft = std::abs(p - left);
    const int toUp = std::abs(p - up);
    const int toUpperLeft = std::abs(p - upperLeft);
    if (toLeft <= toUp && toLeft <= toUpperLeft) {
        return uint8_t(left);
    }
    return uint8_t(toUp <= toUpperLeft ? up : upperLeft);
}

}  // namespace

RowPredictor::RowPredictor(std::unique_ptr<ByteSource> raw, const DecodeParam& param)
    : raw_(std::move(raw)) {
    if (param.predictor == 2) {
        mode_ = Mode::Tiff;
    } else if (param.predictor >= 10 && param.predictor <= 15) {
        // Every PNG predictor value means rows that each begin with the tag of their filter;
        // the value itself only names what the writer mostly used.
        mode_ = Mode::TaggedPng;
    } else {
        return;
    }
    const uint64_t columns = param.columns < 1 ? 1 : uint64_t(param.columns);
    if (param.colors < 1 || param.bitsPerComponent < 1 || param.bitsPerComponent > 16) {
        mode_ = Mode::Refused;
        ended_ = true;
        return;
    }
    const uint64_t bitsPerPixel = uint64_t(param.colors) * uint64_t(param.bitsPerComponent);
    const uint64_t bytesPerRow = (columns * bitsPerPixel + 7) / 8;
    if (bitsPerPixel > kMaxRowBytes * 8 || bytesPerRow > kMaxRowBytes) {
        mode_ = Mode::Refused;
        ended_ = true;
        return;
    }
    colors_ = size_t(param.colors);
    bitsPerComponent_ = unsigned(param.bitsPerComponent);
    componentsPerRow_ = size_t(columns) * colors_;
    bytesPerPixel_ = size_t((bitsPerPixel + 7) / 8);
    bytesPerRow_ = size_t(bytesPerRow);
    row_.assign(bytesPerRow_ + kRowPadding, 0);
    above_.assign(bytesPerRow_ + kRowPadding, 0);
}

void RowPredictor::reset() {
    raw_->reset();
    std::fill(row_.begin(), row_.end(), 0);
    std::fill(above_.begin(), above_.end(), 0);
    rowStart_ = rowEnd_ = 0;
    ended_ = mode_ == Mode::Refused;
}

size_t RowPredictor::read(std::span<uint8_t> out) {
    if (mode_ == Mode::Copy) {
        return raw_->read(out);
    }
    size_t done = 0;
    while (done < out.size()) {
        if (rowStart_ < rowEnd_) {
            const size_t n = std::min(out.size() - done, rowEnd_ - rowStart_);
            std::memcpy(out.data() + done, row_.data() + rowStart_, n);
            rowStart_ += n;
            done += n;
            continue;
        }
        if (!nextRow()) {
            break;
        }
    }
    return done;
}

// Reads and decodes the next row into row_[1 ...], the tag going to row_[0]. A row cut short by
// the end of the data is decoded as if its missing bytes were zero, and gives only the bytes
// that came.
bool RowPredictor::nextRow() {
    if (ended_) {
        return false;
    }
    std::swap(row_, above_);
    const size_t first = mode_ == Mode::TaggedPng ? 0 : 1;
    const size_t end = bytesPerRow_ + 1;
    size_t filled = first;
    while (filled < end) {
        const size_t n = raw_->read(std::span(row_).subspan(filled, end - filled));
        if (n == 0) {
            break;
        }
        filled += n;
    }
    if (filled < end) {
        ended_ = true;
        if (filled <= 1) {
            return false;
        }
        std::fill(row_.begin() + ptrdiff_t(filled), row_.begin() + ptrdiff_t(end), 0);
    }

    if (mode_ == Mode::Tiff) {
        undoTiff();
    } else {
        undoPng(row_[0]);
    }
    rowStart_ = 1;
    rowEnd_ = filled;
    return true;
}

void RowPredictor::undoPng(unsigned filter) {
    uint8_t* const row = row_.data() + 1;
    const uint8_t* const up = above_.data() + 1;
    const size_t n = bytesPerRow_;
    const size_t b = bytesPerPixel_;
    switch (filter) {
        case 1:
            for (size_t i = b; i < n; ++i) {
                row[i] = uint8_t(row[i] + row[i - b]);
            }
            break;
        case 2:
            for (size_t i = 0; i < n; ++i) {
                row[i] = uint8_t(row[i] + up[i]);
            }
            break;
        case 3:
            for (size_t i = 0; i < b; ++i) {
                row[i] = uint8_t(row[i] + up[i] / 2);
            }
            for (size_t i = b; i < n; ++i) {
                row[i] = uint8_t(row[i] + (row[i - b] + up[i]) / 2);
            }
            break;
        case 4:
            for (size_t i = 0; i < b; ++i) {
                row[i] = uint8_t(row[i] + up[i]);
            }
            for (size_t i = b; i < n; ++i) {
                row[i] = uint8_t(row[i] + paeth(row[i - b], up[i], up[i - b]));
            }
            break;
        default: break;
    }
}

void RowPredictor::undoTiff() {
    uint8_t* const row = row_.data() + 1;
    if (bitsPerComponent_ == 8) {
        for (size_t i = colors_; i < bytesPerRow_; ++i) {
            row[i] = uint8_t(row[i] + row[i - colors_]);
        }
        return;
    }
    // Components of other widths, most significant bit first, read and written through the
    // three bytes that hold them.
    const unsigned width = bitsPerComponent_;
    const uint32_t mask = (1u << width) - 1;
    auto load = [row](size_t bit) {
        const uint8_t* p = row + bit / 8;
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    };
    auto shiftOf = [width](size_t bit) { return unsigned(24 - bit % 8 - width); };
    for (size_t k = colors_; k < componentsPerRow_; ++k) {
        const size_t bit = k * width;
        const size_t leftBit = (k - colors_) * width;
        const uint32_t left = load(leftBit) >> shiftOf(leftBit) & mask;
        const unsigned shift = shiftOf(bit);
        uint32_t word = load(bit);
        const uint32_t value = ((word >> shift) + left) & mask;
        word = (word & ~(mask << shift)) | value << shift;
        uint8_t* p = row + bit / 8;
        p[0] = uint8_t(word >> 16);
        p[1] = uint8_t(word >> 8);
        p[2] = uint8_t(word);
    }
}

}  // namespace reader
