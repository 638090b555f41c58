// The PDF the text-operator benchmarks share: page 1 holds 2,000 text objects of one word
// each, page 2 the same page without them, so that one operator costs the difference of the
// two over 2,000.
#pragma once

#include <string>

namespace bench {

inline constexpr int kTextOperators = 2000;

/// The file's bytes.
std::string textOperatorsPdf();

}  // namespace bench
