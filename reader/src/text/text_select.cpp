// Text selection: which characters of a text object the selection rectangle takes, collected
// in drawing order and shown on the page under a translucent blue.
#include <cmath>
#include <cstring>

#include "reader/creader.h"
#include "reader_records.h"
#include "text/text_units.h"

using namespace reader;

namespace {

// The end of the character that starts at `at`: two bytes from 161 up, else one.
size_t characterEnd(std::string_view text, size_t at) {
    return std::min(text.size(), at + (uint8_t(text[at]) >= 161 ? 2 : 1));
}

}  // namespace

std::vector<float> CReader::PrefixWidths(std::string_view text, float wordSpacing,
                                         float charSpacing) const {
    std::vector<float> widths(text.size() + 1, 0.0f);
    float cx = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t start = i;
        const auto byte = uint8_t(text[i]);
        const float width = CharacterWidth(text, i);
        cx += width + charSpacing + (byte == 32 ? wordSpacing : 0.0f);
        // Every cut inside the character measures it whole, as a shorter text would.
        const float measured = float(truncated(direction_ == 2 ? width : cx));
        for (size_t length = start + 1; length <= std::min(i + 1, text.size()); ++length) {
            widths[length] = measured;
        }
    }
    return widths;
}

void CReader::appendSelected(std::string_view text) {
    const size_t used = std::strlen(selectedText1_.data());
    const size_t n = std::min(text.size(), selectedText1_.size() - 1 - used);
    std::memcpy(selectedText1_.data() + used, text.data(), n);
    selectedText1_[used + n] = '\0';
}

CReader::Selection CReader::SelectText(surface::Surface& dc, float x, float y,
                                       std::string_view text, float wordSpacing,
                                       float charSpacing) {
    Selection result;
    if (text.empty() || (text.size() == 1 && uint8_t(text[0]) > 128)) {
        return result;
    }
    const surface::Rect& r = selectRect_;
    const float h = float(dc.textMetrics().height);
    const std::vector<float> prefixes = PrefixWidths(text, wordSpacing, charSpacing);
    auto widthOf = [&](size_t bytes) { return prefixes[bytes]; };
    // The first character whose prefix reaches past `edge`: its start and end.
    auto characterAt = [&](float edge) {
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = characterEnd(text, start);
            if (edge < x + widthOf(end)) {
                return std::pair{start, end};
            }
            start = end;
        }
        return std::pair{text.size(), text.size()};
    };
    const float width = widthOf(text.size());
    const bool topLine = y - h < float(r.top) && float(r.top) < y;
    const bool bottomLine = y - h < float(r.bottom) && float(r.bottom) < y;

    if (rectSelect_ != 0) {
        if (float(r.left) <= x && x < float(r.right) && float(r.top) <= y && y < float(r.bottom)) {
            appendSelected(text);
            result.selected = true;
        }
        return result;
    }
    if (topLine) {
        if (float(r.left) < x && float(r.right) > x + width) {
            appendSelected(text);
            result.selected = true;
            return result;
        }
        if (x + width < float(r.left)) {
            return result;
        }
        const size_t start = characterAt(float(r.left)).first;
        if (start >= text.size()) {
            return result;
        }
        result.split = true;
        result.first = start;
        result.splitPoint = x + widthOf(start);
        result.last = text.size();
        if (bottomLine && float(r.right) <= x + width) {
            result.last = std::max(characterAt(float(r.right)).second, characterEnd(text, start));
        }
        appendSelected(text.substr(start, result.last - start));
        return result;
    }
    if (bottomLine) {
        if (float(r.right) < x) {
            return result;
        }
        if (float(r.right) < x + width) {
            result.split = true;
            result.first = 0;
            result.last = characterAt(float(r.right)).second;
            result.splitPoint = x + widthOf(result.last);
            appendSelected(text.substr(0, result.last));
            return result;
        }
        appendSelected(text);
        result.selected = true;
        return result;
    }
    if (float(r.bottom) >= y && y - h >= float(r.top)) {
        appendSelected(text);
        result.selected = true;
    }
    return result;
}

void CReader::selectString(surface::Surface& dc, float x, float y, std::string_view text,
                           float wordSpacing, float charSpacing) {
    const Selection selection = SelectText(dc, x, y, text, wordSpacing, charSpacing);
    if (selection.selected) {
        highlight(dc, x, y, text, wordSpacing, charSpacing);
    } else if (selection.split) {
        const float start = x + float(GetStringWidth(text.substr(0, selection.first), wordSpacing,
                                                     charSpacing)
                                          .cx);
        highlight(dc, float(truncated(start)), y,
                  text.substr(selection.first, selection.last - selection.first), wordSpacing,
                  charSpacing);
    }
}

// The box of `text` set at (x, y) on its baseline, in the selection's space, is shown through
// selectionToPage_ where the page drew it.
void CReader::highlight(surface::Surface& dc, float x, float y, std::string_view text,
                        float wordSpacing, float charSpacing) {
    const surface::Size size = GetStringWidth(text, wordSpacing, charSpacing);
    const surface::TextMetrics metrics = dc.textMetrics();
    const surface::Rect box =
        direction_ == 2
            ? surface::Rect{truncated(x), truncated(y), truncated(x) + std::abs(lfText_.height),
                            truncated(y) + size.cy}
            : surface::Rect{truncated(x), truncated(y) - metrics.ascent, truncated(x) + size.cx,
                            truncated(y) + metrics.descent};
    const surface::Point from = dc.logicalToDevice({box.left, box.top});
    const surface::Point to = dc.logicalToDevice({box.right, box.bottom});
    surface::canvas::Path area;
    area.addRect(from.x, from.y, to.x - from.x, to.y - from.y);
    dc.save();
    dc.setTransform(selectionToPage_);
    dc.fillPath(area, surface::canvas::FillRule::NonZero, {0.2, 0.45, 1.0, 0.4});
    dc.restore();
}

void CReader::selectArray(surface::Surface& dc, float x, float y, std::string_view array,
                          float wordSpacing, float charSpacing) {
    // The strings of a TJ array are selected as one text; the array is drawn as it is.
    std::string strings;
    forEachArrayElement(array, [&strings](std::string_view string, float, bool isString) {
        if (isString) {
            strings += string;
        }
    });
    SelectText(dc, x, y, strings, wordSpacing, charSpacing);
}
