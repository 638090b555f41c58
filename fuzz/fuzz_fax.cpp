// Decodes arbitrary bytes as facsimile-coded rows under parameters taken from the first four
// bytes: flags (K sign, EndOfLine, EncodedByteAlign, BlackIs1, EndOfBlock), Columns (0 for the
// default) and Rows. The output must be whole rows, no more than Rows, the same when read in
// pieces and after reset(), and the complement of the output under the other BlackIs1.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "filters/fax_decoder.h"

namespace {

// Well above what small inputs decode to, so that the checks see whole outputs.
constexpr size_t kLimit = size_t{1} << 22;

std::vector<uint8_t> decodeAll(std::span<const uint8_t> coded, const reader::DecodeParam& param) {
    reader::FaxDecoder decoder(std::make_unique<reader::BufferSource>(coded), param);
    std::vector<uint8_t> out;
    decoder.readAll(out, kLimit);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    reader::DecodeParam param;
    const uint8_t flags = data[0];
    param.k = (flags & 3) == 0 ? 0 : (flags & 3) == 1 ? -1 : 4;
    param.endOfLine = flags >> 2 & 1;
    param.encodedByteAlign = flags >> 3 & 1;
    param.blackIs1 = flags >> 4 & 1;
    param.endOfBlock = flags >> 5 & 1;
    const int32_t columns = data[1] | data[2] << 8;
    param.columns = columns == 0 ? -1 : 1 + (columns - 1) % 4096;
    param.rows = data[3];
    const std::span<const uint8_t> coded(data + 4, size - 4);

    const std::vector<uint8_t> out = decodeAll(coded, param);
    const size_t rowBytes = (size_t(param.columns == -1 ? 1728 : param.columns) + 7) / 8;
    if (out.size() < kLimit && (out.size() % rowBytes != 0 ||
                                (param.rows > 0 && out.size() / rowBytes > size_t(param.rows)))) {
        __builtin_trap();
    }

    reader::FaxDecoder decoder(std::make_unique<reader::BufferSource>(coded), param);
    std::vector<uint8_t> pieces;
    uint8_t piece[61];
    while (pieces.size() < out.size()) {
        const size_t n = decoder.read(std::span(piece).first(1 + pieces.size() % 61));
        if (n == 0) {
            break;
        }
        pieces.insert(pieces.end(), piece, piece + n);
    }
    pieces.resize(std::min(pieces.size(), out.size()));
    decoder.reset();
    std::vector<uint8_t> again;
    decoder.readAll(again, kLimit);
    if (pieces != out || again != out) {
        __builtin_trap();
    }

    param.blackIs1 = param.blackIs1 == 0 ? 1 : 0;
    const std::vector<uint8_t> other = decodeAll(coded, param);
    if (other.size() != out.size()) {
        __builtin_trap();
    }
    for (size_t i = 0; i < out.size(); ++i) {
        if (other[i] != uint8_t(~out[i])) {
            __builtin_trap();
        }
    }
    return 0;
}
