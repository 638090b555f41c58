// Text bytes of a character set turned into UTF-16 for drawing and for the clipboard.
#pragma once

#include <string>
#include <string_view>

#include "surface/font_service.h"

namespace surface {

/// Decodes `bytes` read in `charSet`: GB2312 (134) and Big5 (136) pairs through the conversion
/// tables, ASCII bytes as themselves, symbol bytes (2) through `symbols` when given, everything
/// else as Latin-1. A byte sequence with no character becomes U+FFFD; nothing is dropped.
std::u16string decodeText(std::string_view bytes, uint8_t charSet,
                          const SymbolMap* symbols = nullptr);

/// The same, as UTF-8.
std::string decodeTextUtf8(std::string_view bytes, uint8_t charSet,
                           const SymbolMap* symbols = nullptr);

}  // namespace surface
