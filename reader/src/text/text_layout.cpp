#include "text/text_layout.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <string>

namespace reader::pdf {

namespace {

using surface::canvas::Matrix;
using surface::canvas::PointF;

// Gaps and offsets below are fractions of a line's height (its cells' span across it).
constexpr double kWordGap = 0.13;          // a gap wider than this parts words
constexpr double kCloseSetWordGap = 0.9;   // between ideographs, wider than this
constexpr double kLineBreakGap = 1.0;      // a gap wider than this on one row parts lines
constexpr double kBackStep = 0.6;          // a step back further than this starts a line
constexpr double kRowOverlap = 0.4;        // cells on one row share this much of their height
constexpr double kBlockLineGap = 1.0;      // lines of one block stand no further apart
constexpr double kBlockSizeRatio = 1.5;    // nor differ in height by more
constexpr double kColumnGap = 0.5;         // a gap between columns is at least this wide
constexpr size_t kMaxCutBlocks = 4000;     // more blocks are read top to bottom without cuts

// A character in the reading space of its direction, where it runs along x and the lines
// follow each other down y.
struct Glyph {
    char32_t c = 0;
    TextDirection direction = TextDirection::kLeftToRight;
    double start = 0;  // along the line
    double end = 0;
    double top = 0;  // across it
    double bottom = 0;
    double baseline = 0;  // across it
    TextBox box;  // on the page
    double height() const { return bottom - top; }
};

// The page's coordinate across lines of `direction` at `y` across them in reading space.
double acrossOnPage(TextDirection direction, double y) {
    return direction == TextDirection::kLeftToRight || direction == TextDirection::kBottomToTop
               ? y
               : -y;
}

PointF toReading(TextDirection direction, PointF p) {
    switch (direction) {
        case TextDirection::kLeftToRight: return p;
        case TextDirection::kTopToBottom: return {p.y, -p.x};
        case TextDirection::kRightToLeft: return {-p.x, -p.y};
        case TextDirection::kBottomToTop: return {-p.y, p.x};
    }
    return p;
}

TextDirection directionOf(const Matrix& cell) {
    double dx = cell.a;
    double dy = cell.b;
    if (std::abs(dx) + std::abs(dy) <= 1e-9 * (std::abs(cell.c) + std::abs(cell.d))) {
        // A glyph without advance runs across its up direction.
        dx = -cell.d;
        dy = cell.c;
    }
    if (std::abs(dx) >= std::abs(dy)) {
        return dx >= 0 ? TextDirection::kLeftToRight : TextDirection::kRightToLeft;
    }
    return dy > 0 ? TextDirection::kTopToBottom : TextDirection::kBottomToTop;
}

// Where `placed` stands; nothing for a character that cannot be read or lies wholly off the
// page.
std::optional<Glyph> glyphOf(const PlacedChar& placed, double width, double height) {
    if (placed.c < 0x20 || (placed.c >= 0x7F && placed.c < 0xA0) || placed.c == 0xFFFD ||
        !placed.cell.finite()) {
        return std::nullopt;
    }
    Glyph glyph;
    glyph.c = placed.c;
    glyph.direction = directionOf(placed.cell);
    const PointF corners[4] = {placed.cell.apply({0, 0}), placed.cell.apply({1, 0}),
                               placed.cell.apply({0, 1}), placed.cell.apply({1, 1})};
    glyph.box = {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    glyph.start = glyph.top = HUGE_VAL;
    glyph.end = glyph.bottom = -HUGE_VAL;
    for (const PointF corner : corners) {
        glyph.box = {std::min(glyph.box.left, corner.x), std::min(glyph.box.top, corner.y),
                     std::max(glyph.box.right, corner.x), std::max(glyph.box.bottom, corner.y)};
        const PointF r = toReading(glyph.direction, corner);
        glyph.start = std::min(glyph.start, r.x);
        glyph.end = std::max(glyph.end, r.x);
        glyph.top = std::min(glyph.top, r.y);
        glyph.bottom = std::max(glyph.bottom, r.y);
    }
    glyph.baseline = toReading(glyph.direction, placed.cell.apply({0.5, placed.baseline})).y;
    // A character partly on the page (a page number on its edge) is the page's.
    const TextBox& box = glyph.box;
    if (!(glyph.height() > 0) || box.right < 0 || box.bottom < 0 || box.left > width ||
        box.top > height) {
        return std::nullopt;
    }
    return glyph;
}

struct Line {
    TextDirection direction = TextDirection::kLeftToRight;
    std::vector<Glyph> glyphs;
    // Its extent in its reading space.
    double start = HUGE_VAL;
    double end = -HUGE_VAL;
    double top = HUGE_VAL;
    double bottom = -HUGE_VAL;
    double height() const { return bottom - top; }
    void add(const Glyph& glyph) {
        glyphs.push_back(glyph);
        start = std::min(start, glyph.start);
        end = std::max(end, glyph.end);
        top = std::min(top, glyph.top);
        bottom = std::max(bottom, glyph.bottom);
    }
};

double overlap(double top1, double bottom1, double top2, double bottom2) {
    return std::min(bottom1, bottom2) - std::max(top1, top2);
}

// Whether `glyph` goes on `line`, which the page showed just before it.
bool continues(const Line& line, const Glyph& glyph) {
    if (line.direction != glyph.direction) {
        return false;
    }
    const Glyph& last = line.glyphs.back();
    const double height = std::max(last.height(), glyph.height());
    if (overlap(last.top, last.bottom, glyph.top, glyph.bottom) <
        kRowOverlap * std::min(last.height(), glyph.height())) {
        return false;
    }
    const double gap = glyph.start - last.end;
    return gap >= -kBackStep * height && gap <= kLineBreakGap * height;
}

// The same character drawn again almost where it was, as a bold effect is often made.
bool redrawn(const Line& line, const Glyph& glyph) {
    const Glyph& last = line.glyphs.back();
    return line.direction == glyph.direction && last.c == glyph.c && std::abs(last.start - glyph.start) < 0.15 * glyph.height() &&
           std::abs(last.top - glyph.top) < 0.15 * glyph.height();
}

std::vector<Line> linesOf(std::span<const PlacedChar> chars, double width, double height) {
    std::vector<Line> lines;
    for (const PlacedChar& placed : chars) {
        const std::optional<Glyph> glyph = glyphOf(placed, width, height);
        if (!glyph) {
            continue;
        }
        // Asked first: a wide glyph drawn again steps back further than a line goes on.
        if (!lines.empty() && redrawn(lines.back(), *glyph)) {
            continue;
        }
        if (!lines.empty() && continues(lines.back(), *glyph)) {
            lines.back().add(*glyph);
            continue;
        }
        Line line;
        line.direction = glyph->direction;
        line.add(*glyph);
        lines.push_back(std::move(line));
    }
    return lines;
}

// A line drawn twice over itself (shadowed or bold text) is read once.
void dropRepeatedLines(std::vector<Line>& lines) {
    std::multimap<std::u32string, size_t> seen;
    std::vector<Line> kept;
    for (Line& line : lines) {
        std::u32string text;
        for (const Glyph& glyph : line.glyphs) {
            text += glyph.c;
        }
        const double tolerance = 0.3 * line.height();
        bool repeated = false;
        for (auto [at, to] = seen.equal_range(text); at != to && !repeated; ++at) {
            const Line& earlier = kept[at->second];
            repeated = earlier.direction == line.direction &&
                       std::abs(earlier.start - line.start) < tolerance &&
                       std::abs(earlier.top - line.top) < tolerance;
        }
        if (!repeated) {
            seen.emplace(std::move(text), kept.size());
            kept.push_back(std::move(line));
        }
    }
    lines = std::move(kept);
}

TextBox unite(const TextBox& a, const TextBox& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// The page box of the gap between two characters of one line.
TextBox gapBox(TextDirection direction, const TextBox& before, const TextBox& after) {
    const TextBox both = unite(before, after);
    switch (direction) {
        case TextDirection::kLeftToRight:
            return {before.right, both.top, std::max(before.right, after.left), both.bottom};
        case TextDirection::kRightToLeft:
            return {std::min(after.right, before.left), both.top, before.left, both.bottom};
        case TextDirection::kTopToBottom:
            return {both.left, before.bottom, both.right, std::max(before.bottom, after.top)};
        case TextDirection::kBottomToTop:
            return {both.left, std::min(after.bottom, before.top), both.right, before.top};
    }
    return both;
}

bool isLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0x24F);
}

bool isLowerCase(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= 0xDF && c <= 0xFF); }

// The characters of `line` with the spaces between its words.
TextLine textLineOf(const Line& line) {
    TextLine out;
    out.direction = line.direction;
    out.size = line.height();
    out.box = line.glyphs.front().box;
    // The baseline most of its characters stand on, those raised or lowered aside.
    std::vector<double> baselines;
    for (const Glyph& glyph : line.glyphs) {
        baselines.push_back(glyph.baseline);
    }
    std::nth_element(baselines.begin(), baselines.begin() + long(baselines.size() / 2),
                     baselines.end());
    out.baseline = acrossOnPage(line.direction, baselines[baselines.size() / 2]);
    const Glyph* previous = nullptr;
    for (const Glyph& glyph : line.glyphs) {
        out.box = unite(out.box, glyph.box);
        if (previous != nullptr) {
            if (isSpace(glyph.c) && isSpace(previous->c)) {
                continue;
            }
            const double gap = glyph.start - previous->end;
            const bool closeSet = closeSetCharacter(glyph.c) && closeSetCharacter(previous->c);
            const double threshold = (closeSet ? kCloseSetWordGap : kWordGap) * line.height();
            if (!isSpace(glyph.c) && !isSpace(previous->c) && gap > threshold) {
                out.chars.push_back({U' ', gapBox(line.direction, previous->box, glyph.box), true});
            }
        }
        out.chars.push_back({isSpace(glyph.c) ? U' ' : glyph.c, glyph.box, false});
        previous = &glyph;
    }
    while (out.chars.size() > 1 && out.chars.back().c == U' ') {
        out.chars.pop_back();
    }
    return out;
}

// Whether `next` goes on in the block whose last line is `last` and whose lines span
// `start` to `end` along them.
bool stacks(const Line& last, double start, double end, const Line& next) {
    if (last.direction != next.direction) {
        return false;
    }
    const double larger = std::max(last.height(), next.height());
    const double smaller = std::min(last.height(), next.height());
    if (larger > kBlockSizeRatio * smaller) {
        return false;
    }
    const double gap = next.top - last.bottom;
    return gap >= -kRowOverlap * smaller && gap <= kBlockLineGap * larger && next.start < end &&
           next.end > start;
}

struct Block {
    std::vector<TextLine> lines;
    TextBox box;
    size_t chars = 0;
    // Its last line, and the span of its lines along them.
    const Line* last = nullptr;
    double start = 0;
    double end = 0;
};

// A line goes on in the latest of the last few blocks it stacks under, not only the last one:
// a page that shows its columns row by row goes back and forth between their blocks.
constexpr size_t kStackLookBack = 4;

std::vector<Block> blocksOf(const std::vector<Line>& lines) {
    std::vector<Block> blocks;
    for (const Line& line : lines) {
        Block* block = nullptr;
        for (size_t back = 1; back <= std::min(blocks.size(), kStackLookBack); ++back) {
            Block& earlier = blocks[blocks.size() - back];
            if (stacks(*earlier.last, earlier.start, earlier.end, line)) {
                block = &earlier;
                break;
            }
        }
        if (block == nullptr) {
            block = &blocks.emplace_back();
            block->start = line.start;
            block->end = line.end;
        }
        TextLine text = textLineOf(line);
        block->box = block->lines.empty() ? text.box : unite(block->box, text.box);
        block->chars += text.chars.size();
        block->lines.push_back(std::move(text));
        block->start = std::min(block->start, line.start);
        block->end = std::max(block->end, line.end);
        block->last = &line;
    }
    return blocks;
}

// A line ending in a hyphen after a letter, followed by one starting in lower case, breaks a
// word in two.
void markHyphens(Block& block) {
    for (size_t i = 0; i + 1 < block.lines.size(); ++i) {
        std::vector<TextChar>& chars = block.lines[i].chars;
        const std::vector<TextChar>& next = block.lines[i + 1].chars;
        const size_t n = chars.size();
        block.lines[i].hyphenated = n >= 2 && (chars[n - 1].c == U'-' || chars[n - 1].c == 0xAD) &&
                                    isLetter(chars[n - 2].c) && !next.empty() &&
                                    isLowerCase(next.front().c);
    }
}

// A block's box in the reading space of the page's main direction.
struct Placed {
    size_t block = 0;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Groups of `items` parted by gaps of at least `minimum` between the spans `from` to `to`
// give them, in order; one group when there is no such gap.
template <class From, class To>
std::vector<std::vector<Placed>> partsOf(std::vector<Placed> items, From from, To to,
                                         double minimum) {
    std::sort(items.begin(), items.end(),
              [&](const Placed& a, const Placed& b) { return from(a) < from(b); });
    std::vector<std::vector<Placed>> parts(1);
    double reach = to(items.front());
    for (const Placed& item : items) {
        if (!parts.back().empty() && from(item) - reach >= minimum) {
            parts.emplace_back();
        }
        parts.back().push_back(item);
        reach = std::max(reach, to(item));
    }
    return parts;
}

// Reads blocks as a page's layout is read: split at gaps running the whole height of a region
// (between columns) first, read left to right, else at gaps running its whole width, read top
// to bottom, and so on within each part.
void readRegion(std::vector<Placed> items, double columnGap, std::vector<size_t>& order) {
    if (items.size() <= 1) {
        for (const Placed& item : items) {
            order.push_back(item.block);
        }
        return;
    }
    auto columns = partsOf(
        items, [](const Placed& p) { return p.left; }, [](const Placed& p) { return p.right; },
        columnGap);
    if (columns.size() == 1) {
        columns = partsOf(
            items, [](const Placed& p) { return p.top; },
            [](const Placed& p) { return p.bottom; }, 1e-6);
    }
    if (columns.size() == 1) {
        std::sort(items.begin(), items.end(), [](const Placed& a, const Placed& b) {
            return a.top != b.top ? a.top < b.top : a.left < b.left;
        });
        for (const Placed& item : items) {
            order.push_back(item.block);
        }
        return;
    }
    for (std::vector<Placed>& part : columns) {
        readRegion(std::move(part), columnGap, order);
    }
}

}  // namespace

bool isSpace(char32_t c) { return c == U' ' || c == U'\t' || c == 0xA0 || c == 0x3000; }

bool closeSetCharacter(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) ||   // CJK radicals to unified ideographs
           (c >= 0xAC00 && c <= 0xD7AF) ||   // hangul syllables
           (c >= 0xF900 && c <= 0xFAFF) ||   // compatibility ideographs
           (c >= 0xFE30 && c <= 0xFE4F) ||   // vertical forms
           (c >= 0xFF00 && c <= 0xFFEF) ||   // full-width forms
           (c >= 0x20000 && c <= 0x3FFFF);  // ideographs beyond the basic plane
}

PageText layOutText(std::span<const PlacedChar> chars, double width, double height) {
    PageText page;
    page.width = width;
    page.height = height;
    std::vector<Line> lines = linesOf(chars, width, height);
    dropRepeatedLines(lines);
    std::vector<Block> blocks = blocksOf(lines);
    if (blocks.empty()) {
        return page;
    }

    // The page reads in the direction most of its characters run.
    std::array<size_t, 4> counts{};
    std::vector<double> heights;
    for (const Block& block : blocks) {
        counts[size_t(block.lines.front().direction)] += block.chars;
        for (const TextLine& line : block.lines) {
            heights.push_back(line.size);
        }
    }
    const auto main = TextDirection(std::max_element(counts.begin(), counts.end()) - counts.begin());
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    const double typical = heights[heights.size() / 2];

    std::vector<Placed> placed;
    for (size_t i = 0; i < blocks.size(); ++i) {
        markHyphens(blocks[i]);
        const TextBox& b = blocks[i].box;
        const PointF p = toReading(main, {b.left, b.top});
        const PointF q = toReading(main, {b.right, b.bottom});
        placed.push_back({i, std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x),
                          std::max(p.y, q.y)});
    }
    std::vector<size_t> order;
    if (placed.size() > kMaxCutBlocks) {
        order.resize(placed.size());
        std::iota(order.begin(), order.end(), size_t(0));
    } else {
        readRegion(std::move(placed), kColumnGap * typical, order);
    }
    for (const size_t i : order) {
        page.blocks.push_back({std::move(blocks[i].lines), blocks[i].box});
    }
    return page;
}

}  // namespace reader::pdf
