// The name trees and number trees of a PDF document: keys in /Names or /Nums arrays at the
// leaves, /Kids below the root, /Limits giving each node's first and last key.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

class Document;

/// The most tree levels followed; a deeper node is taken for damage.
inline constexpr int kMaxTreeLevels = 32;
/// The most nodes of one tree visited.
inline constexpr size_t kMaxTreeNodes = 100000;

/// The value of `key` in the name tree whose root is `root`, resolved; null when the tree
/// lacks it. Kids whose limits leave the key out are not entered; a node met again is not.
Object findInNameTree(Document& document, const Object& root, std::string_view key);

/// Every entry of the number tree whose root is `root`, ordered by key (values resolved);
/// a node met again, or below the deepest level followed, is left out.
std::vector<std::pair<int64_t, Object>> numberTreeEntries(Document& document, const Object& root);

}  // namespace reader::pdf
