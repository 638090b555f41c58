#include "coded_picture.h"

#include <cstring>

#include "image/bilevel_codec.h"

namespace vyn::fixtures {

std::vector<uint8_t> codedPicture(const DibPicture& raw, std::span<const uint32_t> palette) {
    BitmapInfoHeader header = raw.header();
    header.clrUsed = 0;
    std::vector<uint8_t> data(sizeof header);
    std::memcpy(data.data(), &header, sizeof header);
    for (uint32_t colour : palette) {
        data.insert(data.end(), {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16), 0});
    }
    // Room for the worst case of the coder on noise, and the bytes that end the code.
    std::vector<uint8_t> coded(raw.bits().size() * 2 + 64);
    BilevelEncoder encoder(coded);
    encoder.EncodeRows(raw.bits(), raw.width() * raw.bitCount(), raw.height(), raw.stride());
    encoder.EncodeFlush();
    data.insert(data.end(), coded.begin(), coded.begin() + std::ptrdiff_t(encoder.EncodedSize()));
    return data;
}

}  // namespace vyn::fixtures
