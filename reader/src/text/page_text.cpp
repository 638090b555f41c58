// A page's text written out: in reading order, laid out as on the page, or the part a
// selection takes.
#include "reader/page_text.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "pages/text_string.h"
#include "text/text_layout.h"

namespace reader {

namespace {

using pdf::appendUtf8;

// The characters `chosen` takes, in reading order: a line break between lines, an empty line
// between blocks, and a hyphen that breaks a word across lines left out with its break.
std::string chosenText(const PageText& page,
                       const std::function<bool(const TextPosition&, const TextChar&)>& chosen) {
    std::string out;
    std::optional<TextPosition> last;
    bool joinWord = false;  // the last chosen character ended a hyphenated line
    for (size_t b = 0; b < page.blocks.size(); ++b) {
        const TextBlock& block = page.blocks[b];
        for (size_t l = 0; l < block.lines.size(); ++l) {
            const TextLine& line = block.lines[l];
            for (size_t i = 0; i < line.chars.size(); ++i) {
                const TextPosition at{b, l, i};
                if (!chosen(at, line.chars[i])) {
                    continue;
                }
                if (last && (last->block != b || last->line != l)) {
                    if (joinWord && last->block == b && last->line + 1 == l) {
                        out.pop_back();  // the hyphen
                    } else {
                        out += last->block != b ? "\n\n" : "\n";
                    }
                }
                appendUtf8(out, line.chars[i].c);
                last = at;
                joinWord = line.hyphenated && i + 1 == line.chars.size();
            }
        }
    }
    return out;
}

bool centreIn(const TextBox& box, const TextBox& area) {
    const double x = (box.left + box.right) / 2;
    const double y = (box.top + box.bottom) / 2;
    return x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
}

template <class T>
T median(std::vector<T> values, T fallback) {
    if (values.empty()) {
        return fallback;
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Whether `c` of `line` is in `area`: its middle along the line within the area's span that
// way, its box reaching into the area across the line.
bool inArea(const TextLine& line, const TextChar& c, const TextBox& area) {
    const TextBox& box = c.box;
    if (line.direction == TextDirection::kLeftToRight ||
        line.direction == TextDirection::kRightToLeft) {
        const double middle = (box.left + box.right) / 2;
        return middle >= area.left && middle <= area.right && box.bottom >= area.top &&
               box.top <= area.bottom;
    }
    const double middle = (box.top + box.bottom) / 2;
    return middle >= area.top && middle <= area.bottom && box.right >= area.left &&
           box.left <= area.right;
}

bool contains(const TextBox& box, double x, double y) {
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

double distance(double v, double low, double high) {
    return v < low ? low - v : v > high ? v - high : 0;
}

// The line a point beside the text belongs to: of the lines across whose height it lies, the
// nearest along; else the nearest line below it (`after`) or above it.
std::optional<TextPosition> lineNear(const PageText& page, double x, double y, bool after) {
    std::optional<TextPosition> best;
    double bestAlong = HUGE_VAL;
    double bestAcross = HUGE_VAL;
    for (size_t b = 0; b < page.blocks.size(); ++b) {
        for (size_t l = 0; l < page.blocks[b].lines.size(); ++l) {
            const TextBox& box = page.blocks[b].lines[l].box;
            const double across = y < box.top ? box.top - y : y > box.bottom ? y - box.bottom : 0;
            if (across > 0 && (after ? y > box.bottom : y < box.top)) {
                continue;  // on the wrong side of the point
            }
            const double along = distance(x, box.left, box.right);
            if (across < bestAcross || (across == bestAcross && along < bestAlong)) {
                best = TextPosition{b, l, 0};
                bestAcross = across;
                bestAlong = along;
            }
        }
    }
    return best;
}

// Where a drag's end at (x, y) falls: the character under it, else in the line it lies beside
// the first character after it (`start`) or the last before it.
std::optional<TextPosition> dragEnd(const PageText& page, double x, double y, bool start) {
    for (size_t b = 0; b < page.blocks.size(); ++b) {
        for (size_t l = 0; l < page.blocks[b].lines.size(); ++l) {
            const std::vector<TextChar>& chars = page.blocks[b].lines[l].chars;
            for (size_t i = 0; i < chars.size(); ++i) {
                if (contains(chars[i].box, x, y)) {
                    return TextPosition{b, l, i};
                }
            }
        }
    }
    std::optional<TextPosition> line = lineNear(page, x, y, start);
    if (!line) {
        return std::nullopt;
    }
    const TextLine& near = page.blocks[line->block].lines[line->line];
    const bool horizontal = near.direction == TextDirection::kLeftToRight ||
                            near.direction == TextDirection::kRightToLeft;
    const bool below = y > near.box.bottom;
    const bool above = y < near.box.top;
    const size_t count = near.chars.size();
    // Beside the line the point stands before or after each character along it; below or
    // above it, after all of it or before all of it.
    const auto passed = [&](const TextChar& c) {
        const double middle = horizontal ? (c.box.left + c.box.right) / 2
                                         : (c.box.top + c.box.bottom) / 2;
        const double along = horizontal ? x : y;
        const bool forward = near.direction == TextDirection::kLeftToRight ||
                             near.direction == TextDirection::kTopToBottom;
        return below || (!above && (forward ? middle < along : middle > along));
    };
    size_t i = 0;
    while (i < count && passed(near.chars[i])) {
        ++i;
    }
    if (start) {
        if (i < count) {
            return TextPosition{line->block, line->line, i};
        }
        // After the line's end: the start of the next line, if any.
        if (line->line + 1 < page.blocks[line->block].lines.size()) {
            return TextPosition{line->block, line->line + 1, 0};
        }
        if (line->block + 1 < page.blocks.size()) {
            return TextPosition{line->block + 1, 0, 0};
        }
        return std::nullopt;
    }
    if (i > 0) {
        return TextPosition{line->block, line->line, i - 1};
    }
    // Before the line's start: the end of the line before, if any.
    if (line->line > 0) {
        const TextLine& before = page.blocks[line->block].lines[line->line - 1];
        return TextPosition{line->block, line->line - 1, before.chars.size() - 1};
    }
    if (line->block > 0) {
        const TextBlock& before = page.blocks[line->block - 1];
        return TextPosition{line->block - 1, before.lines.size() - 1,
                            before.lines.back().chars.size() - 1};
    }
    return std::nullopt;
}

}  // namespace

bool dragBounds(const PageText& page, double x1, double y1, double x2, double y2,
                TextPosition& from, TextPosition& to) {
    const std::optional<TextPosition> first = dragEnd(page, x1, y1, true);
    const std::optional<TextPosition> last = dragEnd(page, x2, y2, false);
    if (!first || !last || *last < *first) {
        return false;
    }
    from = *first;
    to = *last;
    return true;
}

std::string plainText(const PageText& page) {
    std::string text = chosenText(page, [](const TextPosition&, const TextChar&) { return true; });
    if (!text.empty()) {
        text += '\n';
    }
    return text;
}

std::string textBetween(const PageText& page, TextPosition from, TextPosition to) {
    if (to < from) {
        std::swap(from, to);
    }
    return chosenText(page, [&](const TextPosition& at, const TextChar&) {
        return at >= from && at <= to;
    });
}

std::string textInArea(const PageText& page, const TextBox& area) {
    return chosenText(page, [&](const TextPosition& at, const TextChar& c) {
        return inArea(page.blocks[at.block].lines[at.line], c, area);
    });
}

std::vector<const TextChar*> selectedChars(const PageText& page, const TextBox& area,
                                           bool rectangle) {
    std::vector<const TextChar*> chosen;
    TextPosition from;
    TextPosition to;
    if (!rectangle && !dragBounds(page, area.left, area.top, area.right, area.bottom, from, to)) {
        return chosen;
    }
    for (size_t b = 0; b < page.blocks.size(); ++b) {
        for (size_t l = 0; l < page.blocks[b].lines.size(); ++l) {
            const TextLine& line = page.blocks[b].lines[l];
            for (size_t i = 0; i < line.chars.size(); ++i) {
                const TextPosition at{b, l, i};
                if (rectangle ? inArea(line, line.chars[i], area) : at >= from && at <= to) {
                    chosen.push_back(&line.chars[i]);
                }
            }
        }
    }
    return chosen;
}

bool flowBounds(const PageText& page, const TextBox& area, TextPosition& from, TextPosition& to) {
    bool found = false;
    for (size_t b = 0; b < page.blocks.size(); ++b) {
        for (size_t l = 0; l < page.blocks[b].lines.size(); ++l) {
            const TextLine& line = page.blocks[b].lines[l];
            for (size_t i = 0; i < line.chars.size(); ++i) {
                if (!centreIn(line.chars[i].box, area)) {
                    continue;
                }
                if (!found) {
                    from = {b, l, i};
                    found = true;
                }
                to = {b, l, i};
            }
        }
    }
    return found;
}

// Horizontal lines are set in rows by where they stand down the page and in columns of the
// page's common character width by where they start; lines running other ways follow.
std::string layoutText(const PageText& page) {
    std::vector<const TextLine*> lines;
    std::vector<const TextLine*> others;
    std::vector<double> widths;
    std::vector<double> wideWidths;
    for (const TextBlock& block : page.blocks) {
        for (const TextLine& line : block.lines) {
            (line.direction == TextDirection::kLeftToRight ? lines : others).push_back(&line);
            for (const TextChar& c : line.chars) {
                if (!c.added && c.c != U' ') {
                    (pdf::closeSetCharacter(c.c) ? wideWidths : widths)
                        .push_back(c.box.right - c.box.left);
                }
            }
        }
    }
    const double charWidth =
        std::max(0.5, widths.empty() ? median(wideWidths, 10.0) / 2 : median(widths, 5.0));
    double pageLeft = HUGE_VAL;
    for (const TextLine* line : lines) {
        pageLeft = std::min(pageLeft, line->box.left);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const TextLine* a, const TextLine* b) {
        return a->baseline < b->baseline;
    });

    std::string out;
    const TextLine* rowFirst = nullptr;
    double rowBottom = 0;
    for (size_t at = 0; at < lines.size();) {
        // The row: lines whose baselines lie within half a line of its first one's.
        size_t end = at + 1;
        while (end < lines.size()) {
            const double smaller = std::min(lines[at]->size, lines[end]->size);
            if (lines[end]->baseline - lines[at]->baseline >= 0.5 * smaller) {
                break;
            }
            ++end;
        }
        std::vector<const TextLine*> row(lines.begin() + long(at), lines.begin() + long(end));
        std::sort(row.begin(), row.end(), [](const TextLine* a, const TextLine* b) {
            return a->box.left < b->box.left;
        });
        if (rowFirst != nullptr) {
            // An empty line for each line's height of space between rows, two at most.
            const double gap = row.front()->box.top - rowBottom;
            const int empty = std::clamp(int(gap / std::max(rowFirst->size, 1.0)), 0, 2);
            out.append(size_t(empty), '\n');
        }
        std::u32string text;
        for (const TextLine* line : row) {
            const auto column = size_t(std::max(0.0, std::round((line->box.left - pageLeft) / charWidth)));
            if (column > text.size()) {
                text.append(column - text.size(), U' ');
            } else if (!text.empty()) {
                text += U' ';
            }
            for (const TextChar& c : line->chars) {
                text += c.c;
            }
        }
        for (const char32_t c : text) {
            appendUtf8(out, c);
        }
        out += '\n';
        rowFirst = row.front();
        rowBottom = 0;
        for (const TextLine* line : row) {
            rowBottom = std::max(rowBottom, line->box.bottom);
        }
        at = end;
    }
    for (const TextLine* line : others) {
        for (const TextChar& c : line->chars) {
            appendUtf8(out, c.c);
        }
        out += '\n';
    }
    return out;
}

}  // namespace reader
