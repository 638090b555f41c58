// Decodes arbitrary bytes as coded picture rows, codes the rows again and decodes that code: the
// second decoding must give back the rows of the first.
#include <cstdint>
#include <span>
#include <vector>

#include "image/bilevel_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    const int32_t width = 1 + (data[0] | data[1] << 8) % 2048;
    const int32_t height = 1 + (data[2] | data[3] << 8) % 512;
    const int32_t stride = ((width + 31) / 32) * 4;
    const std::span<const uint8_t> coded(data + 4, size - 4);

    // Different leftovers in the two row buffers: decoding must write every row whole.
    std::vector<uint8_t> first(size_t(stride) * size_t(height), 0xA5);
    vyn::BilevelDecoder(coded).DecodeRows(first, width, height, stride);

    // No decision takes more than 16 bits of code, so the new code always fits.
    std::vector<uint8_t> recoded((size_t(width) + 1) * size_t(height) * 2 + 16);
    vyn::BilevelEncoder encoder(recoded);
    encoder.EncodeRows(first, width, height, stride);
    encoder.EncodeFlush();
    if (encoder.overflowed()) {
        __builtin_trap();
    }
    recoded.resize(encoder.EncodedSize());

    std::vector<uint8_t> second(first.size(), 0x5A);
    vyn::BilevelDecoder(recoded).DecodeRows(second, width, height, stride);
    if (second != first) {
        __builtin_trap();
    }
    return 0;
}
