#include "content/content_parser.h"

#include <algorithm>

#include "object/lexer.h"

namespace reader::pdf {

namespace {

// An inline image dictionary holds few entries; more are taken for damage.
constexpr size_t kMaxImageEntries = 64;

int componentsOf(const Object& space) {
    const std::optional<std::string_view> name = space.asName();
    if (!name) {
        // [/Indexed base hival lookup] and the like, written in place.
        const Array* array = space.asArray();
        return array != nullptr && !array->empty() &&
                       (array->front().isName("I") || array->front().isName("Indexed"))
                   ? 1
                   : 0;
    }
    if (*name == "G" || *name == "DeviceGray" || *name == "I" || *name == "Indexed") {
        return 1;
    }
    if (*name == "RGB" || *name == "DeviceRGB") {
        return 3;
    }
    if (*name == "CMYK" || *name == "DeviceCMYK") {
        return 4;
    }
    return 0;
}

const Object& entry(const Dict& dict, std::string_view abbreviation, std::string_view name) {
    return dict.has(abbreviation) ? dict.get(abbreviation) : dict.get(name);
}

// The bytes of an unfiltered inline image, when its dictionary tells them.
std::optional<size_t> plainImageBytes(const Dict& dict) {
    if (!entry(dict, "F", "Filter").isNull()) {
        return std::nullopt;
    }
    const bool mask = entry(dict, "IM", "ImageMask").asBool().value_or(false);
    const std::optional<int64_t> width = entry(dict, "W", "Width").asInt();
    const std::optional<int64_t> height = entry(dict, "H", "Height").asInt();
    const int64_t bits = mask ? 1 : entry(dict, "BPC", "BitsPerComponent").asInt().value_or(0);
    const int components = mask ? 1 : componentsOf(entry(dict, "CS", "ColorSpace"));
    if (!width || !height || *width <= 0 || *height <= 0 || *width > 1 << 20 || *height > 1 << 20 ||
        bits <= 0 || bits > 16 || components == 0) {
        return std::nullopt;
    }
    return size_t((*width * components * bits + 7) / 8 * *height);
}

bool isEndOfImageAt(std::span<const uint8_t> data, size_t at) {
    return at + 2 <= data.size() && data[at] == 'E' && data[at + 1] == 'I' &&
           (at + 2 == data.size() || isPdfWhite(data[at + 2]) || isPdfDelimiter(data[at + 2]));
}

}  // namespace

std::optional<ContentInstruction> ContentParser::next() {
    ContentInstruction instruction;
    for (;;) {
        if (std::optional<Object> operand = parser_.parseObject()) {
            if (instruction.operands.size() == kMaxOperands) {
                instruction.operands.erase(instruction.operands.begin());
            }
            instruction.operands.push_back(std::move(*operand));
            continue;
        }
        Lexer lexer(data_, parser_.position());
        const Token token = lexer.next();
        parser_.setPosition(lexer.position());
        if (token.kind == Token::Kind::End) {
            return std::nullopt;
        }
        if (token.kind != Token::Kind::Keyword) {
            continue;  // a stray ] > } or {, which ends nothing here
        }
        instruction.offset = token.offset;
        instruction.keyword = token.text;
        instruction.op = contentOperatorOf(token.text);
        if (instruction.op && instruction.op->op == ContentOp::kInlineImage) {
            readInlineImage(instruction);
        }
        return instruction;
    }
}

// After BI: the dictionary's entries up to ID, one white-space byte, the data, and EI. The
// data's length is known for an unfiltered image; otherwise it ends at the first EI standing
// as a word.
void ContentParser::readInlineImage(ContentInstruction& instruction) {
    for (size_t entries = 0; entries < kMaxImageEntries; ++entries) {
        Lexer lexer(data_, parser_.position());
        const Token key = lexer.next();
        if (key.kind == Token::Kind::End) {
            parser_.setPosition(lexer.position());
            return;
        }
        if (key.isKeyword("ID")) {
            parser_.setPosition(lexer.position());
            break;
        }
        parser_.setPosition(lexer.position());
        std::optional<Object> value = parser_.parseObject();
        if (key.kind == Token::Kind::Name && value) {
            instruction.imageDict.set(key.text, std::move(*value));
        } else if (!value) {
            // a stray keyword: passed over
            Lexer skip(data_, parser_.position());
            skip.next();
            parser_.setPosition(skip.position());
        }
    }
    size_t start = parser_.position();
    if (start < data_.size() && isPdfWhite(data_[start])) {
        ++start;
    }
    size_t end = data_.size();
    size_t resume = data_.size();
    bool ended = false;
    if (const std::optional<size_t> bytes = plainImageBytes(instruction.imageDict);
        bytes && *bytes <= data_.size() - start) {
        // EI follows the data, after white space.
        size_t at = start + *bytes;
        while (at < data_.size() && isPdfWhite(data_[at])) {
            ++at;
        }
        if (isEndOfImageAt(data_, at)) {
            end = start + *bytes;
            resume = at + 2;
            ended = true;
        }
    }
    for (size_t at = start; !ended && at + 2 <= data_.size(); ++at) {
        if (isEndOfImageAt(data_, at) && (at == start || isPdfWhite(data_[at - 1]))) {
            end = at > start ? at - 1 : at;
            resume = at + 2;
            ended = true;
        }
    }
    instruction.imageData = data_.subspan(start, end - start);
    parser_.setPosition(resume);
}

}  // namespace reader::pdf
