// Installed faces standing in for fonts a document does not embed, found through fontconfig:
// the base 14 by their metric-compatible free faces, other fonts by name and descriptor flags,
// and Chinese, Japanese and Korean fonts by the collection their CIDs belong to and by style.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace reader::pdf {

/// What is known of a font that is not embedded.
struct SubstituteRequest {
    std::string name;  ///< the BaseFont, without a subset's tag
    bool fixedPitch = false;
    bool serif = false;
    bool bold = false;
    bool italic = false;
    /// The CID collection's ordering (GB1, CNS1, Japan1, Korea1), or empty.
    std::string ordering;
};

/// An installed face: its file and its index in a collection.
struct SubstituteFace {
    std::string file;
    int index = 0;
};

/// The face fontconfig chooses for `request`; nothing when it finds none.
std::optional<SubstituteFace> findSubstitute(const SubstituteRequest& request);

/// The family asked of fontconfig for `request`: a free face for each base-14 family, an
/// installed face of the font's own name, a CJK face by collection and style, a Latin face by
/// the descriptor's flags otherwise.
std::string substituteFamily(const SubstituteRequest& request);

}  // namespace reader::pdf
