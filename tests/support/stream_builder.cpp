#include "stream_builder.h"

namespace vyn::fixtures {

StreamBuilder& StreamBuilder::text(uint16_t x, std::string_view bytes, uint16_t advance) {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lead = static_cast<uint8_t>(bytes[i]);
        const auto trail = static_cast<uint8_t>(bytes[i + 1]);
        character(x, uint16_t(lead << 8 | trail));
        x = uint16_t(x + advance);
    }
    return *this;
}

StreamBuilder& StreamBuilder::command(uint16_t code, std::initializer_list<uint16_t> operands) {
    word(code);
    words_.insert(words_.end(), operands.begin(), operands.end());
    return *this;
}

}  // namespace vyn::fixtures
