#include "pages/annotations.h"

#include <algorithm>
#include <cmath>

#include "xref/document.h"
#include "xref/numbers.h"

namespace reader::pdf {

namespace {

// Annotations of one page read at most.
constexpr size_t kMaxAnnotations = 10000;

constexpr int64_t kHidden = 2;
constexpr int64_t kPrint = 4;
constexpr int64_t kNoView = 32;

using Matrix = std::array<double, 6>;

Matrix multiply(const Matrix& m, const Matrix& n) {  // m, then n
    return {m[0] * n[0] + m[1] * n[2],        m[0] * n[1] + m[1] * n[3],
            m[2] * n[0] + m[3] * n[2],        m[2] * n[1] + m[3] * n[3],
            m[4] * n[0] + m[5] * n[2] + n[4], m[4] * n[1] + m[5] * n[3] + n[5]};
}

// The appearance stream the annotation shows now: /AP /N itself, or its state named by /AS.
Object normalAppearance(Document& document, const Dict& annotation) {
    const Object appearances = document.resolve(annotation.get("AP"));
    const Dict* dict = appearances.asDict();
    if (dict == nullptr) {
        return {};
    }
    Object normal = document.resolve(dict->get("N"));
    if (normal.asStream() != nullptr) {
        return normal;
    }
    const Dict* states = normal.asDict();
    const std::optional<std::string_view> state = document.resolve(annotation.get("AS")).asName();
    if (states == nullptr || !state) {
        return {};
    }
    Object chosen = document.resolve(states->get(*state));
    return chosen.asStream() != nullptr ? chosen : Object();
}

// The form's matrix, then the one that maps its transformed bounding box onto `rect`.
std::optional<Matrix> placement(Document& document, const Stream& form, const PageBox& rect) {
    const Matrix own =
        finiteNumbers<6>(document, form.dict.get("Matrix")).value_or(Matrix{1, 0, 0, 1, 0, 0});
    const std::optional<PageBox> box = pageBoxOf(document, form.dict.get("BBox"));
    if (!box) {
        return std::nullopt;
    }
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (const auto& [x, y] : {std::pair{box->x0, box->y0}, std::pair{box->x1, box->y0},
                               std::pair{box->x0, box->y1}, std::pair{box->x1, box->y1}}) {
        const double tx = own[0] * x + own[2] * y + own[4];
        const double ty = own[1] * x + own[3] * y + own[5];
        x0 = std::min(x0, tx);
        y0 = std::min(y0, ty);
        x1 = std::max(x1, tx);
        y1 = std::max(y1, ty);
    }
    // A box of no width or height is placed at the rectangle's corner, unscaled.
    const double sx = x1 > x0 ? (rect.x1 - rect.x0) / (x1 - x0) : 1;
    const double sy = y1 > y0 ? (rect.y1 - rect.y0) / (y1 - y0) : 1;
    const Matrix fit = {sx, 0, 0, sy, rect.x0 - x0 * sx, rect.y0 - y0 * sy};
    return multiply(own, fit);
}

}  // namespace

std::vector<AnnotationAppearance> annotationAppearances(Document& document, const Dict& page,
                                                        bool printing) {
    std::vector<AnnotationAppearance> appearances;
    const Object annotations = document.resolve(page.get("Annots"));
    const Array* list = annotations.asArray();
    if (list == nullptr) {
        return appearances;
    }
    for (size_t i = 0; i < list->size() && i < kMaxAnnotations; ++i) {
        const Object annotation = document.resolve((*list)[i]);
        const Dict* dict = annotation.asDict();
        const std::optional<PageBox> rect =
            dict != nullptr ? pageBoxOf(document, dict->get("Rect")) : std::nullopt;
        if (!rect) {
            continue;
        }
        const int64_t flags = document.resolve(dict->get("F")).asInt().value_or(0);
        if ((flags & kHidden) != 0 || (printing ? (flags & kPrint) == 0 : (flags & kNoView) != 0)) {
            continue;
        }
        AnnotationAppearance appearance;
        appearance.rect = *rect;
        appearance.oc = dict->get("OC");
        appearance.form = normalAppearance(document, *dict);
        if (const Stream* form = appearance.form.asStream()) {
            const std::optional<Matrix> matrix = placement(document, *form, *rect);
            if (!matrix) {
                continue;
            }
            appearance.matrix = *matrix;
        } else if (!document.resolve(dict->get("Subtype")).isName("Text")) {
            continue;  // without an appearance only a text note has a look of its own
        }
        appearances.push_back(std::move(appearance));
    }
    return appearances;
}

}  // namespace reader::pdf
