#include "text_runs.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>

namespace viewer {

namespace {

using reader::PageText;
using reader::TextBox;
using reader::TextChar;
using reader::TextPosition;

TextBox joined(const TextBox& a, const TextBox& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// One box per line for the characters `chosen` takes; a line whose chosen characters are
// apart still gets one box, from its first chosen character to its last.
template <class Chosen>
std::vector<TextBox> runsOf(const PageText& page, Chosen chosen) {
    std::vector<TextBox> runs;
    for (size_t b = 0; b < page.blocks.size(); ++b) {
        const auto& lines = page.blocks[b].lines;
        for (size_t l = 0; l < lines.size(); ++l) {
            std::optional<TextBox> run;
            for (size_t i = 0; i < lines[l].chars.size(); ++i) {
                const TextChar& c = lines[l].chars[i];
                if (chosen(TextPosition{b, l, i}, c)) {
                    run = run ? joined(*run, c.box) : c.box;
                }
            }
            if (run) {
                runs.push_back(*run);
            }
        }
    }
    return runs;
}

}  // namespace

std::vector<TextBox> runsBetween(const PageText& page, TextPosition from, TextPosition to) {
    if (to < from) {
        std::swap(from, to);
    }
    return runsOf(page,
                  [&](const TextPosition& at, const TextChar&) { return at >= from && at <= to; });
}

std::vector<TextBox> runsInArea(const PageText& page, const TextBox& area) {
    const std::vector<const TextChar*> inside = reader::selectedChars(page, area, true);
    const std::unordered_set<const TextChar*> chosen(inside.begin(), inside.end());
    return runsOf(page,
                  [&](const TextPosition&, const TextChar& c) { return chosen.contains(&c); });
}

}  // namespace viewer
