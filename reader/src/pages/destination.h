// Destinations as outline entries and links name them: explicit arrays, names looked up in
// the catalog's /Dests dictionary or its /Names /Dests tree, dictionaries holding /D, and
// GoTo actions; each found as a page of the page list and a place on it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "object/object.h"
#include "reader/navigation.h"

namespace reader::pdf {

class Document;
struct PageEntry;

class DestinationReader {
  public:
    /// Destinations of `document`, whose pages are `pages`; both outlive the reader.
    DestinationReader(Document& document, const std::vector<PageEntry>& pages);

    /// The destination `value` gives: an explicit array, a name or string naming one, or a
    /// dictionary with /D; nothing when it is none of these or names nothing.
    std::optional<Destination> destination(const Object& value);
    /// The destination of a GoTo action; nothing for another action.
    std::optional<Destination> goToAction(const Object& action);
    /// The destination `/Dest`, or else the GoTo action `/A`, of `dict` gives.
    std::optional<Destination> targetOf(const Dict& dict);

  private:
    std::optional<Destination> explicitDestination(const Array& array);
    /// What the name `key` stands for in the catalog's /Dests dictionary or /Names tree.
    Object named(std::string_view key);

    Document& document_;
    std::map<Ref, int> pageIndex_;
    int pageCount_;
    /// The /Names /Dests tree by name, read at the first name looked up there.
    std::optional<std::unordered_map<std::string, Object>> nameTree_;
};

}  // namespace reader::pdf
