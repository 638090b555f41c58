// The generated conversion tables (made by convert/tools/make_tables.py).
#pragma once

#include <array>
#include <cstdint>

#include "duoma/tables.h"

namespace duoma::detail {

extern const std::array<uint8_t, 2 * kGbRows * kGbColumns> kGbToBig5;
extern const std::array<uint8_t, 2 * kBig5Rows * kBig5Columns> kBig5ToGb;
extern const std::array<uint16_t, kGbRows * kGbColumns> kGbToUnicode;
extern const std::array<uint16_t, kBig5Rows * kBig5Columns> kBig5ToUnicode;

}  // namespace duoma::detail
