// Runs the three conversions over arbitrary bytes. Each gets a heap copy of exactly the input's
// size, so the address sanitizer reports any access past the counted length.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "duoma/duoma.h"

namespace {

void convertCopy(const uint8_t* data, size_t size, int32_t (*convert)(unsigned char*, int32_t)) {
    const auto length = static_cast<int32_t>(size);
    std::unique_ptr<unsigned char[]> text(new unsigned char[size]);
    if (size > 0) {
        std::memcpy(text.get(), data, size);
    }
    if (convert(text.get(), length) != length) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) {
        return 0;
    }
    convertCopy(data, size, Duoma);
    convertCopy(data, size, Big52Gb);

    char character[3] = {};
    std::memcpy(character, data, size < 2 ? size : 2);
    uint16_t output[2] = {0xFFFF, 0xFFFF};
    if (Gb2Unicode(character, output) != 0 || output[1] != 0) {
        __builtin_trap();
    }
    return 0;
}
