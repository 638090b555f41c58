// Decodes arbitrary bytes as a JPEG image, up to 64 MB of output; starting over must give the
// same bytes again.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "filters/jpeg_baseline_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kLimit = size_t{64} << 20;
    reader::JpegBaselineDecoder decoder(
        std::make_unique<reader::BufferSource>(std::span(data, size)), reader::DecodeParam{});
    std::vector<uint8_t> first;
    decoder.readAll(first, kLimit);
    decoder.reset();
    std::vector<uint8_t> second;
    decoder.readAll(second, kLimit);
    if (second != first) {
        __builtin_trap();
    }
    return 0;
}
