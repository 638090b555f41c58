#include "tables.h"

namespace duoma {

std::span<const uint8_t, 2 * kGbRows * kGbColumns> gbToBig5Table() { return detail::kGbToBig5; }

std::span<const uint8_t, 2 * kBig5Rows * kBig5Columns> big5ToGbTable() { return detail::kBig5ToGb; }

char16_t gbToUnicode(uint8_t lead, uint8_t trail) {
    if (!isGbLead(lead) || !isGbTrail(trail)) {
        return u'\uFFFD';
    }
    return detail::kGbToUnicode[kGbColumns * (lead - 0xA1) + (trail - 0xA1)];
}

char16_t big5ToUnicode(uint8_t lead, uint8_t trail) {
    if (!isBig5Lead(lead) || !isBig5Trail(trail)) {
        return u'\uFFFD';
    }
    return detail::kBig5ToUnicode[kBig5Columns * (lead - 0xA1) + big5Column(trail)];
}

}  // namespace duoma
