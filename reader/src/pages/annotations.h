// What a page's annotations draw: the appearance stream each shows in its present state,
// placed on the page, or a default look for a text note that has none.
#pragma once

#include <array>
#include <vector>

#include "object/object.h"
#include "pages/page_list.h"

namespace reader::pdf {

class Document;

struct AnnotationAppearance {
    /// The appearance: a form XObject stream; null for a text note drawn in the default look.
    Object form;
    /// The form's space to default user space, [a b c d e f] (the form's own /Matrix
    /// included), so that its bounding box lands on the annotation's rectangle.
    std::array<double, 6> matrix = {1, 0, 0, 1, 0, 0};
    PageBox rect;  ///< the annotation's rectangle
    Object oc;     ///< the optional content that governs it, or null
};

/// The appearances of `page`'s annotations, in the order they are drawn. Hidden annotations
/// are left out, and those not to be shown on screen (or, when `printing`, not printed).
std::vector<AnnotationAppearance> annotationAppearances(Document& document, const Dict& page,
                                                        bool printing);

}  // namespace reader::pdf
