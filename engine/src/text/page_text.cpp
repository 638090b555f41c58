// Reading the loaded page's text: the characters inside a rectangle, and the characters from
// one point to another as a selection.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "document/page_document.h"
#include "duoma/duoma.h"
#include "engine_state.h"

namespace vyn {

namespace {

// Widths of the capital letters in tenths of a character cell, for the gaps of Latin text.
constexpr uint8_t kLetterWidths[26] = {10, 10, 10, 10, 10, 9,  10, 10, 8,  10, 10, 8,  13,
                                       10, 10, 10, 10, 10, 10, 10, 10, 10, 13, 10, 10, 10};

bool isAsciiLetter(uint8_t c) { return std::isalpha(c) != 0 && c < 0x80; }
bool isAsciiUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool isAsciiLower(uint8_t c) { return c >= 'a' && c <= 'z'; }

// The width a letter leaves for the gap that follows it.
int32_t gapWidth(uint8_t first, int32_t width) {
    if (!isAsciiLetter(first)) {
        return width;
    }
    width = width * kLetterWidths[std::toupper(first) - 'A'] / 10;
    return isAsciiUpper(first) ? width * 13 / 10 : width;
}

size_t textLength(const CharString& text) {
    return std::strlen(reinterpret_cast<const char*>(text.data()));
}

bool contains(const surface::Rect& box, int32_t x, int32_t y) {
    return box.left <= x && x < box.right && box.top <= y && y < box.bottom;
}

}  // namespace

CharString PageDocument::scannedText(const uint8_t* s) const {
    if (IsSpecialCode(s[0], s[1], docType_)) {
        return SpecialCodeToText(s[0], s[1], docType_, state_.axesSwapped != 0);
    }
    return {s[0], s[1], 0};
}

MarkRecord PageDocument::markOfScanned(const uint8_t* s) const {
    MarkRecord mark;
    mark.x = currentX_ + offsetX_;
    mark.y = characterY_ + offsetY_;
    mark.character = {s[0], s[1], s[2], 0};
    mark.snapshot = state_;
    return mark;
}

surface::Rect PageDocument::scannedBox(const uint8_t* s, int32_t& width, int32_t& height) const {
    int32_t point[2] = {currentX_, characterY_};
    if (state_.axesSwapped != 0) {
        std::swap(point[0], point[1]);
    }
    PageToDevicePoint(point);
    int16_t w = state_.charWidth;
    int16_t h = state_.charHeight;
    ScaleToDevice(w, h);
    width = w;
    height = h;
    const int32_t boxWidth = IsSpecialCode(s[0], s[1], docType_) ? 3 * w / 4 : w;
    return {point[0], point[1], point[0] + boxWidth, point[1] + h};
}

int32_t PageDocument::GetTextInRect(const surface::Rect& rect, char* buffer, int32_t size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    BeginScan();
    int32_t area[4] = {rect.left, rect.top, rect.right, rect.bottom};
    DeviceToPageRect(area);
    const surface::Rect page{area[0], area[1], area[2], area[3]};

    int32_t total = 0;
    uint8_t s[3];
    for (size_t next = NextCharacter(0, s); next != 0; next = NextCharacter(next, s)) {
        // The centre, from the position in page units and the size as the state holds it.
        if (!contains(page, currentX_ + state_.charWidth / 2,
                      characterY_ + state_.charHeight / 2)) {
            continue;
        }
        CharString text = scannedText(s);
        const auto length = int32_t(textLength(text));
        if (total + length > size - 1) {
            break;
        }
        if (engineState().codePage == 950) {
            Duoma(text.data(), length);
        }
        std::memcpy(buffer + total, text.data(), size_t(length));
        total += length;
        buffer[total] = '\0';
    }
    return total;
}

int32_t PageDocument::GetTextBetweenPoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                           char* buffer, int32_t size) {
    marks_.clear();
    // Below three bytes not even the first character and its terminator fit.
    if (buffer == nullptr || size < 3) {
        return 0;
    }
    buffer[0] = '\0';
    BeginScan();

    std::vector<MarkRecord> pending;
    int32_t n = 0;
    int32_t width = 0;
    int32_t height = 0;
    surface::Rect box{};
    uint8_t s[3];
    size_t next = NextCharacter(0, s);
    for (; next != 0; next = NextCharacter(next, s)) {
        box = scannedBox(s, width, height);
        if (!contains(box, x1, y1)) {
            continue;
        }
        pending.push_back(markOfScanned(s));
        const CharString text = scannedText(s);
        width = gapWidth(text[0], width);
        n = int32_t(textLength(text));
        std::memcpy(buffer, text.data(), size_t(n));
        break;
    }
    if (next == 0) {
        return 0;
    }
    marks_.insert(marks_.end(), pending.begin(), pending.end());
    pending.clear();

    bool complete = false;
    for (next = NextCharacter(next, s); next != 0 && !complete; next = NextCharacter(next, s)) {
        const surface::Rect previous = box;
        const int32_t previousWidth = width;
        box = scannedBox(s, width, height);
        const CharString text = scannedText(s);
        const size_t length = textLength(text);

        char separator[2] = {};
        size_t separatorLength = 0;
        if (box.top == previous.top) {
            if (length == 1 && box.left - previous.left > previousWidth * 70 / 100) {
                separator[separatorLength++] = ' ';
            }
        } else if (std::abs(previous.top - box.top) > height) {
            separator[separatorLength++] = '\r';
            separator[separatorLength++] = '\n';
        } else if (box.left - previous.left > previousWidth) {
            separator[separatorLength++] = ' ';
        }
        // A capital after a small letter starts a new word.
        if (length == 1 && n > 0 && isAsciiLower(uint8_t(buffer[n - 1])) && isAsciiUpper(text[0]) &&
            separatorLength == 0) {
            separator[separatorLength++] = ' ';
        }
        if (size_t(n) + separatorLength + length + 1 > size_t(size)) {
            break;
        }
        pending.push_back(markOfScanned(s));
        std::memcpy(buffer + n, separator, separatorLength);
        n += int32_t(separatorLength);
        std::memcpy(buffer + n, text.data(), length);
        n += int32_t(length);
        width = gapWidth(text[0], width);
        complete = contains(box, x2, y2);
    }

    if (complete) {
        marks_.insert(marks_.end(), pending.begin(), pending.end());
    } else {
        n = std::min(n, 2);
    }
    buffer[n] = '\0';
    if (engineState().codePage == 950) {
        Duoma(reinterpret_cast<uint8_t*>(buffer), n);
    }
    return n;
}

}  // namespace vyn
