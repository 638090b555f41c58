#include "pages/destination.h"

#include <cmath>

#include "pages/name_tree.h"
#include "pages/page_list.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

// A name standing for a dictionary with /D, standing for a name... is followed this far.
constexpr int kMaxIndirections = 8;

struct FitName {
    std::string_view name;
    DestinationFit fit;
};
constexpr FitName kFits[] = {
    {"XYZ", DestinationFit::kXyz},     {"Fit", DestinationFit::kFit},
    {"FitH", DestinationFit::kFitH},   {"FitV", DestinationFit::kFitV},
    {"FitR", DestinationFit::kFitR},   {"FitB", DestinationFit::kFitB},
    {"FitBH", DestinationFit::kFitBH}, {"FitBV", DestinationFit::kFitBV},
};

}  // namespace

DestinationReader::DestinationReader(Document& document, const std::vector<PageEntry>& pages)
    : document_(document), pageCount_(int(pages.size())) {
    for (size_t i = 0; i < pages.size(); ++i) {
        pageIndex_.emplace(pages[i].ref, int(i));
    }
}

std::optional<Destination> DestinationReader::explicitDestination(const Array& array) {
    if (array.empty()) {
        return std::nullopt;
    }
    Destination target;
    // A page by reference; files meant to be opened from another write its number from 0.
    if (const std::optional<Ref> ref = array[0].asRef()) {
        if (const auto found = pageIndex_.find(*ref); found != pageIndex_.end()) {
            target.pageIndex = found->second;
        }
    } else if (const std::optional<int64_t> number = array[0].asInt()) {
        if (*number >= 0 && *number < pageCount_) {
            target.pageIndex = int(*number);
        }
    }
    const Object fitName = array.size() > 1 ? document_.resolve(array[1]) : Object();
    for (const FitName& fit : kFits) {
        if (fitName.isName(fit.name)) {
            target.fit = fit.fit;
        }
    }
    // Parameter i after the fit's name; null, missing or not finite leaves it unchanged.
    const auto parameter = [&](size_t i) -> std::optional<double> {
        if (i + 2 >= array.size()) {
            return std::nullopt;
        }
        const std::optional<double> value = document_.resolve(array[i + 2]).asNumber();
        return value && std::isfinite(*value) ? value : std::nullopt;
    };
    switch (target.fit) {
        case DestinationFit::kXyz:
            target.left = parameter(0);
            target.top = parameter(1);
            target.zoom = parameter(2);
            if (target.zoom && *target.zoom <= 0) {
                target.zoom.reset();
            }
            break;
        case DestinationFit::kFitH:
        case DestinationFit::kFitBH: target.top = parameter(0); break;
        case DestinationFit::kFitV:
        case DestinationFit::kFitBV: target.left = parameter(0); break;
        case DestinationFit::kFitR:
            target.left = parameter(0);
            target.bottom = parameter(1);
            target.right = parameter(2);
            target.top = parameter(3);
            break;
        case DestinationFit::kFit:
        case DestinationFit::kFitB: break;
    }
    return target;
}

Object DestinationReader::named(std::string_view key) {
    const Dict* catalog = document_.catalog();
    if (catalog == nullptr) {
        return {};
    }
    // The older /Dests dictionary is keyed by names, the /Names tree by strings; files mix
    // them up, so either kind of key is looked up in both.
    if (const Dict* dests = document_.resolve(catalog->get("Dests")).asDict()) {
        if (Object value = document_.resolve(dests->get(key)); !value.isNull()) {
            return value;
        }
    }
    if (!nameTree_) {
        // Read whole once: an outline or a page of links looks up many names.
        nameTree_.emplace();
        if (const Dict* names = document_.resolve(catalog->get("Names")).asDict()) {
            for (auto& [name, value] : nameTreeEntries(document_, names->get("Dests"))) {
                nameTree_->emplace(std::move(name), std::move(value));  // the first one stands
            }
        }
    }
    const auto found = nameTree_->find(std::string(key));
    return found != nameTree_->end() ? document_.resolve(found->second) : Object();
}

std::optional<Destination> DestinationReader::destination(const Object& value) {
    Object current = document_.resolve(value);
    for (int step = 0; step < kMaxIndirections; ++step) {
        if (const Array* array = current.asArray()) {
            return explicitDestination(*array);
        }
        if (const Dict* dict = current.asDict()) {
            current = document_.resolve(dict->get("D"));
        } else if (const std::optional<std::string_view> name = current.asName()) {
            current = named(*name);
        } else if (const String* string = current.asString()) {
            current = named(string->bytes);
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<Destination> DestinationReader::goToAction(const Object& action) {
    const Object resolved = document_.resolve(action);
    const Dict* dict = resolved.asDict();
    if (dict == nullptr || !document_.resolve(dict->get("S")).isName("GoTo")) {
        return std::nullopt;
    }
    return destination(dict->get("D"));
}

std::optional<Destination> DestinationReader::targetOf(const Dict& dict) {
    if (dict.has("Dest")) {
        return destination(dict.get("Dest"));
    }
    return goToAction(dict.get("A"));
}

}  // namespace reader::pdf
