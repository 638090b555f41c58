// The name trees and number trees of a PDF document: keys in /Names or /Nums arrays at the
// leaves, /Kids below the root, /Limits giving each node's first and last key.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

class Document;

/// The most tree levels followed; a deeper node is taken for damage.
inline constexpr int kMaxTreeLevels = 32;
/// The most nodes of one tree visited.
inline constexpr size_t kMaxTreeNodes = 100000;

/// Every entry of the name tree whose root is `root`, in the tree's order (values as written,
/// not resolved); a node met again, or below the deepest level followed, is left out. Limits
/// are not trusted to leave kids out: damaged ones would hide names.
std::vector<std::pair<std::string, Object>> nameTreeEntries(Document& document, const Object& root);

/// Every entry of the number tree whose root is `root`, ordered by key (values resolved);
/// a node met again, or below the deepest level followed, is left out.
std::vector<std::pair<int64_t, Object>> numberTreeEntries(Document& document, const Object& root);

}  // namespace reader::pdf
