// Builds page word streams of either dialect for tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace vyn::fixtures {

class StreamBuilder {
  public:
    /// A position word alone.
    StreamBuilder& position(uint16_t x) { return word(x); }
    /// A character: its position word and its two bytes as one code word.
    StreamBuilder& character(uint16_t x, uint16_t code) { return word(x).word(code); }
    /// A row of double-byte characters from `bytes` (GB2312), `advance` page units apart.
    StreamBuilder& text(uint16_t x, std::string_view bytes, uint16_t advance);
    /// A command word and its operand words.
    StreamBuilder& command(uint16_t code, std::initializer_list<uint16_t> operands = {});
    StreamBuilder& lineAt(uint16_t y) { return command(0x8001, {y}); }
    /// Font number and width and height size codes (0-31).
    StreamBuilder& font(uint16_t number, uint16_t widthCode, uint16_t heightCode) {
        return command(0x8002,
                       {uint16_t(number << 10 | (widthCode & 0x1F) << 5 | (heightCode & 0x1F))});
    }
    StreamBuilder& endOfPage() { return command(0x8004, {0}); }
    StreamBuilder& word(uint16_t w) {
        words_.push_back(w);
        return *this;
    }

    const std::vector<uint16_t>& words() const { return words_; }

  private:
    std::vector<uint16_t> words_;
};

}  // namespace vyn::fixtures
