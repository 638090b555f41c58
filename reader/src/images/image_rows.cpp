#include "images/image_rows.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace reader {

namespace {

// Bytes of one source row of `samples` samples of `bits` bits; rows start on a byte.
size_t packedRowBytes(int32_t width, int32_t samplesPerPixel, int32_t bits) {
    return (size_t(width) * size_t(samplesPerPixel) * size_t(bits) + 7) / 8;
}

// Sample `index` of a packed row, most significant bits first.
uint8_t sampleAt(std::span<const uint8_t> row, size_t index, int32_t bits) {
    const size_t bit = index * size_t(bits);
    const int32_t shift = 8 - bits - int32_t(bit % 8);
    return uint8_t((row[bit / 8] >> shift) & ((1 << bits) - 1));
}

uint8_t toByte(uint8_t sample, int32_t bits) {
    return bits == 8 ? sample : uint8_t(sample * 255 / ((1 << bits) - 1));
}

// Runs `store` over each complete source row of `rowBytes` bytes, top row first.
template <typename Store>
void forCompleteRows(ImageRecord& record, std::span<const uint8_t> samples, size_t rowBytes,
                     Store store) {
    if (rowBytes == 0) {
        return;
    }
    const size_t rows = std::min(size_t(record.height), samples.size() / rowBytes);
    for (size_t y = 0; y < rows; ++y) {
        store(samples.subspan(y * rowBytes, rowBytes), record.row(int32_t(y)));
    }
}

}  // namespace

void CopyPackedRows(ImageRecord& record, std::span<const uint8_t> samples, size_t sourceRowBytes) {
    const size_t count = std::min(sourceRowBytes, record.rowBytes());
    for (int32_t y = 0; y < record.height; ++y) {
        const size_t start = size_t(y) * sourceRowBytes;
        if (sourceRowBytes == 0 || start >= samples.size()) {
            return;
        }
        const size_t available = std::min(count, samples.size() - start);
        std::memcpy(record.row(y).data(), samples.data() + start, available);
    }
}

void WidenRows(ImageRecord& record, std::span<const uint8_t> samples, int32_t bitsPerSample,
               bool scale) {
    // A table gives the value of each sample.
    std::array<uint8_t, 16> value{};
    for (size_t s = 0; s < value.size(); ++s) {
        value[s] = scale && s < size_t(1) << bitsPerSample ? toByte(uint8_t(s), bitsPerSample)
                                                           : uint8_t(s);
    }
    const uint8_t max = uint8_t((1 << bitsPerSample) - 1);
    forCompleteRows(record, samples, packedRowBytes(record.width, 1, bitsPerSample),
                    [&](std::span<const uint8_t> source, std::span<uint8_t> target) {
                        const size_t width = size_t(record.width);
                        size_t x = 0;
                        for (const uint8_t byte : source) {
                            for (int32_t shift = 8 - bitsPerSample; shift >= 0 && x < width;
                                 shift -= bitsPerSample) {
                                target[x++] = value[(byte >> shift) & max];
                            }
                        }
                    });
}

void StoreRgbRows(ImageRecord& record, std::span<const uint8_t> samples, int32_t bitsPerSample) {
    forCompleteRows(record, samples, packedRowBytes(record.width, 3, bitsPerSample),
                    [&](std::span<const uint8_t> source, std::span<uint8_t> target) {
                        if (bitsPerSample == 8) {
                            for (size_t x = 0; x < 3 * size_t(record.width); x += 3) {
                                target[x] = source[x + 2];
                                target[x + 1] = source[x + 1];
                                target[x + 2] = source[x];
                            }
                            return;
                        }
                        for (size_t x = 0; x < size_t(record.width); ++x) {
                            for (size_t c = 0; c < 3; ++c) {
                                const uint8_t sample = sampleAt(source, 3 * x + c, bitsPerSample);
                                target[3 * x + 2 - c] = toByte(sample, bitsPerSample);
                            }
                        }
                    });
}

void StoreCmykRows(ImageRecord& record, std::span<const uint8_t> samples) {
    // Every colour under every black, computed once.
    static const std::vector<uint8_t> table = [] {
        std::vector<uint8_t> colours(256 * 256);
        for (size_t k = 0; k < 256; ++k) {
            for (size_t c = 0; c < 256; ++c) {
                colours[k * 256 + c] = CmykComponent(uint8_t(c), uint8_t(k));
            }
        }
        return colours;
    }();
    forCompleteRows(record, samples, size_t(record.width) * 4,
                    [&](std::span<const uint8_t> source, std::span<uint8_t> target) {
                        for (size_t x = 0; x < size_t(record.width); ++x) {
                            const uint8_t* cmyk = &source[4 * x];
                            const uint8_t* underBlack = &table[size_t(cmyk[3]) * 256];
                            target[3 * x] = underBlack[cmyk[2]];
                            target[3 * x + 1] = underBlack[cmyk[1]];
                            target[3 * x + 2] = underBlack[cmyk[0]];
                        }
                    });
}

void SetGreyRamp(ImageRecord& record, int32_t d0, int32_t d1) {
    std::span<uint32_t> palette = record.palette();
    for (size_t i = 0; i < palette.size(); ++i) {
        const int64_t level =
            std::clamp<int64_t>((int64_t(d1) - d0) * int64_t(i) + 255 * int64_t(d0), 0, 255);
        palette[i] = PaletteEntry(uint8_t(level), uint8_t(level), uint8_t(level));
    }
}

}  // namespace reader
