#include "pages/links.h"

#include "pages/destination.h"
#include "pages/page_list.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

// The URI of a URI action; nothing for another action.
std::optional<std::string> uriOf(Document& document, const Object& action) {
    const Object resolved = document.resolve(action);
    const Dict* dict = resolved.asDict();
    if (dict == nullptr || !document.resolve(dict->get("S")).isName("URI")) {
        return std::nullopt;
    }
    const Object uri = document.resolve(dict->get("URI"));
    const String* text = uri.asString();
    if (text == nullptr || text->bytes.empty()) {
        return std::nullopt;
    }
    return text->bytes;
}

}  // namespace

std::vector<Link> readLinks(Document& document, DestinationReader& destinations, const Dict& page) {
    std::vector<Link> links;
    const Object annotations = document.resolve(page.get("Annots"));
    const Array* array = annotations.asArray();
    if (array == nullptr) {
        return links;
    }
    for (size_t i = 0; i < array->size() && i < kMaxPageAnnotations; ++i) {
        const Object annotation = document.resolve((*array)[i]);
        const Dict* dict = annotation.asDict();
        if (dict == nullptr || !document.resolve(dict->get("Subtype")).isName("Link")) {
            continue;
        }
        const std::optional<PageBox> rect = pageBoxOf(document, dict->get("Rect"));
        if (!rect) {
            continue;
        }
        Link link;
        link.rect = {rect->x0, rect->y0, rect->x1, rect->y1};
        if (std::optional<Destination> target = destinations.targetOf(*dict)) {
            link.destination = *target;
        } else if (std::optional<std::string> uri = uriOf(document, dict->get("A"))) {
            link.kind = Link::Kind::kUri;
            link.uri = std::move(*uri);
        } else {
            continue;
        }
        links.push_back(std::move(link));
    }
    return links;
}

}  // namespace reader::pdf
