#include "navigation/links.h"

#include <algorithm>
#include <cmath>

#include "navigation/destination.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

std::optional<UserRect> rectOf(Document& document, const Object& value) {
    const Object resolved = document.resolve(value);
    const Array* array = resolved.asArray();
    if (array == nullptr || array->size() != 4) {
        return std::nullopt;
    }
    double v[4];
    for (size_t i = 0; i < 4; ++i) {
        const std::optional<double> number = document.resolve((*array)[i]).asNumber();
        if (!number || !std::isfinite(*number)) {
            return std::nullopt;
        }
        v[i] = *number;
    }
    return UserRect{std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]),
                    std::max(v[1], v[3])};
}

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
        const std::optional<UserRect> rect = rectOf(document, dict->get("Rect"));
        if (!rect) {
            continue;
        }
        Link link;
        link.rect = *rect;
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
