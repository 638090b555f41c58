// A graphics state parameter dictionary (what "gs" sets): each entry it gives, in the drawing
// surface's terms where it has them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "object/object.h"
#include "surface/canvas.h"

namespace reader::pdf {

class Document;

struct ExtGState {
    std::optional<double> lineWidth;                    ///< LW
    std::optional<surface::canvas::LineCap> lineCap;    ///< LC
    std::optional<surface::canvas::LineJoin> lineJoin;  ///< LJ
    std::optional<double> miterLimit;                   ///< ML
    /// D: dash lengths and phase.
    std::optional<std::pair<std::vector<double>, double>> dash;
    std::optional<std::string> renderingIntent;  ///< RI
    std::optional<double> flatness;              ///< FL
    std::optional<bool> strokeAdjustment;        ///< SA
    std::optional<double> strokeAlpha;           ///< CA, 0 to 1
    std::optional<double> fillAlpha;             ///< ca, 0 to 1
    /// BM: the first mode of a list this surface knows; Normal for /Compatible.
    std::optional<surface::canvas::BlendMode> blendMode;
    /// SMask: a null object for /None, which ends the soft mask; the mask dictionary otherwise.
    std::optional<Object> softMask;
    std::optional<bool> alphaIsShape;  ///< AIS
    std::optional<bool> textKnockout;  ///< TK
    /// Font: the font dictionary (as given, a reference mostly) and the size.
    std::optional<std::pair<Object, double>> font;

    /// The entries of the dictionary `object` (or what it refers to); entries of the wrong
    /// kind or out of range are left out, as if not given.
    static ExtGState read(Document& document, const Object& object);
};

/// A dash pattern of `lengths` (an array of at most 64 lengths, none negative) and `phase`, as
/// the d operator and the /D entry give it; nothing when it is not one.
std::optional<std::pair<std::vector<double>, double>> dashPatternOf(Document& document,
                                                                    const Object& lengths,
                                                                    const Object& phase);

/// The blend mode `name` names, or nothing for a name this surface does not know.
std::optional<surface::canvas::BlendMode> blendModeNamed(std::string_view name);

}  // namespace reader::pdf
