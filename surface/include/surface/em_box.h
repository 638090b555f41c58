// Where a face's em box lies against its baseline, so that faces of different vertical metrics
// placed by their em boxes share one baseline.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace surface {

/// The ideographic em box of a face in font units, up from the baseline: `bottom` is usually
/// negative, and `top - bottom` is the em.
struct EmBox {
    int bottom = 0;
    int top = 0;
};

/// The horizontal ideographic em box an OpenType BASE table gives (its "ideo" and "idtp"
/// baselines, for the Han script, else the default script, else the first), or nothing when
/// the table is missing, damaged or has no "ideo" baseline. Without "idtp" the top lies one
/// em above the bottom.
std::optional<EmBox> ideographicEmBox(std::span<const uint8_t> baseTable, int unitsPerEm);

/// The share of the em above the baseline: from the ideographic em box when there is one,
/// otherwise the face's ascent and descent scaled to the em.
double emAscentShare(std::optional<EmBox> box, double ascent, double descent);

}  // namespace surface
