// The current page: its dictionary, font and XObject resources and content streams.
#include <algorithm>
#include <array>
#include <cctype>

#include "filters/decode_stream.h"
#include "reader/creader.h"
#include "reader_records.h"
#include "structure/pdf_lexer.h"
#include "support/debug_log.h"
#include "support/error_codes.h"

using namespace reader;

namespace {

// Whether `name` stands at `at` as a whole name: white space or the text's end after it.
bool namedAt(std::string_view text, size_t at, std::string_view name) {
    return text.substr(at).starts_with(name) &&
           (at + name.size() == text.size() || isWhite(text[at + name.size()]));
}

// Arrays of content references nested deeper than this are not followed.
constexpr int kMaxContentDepth = 16;
// More resources or content streams than this on one page are not read.
constexpr int kMaxEntries = 65536;

// Skips an optional character after white space.
void skipOptional(TextCursor& cursor, char c) {
    cursor.SkipWhite();
    if (cursor.peek() == c) {
        cursor.advance();
    }
}

// The letters of a key after "/".
std::string readKey(TextCursor& cursor) {
    std::string key;
    while (!cursor.atEnd() && key.size() < 253 && std::isalpha(uint8_t(cursor.peek())) != 0) {
        key += cursor.peek();
        cursor.advance();
    }
    return key;
}

// A flag value: 1 when the next word is exactly "true".
uint8_t readFlag(TextCursor& cursor) {
    cursor.SkipWhite();
    std::string word;
    while (!cursor.atEnd() && word.size() < 8 && std::isalpha(uint8_t(cursor.peek())) != 0) {
        word += cursor.peek();
        cursor.advance();
    }
    return word == "true" ? 1 : 0;
}

void readBox(TextCursor& cursor, int32_t (&box)[4]) {
    skipOptional(cursor, '[');
    for (int32_t& value : box) {
        value = cursor.GetInt();
    }
}

}  // namespace

void CReader::ClearContent() { items_.clear(); }

// The fonts go, and every pointer to one with them: the current font and the saved states.
void CReader::ClearFont() {
    fonts_.clear();
    currentFont_ = nullptr;
    ClearGSStack();
}

int CReader::GetPage(int page) {
    try {
        WriteLog(kLogTrace, "%s\r\n", "CReader::GetPage--function in.");
        lastError_ = 0;
        if (page < 1 || page > pageCount_) {
            SetErrorCode(kPageRangeError);
            WriteLog(kLogError, "%s\r\n", "CReader::GetPage--Page range error.");
            return 0;
        }
        ClearStack();
        fillColour_ = 0;
        text_ = TextState{};
        std::fill(std::begin(mediaBox_), std::end(mediaBox_), 0);
        std::fill(std::begin(cropBox_), std::end(cropBox_), 0);
        currentPage_ = page;
        if (!Traced("CReader::GetPageContent", [this] { return GetPageContent(); })) {
            WriteLog(kLogTrace, "%s\r\n", "CReader::GetPage--function out(failed).");
            return 0;
        }
        rewind();
        reDraw_ = 1;
        pageBitmap_.reset();
        WriteLog(kLogTrace, "%s\r\n", "CReader::GetPage--function out(success).");
        return 1;
    } catch (...) {
        return exceptionMet(false);
    }
}

bool CReader::GetPageContent() {
    xobjects_.clear();
    ClearContent();
    const std::optional<std::string> pageText =
        ReadObjToBufferByID(pageIds_[size_t(currentPage_ - 1)]);
    if (!pageText) {
        return false;
    }
    const std::string& text = *pageText;
    TextCursor cursor(text);
    cursor.SkipObjectHeader();
    while (true) {
        const size_t slash = text.find('/', cursor.position());
        if (slash == std::string::npos) {
            break;
        }
        cursor.setPosition(slash + 1);
        const std::string key = readKey(cursor);
        if (key == "MediaBox") {
            readBox(cursor, mediaBox_);
        } else if (key == "CropBox") {
            readBox(cursor, cropBox_);
        } else if (key == "Parent") {
            for (int word = 0; word < 3; ++word) {
                cursor.GetString(32);
            }
        } else if (key == "Resources") {
            if (!GetResources(text, cursor.position())) {
                ClearContent();
                return false;
            }
        } else if (key == "Contents") {
            cursor.SkipWhite();
            if (!GetContentPre(text, cursor.position())) {
                ClearContent();
                return false;
            }
        } else if (key == "Type") {
            cursor.GetString(32);
        }
    }
    return true;
}

bool CReader::GetResources(std::string_view text, size_t at) {
    TextCursor cursor(text, at);
    cursor.SkipWhite();
    std::optional<std::string> referenced;
    if (cursor.peek() != '<') {
        const int32_t n = cursor.GetInt();
        referenced = ReadObjToBufferByID(n);
        if (!referenced) {
            return false;
        }
        text = *referenced;
        cursor = TextCursor(text);
    }
    const size_t open = text.find('<', cursor.position());
    if (open == std::string_view::npos) {
        return true;
    }
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        if (text[i] == '<') {
            ++depth;
        } else if (text[i] == '>') {
            if (--depth == 0) {
                break;
            }
        } else if (text[i] == '/') {
            // Only the two names matter; testing for them, rather than reading every name to
            // its end, keeps a run of slashes from costing its length squared.
            if (namedAt(text, i + 1, "Font") && !GetFont(text, i + 5)) {
                return false;
            }
            if (namedAt(text, i + 1, "XObject") && !GetXObjectPre(text, i + 8)) {
                return false;
            }
        }
    }
    return true;
}

bool CReader::GetFont(std::string_view text, size_t at) {
    ClearFont();
    int count = 0;
    if (!GetFontCount(text, at, count, false)) {
        return false;
    }
    fonts_.resize(size_t(count));
    count = 0;
    return GetFontCount(text, at, count, true);
}

// Reads the entries of a resource subdictionary: /Name n g R, until ">". A subdictionary held
// in another object is given by its reference.
template <typename Store>
static bool readResourceEntries(CReader& reader, std::string_view text, size_t at, int& count,
                                Store store) {
    TextCursor cursor(text, at);
    cursor.SkipWhite();
    std::optional<std::string> referenced;
    if (cursor.peek() != '<') {
        referenced = reader.ReadObjToBufferByID(cursor.GetInt());
        if (!referenced) {
            return true;
        }
        cursor = TextCursor(*referenced);
        cursor.SkipObjectHeader();
        cursor.SkipWhite();
    }
    cursor.advance(2);
    while (count < kMaxEntries) {
        cursor.SkipWhite();
        if (cursor.atEnd() || cursor.peek() == '>') {
            break;
        }
        const size_t before = cursor.position();
        if (cursor.peek() == '/') {
            cursor.advance();
        }
        const std::string name = cursor.ReadWord(127);
        const int32_t object = cursor.GetInt();
        cursor.GetString(32);  // the generation
        cursor.GetString(32);  // "R"
        if (cursor.position() == before) {
            break;
        }
        if (!store(count, name, object)) {
            return false;
        }
        ++count;
    }
    return true;
}

bool CReader::GetFontCount(std::string_view text, size_t at, int& count, bool fill) {
    return readResourceEntries(*this, text, at, count,
                               [this, fill](int index, const std::string& name, int32_t object) {
                                   if (fill && size_t(index) < fonts_.size()) {
                                       setResourceName(fonts_[size_t(index)].name, name);
                                       fonts_[size_t(index)].font = std::make_unique<TFont>();
                                       fonts_[size_t(index)].font->objectNumber = object;
                                       std::vector<int32_t> seen;
                                       GetFontDetail(*fonts_[size_t(index)].font, object, 0, seen);
                                   }
                                   return true;
                               });
}

bool CReader::GetXObjectPre(std::string_view text, size_t at) {
    int count = 0;
    if (!GetXObjectCount(text, at, count, false)) {
        return false;
    }
    xobjects_.resize(size_t(count));
    count = 0;
    return GetXObjectCount(text, at, count, true);
}

bool CReader::GetXObjectCount(std::string_view text, size_t at, int& count, bool fill) {
    return readResourceEntries(*this, text, at, count,
                               [this, fill](int index, const std::string& name, int32_t object) {
                                   if (fill && size_t(index) < xobjects_.size()) {
                                       setResourceName(xobjects_[size_t(index)].name, name);
                                       xobjects_[size_t(index)].objectNumber = object;
                                   }
                                   return true;
                               });
}

bool CReader::GetContentPre(std::string_view text, size_t at) {
    int count = 0;
    std::vector<int32_t> followed;
    if (!GetContentCount(text, at, count, false, 0, followed)) {
        return false;
    }
    items_.clear();
    items_.resize(size_t(count));
    count = 0;
    followed.clear();
    return GetContentCount(text, at, count, true, 0, followed);
}

bool CReader::GetContentCount(std::string_view text, size_t at, int& count, bool fill, int depth,
                              std::vector<int32_t>& followed) {
    TextCursor cursor(text, at);
    skipOptional(cursor, '[');
    while (count < kMaxEntries) {
        cursor.SkipWhite();
        const char c = cursor.peek();
        if (cursor.atEnd() || c == ']' || c == '>' || c == '/') {
            break;
        }
        const size_t before = cursor.position();
        const int32_t object = std::atoi(cursor.ReadWord(32).c_str());
        if (cursor.position() == before) {
            break;
        }
        if (std::optional<std::string> value = ReadObjToBufferByID(object)) {
            TextCursor inner(*value);
            inner.SkipObjectHeader();
            inner.SkipWhite();
            if (inner.peek() == '<') {
                if (fill && !GetContent(object, count)) {
                    return false;
                }
                ++count;
            } else if (depth < kMaxContentDepth &&
                       std::find(followed.begin(), followed.end(), object) == followed.end()) {
                // An array listed again (or listing itself) is followed once: repeats would
                // multiply the reads with every level.
                followed.push_back(object);
                if (!GetContentCount(*value, inner.position(), count, fill, depth + 1, followed)) {
                    return false;
                }
            }
        }
        cursor.GetString(32);  // the generation
        cursor.GetString(32);  // "R"
    }
    return true;
}

int32_t CReader::GetLengthEx(std::string_view text, size_t& at) {
    TextCursor cursor(text, at);
    cursor.SkipWhite();
    const size_t first = cursor.position();
    const std::string value = cursor.ReadWord(32);
    cursor.SkipWhite();
    const std::string generation = cursor.ReadWord(32);
    if (!generation.starts_with('0')) {
        // A direct value: the number, which ends at "/" as a name does.
        TextCursor number(text, first);
        const int32_t length = std::atoi(number.ReadName(32).c_str());
        at = first + std::min(value.find('/'), value.size());
        return length;
    }
    cursor.GetString(32);  // "R"
    at = cursor.position();
    const std::optional<std::string> object = ReadObjToBufferByID(std::atoi(value.c_str()));
    if (!object) {
        return -1;
    }
    TextCursor inner(*object);
    inner.SkipObjectHeader();
    return std::atoi(inner.GetString(32).c_str());
}

bool CReader::GetContent(int32_t n, int index) { return readStream(n, items_[size_t(index)]); }

std::optional<std::vector<uint8_t>> CReader::ReadStreamByID(int32_t n) {
    ContentItem item;
    if (!readStream(n, item) || (!item.decoded && item.data == 0)) {
        return std::nullopt;
    }
    std::string_view data = std::string_view(item.buffer).substr(std::min(item.data, item.size));
    if (item.decoded) {
        return std::vector<uint8_t>(data.begin(), data.end());
    }
    // Unfiltered data ends at its Length, or at "endstream" when the Length does not fit.
    if (item.length >= 0 && size_t(item.length) <= data.size()) {
        data = data.substr(0, size_t(item.length));
    } else {
        data = data.substr(0, data.rfind("endstream"));
    }
    return std::vector<uint8_t>(data.begin(), data.end());
}

// Reads stream object `n` into `item`: the object's text, and where its data starts, or its
// decoded data when it has filters. False when the object cannot be read or decoded.
bool CReader::readStream(int32_t n, ContentItem& item) {
    DecodeParam param;
    std::optional<std::string> object = ReadObjToBufferByID(n);
    if (!object) {
        item = ContentItem{};
        return false;
    }
    item.buffer = std::move(*object);
    item.size = item.buffer.size();
    const std::string_view text = item.buffer;
    int codes[kMaxFilters] = {};
    int filterCount = 0;
    TextCursor cursor(text);
    cursor.SkipObjectHeader();
    while (!cursor.atEnd()) {
        const size_t before = cursor.position();
        const std::string key = cursor.ReadName(64);
        if (key == "Width" || key == "Height" || key == "Interpolate" || key == "Intent") {
            cursor.GetString(32);
        } else if (key == "Length") {
            size_t at = cursor.position();
            item.length = GetLengthEx(text, at);
            cursor.setPosition(at);
        } else if (key == "Filter") {
            cursor.setPosition(GetFilterName(text, cursor.position(), codes, filterCount));
            if (filterCount < 0) {
                item = ContentItem{};
                return false;
            }
        } else if (key == "BitsPerComponent") {
            param.bitsPerComponent = cursor.GetInt();
        } else if (key == "Predictor") {
            param.predictor = cursor.GetInt();
        } else if (key == "Columns") {
            param.columns = cursor.GetInt();
        } else if (key == "Colors") {
            param.colors = cursor.GetInt();
        } else if (key == "EarlyChange") {
            param.earlyChange = cursor.GetInt();
        } else if (key == "K") {
            param.k = cursor.GetInt();
        } else if (key == "EndOfLine") {
            param.endOfLine = readFlag(cursor);
        } else if (key == "EncodedByteAlign") {
            param.encodedByteAlign = readFlag(cursor);
        } else if (key == "Rows") {
            param.rows = cursor.GetInt();
        } else if (key == "EndOfBlock") {
            param.endOfBlock = readFlag(cursor);
        } else if (key == "BlackIs1") {
            param.blackIs1 = readFlag(cursor);
        } else if (key == "DamagedRowsBeforeError") {
            param.damagedRowsBeforeError = cursor.GetInt();
        } else if (key == "stream") {
            size_t data = cursor.position();
            for (int eol = 0;
                 eol < 2 && data < text.size() && (text[data] == '\r' || text[data] == '\n');
                 ++eol) {
                // One CR or LF, then one more if present.
                ++data;
            }
            if (filterCount == 0) {
                item.data = data;
                return true;
            }
            const size_t available = text.size() - data;
            const size_t length =
                item.length < 0 ? available : std::min(size_t(item.length), available);
            std::optional<std::vector<uint8_t>> decoded = DecodeStream(
                std::span(reinterpret_cast<const uint8_t*>(text.data()) + data, length), param,
                std::span<const int>(codes, size_t(filterCount)));
            if (!decoded) {
                item = ContentItem{};
                return false;
            }
            DumpStream(std::span(reinterpret_cast<const char*>(decoded->data()), decoded->size()));
            item.buffer.assign(decoded->begin(), decoded->end());
            item.decoded = true;
            item.data = 0;
            item.size = item.buffer.size();
            item.length = int32_t(item.buffer.size());
            return true;
        }
        if (cursor.position() == before) {
            cursor.advance();
        }
    }
    return true;
}

std::vector<std::string_view> CReader::pageContents() const {
    std::vector<std::string_view> contents;
    for (const ContentItem& item : items_) {
        contents.push_back(std::string_view(item.buffer).substr(std::min(item.data, item.size)));
    }
    return contents;
}

std::vector<std::string> CReader::fontNames() const {
    std::vector<std::string> names;
    for (const FontResource& font : fonts_) {
        names.emplace_back(font.name);
    }
    return names;
}

const TFont* CReader::fontOf(std::string_view name) const {
    for (const FontResource& font : fonts_) {
        if (name == font.name) {
            return font.font.get();
        }
    }
    return nullptr;
}

std::vector<std::pair<std::string, int32_t>> CReader::xobjects() const {
    std::vector<std::pair<std::string, int32_t>> list;
    for (const XObjectResource& x : xobjects_) {
        list.emplace_back(x.name, x.objectNumber);
    }
    return list;
}
