#include "images/inline_image.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "filters/decode_stream.h"
#include "images/image_build.h"
#include "images/image_dictionary.h"
#include "structure/pdf_lexer.h"

namespace reader {

namespace {

int32_t readInt(TextCursor& cursor) {
    const std::string word = cursor.ReadName(32);
    int32_t value = 0;
    std::from_chars(word.data(), word.data() + word.size(), value);
    return value;
}

bool isDelimiter(char c) { return isWhite(c) || c == '\t' || c == '\f' || c == '\0'; }

// The position after the first "EI" at or after `from` that stands as a word: white space
// before it and white space or the text's end after it. The text's end when there is none.
size_t findEndOfImage(std::string_view text, size_t from) {
    for (size_t at = text.find("EI", from); at != std::string_view::npos;
         at = text.find("EI", at + 1)) {
        const bool before = at == 0 || isDelimiter(text[at - 1]);
        const bool after = at + 2 == text.size() || isDelimiter(text[at + 2]);
        if (before && after) {
            return at + 2;
        }
    }
    return text.size();
}

std::span<const uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

InlineImage ReadInlineImage(std::string_view text, size_t afterBI, const ImageContext& context) {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;
    bool mask = false;
    bool usable = true;
    DecodeArray decode = kDefaultDecode;
    DecodeParam param;
    int codes[kMaxFilters] = {};
    int filterCount = 0;
    TextCursor cursor(text, afterBI);
    while (!cursor.atEnd()) {
        const size_t before = cursor.position();
        const std::string word = cursor.ReadName(64);
        if (word == "W") {
            width = readInt(cursor);
        } else if (word == "H") {
            height = readInt(cursor);
        } else if (word == "BPC") {
            bits = readInt(cursor);
            param.bitsPerComponent = bits;
        } else if (word == "IM") {
            mask = cursor.ReadName(8) == "true";
        } else if (word == "D") {
            size_t at = cursor.position();
            usable = ReadDecodeArray(text, at, decode) && usable;
            cursor.setPosition(at);
        } else if (word == "F") {
            cursor.setPosition(GetFilterName(text, cursor.position(), codes, filterCount));
            usable = filterCount >= 0 && usable;
        } else if (word == "EI") {
            return {std::nullopt, cursor.position()};
        } else if (word == "ID") {
            break;
        }
        if (cursor.position() == before) {
            cursor.advance();
        }
    }
    if (cursor.atEnd()) {
        return {std::nullopt, text.size()};
    }
    // As for XObjects, an image mask is 1 bit per sample even without BPC.
    if (mask) {
        bits = 1;
    }
    const size_t afterID = cursor.position();
    const size_t declared = width > 0 && height > 0 ? (size_t(width) + 7) / 8 * size_t(height) : 0;
    if (!usable || bits != 1) {
        return {std::nullopt, findEndOfImage(text, afterID)};
    }
    InlineImage result;
    if (filterCount == 0) {
        const size_t start = std::min(afterID + 1, text.size());
        const std::string_view data =
            text.substr(start, std::min({kMaxInlineImageBytes, declared}));
        result.image =
            BuildOneBitImage(width, height, decode[0], mask, context.fillColour, bytes(data));
        result.end = findEndOfImage(text, std::min(start + declared, text.size()));
    } else {
        // Up to two line-end characters follow "ID", or the one blank that ends the word.
        size_t start = afterID;
        if (start < text.size() && text[start] == ' ') {
            ++start;
        }
        for (int eol = 0;
             eol < 2 && start < text.size() && (text[start] == '\r' || text[start] == '\n');
             ++eol) {
            ++start;
        }
        const std::optional<std::vector<uint8_t>> decoded =
            DecodeStream(bytes(text.substr(start, kMaxInlineImageBytes)), param,
                         std::span<const int>(codes, size_t(filterCount)));
        if (decoded) {
            result.image =
                BuildOneBitImage(width, height, decode[0], mask, context.fillColour, *decoded);
        }
        result.end = findEndOfImage(text, start);
    }
    if (result.image) {
        result.image->isInline = 1;
    }
    return result;
}

}  // namespace reader
