#include "filters/decode_stream.h"

#include <array>
#include <memory>
#include <new>

#include "filters/ascii_decoders.h"
#include "filters/byte_source.h"
#include "filters/dct_decoder.h"
#include "filters/fax_decoder.h"
#include "filters/inflate_decoder.h"
#include "filters/jbig2_decoder.h"
#include "filters/jpx_decoder.h"
#include "filters/lzw_decoder.h"
#include "filters/row_predictor.h"
#include "filters/run_length_decoder.h"
#include "structure/pdf_lexer.h"

namespace reader {

namespace {

struct FilterNames {
    std::string_view full;
    std::string_view abbreviation;
};

constexpr std::array<FilterNames, 9> kFilterNames = {{
    {"DCTDecode", "DCT"},
    {"FlateDecode", "Fl"},
    {"ASCII85Decode", "A85"},
    {"ASCIIHexDecode", "AHx"},
    {"LZWDecode", "LZW"},
    {"RunLengthDecode", "RL"},
    {"CCITTFaxDecode", "CCF"},
    {"JBIG2Decode", "JBIG2Decode"},
    {"JPXDecode", "JPXDecode"},
}};

}  // namespace

// A filter's decoder over `input`; Flate and LZW data pass through the row predictor, which
// passes bytes on unchanged when the parameters name none.
std::unique_ptr<ByteSource> MakeDecoder(int code, std::unique_ptr<ByteSource> input,
                                        const DecodeParam& param) {
    switch (code) {
        case kDct: return std::make_unique<DctDecoder>(std::move(input), param);
        case kFlate:
            return std::make_unique<RowPredictor>(
                std::make_unique<InflateDecoder>(std::move(input), param), param);
        case kAscii85: return std::make_unique<Base85Decoder>(std::move(input), param);
        case kAsciiHex: return std::make_unique<HexDecoder>(std::move(input), param);
        case kLzw:
            return std::make_unique<RowPredictor>(
                std::make_unique<LzwDecoder>(std::move(input), param), param);
        case kRunLength: return std::make_unique<RunLengthDecoder>(std::move(input), param);
        case kCcittFax: return std::make_unique<FaxDecoder>(std::move(input), param);
        case kJbig2: return std::make_unique<Jbig2Decoder>(std::move(input), param);
        case kJpx: return std::make_unique<JpxDecoder>(std::move(input), param);
        default: return nullptr;
    }
}

int FilterCodeOf(std::string_view name) {
    for (size_t code = 0; code < kFilterNames.size(); ++code) {
        if (name == kFilterNames[code].full || name == kFilterNames[code].abbreviation) {
            return int(code);
        }
    }
    return -1;
}

size_t GetFilterName(std::string_view text, size_t at, int (&codes)[kMaxFilters], int& count) {
    TextCursor cursor(text, at);
    cursor.SkipWhite();
    count = 0;
    const bool array = cursor.peek() == '[';
    if (array) {
        cursor.advance();
    }
    while (true) {
        cursor.SkipWhite();
        if (cursor.atEnd() || cursor.peek() == ']' || (count > 0 && !array)) {
            break;
        }
        if (cursor.peek() != '/') {
            break;
        }
        cursor.advance();
        // A name ends where the next name or the dictionary's end begins.
        std::string name;
        while (!cursor.atEnd() && name.size() < 63 && !isWhite(cursor.peek()) &&
               cursor.peek() != '/' && cursor.peek() != ']' && cursor.peek() != '>') {
            name += cursor.peek();
            cursor.advance();
        }
        const int code = FilterCodeOf(name);
        if (code < 0 || count == kMaxFilters) {
            count = -1;
            return cursor.position();
        }
        codes[count++] = code;
    }
    if (array && cursor.peek() == ']') {
        cursor.advance();
    }
    return cursor.position();
}

std::optional<std::vector<uint8_t>> DecodeStream(std::span<const uint8_t> data,
                                                 const DecodeParam& param,
                                                 std::span<const int> codes) {
    try {
        std::vector<uint8_t> output(data.begin(), data.end());
        for (const int code : codes) {
            std::vector<uint8_t> input = std::move(output);
            output = {};
            std::unique_ptr<ByteSource> decoder =
                MakeDecoder(code, std::make_unique<BufferSource>(input), param);
            if (!decoder) {
                return std::nullopt;
            }
            decoder->readAll(output);
        }
        return output;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace reader
