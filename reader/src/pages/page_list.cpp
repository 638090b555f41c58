#include "pages/page_list.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "support/debug_log.h"
#include "xref/document.h"
#include "xref/numbers.h"

namespace reader::pdf {

namespace {

// Page tree levels followed at most; a deeper node is taken for damage.
constexpr int kMaxTreeDepth = 64;

/// What a node passes on to the nodes below it.
struct Inherited {
    Object resources;
    Object resourcesEntry;
    std::optional<PageBox> mediaBox;
    std::optional<PageBox> cropBox;
    std::optional<int64_t> rotate;
};

int normalRotation(std::optional<int64_t> rotate) {
    if (!rotate || *rotate % 90 != 0) {
        return 0;
    }
    return int(((*rotate % 360) + 360) % 360);
}

/// `inherited` with what the node `dict` gives itself.
Inherited withOwn(Document& document, const Dict& dict, Inherited inherited) {
    if (dict.has("Resources")) {
        Object resources = document.resolve(dict.get("Resources"));
        if (resources.asDict() != nullptr) {
            inherited.resources = std::move(resources);
            inherited.resourcesEntry = dict.get("Resources");
        }
    }
    if (std::optional<PageBox> box = pageBoxOf(document, dict.get("MediaBox"))) {
        inherited.mediaBox = box;
    }
    if (std::optional<PageBox> box = pageBoxOf(document, dict.get("CropBox"))) {
        inherited.cropBox = box;
    }
    if (std::optional<int64_t> rotate = document.resolve(dict.get("Rotate")).asInt()) {
        inherited.rotate = rotate;
    }
    return inherited;
}

PageEntry pageOf(Document& document, Ref ref, const Object& page, const Inherited& inherited) {
    PageEntry entry;
    entry.ref = ref;
    entry.page = page;
    entry.resources = inherited.resources;
    entry.resourcesEntry = inherited.resourcesEntry;
    entry.mediaBox = inherited.mediaBox;
    entry.cropBox = inherited.cropBox;
    entry.rotate = normalRotation(inherited.rotate);
    const std::optional<double> unit = document.resolve(page.asDict()->get("UserUnit")).asNumber();
    entry.userUnit = unit && *unit > 0 && std::isfinite(*unit) ? *unit : 1.0;
    return entry;
}

bool isPageNode(const Dict& dict) {
    const Object& type = dict.get("Type");
    if (type.isName("Page")) {
        return true;
    }
    // Writers that leave out /Type still give a page no /Kids.
    return !type.isName("Pages") && dict.get("Kids").isNull();
}

class TreeWalk {
  public:
    explicit TreeWalk(Document& document, PageList& list) : document_(document), list_(list) {}

    void node(Ref ref, const Inherited& above, int depth) {
        if (list_.pages.size() >= kMaxPages) {
            return;
        }
        if (depth > kMaxTreeDepth || !visited_.insert(ref).second) {
            WriteLog(kLogWarning, "%s(%d)\r\n", "Page tree node met again, not followed.", ref.num);
            return;
        }
        const Object object = document_.fetch(ref);
        const Dict* dict = object.asDict();
        if (dict == nullptr || object.asStream() != nullptr) {
            return;
        }
        const Inherited here = withOwn(document_, *dict, above);
        if (isPageNode(*dict)) {
            list_.pages.push_back(pageOf(document_, ref, object, here));
            return;
        }
        const Object kids = document_.resolve(dict->get("Kids"));
        if (const Array* array = kids.asArray()) {
            for (const Object& kid : *array) {
                if (const std::optional<Ref> child = kid.asRef()) {
                    node(*child, here, depth + 1);
                }
            }
        }
    }

  private:
    Document& document_;
    PageList& list_;
    std::set<Ref> visited_;
};

/// What `page` takes from its ancestors along /Parent, as the tree walk would give it.
Inherited inheritedAlongParents(Document& document, const Dict& page) {
    std::vector<const Dict*> chain;
    std::vector<Object> held;  // keeps the ancestors' dictionaries alive
    std::set<Ref> seen;
    std::optional<Ref> parent = page.get("Parent").asRef();
    while (parent && chain.size() < size_t(kMaxTreeDepth) && seen.insert(*parent).second) {
        held.push_back(document.fetch(*parent));
        const Dict* dict = held.back().asDict();
        if (dict == nullptr) {
            break;
        }
        chain.push_back(dict);
        parent = dict->get("Parent").asRef();
    }
    Inherited inherited;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        inherited = withOwn(document, **it, std::move(inherited));
    }
    return withOwn(document, page, std::move(inherited));
}

void collectPages(Document& document, PageList& list) {
    WriteLog(kLogWarning, "%s\r\n", "Page tree unusable: pages collected in file order.");
    list.collected = true;
    for (const Ref ref : document.objectsInFileOrder()) {
        if (list.pages.size() >= kMaxPages) {
            break;
        }
        const Object object = document.fetch(ref);
        const Dict* dict = object.asDict();
        if (dict != nullptr && object.asStream() == nullptr && dict->get("Type").isName("Page")) {
            list.pages.push_back(
                pageOf(document, ref, object, inheritedAlongParents(document, *dict)));
        }
    }
}

}  // namespace

std::optional<PageBox> pageBoxOf(Document& document, const Object& box) {
    const std::optional<std::array<double, 4>> v = finiteNumbers<4>(document, box);
    if (!v) {
        return std::nullopt;
    }
    return PageBox{std::min((*v)[0], (*v)[2]), std::min((*v)[1], (*v)[3]),
                   std::max((*v)[0], (*v)[2]), std::max((*v)[1], (*v)[3])};
}

PageList readPageList(Document& document) {
    PageList list;
    const Dict* catalog = document.catalog();
    const Object& pages = catalog != nullptr ? catalog->get("Pages") : Object();
    if (const std::optional<Ref> root = pages.asRef()) {
        const Object rootNode = document.fetch(*root);
        if (const Dict* dict = rootNode.asDict()) {
            list.declaredCount = document.resolve(dict->get("Count")).asInt();
            list.rootMediaBox = pageBoxOf(document, dict->get("MediaBox"));
        }
        TreeWalk(document, list).node(*root, Inherited{}, 0);
    }
    if (list.pages.empty()) {
        collectPages(document, list);
    }
    return list;
}

std::vector<Stream> contentStreams(Document& document, const Object& contents) {
    constexpr int kMaxDepth = 16;
    std::vector<Stream> streams;
    std::set<Ref> followed;
    const auto add = [&](const auto& self, const Object& value, int depth) -> void {
        if (streams.size() == kMaxContentStreams) {
            return;
        }
        if (const std::optional<Ref> ref = value.asRef(); ref && !followed.insert(*ref).second) {
            return;
        }
        const Object object = document.resolve(value);
        if (const Stream* stream = object.asStream()) {
            streams.push_back(*stream);
        } else if (const Array* array = object.asArray(); array && depth < kMaxDepth) {
            for (const Object& element : *array) {
                self(self, element, depth + 1);
            }
        }
    };
    add(add, contents, 0);
    return streams;
}

}  // namespace reader::pdf
