#include "images/image_record.h"

#include <bit>
#include <new>

namespace reader {

// The header and palette words are written as numbers and read back as the bytes of the
// bitmap, which is the bitmap's byte order only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr size_t kHeaderWords = kBitmapHeaderBytes / 4;

const uint8_t* bytesOf(const std::vector<uint32_t>& words) {
    return reinterpret_cast<const uint8_t*>(words.data());
}

}  // namespace

std::span<const uint8_t> ImageRecord::bitmap() const {
    return {bytesOf(data), kBitmapHeaderBytes + paletteEntries() * 4 + size_t(size)};
}

std::span<const uint8_t> ImageRecord::rows() const {
    return bitmap().subspan(kBitmapHeaderBytes + paletteEntries() * 4);
}

std::span<uint8_t> ImageRecord::row(int32_t fromTop) {
    const size_t offset =
        kBitmapHeaderBytes + paletteEntries() * 4 + size_t(height - 1 - fromTop) * rowBytes();
    return {reinterpret_cast<uint8_t*>(data.data()) + offset, rowBytes()};
}

surface::Dib ImageRecord::dib() const { return {width, height, uint16_t(bits), palette(), rows()}; }

surface::Dib ImageRecord::maskDib() const {
    return {width, height, 1, std::span(maskHeader).subspan(kHeaderWords, 2), rows()};
}

std::optional<ImageRecord> CreateBitmap(int32_t width, int32_t height, int32_t bitCount) {
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    ImageRecord record;
    record.width = width;
    record.height = height;
    record.bits = bitCount;
    const size_t rowsBytes = record.rowBytes() * size_t(height);
    const size_t total = kBitmapHeaderBytes + record.paletteEntries() * 4 + rowsBytes;
    if (rowsBytes / size_t(height) != record.rowBytes() || total > kMaxBitmapBytes) {
        return std::nullopt;
    }
    try {
        record.data.assign((total + 3) / 4, 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    record.size = int32_t(rowsBytes);
    std::vector<uint32_t>& words = record.data;
    words[0] = kBitmapHeaderBytes;
    words[1] = uint32_t(width);
    words[2] = uint32_t(height);
    words[3] = 1 | (uint32_t(bitCount) << 16);  // one plane, then the bit count
    words[4] = 0;                               // no compression
    words[5] = uint32_t(rowsBytes);
    return record;
}

}  // namespace reader
