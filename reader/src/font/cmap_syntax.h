// The PostScript syntax CMap programs share (the CMaps of composite fonts and the ToUnicode
// CMaps of text): operands gathered up to each operator, and codes written as strings.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "font/cmap.h"
#include "object/lexer.h"

namespace reader::pdf {

/// Operands of one begin...end block kept at most; real CMaps write at most a hundred entries.
inline constexpr size_t kMaxCMapOperands = 4096;

/// Calls `op` with each operator of the CMap program `text` and the operands before it (at
/// most kMaxCMapOperands of them, the rest passed over).
void readCMapOperators(
    std::span<const uint8_t> text,
    const std::function<void(std::string_view op, std::vector<Token>& operands)>& op);

/// The code a string operand writes: one to four bytes, big-endian.
std::optional<CharCode> codeOfToken(const Token& token);

}  // namespace reader::pdf
