// The records a reader keeps of its document: cross-reference entries, content streams and
// resources of the current page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace reader {

struct XrefEntry {
    int32_t offset = 0;
    int32_t generation = 0;
    int32_t objectNumber = -1;  ///< the number written at the offset; -1 for a free entry
    char type = 0;              ///< 'n' in use, 'f' free
};

/// A content stream of the current page: the object's text (unfiltered stream) or the decoded
/// stream, and where the content starts in it.
struct ContentItem {
    std::string buffer;
    size_t data = 0;     ///< first byte of the content in the buffer
    size_t size = 0;     ///< bytes of the buffer the interpreter may use
    int32_t length = 0;  ///< the stream's Length, or the decoded length
    bool decoded = false;  ///< the buffer holds the decoded stream
};

/// What the reader knows of a font resource; the font reader fills in its details.
struct TFont {
    int32_t objectNumber = 0;
};

struct FontResource {
    char name[20] = {};
    std::unique_ptr<TFont> font;
};

struct XObjectResource {
    char name[20] = {};
    int32_t objectNumber = 0;
};

/// Copies a resource name, cut to 19 characters.
inline void setResourceName(char (&field)[20], const std::string& name) {
    const size_t n = std::min<size_t>(name.size(), 19);
    name.copy(field, n);
    field[n] = '\0';
}

}  // namespace reader
