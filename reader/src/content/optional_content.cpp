#include "content/optional_content.h"

#include "xref/document.h"

namespace reader::pdf {

namespace {

// Visibility expressions nested deeper than this are taken as true.
constexpr int kMaxExpressionDepth = 32;

std::vector<Ref> groupRefs(Document& document, const Object& groups) {
    std::vector<Ref> refs;
    const Object resolved = document.resolve(groups);
    if (const Array* array = resolved.asArray()) {
        for (const Object& item : *array) {
            if (const std::optional<Ref> ref = item.asRef()) {
                refs.push_back(*ref);
            }
        }
    } else if (const std::optional<Ref> ref = groups.asRef()) {
        refs.push_back(*ref);
    }
    return refs;
}

}  // namespace

OptionalContent OptionalContent::read(Document& document) {
    OptionalContent content;
    const Dict* catalog = document.catalog();
    const Object properties =
        catalog != nullptr ? document.resolve(catalog->get("OCProperties")) : Object();
    const Dict* dict = properties.asDict();
    if (dict == nullptr) {
        return content;
    }
    const Object configuration = document.resolve(dict->get("D"));
    const Dict* defaults = configuration.asDict();
    if (defaults == nullptr) {
        return content;
    }
    // Every group starts in the base state; the /ON and /OFF lists then set theirs.
    if (document.resolve(defaults->get("BaseState")).isName("OFF")) {
        for (const Ref ref : groupRefs(document, dict->get("OCGs"))) {
            content.off_.insert(ref);
        }
    }
    for (const Ref ref : groupRefs(document, defaults->get("ON"))) {
        content.off_.erase(ref);
    }
    for (const Ref ref : groupRefs(document, defaults->get("OFF"))) {
        content.off_.insert(ref);
    }
    return content;
}

bool OptionalContent::groupOn(const Object& group) const {
    const std::optional<Ref> ref = group.asRef();
    return !ref || !off_.contains(*ref);
}

bool OptionalContent::expression(Document& document, const Object& value, int depth) const {
    const Object resolved = document.resolve(value);
    const Array* array = resolved.asArray();
    if (array == nullptr) {
        return groupOn(value);  // a group
    }
    if (array->empty() || depth > kMaxExpressionDepth) {
        return true;
    }
    const Object op = document.resolve(array->front());
    if (op.isName("Not")) {
        return array->size() < 2 || !expression(document, (*array)[1], depth + 1);
    }
    const bool conjunction = op.isName("And");
    if (!conjunction && !op.isName("Or")) {
        return true;
    }
    for (size_t i = 1; i < array->size(); ++i) {
        if (expression(document, (*array)[i], depth + 1) != conjunction) {
            return !conjunction;
        }
    }
    return conjunction;
}

bool OptionalContent::visible(Document& document, const Object& oc) const {
    const Object resolved = document.resolve(oc);
    const Dict* dict = resolved.asDict();
    if (dict == nullptr) {
        return true;
    }
    const Object type = document.resolve(dict->get("Type"));
    if (type.isName("OCG")) {
        return groupOn(oc);
    }
    if (!type.isName("OCMD")) {
        return true;
    }
    if (dict->has("VE")) {
        return expression(document, dict->get("VE"), 0);
    }
    const std::vector<Ref> groups = groupRefs(document, dict->get("OCGs"));
    if (groups.empty()) {
        return true;
    }
    size_t on = 0;
    for (const Ref ref : groups) {
        on += off_.contains(ref) ? 0 : 1;
    }
    const Object policy = document.resolve(dict->get("P"));
    if (policy.isName("AllOn")) {
        return on == groups.size();
    }
    if (policy.isName("AnyOff")) {
        return on < groups.size();
    }
    if (policy.isName("AllOff")) {
        return on == 0;
    }
    return on > 0;  // AnyOn, the default
}

}  // namespace reader::pdf
