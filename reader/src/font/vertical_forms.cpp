#include "font/vertical_forms.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace reader::pdf {

namespace {

// Substitutions kept at most; a larger table is damage.
constexpr size_t kMaxForms = 1u << 16;

// Big-endian reading within the table; every read is checked.
class Table {
  public:
    explicit Table(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    std::optional<uint32_t> u16(size_t at) const {
        if (at + 2 > bytes_.size()) {
            return std::nullopt;
        }
        return uint32_t(bytes_[at]) << 8 | bytes_[at + 1];
    }
    std::optional<uint32_t> u32(size_t at) const {
        const auto high = u16(at);
        const auto low = u16(at + 2);
        return high && low ? std::optional(*high << 16 | *low) : std::nullopt;
    }
    bool tagAt(size_t at, std::string_view tag) const {
        return at + 4 <= bytes_.size() &&
               std::string_view(reinterpret_cast<const char*>(bytes_.data() + at), 4) == tag;
    }

  private:
    std::span<const uint8_t> bytes_;
};

// The glyphs a coverage table at `at` lists, in coverage order.
std::vector<uint32_t> coverageOf(const Table& table, size_t at) {
    std::vector<uint32_t> glyphs;
    const auto format = table.u16(at);
    const auto count = table.u16(at + 2);
    if (!format || !count) {
        return glyphs;
    }
    for (uint32_t i = 0; i < *count && glyphs.size() < kMaxForms; ++i) {
        if (*format == 1) {
            const auto glyph = table.u16(at + 4 + 2 * size_t(i));
            if (!glyph) {
                break;
            }
            glyphs.push_back(*glyph);
        } else if (*format == 2) {
            const size_t range = at + 4 + 6 * size_t(i);
            const auto first = table.u16(range);
            const auto last = table.u16(range + 2);
            if (!first || !last) {
                break;
            }
            for (uint32_t g = *first; g <= *last && glyphs.size() < kMaxForms; ++g) {
                glyphs.push_back(g);
            }
        }
    }
    return glyphs;
}

// Adds the single substitution subtable at `at` to `forms`, glyphs already there kept.
void readSingle(const Table& table, size_t at, std::unordered_map<uint32_t, uint32_t>& forms) {
    const auto format = table.u16(at);
    const auto coverage = table.u16(at + 2);
    if (!format || !coverage) {
        return;
    }
    const std::vector<uint32_t> glyphs = coverageOf(table, at + *coverage);
    for (size_t i = 0; i < glyphs.size() && forms.size() < kMaxForms; ++i) {
        std::optional<uint32_t> form;
        if (*format == 1) {
            if (const auto delta = table.u16(at + 4)) {
                form = (glyphs[i] + *delta) & 0xFFFF;
            }
        } else if (*format == 2) {
            const auto count = table.u16(at + 4);
            if (count && i < *count) {
                form = table.u16(at + 6 + 2 * i);
            }
        }
        if (form) {
            forms.emplace(glyphs[i], *form);
        }
    }
}

// The lookups the feature `tag` names, or nothing when the table lacks it.
std::optional<std::vector<uint32_t>> featureLookups(const Table& table, size_t features,
                                                    std::string_view tag) {
    const auto count = table.u16(features);
    for (uint32_t i = 0; count && i < *count; ++i) {
        const size_t record = features + 2 + 6 * size_t(i);
        const auto offset = table.u16(record + 4);
        if (!offset || !table.tagAt(record, tag)) {
            continue;
        }
        const size_t feature = features + *offset;
        std::vector<uint32_t> lookups;
        const auto n = table.u16(feature + 2);
        for (uint32_t k = 0; n && k < *n; ++k) {
            if (const auto index = table.u16(feature + 4 + 2 * size_t(k))) {
                lookups.push_back(*index);
            }
        }
        return lookups;
    }
    return std::nullopt;
}

}  // namespace

std::unordered_map<uint32_t, uint32_t> readVerticalForms(std::span<const uint8_t> gsub) {
    std::unordered_map<uint32_t, uint32_t> forms;
    const Table table(gsub);
    const auto featureList = table.u16(6);
    const auto lookupList = table.u16(8);
    if (!featureList || !lookupList) {
        return forms;
    }
    std::optional<std::vector<uint32_t>> lookups = featureLookups(table, *featureList, "vrt2");
    if (!lookups) {
        lookups = featureLookups(table, *featureList, "vert");
    }
    const auto lookupCount = table.u16(*lookupList);
    if (!lookups || !lookupCount) {
        return forms;
    }
    for (const uint32_t index : *lookups) {
        const auto offset = index < *lookupCount ? table.u16(*lookupList + 2 + 2 * size_t(index))
                                                 : std::nullopt;
        if (!offset) {
            continue;
        }
        const size_t lookup = *lookupList + *offset;
        const auto type = table.u16(lookup);
        const auto subtables = table.u16(lookup + 4);
        for (uint32_t s = 0; type && subtables && s < *subtables; ++s) {
            const auto subtableOffset = table.u16(lookup + 6 + 2 * size_t(s));
            if (!subtableOffset) {
                break;
            }
            size_t subtable = lookup + *subtableOffset;
            if (*type == 7) {
                // An extension: the real subtable's type and a 32-bit offset to it.
                const auto realType = table.u16(subtable + 2);
                const auto far = table.u32(subtable + 4);
                if (!realType || *realType != 1 || !far) {
                    continue;
                }
                subtable += *far;
            } else if (*type != 1) {
                break;
            }
            readSingle(table, subtable, forms);
        }
    }
    return forms;
}

}  // namespace reader::pdf
