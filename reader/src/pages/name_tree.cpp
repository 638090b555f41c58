#include "pages/name_tree.h"

#include <algorithm>
#include <set>

#include "xref/document.h"

namespace reader::pdf {

namespace {

// The most entries one tree gives.
constexpr size_t kMaxTreeEntries = size_t(1) << 20;

// Walks a tree depth first, each node once, handing `visit` every node's dictionary until it
// returns false.
template <typename Visit>
void walkTree(Document& document, const Object& root, Visit visit) {
    std::vector<std::pair<Object, int>> pending{{root, 0}};
    std::set<Ref> seen;
    size_t visited = 0;
    while (!pending.empty() && visited < kMaxTreeNodes) {
        auto [node, level] = std::move(pending.back());
        pending.pop_back();
        if (const std::optional<Ref> ref = node.asRef(); ref && !seen.insert(*ref).second) {
            continue;
        }
        const Object object = document.resolve(node);
        const Dict* dict = object.asDict();
        if (dict == nullptr) {
            continue;
        }
        ++visited;
        if (!visit(*dict)) {
            return;
        }
        const Array* kids = document.resolve(dict->get("Kids")).asArray();
        if (kids == nullptr || level + 1 >= kMaxTreeLevels) {
            continue;
        }
        // Pushed last first, so that kids are visited in their order.
        for (auto kid = kids->rbegin(); kid != kids->rend(); ++kid) {
            pending.emplace_back(*kid, level + 1);
        }
    }
}

}  // namespace

std::vector<std::pair<std::string, Object>> nameTreeEntries(Document& document,
                                                            const Object& root) {
    std::vector<std::pair<std::string, Object>> entries;
    walkTree(document, root, [&](const Dict& node) {
        if (const Array* names = document.resolve(node.get("Names")).asArray()) {
            for (size_t i = 0; i + 1 < names->size() && entries.size() < kMaxTreeEntries; i += 2) {
                const Object key = document.resolve((*names)[i]);
                if (const String* text = key.asString()) {
                    entries.emplace_back(text->bytes, (*names)[i + 1]);
                }
            }
        }
        return entries.size() < kMaxTreeEntries;
    });
    return entries;
}

std::vector<std::pair<int64_t, Object>> numberTreeEntries(Document& document, const Object& root) {
    std::vector<std::pair<int64_t, Object>> entries;
    walkTree(document, root, [&](const Dict& node) {
        if (const Array* nums = document.resolve(node.get("Nums")).asArray()) {
            for (size_t i = 0; i + 1 < nums->size() && entries.size() < kMaxTreeEntries; i += 2) {
                if (const std::optional<int64_t> key = document.resolve((*nums)[i]).asInt()) {
                    entries.emplace_back(*key, document.resolve((*nums)[i + 1]));
                }
            }
        }
        return entries.size() < kMaxTreeEntries;
    });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return entries;
}

}  // namespace reader::pdf
