#include "navigation/name_tree.h"

#include <algorithm>
#include <set>

#include "xref/document.h"

namespace reader::pdf {

namespace {

// Walks a tree depth first, each node once, handing `visit` every node's dictionary; `enter`
// tells whether a kid is worth entering.
template <typename Visit, typename Enter>
void walkTree(Document& document, const Object& root, Visit visit, Enter enter) {
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
            if (enter(document, *kid)) {
                pending.emplace_back(*kid, level + 1);
            }
        }
    }
}

std::optional<std::string> stringOf(Document& document, const Object& value) {
    const Object resolved = document.resolve(value);
    const String* string = resolved.asString();
    return string != nullptr ? std::optional(string->bytes) : std::nullopt;
}

}  // namespace

Object findInNameTree(Document& document, const Object& root, std::string_view key) {
    Object found;
    const auto visit = [&](const Dict& node) {
        const Array* names = document.resolve(node.get("Names")).asArray();
        if (names == nullptr) {
            return true;
        }
        for (size_t i = 0; i + 1 < names->size(); i += 2) {
            const Object name = document.resolve((*names)[i]);
            const String* text = name.asString();
            if (text != nullptr && text->bytes == key) {
                found = document.resolve((*names)[i + 1]);
                return false;
            }
        }
        return true;
    };
    // A kid whose limits are missing or unreadable is entered: it may hold the key.
    const auto enter = [&](Document& doc, const Object& kid) {
        const Object node = doc.resolve(kid);
        const Dict* dict = node.asDict();
        const Array* limits =
            dict != nullptr ? doc.resolve(dict->get("Limits")).asArray() : nullptr;
        if (limits == nullptr || limits->size() < 2) {
            return dict != nullptr;
        }
        const std::optional<std::string> first = stringOf(doc, (*limits)[0]);
        const std::optional<std::string> last = stringOf(doc, (*limits)[1]);
        return !first || !last || (*first <= key && key <= *last);
    };
    walkTree(document, root, visit, enter);
    return found;
}

std::vector<std::pair<int64_t, Object>> numberTreeEntries(Document& document, const Object& root) {
    std::vector<std::pair<int64_t, Object>> entries;
    const auto visit = [&](const Dict& node) {
        if (const Array* nums = document.resolve(node.get("Nums")).asArray()) {
            for (size_t i = 0; i + 1 < nums->size() && entries.size() < kMaxTreeNodes; i += 2) {
                if (const std::optional<int64_t> key = document.resolve((*nums)[i]).asInt()) {
                    entries.emplace_back(*key, document.resolve((*nums)[i + 1]));
                }
            }
        }
        return entries.size() < kMaxTreeNodes;
    };
    walkTree(document, root, visit, [](Document&, const Object&) { return true; });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return entries;
}

}  // namespace reader::pdf
