// Searching the loaded page for a text and marking every complete occurrence.
#include <cstring>
#include <string>

#include "document/page_document.h"
#include "duoma/duoma.h"
#include "engine_state.h"

namespace vyn {

int32_t PageDocument::MarkString(const char* text) {
    marks_.clear();
    if (text == nullptr || text[0] == '\0') {
        return 0;
    }
    std::string wanted(text);
    if (engineState().codePage == 950) {
        Big52Gb(reinterpret_cast<uint8_t*>(wanted.data()), int32_t(wanted.size()));
    }

    // Only the position and the offsets start afresh; the rest of the state is the drawing's.
    currentX_ = currentY_ = characterY_ = 0;
    offsetX_ = offsetY_ = 0;
    offsetDepth_ = offsetOverflow_ = 0;

    std::vector<MarkRecord> pending;
    size_t pos = 0;
    int32_t count = 0;
    uint8_t s[3];
    for (size_t next = NextCharacter(0, s); next != 0; next = NextCharacter(next, s)) {
        const CharString c = scannedText(s);
        const size_t length = std::strlen(reinterpret_cast<const char*>(c.data()));
        while (pos < wanted.size() && wanted[pos] == ' ') {
            ++pos;
        }
        if (length == 0) {
            pos = 0;
            pending.clear();
            continue;
        }
        // An occurrence is complete when the text is used up; the next character then meets
        // the empty rest, fails and starts the search again.
        if (wanted.size() - pos >= length &&
            std::memcmp(wanted.data() + pos, c.data(), length) == 0) {
            pending.push_back(markOfScanned(s));
            pos += length;
            if (pos == wanted.size()) {
                marks_.insert(marks_.end(), pending.begin(), pending.end());
                pending.clear();
                ++count;
            }
        } else {
            pending.clear();
            pos = 0;
        }
    }
    return marks_.empty() ? 0 : count;
}

}  // namespace vyn
