// Decodes arbitrary bytes with one of the stream decoders under a row predictor, both chosen by
// the first byte: bits 0-2 the decoder (Flate, LZW with early change 1 or 0, ASCII85, hex,
// run-length), bits 3-5 the predictor, bits 6-7 the row layout. A second decoding after a reset,
// in reads of odd sizes, must give the same bytes.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "filters/ascii_decoders.h"
#include "filters/inflate_decoder.h"
#include "filters/lzw_decoder.h"
#include "filters/row_predictor.h"
#include "filters/run_length_decoder.h"

namespace {

constexpr size_t kLimit = size_t{16} << 20;
constexpr std::array<int32_t, 8> kPredictors = {1, 2, 10, 11, 12, 13, 14, 15};

struct Layout {
    int32_t colors;
    int32_t bitsPerComponent;
    int32_t columns;
};
constexpr std::array<Layout, 4> kLayouts = {{{1, 8, 5}, {3, 16, 7}, {1, 1, 13}, {4, 2, 3}}};

std::unique_ptr<reader::ByteSource> makeDecoder(unsigned kind, std::span<const uint8_t> data,
                                                const reader::DecodeParam& param) {
    auto input = std::make_unique<reader::BufferSource>(data);
    switch (kind) {
        case 1:
        case 2: return std::make_unique<reader::LzwDecoder>(std::move(input), param);
        case 3: return std::make_unique<reader::Base85Decoder>(std::move(input), param);
        case 4: return std::make_unique<reader::HexDecoder>(std::move(input), param);
        case 5: return std::make_unique<reader::RunLengthDecoder>(std::move(input), param);
        default: return std::make_unique<reader::InflateDecoder>(std::move(input), param);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned kind = data[0] & 7;
    const Layout& layout = kLayouts[data[0] >> 6];
    reader::DecodeParam param;
    param.predictor = kPredictors[data[0] >> 3 & 7];
    param.columns = layout.columns;
    param.colors = layout.colors;
    param.bitsPerComponent = layout.bitsPerComponent;
    param.earlyChange = kind == 2 ? 0 : 1;

    reader::RowPredictor decoder(makeDecoder(kind, std::span(data + 1, size - 1), param), param);
    std::vector<uint8_t> whole;
    decoder.readAll(whole, kLimit);

    decoder.reset();
    std::vector<uint8_t> again;
    std::vector<uint8_t> piece(777);
    while (again.size() < whole.size()) {
        const size_t wanted = std::min(piece.size(), whole.size() - again.size());
        const size_t n = decoder.read(std::span(piece).first(wanted));
        if (n == 0) {
            break;
        }
        again.insert(again.end(), piece.begin(), piece.begin() + ptrdiff_t(n));
    }
    if (again != whole) {
        __builtin_trap();
    }
    return 0;
}
