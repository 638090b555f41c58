// Searching the loaded page for a text and marking every occurrence.
//
// The scanned texts of the page's characters, in stream order, are matched as one byte string,
// so a failed partial match goes on at the following character without scanning the page
// again: the search text runs through a prefix automaton (each failed byte falls back to the
// longest prefix still matching), and an occurrence counts only when it begins at a
// character's first byte and ends at a character's last byte. A character without text breaks
// every match. The search takes time in proportion to the page and the text, whatever they hold.
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "document/page_document.h"
#include "duoma/duoma.h"
#include "engine_state.h"

namespace vyn {
namespace {

// For each prefix of `text`, the length of its longest proper prefix that is also its suffix.
std::vector<size_t> borderLengths(const std::string& text) {
    std::vector<size_t> border(text.size(), 0);
    for (size_t i = 1, k = 0; i < text.size(); ++i) {
        while (k > 0 && text[i] != text[k]) {
            k = border[k - 1];
        }
        if (text[i] == text[k]) {
            ++k;
        }
        border[i] = k;
    }
    return border;
}

// A scanned character that an occurrence may still begin with or contain.
struct Candidate {
    size_t start = 0;  ///< offset of its first byte in the page's text
    MarkRecord mark;
};

}  // namespace

int32_t PageDocument::MarkString(const char* text) {
    marks_.clear();
    if (text == nullptr || text[0] == '\0') {
        return 0;
    }
    std::string wanted(text);
    if (engineState().codePage == 950) {
        Big52Gb(reinterpret_cast<uint8_t*>(wanted.data()), int32_t(wanted.size()));
    }
    // Spaces of the search text stand for nothing: "中 文" finds 中文.
    std::erase(wanted, ' ');
    if (wanted.empty()) {
        return 0;
    }
    const std::vector<size_t> border = borderLengths(wanted);

    // Only the position and the offsets start afresh; the rest of the state is the drawing's.
    currentX_ = currentY_ = characterY_ = 0;
    offsetX_ = offsetY_ = 0;
    offsetDepth_ = offsetOverflow_ = 0;

    std::deque<Candidate> window;
    size_t scanned = 0;  // bytes of page text so far
    size_t matched = 0;  // bytes of `wanted` that the page text so far ends with
    int32_t count = 0;
    uint8_t s[3];
    for (size_t next = NextCharacter(0, s); next != 0; next = NextCharacter(next, s)) {
        const CharString c = scannedText(s);
        const size_t length = std::strlen(reinterpret_cast<const char*>(c.data()));
        if (length == 0) {
            matched = 0;
            window.clear();
            continue;
        }
        bool endsHere = false;
        for (size_t i = 0; i < length; ++i) {
            const char byte = char(c[i]);
            while (matched > 0 && wanted[matched] != byte) {
                matched = border[matched - 1];
            }
            if (wanted[matched] == byte) {
                ++matched;
            }
            if (matched == wanted.size()) {
                endsHere = i + 1 == length;
                matched = border[matched - 1];
            }
        }
        scanned += length;

        // Only the last `reach` bytes can belong to an occurrence: the one ending here, or one
        // still under way, which the page text ends with a prefix of. Characters before them are
        // let go, and a character outside them is not kept at all.
        const size_t reach = endsHere ? wanted.size() : matched;
        if (reach >= length) {
            window.push_back({scanned - length, markOfScanned(s)});
        }
        while (!window.empty() && window.front().start + reach < scanned) {
            window.pop_front();
        }
        if (endsHere && !window.empty() && window.front().start + wanted.size() == scanned) {
            for (const Candidate& candidate : window) {
                marks_.push_back(candidate.mark);
            }
            // Occurrences do not overlap: the next one starts after this one's last character.
            window.clear();
            ++count;
        }
    }
    return count;
}

}  // namespace vyn
