#include "image/dib_picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vyn {

namespace {

int32_t roundHalfUp(double v) { return static_cast<int32_t>(v + 0.5); }

bool knownBitCount(uint16_t bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

bool bit(std::span<const uint8_t> row, int32_t x) {
    return (row[size_t(x) / 8] >> (7 - x % 8)) & 1;
}

}  // namespace

uint32_t DibPicture::PaletteBytes(const BitmapInfoHeader& header) {
    if (header.clrUsed != 0) {
        return header.clrUsed <= 256 ? header.clrUsed * 4 : UINT32_MAX;
    }
    switch (header.bitCount) {
        case 1: return 2 * 4;
        case 4: return 16 * 4;
        case 8: return 256 * 4;
        default: return 0;
    }
}

std::unique_ptr<DibPicture> DibPicture::AttachPacked(std::vector<uint8_t> block) {
    if (block.size() < kHeaderSize) {
        return nullptr;
    }
    BitmapInfoHeader header;
    std::memcpy(&header, block.data(), sizeof header);
    if (!knownBitCount(header.bitCount) || header.width <= 0 || header.height <= 0 ||
        header.width > kMaxSide || header.height > kMaxSide) {
        return nullptr;
    }
    const uint64_t rows =
        uint64_t(strideOf(header.width, header.bitCount)) * uint64_t(header.height);
    const uint64_t palette = PaletteBytes(header);
    if (rows > kMaxBitsBytes || palette == UINT32_MAX || kHeaderSize + palette > block.size()) {
        return nullptr;
    }
    header.size = kHeaderSize;  // the block is read as a 40-byte header whatever it claims
    std::memcpy(block.data(), &header, sizeof header);
    return std::unique_ptr<DibPicture>(new DibPicture(std::move(block)));
}

std::unique_ptr<DibPicture> DibPicture::create(const BitmapInfoHeader& header,
                                               std::span<const uint32_t> palette) {
    const uint64_t rows =
        uint64_t(strideOf(header.width, header.bitCount)) * uint64_t(std::max(header.height, 0));
    if (rows > kMaxBitsBytes) {
        return nullptr;
    }
    std::vector<uint8_t> block(kHeaderSize + palette.size_bytes() + rows, 0);
    std::memcpy(block.data(), &header, sizeof header);
    if (!palette.empty()) {
        std::memcpy(block.data() + kHeaderSize, palette.data(), palette.size_bytes());
    }
    return std::unique_ptr<DibPicture>(new DibPicture(std::move(block)));
}

std::unique_ptr<DibPicture> DibPicture::CloneHeader() const { return create(header(), palette()); }

std::unique_ptr<DibPicture> DibPicture::CreateMonochrome(int32_t height, int32_t width) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        return nullptr;
    }
    BitmapInfoHeader header{kHeaderSize, width, height, 1, 1, 0, 0, kEngineDpi, kEngineDpi, 0, 0};
    const uint32_t whiteThenBlack[] = {0x00FFFFFF, 0x00000000};
    return create(header, whiteThenBlack);
}

std::unique_ptr<DibPicture> DibPicture::FromRgb(const uint8_t* rgb, int32_t width, int32_t height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        (rgb == nullptr && width * int64_t{height} != 0)) {
        return nullptr;
    }
    BitmapInfoHeader header{kHeaderSize, width, height, 1, 24, 0, 0, kEngineDpi, kEngineDpi, 0, 0};
    std::unique_ptr<DibPicture> picture = create(header, {});
    if (!picture) {
        return nullptr;
    }
    const int32_t stride = picture->stride();
    std::span<uint8_t> rows = picture->bits();
    for (int32_t n = 0; n < height; ++n) {
        const uint8_t* in = rgb + size_t(n) * size_t(width) * 3;
        uint8_t* out = rows.data() + size_t(height - 1 - n) * size_t(stride);
        for (int32_t x = 0; x < width; ++x) {
            out[3 * x] = in[3 * x + 2];
            out[3 * x + 1] = in[3 * x + 1];
            out[3 * x + 2] = in[3 * x];
        }
    }
    return picture;
}

std::span<const uint32_t> DibPicture::palette() const {
    return {reinterpret_cast<const uint32_t*>(block_.data() + kHeaderSize),
            PaletteBytes(header()) / 4};
}

surface::Dib DibPicture::dib() const { return {width(), height(), bitCount(), palette(), bits()}; }

void BlitPicture(surface::Surface& surface, const DibPicture& picture, const surface::Rect& dest) {
    if (dest.width() == picture.width() && dest.height() == picture.height()) {
        surface.setDibToDevice({dest.left, dest.top}, picture.dib());
    } else {
        surface.stretchDib(dest, {0, 0, picture.width(), picture.height()}, picture.dib(),
                           surface::RasterOp::SrcAnd);
    }
}

void DibPicture::DrawInto(surface::Surface& surface, int32_t left, int32_t top, int32_t right,
                          int32_t bottom) {
    const surface::Rect dest{left, top, right, bottom};
    if (bitCount() != 1) {
        BlitPicture(surface, *this, dest);
        return;
    }
    if (bottom == top) {
        return;
    }
    const double ratio = double(height()) / std::abs(double(bottom) - double(top));
    if (!greyCache_ || greyRatio_ != ratio) {
        greyCache_ = ReduceToGrey(ratio);
        greyRatio_ = ratio;
    }
    if (ratio >= 1.0 && greyCache_) {
        BlitPicture(surface, *greyCache_, dest);
    } else {
        BlitPicture(surface, *this, dest);
        greyRatio_ = 0.0;
    }
}

std::unique_ptr<DibPicture> DibPicture::ReduceToGrey(double ratio) const {
    if (!(ratio >= 1.0) || bitCount() != 1 || ratio > kMaxSide) {
        return nullptr;
    }
    const int32_t n = roundHalfUp(ratio);
    const int32_t newWidth = roundHalfUp(width() / ratio);
    const int32_t newHeight = roundHalfUp(height() / ratio);
    if (newWidth <= 0 || newHeight <= 0) {
        return nullptr;
    }
    std::vector<uint32_t> greys(256);
    for (uint32_t e = 0; e < 256; ++e) {
        const uint32_t level = 255 - e;
        greys[e] = level << 16 | level << 8 | level;
    }
    BitmapInfoHeader header = this->header();
    header.width = newWidth;
    header.height = newHeight;
    header.bitCount = 8;
    header.clrUsed = 0;
    header.clrImportant = 0;
    header.sizeImage = 0;
    std::unique_ptr<DibPicture> grey = create(header, greys);
    if (!grey) {
        return nullptr;
    }

    const int32_t share = 255 / n / n;
    const int32_t sourceStride = stride();
    const int32_t greyStride = grey->stride();
    std::span<const uint8_t> source = bits();
    std::span<uint8_t> out = grey->bits();
    for (int32_t d = 0; d < newHeight; ++d) {
        const int32_t firstRow = roundHalfUp(ratio * d);
        for (int32_t k = 0; k < newWidth; ++k) {
            const int32_t firstColumn = roundHalfUp(ratio * k);
            int32_t value = 0;
            for (int32_t row = firstRow; row < firstRow + n && row < height(); ++row) {
                const auto sourceRow = source.subspan(size_t(row) * size_t(sourceStride));
                for (int32_t column = firstColumn; column < firstColumn + n && column < width();
                     ++column) {
                    value += bit(sourceRow, column) ? share : 0;
                }
            }
            out[size_t(d) * size_t(greyStride) + size_t(k)] = uint8_t(std::min(value, 255));
        }
    }
    return grey;
}

void DibPicture::ResampleBilevel(int32_t dpi) {
    if (bitCount() != 1 || dpi <= 0) {
        return;
    }
    BitmapInfoHeader header = this->header();
    // Pictures made by the engine hold dots per inch where pixels per metre belong.
    constexpr int32_t kEngineDpiAsPelsPerMeter = kEngineDpi * 10000 / 254;
    if (header.xPelsPerMeter == kEngineDpi) {
        header.xPelsPerMeter = kEngineDpiAsPelsPerMeter;
    }
    if (header.yPelsPerMeter == kEngineDpi) {
        header.yPelsPerMeter = kEngineDpiAsPelsPerMeter;
    }
    const int64_t r = header.xPelsPerMeter;
    const int64_t t = int64_t{dpi} * 10000 / 254;
    if (r <= 0 || t <= 0) {
        return;
    }
    const int64_t newWidth = t * width() / r;
    const int64_t newHeight = t * height() / r;
    if (newWidth <= 0 || newHeight <= 0 || newWidth > kMaxSide || newHeight > kMaxSide) {
        return;
    }
    const float h = float(r) / float(t);

    header.width = int32_t(newWidth);
    header.height = int32_t(newHeight);
    // The resolution fields come from the file: scaled in double and held in range.
    auto scaled = [h](int32_t pelsPerMeter) {
        return int32_t(
            std::clamp(double(pelsPerMeter) / double(h), double(INT32_MIN), double(INT32_MAX)));
    };
    header.xPelsPerMeter = scaled(header.xPelsPerMeter);
    header.yPelsPerMeter = scaled(header.yPelsPerMeter);
    std::unique_ptr<DibPicture> resampled = create(header, palette());
    if (!resampled) {
        return;
    }

    // Block bounds of each output row or column: from the running sum of h to that sum + h.
    auto bounds = [h](int64_t count, int32_t limit) {
        std::vector<std::pair<int32_t, int32_t>> spans(static_cast<size_t>(count));
        float sum = 0.0f;
        for (auto& [from, to] : spans) {
            from = std::clamp(int32_t(sum), 0, limit);
            to = std::clamp(int32_t(sum + h), 0, limit);
            sum += h;
        }
        return spans;
    };
    const auto rows = bounds(newHeight, height());
    const auto columns = bounds(newWidth, width());

    const int32_t sourceStride = stride();
    const int32_t outStride = resampled->stride();
    std::span<const uint8_t> source = bits();
    std::span<uint8_t> out = resampled->bits();
    for (int64_t i = 0; i < newHeight; ++i) {
        const auto [rowFrom, rowTo] = rows[size_t(i)];
        uint8_t* outRow = out.data() + size_t(newHeight - 1 - i) * size_t(outStride);
        for (int64_t j = 0; j < newWidth; ++j) {
            const auto [columnFrom, columnTo] = columns[size_t(j)];
            const int64_t blockPixels = int64_t{rowTo - rowFrom} * (columnTo - columnFrom);
            int64_t set = 0;
            for (int32_t row = rowFrom; row < rowTo; ++row) {
                const auto sourceRow =
                    source.subspan(size_t(height() - 1 - row) * size_t(sourceStride));
                for (int32_t column = columnFrom; column < columnTo; ++column) {
                    set += bit(sourceRow, column);
                }
            }
            const bool small = blockPixels == 1 || blockPixels == 2 || blockPixels == 4;
            // 2^k - 1 > B / 2, without overflowing for large blocks.
            const bool black =
                small ? set >= 1 : (set >= 62 || (int64_t{1} << set) - 1 > blockPixels / 2);
            if (black) {
                outRow[j / 8] = uint8_t(outRow[j / 8] | (0x80 >> (j % 8)));
            }
        }
    }
    block_ = std::move(resampled->block_);
    greyCache_.reset();
    greyRatio_ = 0.0;
}

}  // namespace vyn
