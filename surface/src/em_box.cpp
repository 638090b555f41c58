#include "surface/em_box.h"

#include <cstring>

namespace surface {

namespace {

// Big-endian reads that answer nothing past the table's end.
class TableReader {
  public:
    explicit TableReader(std::span<const uint8_t> table) : table_(table) {}

    std::optional<uint16_t> u16(size_t at) const {
        if (at + 2 > table_.size()) {
            return std::nullopt;
        }
        return uint16_t(table_[at] << 8 | table_[at + 1]);
    }
    std::optional<int16_t> i16(size_t at) const {
        const auto v = u16(at);
        return v ? std::optional<int16_t>(int16_t(*v)) : std::nullopt;
    }
    bool tagIs(size_t at, const char (&tag)[5]) const {
        return at + 4 <= table_.size() && std::memcmp(&table_[at], tag, 4) == 0;
    }
    /// The place an offset stored at `at` points to, counted from `base`; nothing for 0.
    std::optional<size_t> offset(size_t base, size_t at) const {
        const auto v = u16(at);
        return v && *v != 0 ? std::optional<size_t>(base + *v) : std::nullopt;
    }

  private:
    std::span<const uint8_t> table_;
};

// The BaseScript table of the Han script, else of the default script, else the first one.
std::optional<size_t> baseScript(const TableReader& t, size_t scriptList) {
    const auto count = t.u16(scriptList);
    if (!count || *count == 0) {
        return std::nullopt;
    }
    auto scriptTagged = [&](const char(&tag)[5]) -> std::optional<size_t> {
        for (size_t i = 0; i < *count; ++i) {
            const size_t record = scriptList + 2 + 6 * i;
            if (t.tagIs(record, tag)) {
                return t.offset(scriptList, record + 4);
            }
        }
        return std::nullopt;
    };
    if (const auto han = scriptTagged("hani")) {
        return han;
    }
    if (const auto fallback = scriptTagged("DFLT")) {
        return fallback;
    }
    return t.offset(scriptList, scriptList + 2 + 4);
}

}  // namespace

std::optional<EmBox> ideographicEmBox(std::span<const uint8_t> baseTable, int unitsPerEm) {
    const TableReader t(baseTable);
    if (t.u16(0) != uint16_t{1} || unitsPerEm <= 0) {
        return std::nullopt;
    }
    const auto axis = t.offset(0, 4);  // the horizontal axis
    if (!axis) {
        return std::nullopt;
    }
    const auto tagList = t.offset(*axis, *axis);
    const auto scriptList = t.offset(*axis, *axis + 2);
    if (!tagList || !scriptList) {
        return std::nullopt;
    }
    const auto script = baseScript(t, *scriptList);
    const auto values = script ? t.offset(*script, *script) : std::nullopt;
    const auto tagCount = t.u16(*tagList);
    const auto coordCount = values ? t.u16(*values + 2) : std::nullopt;
    if (!values || !tagCount || !coordCount) {
        return std::nullopt;
    }

    // The baselines' coordinates, in the order of the tag list.
    std::optional<int> bottom, top;
    for (size_t i = 0; i < *tagCount && i < *coordCount; ++i) {
        const size_t tag = *tagList + 2 + 4 * i;
        const bool isBottom = t.tagIs(tag, "ideo");
        if (!isBottom && !t.tagIs(tag, "idtp")) {
            continue;
        }
        const auto coord = t.offset(*values, *values + 4 + 2 * i);
        const auto format = coord ? t.u16(*coord) : std::nullopt;
        const auto value = coord ? t.i16(*coord + 2) : std::nullopt;
        if (!format || *format < 1 || *format > 3 || !value) {
            continue;
        }
        (isBottom ? bottom : top) = *value;
    }
    if (!bottom) {
        return std::nullopt;
    }
    const int boxTop = top && *top > *bottom ? *top : *bottom + unitsPerEm;
    return EmBox{*bottom, boxTop};
}

double emAscentShare(std::optional<EmBox> box, double ascent, double descent) {
    if (box) {
        return double(box->top) / double(box->top - box->bottom);
    }
    return ascent + descent > 0 ? ascent / (ascent + descent) : 1.0;
}

}  // namespace surface
