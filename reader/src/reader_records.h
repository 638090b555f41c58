// The records a reader keeps of the current page: its content streams and resources.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace reader {

/// A content stream of the current page, decoded, and where the content starts in it.
struct ContentItem {
    std::string buffer;
    size_t data = 0;       ///< first byte of the content in the buffer
    size_t size = 0;       ///< bytes of the buffer the interpreter may use
    int32_t length = 0;    ///< the stream's Length, or the decoded length
    bool decoded = false;  ///< the buffer holds the decoded stream
};

/// A font resource's details, read from its font dictionary and descriptor.
struct TFont {
    int32_t objectNumber = 0;
    int32_t bold = 0;
    int32_t missingWidth = 0;
    int32_t stemV = 0;
    int32_t stemH = 0;
    int32_t italicAngle = 0;
    int32_t italic = 0;
    int32_t capHeight = 0;
    int32_t xHeight = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t leading = 0;
    int32_t maxWidth = 0;
    int32_t averageWidth = 0;
    int32_t charSet = 0;
    std::string baseFont;  ///< bytes, subset tag and style removed, #xx escapes replaced
    std::string fontName;
    std::string encoding;
    int32_t firstChar = 0;
    int32_t lastChar = 0;
    bool widthsPresent = false;
    int32_t widths[256] = {};  ///< 1/1000 text space units by character code
    bool type1 = false;
    bool type1File = false;  ///< an embedded Type 1 program was written
    int32_t type1Font = -1;  ///< the glyph rasteriser's identifier once loaded
};

struct FontResource {
    std::string name;
    std::unique_ptr<TFont> font;
};

struct XObjectResource {
    std::string name;
    int32_t objectNumber = 0;
};

}  // namespace reader
