// Decodes arbitrary bytes as JPEG 2000 data, a codestream or a JP2 file. The samples must stay
// within the decoded-size bound, and reading them again after reset() must give the same bytes.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "filters/jpx_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    reader::JpxDecoder decoder(std::make_unique<reader::BufferSource>(std::span(data, size)),
                               reader::DecodeParam{});
    std::vector<uint8_t> first;
    decoder.readAll(first, reader::kMaxDecodedBytes + 1);
    if (first.size() > reader::kMaxDecodedBytes) {
        __builtin_trap();
    }
    decoder.reset();
    std::vector<uint8_t> second;
    decoder.readAll(second);
    if (second != first) {
        __builtin_trap();
    }
    return 0;
}
