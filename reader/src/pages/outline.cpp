#include "pages/outline.h"

#include <set>

#include "pages/destination.h"
#include "pages/text_string.h"
#include "xref/document.h"

namespace reader::pdf {

std::vector<OutlineItem> readOutline(Document& document, const std::vector<PageEntry>& pages) {
    std::vector<OutlineItem> items;
    const Dict* catalog = document.catalog();
    const Object root = catalog != nullptr ? document.resolve(catalog->get("Outlines")) : Object();
    if (root.asDict() == nullptr) {
        return items;
    }
    DestinationReader destinations(document, pages);
    // Depth first without recursion: an entry's next sibling waits below its first child.
    std::vector<std::pair<Object, int>> pending{{root.asDict()->get("First"), 1}};
    std::set<Ref> seen;
    while (!pending.empty() && items.size() < kMaxOutlineItems) {
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
        OutlineItem item;
        const Object title = document.resolve(dict->get("Title"));
        if (const String* text = title.asString()) {
            item.title = textStringUtf8(text->bytes);
        }
        item.level = level;
        item.open = document.resolve(dict->get("Count")).asInt().value_or(0) > 0;
        if (std::optional<Destination> target = destinations.targetOf(*dict)) {
            item.destination = *target;
        }
        items.push_back(std::move(item));
        pending.emplace_back(dict->get("Next"), level);
        if (level < kMaxOutlineLevel) {
            pending.emplace_back(dict->get("First"), level + 1);
        }
    }
    return items;
}

}  // namespace reader::pdf
