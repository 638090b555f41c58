// Reads arbitrary bytes as PDF syntax: indirect objects where their headers stand, otherwise
// direct objects one after another, with every stream /Length resolved to a fixed guess.
#include <cstdint>
#include <optional>

#include "object/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    reader::pdf::Parser parser(bytes);
    const auto length = [size](reader::pdf::Ref r) -> std::optional<int64_t> {
        return int64_t(r.num) % int64_t(size + 1);
    };
    while (parser.position() < size) {
        const size_t start = parser.position();
        if (!parser.parseIndirect(length)) {
            parser.setPosition(start);
            if (!parser.parseObject()) {
                // A keyword that is no value: step over it as a reader of a file would.
                reader::pdf::Lexer lexer(bytes, start);
                lexer.next();
                parser.setPosition(lexer.position());
            }
        }
        if (parser.position() <= start) {
            break;
        }
    }
    return 0;
}
