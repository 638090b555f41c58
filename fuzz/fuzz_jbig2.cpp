// Decodes arbitrary bytes as JBIG2 data (embedded organisation): the first byte gives how many
// of the following bytes are the document's global segments, the rest is the image's own
// segments. Reading in pieces and after reset() must give the same bytes as reading at once.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "filters/jbig2_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t split = std::min<size_t>(data[0], size - 1);
    const std::vector<uint8_t> globals(data + 1, data + 1 + split);
    reader::DecodeParam param;
    param.jbig2Globals = &globals;
    const std::span<const uint8_t> coded(data + 1 + split, size - 1 - split);

    reader::Jbig2Decoder decoder(std::make_unique<reader::BufferSource>(coded), param);
    std::vector<uint8_t> whole;
    decoder.readAll(whole);
    decoder.reset();
    // Small pieces of varied sizes at first, then large ones: a small input may code a page
    // of many megabytes.
    std::vector<uint8_t> pieces;
    std::vector<uint8_t> piece(size_t{1} << 20);
    while (const size_t n = decoder.read(std::span(piece).first(
               pieces.size() < 65536 ? 1 + pieces.size() % 97 : piece.size()))) {
        pieces.insert(pieces.end(), piece.begin(), piece.begin() + ptrdiff_t(n));
    }
    if (pieces != whole) {
        __builtin_trap();
    }
    return 0;
}
