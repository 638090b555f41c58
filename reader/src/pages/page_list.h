// The pages of a PDF document in order, found by walking its page tree, with the attributes
// each takes from its ancestors: resources, boxes and rotation.
#pragma once

#include <optional>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

class Document;

/// A rectangle in default user space, its corners ordered (x0 <= x1, y0 <= y1).
struct PageBox {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;
    friend bool operator==(const PageBox&, const PageBox&) = default;
};

struct PageEntry {
    Ref ref;
    Object page;            ///< the page dictionary
    Object resources;       ///< the page's or the nearest ancestor's, resolved; null when none
    Object resourcesEntry;  ///< the same as that node wrote it: a reference or the dictionary
    std::optional<PageBox> mediaBox;
    std::optional<PageBox> cropBox;
    int rotate = 0;  ///< 0, 90, 180 or 270, clockwise
    double userUnit = 1;
};

struct PageList {
    std::vector<PageEntry> pages;
    /// The /Count of the tree's root, when it has one.
    std::optional<int64_t> declaredCount;
    /// The root's MediaBox, for pages that name none anywhere.
    std::optional<PageBox> rootMediaBox;
    /// The tree could not be walked: the pages are the /Type /Page objects in file order.
    bool collected = false;
};

/// The most pages a document is read with; pages past it are not listed.
inline constexpr size_t kMaxPages = size_t(1) << 20;

/// The leaves of the document's page tree, in order. A kid met again (a loop) is not followed,
/// a page without /Contents counts as a blank page, and a tree that yields no page at all
/// gives way to the /Type /Page objects in file order.
PageList readPageList(Document& document);

/// Content streams a page lists at most; those past them are not read.
inline constexpr size_t kMaxContentStreams = 65536;

/// The streams a page's /Contents names, in order: arrays (nested at most 16 deep) followed
/// depth first, a stream listed again, or an array listing itself, followed once.
std::vector<Stream> contentStreams(Document& document, const Object& contents);

/// `box` as a page box: an array of four numbers; nothing otherwise.
std::optional<PageBox> pageBoxOf(Document& document, const Object& box);

}  // namespace reader::pdf
