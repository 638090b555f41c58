// The small font programs of tests/fixtures/fonts (made by scripts/make_font_fixtures.py) and
// the metrics written beside them, and PDF objects that embed them.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace reader::fixtures {

inline std::string fontFixture(const std::string& name) {
    std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/fonts/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

/// One character of a fixture font: its glyph (or CID) and its advance in thousandths.
struct FixtureGlyph {
    uint32_t glyph = 0;
    int width = 0;
};

/// The metrics file `name`: "code glyph width" lines (a CJK file has "hex-code cid" lines).
inline std::map<uint32_t, FixtureGlyph> fontFixtureMetrics(const std::string& name, bool hex) {
    std::istringstream in(fontFixture(name));
    std::map<uint32_t, FixtureGlyph> glyphs;
    std::string code;
    while (in >> code) {
        FixtureGlyph g;
        in >> g.glyph;
        if (!hex) {
            in >> g.width;
        }
        glyphs[uint32_t(std::stoul(code, nullptr, hex ? 16 : 10))] = g;
    }
    return glyphs;
}

/// "/FirstChar 32 /Widths [...]" for the printable ASCII codes of a metrics file.
inline std::string widthsEntry(const std::map<uint32_t, FixtureGlyph>& metrics) {
    std::string out = "/FirstChar 32 /LastChar 126 /Widths [";
    for (uint32_t code = 32; code <= 126; ++code) {
        const auto found = metrics.find(code);
        out += std::to_string(found != metrics.end() ? found->second.width : 0) + " ";
    }
    return out + "]";
}

/// A string of two-byte codes in hexadecimal, each the glyph (or CID) of a character.
inline std::string twoByteCodes(const std::map<uint32_t, FixtureGlyph>& metrics,
                                const std::u32string& text) {
    static const char* digits = "0123456789ABCDEF";
    std::string out = "<";
    for (const char32_t c : text) {
        const auto found = metrics.find(uint32_t(c));
        const uint32_t code = found != metrics.end() ? found->second.glyph : 0;
        for (int shift = 12; shift >= 0; shift -= 4) {
            out += digits[(code >> shift) & 0xF];
        }
    }
    return out + ">";
}

}  // namespace reader::fixtures
