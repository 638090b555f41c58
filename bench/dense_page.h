// The dense page the drawing benchmarks share: 2,000 GB2312 hanzi in 40 lines of 50 in three
// fonts, with rules every ten lines and a frame.
#pragma once

#include <cstdint>
#include <vector>

namespace bench {

/// The page's command words.
std::vector<uint16_t> densePageWords();

/// A VYN document of that one page.
std::vector<uint8_t> densePageDocument();

}  // namespace bench
