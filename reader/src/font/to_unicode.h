// ToUnicode CMaps: the text each code of a font stands for, as the document writes it with
// bfchar and bfrange (a destination string of UTF-16BE, surrogate pairs and several characters
// included, a glyph name, or an array of destinations).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "font/cmap.h"

namespace reader::pdf {

class ToUnicode {
  public:
    /// Entries kept at most; a CMap with more is cut there.
    static constexpr size_t kMaxEntries = 1u << 20;
    /// Codes one range with an incremented destination spans at most.
    static constexpr uint32_t kMaxRangeCodes = 1u << 16;
    /// UTF-16 units of one destination kept at most.
    static constexpr size_t kMaxDestinationUnits = 256;

    /// The ToUnicode CMap program in `text`; malformed entries are passed over.
    static std::shared_ptr<const ToUnicode> parse(std::span<const uint8_t> text);

    /// The text `code` stands for: the entry of a code of its length, else of its value written
    /// with another length; empty when none gives it or it gives only a control character or
    /// the replacement character.
    std::u32string textOf(CharCode code) const;
    size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        uint8_t bytes = 1;
        uint32_t low = 0;
        uint32_t high = 0;
        uint32_t start = 0;   // the destination's first unit in units_
        uint16_t length = 0;  // and its count of units
    };

    /// Adds `destination` (UTF-16 units) for codes low..high; whether it was kept.
    bool add(CharCode low, uint32_t high, const std::u16string& destination);
    std::u32string find(uint8_t bytes, uint32_t code) const;

    std::vector<Entry> entries_;  // sorted by length, then low
    std::u16string units_;        // the destinations one after the other
};

}  // namespace reader::pdf
