#include "image/dib_picture.h"

#include <cstring>

namespace vyn {

namespace {

// Offsets of the header fields inside the block.
constexpr size_t kWidthField = 4;
constexpr size_t kHeightField = 8;
constexpr size_t kPlanesField = 12;
constexpr size_t kBitCountField = 14;
constexpr size_t kXResolutionField = 24;
constexpr size_t kYResolutionField = 28;

template <typename T>
void put(std::vector<uint8_t>& block, size_t offset, T value) {
    std::memcpy(block.data() + offset, &value, sizeof value);
}

}  // namespace

DibPicture::DibPicture(std::vector<uint8_t> block, int32_t width, int32_t height, int32_t stride,
                       size_t bitsOffset)
    : block_(std::move(block)),
      width_(width),
      height_(height),
      stride_(stride),
      bitsOffset_(bitsOffset) {}

std::unique_ptr<DibPicture> DibPicture::CreateMonochrome(int32_t height, int32_t width) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    const int64_t stride = ((int64_t{width} + 31) / 32) * 4;
    const uint64_t bitsBytes = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
    if (bitsBytes > kMaxBitsBytes) {
        return nullptr;
    }
    const size_t bitsOffset = kHeaderSize + 2 * 4;
    std::vector<uint8_t> block(bitsOffset + bitsBytes, 0);
    put<uint32_t>(block, 0, kHeaderSize);
    put<int32_t>(block, kWidthField, width);
    put<int32_t>(block, kHeightField, height);
    put<uint16_t>(block, kPlanesField, 1);
    put<uint16_t>(block, kBitCountField, 1);
    put<int32_t>(block, kXResolutionField, kEngineDpi);
    put<int32_t>(block, kYResolutionField, kEngineDpi);
    put<uint32_t>(block, kHeaderSize, 0x00FFFFFF);  // colour 0 white
    put<uint32_t>(block, kHeaderSize + 4, 0);       // colour 1 black
    return std::unique_ptr<DibPicture>(
        new DibPicture(std::move(block), width, height, static_cast<int32_t>(stride), bitsOffset));
}

uint16_t DibPicture::bitCount() const {
    uint16_t count = 0;
    std::memcpy(&count, block_.data() + kBitCountField, sizeof count);
    return count;
}

std::span<const uint32_t> DibPicture::palette() const {
    const size_t entries = (bitsOffset_ - kHeaderSize) / 4;
    return {reinterpret_cast<const uint32_t*>(block_.data() + kHeaderSize), entries};
}

surface::Dib DibPicture::dib() const { return {width_, height_, bitCount(), palette(), bits()}; }

}  // namespace vyn
