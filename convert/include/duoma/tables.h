// The conversion tables, shared by reference with the other libraries of the project.
#pragma once

#include <cstdint>
#include <span>

#include "duoma/duoma_export.h"

namespace duoma {

/// Rows and columns of the GB2312 double-byte area the tables cover: leads 0xA1-0xF7,
/// trails 0xA1-0xFE.
inline constexpr int kGbRows = 87;
inline constexpr int kGbColumns = 94;
/// Big5 leads 0xA1-0xFE; trails 0x40-0x7E (columns 0-62) and 0xA1-0xFE (columns 63-156).
inline constexpr int kBig5Rows = 94;
inline constexpr int kBig5Columns = 157;

/// The GB-to-Big5 table: kGbRows x kGbColumns two-byte Big5 codes, lead byte first.
DUOMA_EXPORT std::span<const uint8_t, 2 * kGbRows * kGbColumns> gbToBig5Table();

/// The Big5-to-GB table: kBig5Rows x kBig5Columns two-byte GB2312 codes, lead byte first.
DUOMA_EXPORT std::span<const uint8_t, 2 * kBig5Rows * kBig5Columns> big5ToGbTable();

/// The code page 936 code point of a GB2312 double-byte code, U+FFFD outside the GB2312 area.
DUOMA_EXPORT char16_t gbToUnicode(uint8_t lead, uint8_t trail);

/// The code page 950 code point of a Big5 double-byte code, U+FFFD where Big5 has none.
DUOMA_EXPORT char16_t big5ToUnicode(uint8_t lead, uint8_t trail);

/// Valid GB2312 lead and trail bytes of the conversion walk.
constexpr bool isGbLead(uint8_t b) { return b >= 0xA1 && b <= 0xF7; }
constexpr bool isGbTrail(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }
/// Valid Big5 lead and trail bytes of the conversion walk.
constexpr bool isBig5Lead(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }
constexpr bool isBig5Trail(uint8_t b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

/// Table index of a Big5 trail byte (0-156); only meaningful when isBig5Trail(trail).
constexpr int big5Column(uint8_t trail) { return trail <= 0x7E ? trail - 0x40 : trail - 0x62; }

}  // namespace duoma
