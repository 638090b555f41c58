// Optional content: which groups the document's default configuration turns off, and whether
// content that a group or a membership dictionary governs is drawn.
#pragma once

#include <set>

#include "object/object.h"

namespace reader::pdf {

class Document;

class OptionalContent {
  public:
    /// The default configuration (/OCProperties /D) of `document`; all content is visible in
    /// a document that has none.
    static OptionalContent read(Document& document);

    /// Whether content marked with `oc` (a group or a membership dictionary, by reference or
    /// in place; what a /OC entry or a marked-content property list names) is drawn. Anything
    /// else, a missing group included, does not hide content.
    bool visible(Document& document, const Object& oc) const;

  private:
    bool groupOn(const Object& group) const;
    bool expression(Document& document, const Object& expression, int depth) const;

    std::set<Ref> off_;
};

}  // namespace reader::pdf
