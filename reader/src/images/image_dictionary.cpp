#include "images/image_dictionary.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <span>

#include "images/image_record.h"
#include "structure/pdf_lexer.h"

namespace reader {

namespace {

// The leading integer of a word ("1.0" gives 1, "0.5" 0); 0 when there is none.
int32_t leadingInt(std::string_view word) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error == std::errc::result_out_of_range) {
        return word.starts_with('-') ? INT32_MIN : INT32_MAX;
    }
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

int32_t readInt(TextCursor& cursor) { return leadingInt(cursor.ReadName(32)); }

// A name value: white space and one "/" skipped, then its letters and digits.
std::string readNameValue(TextCursor& cursor) {
    cursor.SkipWhite();
    if (cursor.peek() == '/') {
        cursor.advance();
    }
    std::string name;
    while (!cursor.atEnd() && name.size() < 63 && std::isalnum(uint8_t(cursor.peek())) != 0) {
        name += cursor.peek();
        cursor.advance();
    }
    return name;
}

uint8_t readFlag(TextCursor& cursor) { return readNameValue(cursor) == "true" ? 1 : 0; }

// A reference "n g R" at the cursor: the object number, or none (the cursor then stays).
std::optional<int32_t> readReference(TextCursor& cursor) {
    const size_t start = cursor.position();
    cursor.SkipWhite();
    const std::string number = cursor.ReadWord(16);
    cursor.SkipWhite();
    const std::string generation = cursor.ReadWord(16);
    cursor.SkipWhite();
    const std::string r = cursor.ReadWord(2);
    const bool digits = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
        return std::isdigit(uint8_t(c)) != 0;
    });
    if (!digits || generation.empty() || r != "R") {
        cursor.setPosition(start);
        return std::nullopt;
    }
    return leadingInt(number);
}

// The value of "Length": a number, or a reference to an object holding one (-1 when it
// cannot be read).
int32_t readLength(TextCursor& cursor, const ImageContext& context) {
    if (const std::optional<int32_t> object = readReference(cursor)) {
        const std::optional<std::string> text =
            context.readObject ? context.readObject(*object) : std::nullopt;
        if (!text) {
            return -1;
        }
        TextCursor inner(*text);
        inner.SkipObjectHeader();
        return leadingInt(inner.GetString(32));
    }
    return readInt(cursor);
}

// The palette of an Indexed colour space from its lookup stream: hival + 1 triples of red,
// green, blue; entries the stream does not give stay black.
std::optional<std::vector<uint32_t>> readLookup(int32_t object, int32_t hival,
                                                const ImageContext& context) {
    const std::optional<std::string> text =
        context.readObject ? context.readObject(object) : std::nullopt;
    if (!text) {
        return std::nullopt;
    }
    const ImageDictionary dictionary = ReadImageDictionary(*text, context, false);
    const std::optional<std::vector<uint8_t>> data = ReadStreamData(*text, dictionary);
    if (!data) {
        return std::nullopt;
    }
    std::vector<uint32_t> palette(256, 0);
    const size_t entries = std::min(size_t(hival) + 1, data->size() / 3);
    for (size_t i = 0; i < entries; ++i) {
        const uint8_t* rgb = data->data() + 3 * i;
        palette[i] = PaletteEntry(rgb[0], rgb[1], rgb[2]);
    }
    return palette;
}

// [/Indexed /DeviceRGB hival n 0 R], the cursor after "[".
ColourSpace readIndexed(TextCursor& cursor, const ImageContext& context) {
    ColourSpace unsupported{ColourKind::kUnsupported, 0, {}};
    if (readNameValue(cursor) != "Indexed" || readNameValue(cursor) != "DeviceRGB") {
        return unsupported;
    }
    cursor.SkipWhite();
    const std::string word = cursor.ReadWord(16);
    const int32_t hival = leadingInt(word);
    // Any highest index from 1 to 255 is taken; indexes beyond it show black.
    if (word.empty() || hival < 1 || hival > 255) {
        return unsupported;
    }
    const std::optional<int32_t> object = readReference(cursor);
    if (!object) {
        return unsupported;
    }
    std::optional<std::vector<uint32_t>> lookup = readLookup(*object, hival, context);
    if (!lookup) {
        return unsupported;
    }
    return {ColourKind::kIndexed, hival, std::move(*lookup)};
}

// The colour space after "ColorSpace"; the cursor moves past its value.
ColourSpace readColourSpaceValue(TextCursor& cursor, const ImageContext& context) {
    cursor.SkipWhite();
    if (cursor.peek() == '/') {
        const std::string name = readNameValue(cursor);
        if (name == "DeviceRGB") {
            return {ColourKind::kRgb, 0, {}};
        }
        if (name == "DeviceCMYK") {
            return {ColourKind::kCmyk, 0, {}};
        }
        return {ColourKind::kGrey, 0, {}};
    }
    if (cursor.peek() == '[') {
        cursor.advance();
        const size_t start = cursor.position();
        ColourSpace colour = readIndexed(cursor, context);
        const size_t close = cursor.text().find(']', start);
        cursor.setPosition(close == std::string_view::npos ? cursor.text().size() : close + 1);
        return colour;
    }
    if (readReference(cursor)) {
        return {ColourKind::kGrey, 0, {}};
    }
    return {ColourKind::kUnsupported, 0, {}};
}

}  // namespace

bool ReadDecodeArray(std::string_view text, size_t& at, DecodeArray& decode) {
    TextCursor cursor(text, at);
    cursor.SkipWhite();
    if (cursor.peek() != '[') {
        at = cursor.position();
        return false;
    }
    cursor.advance();
    size_t count = 0;
    while (true) {
        cursor.SkipWhite();
        if (cursor.atEnd() || cursor.peek() == ']') {
            cursor.advance();
            break;
        }
        const std::string word = cursor.ReadWord(32);
        if (word.empty()) {
            cursor.advance();  // "<" or ">" inside the array
            continue;
        }
        if (count < decode.size()) {
            decode[count++] = leadingInt(word);
        }
    }
    at = cursor.position();
    return true;
}

ImageDictionary ReadImageDictionary(std::string_view objectText, const ImageContext& context,
                                    bool readColourSpace) {
    ImageDictionary dictionary;
    DecodeParam& param = dictionary.param;
    TextCursor cursor(objectText);
    cursor.SkipObjectHeader();
    while (!cursor.atEnd()) {
        const size_t before = cursor.position();
        const std::string key = cursor.ReadName(64);
        if (key == "Type") {
            dictionary.isXObject = readNameValue(cursor) == "XObject";
        } else if (key == "Subtype") {
            dictionary.isImage = readNameValue(cursor) == "Image";
            if (!dictionary.isImage) {
                return dictionary;
            }
        } else if (key == "Width") {
            dictionary.width = readInt(cursor);
        } else if (key == "Height") {
            dictionary.height = readInt(cursor);
        } else if (key == "BitsPerComponent") {
            dictionary.bits = readInt(cursor);
            param.bitsPerComponent = dictionary.bits;
        } else if (key == "ColorSpace" && readColourSpace) {
            dictionary.colour = readColourSpaceValue(cursor, context);
        } else if (key == "Decode") {
            size_t at = cursor.position();
            dictionary.decodeValid = ReadDecodeArray(objectText, at, dictionary.decode);
            cursor.setPosition(at);
        } else if (key == "ImageMask") {
            dictionary.imageMask = readFlag(cursor);
        } else if (key == "Length") {
            dictionary.length = readLength(cursor, context);
        } else if (key == "Filter") {
            cursor.setPosition(GetFilterName(objectText, cursor.position(), dictionary.codes,
                                             dictionary.filterCount));
        } else if (key == "Name" || key == "Interpolate" || key == "Intent") {
            cursor.ReadName(64);
        } else if (key == "Predictor") {
            param.predictor = readInt(cursor);
        } else if (key == "Columns") {
            param.columns = readInt(cursor);
        } else if (key == "Colors") {
            param.colors = readInt(cursor);
        } else if (key == "EarlyChange") {
            param.earlyChange = readInt(cursor);
        } else if (key == "K") {
            param.k = readInt(cursor);
        } else if (key == "EndOfLine") {
            param.endOfLine = readFlag(cursor);
        } else if (key == "EncodedByteAlign") {
            param.encodedByteAlign = readFlag(cursor);
        } else if (key == "Rows") {
            param.rows = readInt(cursor);
        } else if (key == "EndOfBlock") {
            param.endOfBlock = readFlag(cursor);
        } else if (key == "BlackIs1") {
            param.blackIs1 = readFlag(cursor);
        } else if (key == "DamagedRowsBeforeError") {
            param.damagedRowsBeforeError = readInt(cursor);
        } else if (key == "stream") {
            size_t data = cursor.position();
            for (int eol = 0; eol < 2 && data < objectText.size() &&
                              (objectText[data] == '\r' || objectText[data] == '\n');
                 ++eol) {
                ++data;
            }
            dictionary.dataStart = data;
            return dictionary;
        }
        if (cursor.position() == before) {
            cursor.advance();
        }
    }
    return dictionary;
}

std::optional<std::vector<uint8_t>> ReadStreamData(std::string_view objectText,
                                                   const ImageDictionary& dictionary) {
    if (!dictionary.dataStart || dictionary.filterCount < 0) {
        return std::nullopt;
    }
    const std::string_view rest =
        objectText.substr(std::min(*dictionary.dataStart, objectText.size()));
    const auto bytes = [](std::string_view text) {
        return std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    };
    if (dictionary.filterCount > 0) {
        const size_t length =
            dictionary.length < 0 ? rest.size() : std::min(size_t(dictionary.length), rest.size());
        return DecodeStream(bytes(rest.substr(0, length)), dictionary.param,
                            std::span<const int>(dictionary.codes, size_t(dictionary.filterCount)));
    }
    std::string_view data = rest;
    if (dictionary.length >= 0 && size_t(dictionary.length) <= rest.size()) {
        data = rest.substr(0, size_t(dictionary.length));
    } else {
        data = rest.substr(0, std::min(rest.rfind("endstream"), rest.size()));
    }
    const std::span<const uint8_t> view = bytes(data);
    return std::vector<uint8_t>(view.begin(), view.end());
}

}  // namespace reader
