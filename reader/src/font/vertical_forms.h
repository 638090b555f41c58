// The vertical forms of an OpenType face's glyphs: the single substitutions its glyph
// substitution table gives for vertical writing (the vrt2 feature, else vert), as punctuation
// and brackets turned or moved for columns of CJK text.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>

namespace reader::pdf {

/// Glyph to its vertical form, read from the bytes of a GSUB table; empty when the table is
/// damaged or has neither feature. Only single substitutions (also behind extension lookups)
/// are read.
std::unordered_map<uint32_t, uint32_t> readVerticalForms(std::span<const uint8_t> gsub);

}  // namespace reader::pdf
