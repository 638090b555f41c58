#include "object/parser.h"

#include <algorithm>
#include <limits>

namespace reader::pdf {

namespace {

// Keywords of the file's structure: one of them inside an array or a dictionary means it was
// never closed. Other stray keywords are passed over.
bool isStructureKeyword(const Token& t) {
    for (const char* word :
         {"obj", "endobj", "stream", "endstream", "xref", "trailer", "startxref"}) {
        if (t.isKeyword(word)) {
            return true;
        }
    }
    return false;
}

bool fitsObjectNumber(const Token& t) {
    return t.kind == Token::Kind::Integer && t.integer >= 0 &&
           t.integer <= std::numeric_limits<int32_t>::max();
}

constexpr std::string_view kEndStream = "endstream";

}  // namespace

std::optional<Object> Parser::parseObject() {
    const Token token = lexer_.next();
    return value(token, 0);
}

std::optional<Object> Parser::value(const Token& token, int depth) {
    switch (token.kind) {
        case Token::Kind::Integer: return integerOrRef(token);
        case Token::Kind::Real: return Object::real(token.real);
        case Token::Kind::String: return Object::string(token.text);
        case Token::Kind::HexString: return Object::string(token.text, true);
        case Token::Kind::Name: return Object::name(token.text);
        case Token::Kind::ArrayOpen: return depth < kMaxDepth ? array(depth + 1) : Object();
        case Token::Kind::DictOpen: return depth < kMaxDepth ? dict(depth + 1) : Object();
        case Token::Kind::Keyword:
            if (token.isKeyword("true") || token.isKeyword("false")) {
                return Object::boolean(token.text == "true");
            }
            if (token.isKeyword("null")) {
                return Object();
            }
            break;
        default: break;
    }
    lexer_.setPosition(token.offset);
    return std::nullopt;
}

Object Parser::integerOrRef(const Token& token) {
    const size_t after = lexer_.position();
    if (fitsObjectNumber(token)) {
        const Token generation = lexer_.next();
        if (fitsObjectNumber(generation) && lexer_.next().isKeyword("R")) {
            return Object::ref({int32_t(token.integer), int32_t(generation.integer)});
        }
    }
    lexer_.setPosition(after);
    return Object::integer(token.integer);
}

Object Parser::array(int depth) {
    Array items;
    for (;;) {
        const Token token = lexer_.next();
        if (token.kind == Token::Kind::ArrayClose || token.kind == Token::Kind::End) {
            break;
        }
        if (token.kind == Token::Kind::Invalid || token.kind == Token::Kind::DictClose ||
            token.kind == Token::Kind::BraceOpen || token.kind == Token::Kind::BraceClose) {
            continue;
        }
        std::optional<Object> item = value(token, depth);
        if (item) {
            items.push_back(std::move(*item));
        } else if (isStructureKeyword(token)) {
            break;  // left unread
        } else {
            lexer_.next();  // a stray keyword
        }
    }
    return Object::array(std::move(items));
}

Object Parser::dict(int depth) {
    Dict entries;
    for (;;) {
        const Token key = lexer_.next();
        if (key.kind == Token::Kind::DictClose || key.kind == Token::Kind::End) {
            break;
        }
        if (key.kind != Token::Kind::Name) {
            if (isStructureKeyword(key)) {
                lexer_.setPosition(key.offset);  // never closed
                break;
            }
            if (!value(key, depth)) {  // a value where a key belongs is passed over
                lexer_.next();
            }
            continue;
        }
        const Token next = lexer_.next();
        if (next.kind == Token::Kind::DictClose || next.kind == Token::Kind::End) {
            entries.set(key.text, Object());
            break;
        }
        std::optional<Object> item = value(next, depth);
        if (!item) {
            entries.set(key.text, Object());
            if (isStructureKeyword(next)) {
                break;
            }
            lexer_.next();
            continue;
        }
        entries.set(key.text, std::move(*item));
    }
    return Object::dict(std::move(entries));
}

std::optional<IndirectObject> Parser::parseIndirect(const LengthResolver& length) {
    const Token number = lexer_.next();
    const Token generation = lexer_.next();
    if (!fitsObjectNumber(number) || !fitsObjectNumber(generation) ||
        !lexer_.next().isKeyword("obj")) {
        return std::nullopt;
    }
    IndirectObject indirect{{int32_t(number.integer), int32_t(generation.integer)}, Object()};
    if (std::optional<Object> object = parseObject()) {
        indirect.object = std::move(*object);
    }
    const size_t afterObject = lexer_.position();
    const Token next = lexer_.next();
    if (next.isKeyword("stream") && indirect.object.asDict() != nullptr) {
        indirect.object = stream(*indirect.object.asDict(), indirect.ref, length);
        const size_t afterStream = lexer_.position();
        if (!lexer_.next().isKeyword("endobj")) {
            lexer_.setPosition(afterStream);
        }
    } else if (!next.isKeyword("endobj")) {
        lexer_.setPosition(afterObject);
    }
    return indirect;
}

// The data starts after the end of line that follows "stream" (CR LF or LF; a lone CR, or
// nothing, is taken too).
Object Parser::stream(Dict dict, Ref holder, const LengthResolver& length) {
    const std::span<const uint8_t> data = lexer_.data();
    size_t start = lexer_.position();
    if (start < data.size() && data[start] == '\r') {
        ++start;
    }
    if (start < data.size() && data[start] == '\n') {
        ++start;
    }
    const auto endStreamAt = [&](size_t at) {
        Lexer after(data, at);
        after.skipWhite();
        const size_t p = after.position();
        return p + kEndStream.size() <= data.size() &&
               std::equal(kEndStream.begin(), kEndStream.end(), data.begin() + ptrdiff_t(p));
    };

    std::optional<int64_t> declared = dict.get("Length").asInt();
    if (const std::optional<Ref> ref = dict.get("Length").asRef(); ref && length) {
        declared = length(*ref);
    }
    size_t size = 0;
    if (declared && *declared >= 0 && uint64_t(*declared) <= data.size() - start &&
        endStreamAt(start + size_t(*declared))) {
        size = size_t(*declared);
    } else {
        // The length is missing or wrong: the data runs to the endstream, less its end of line.
        const auto found = std::search(data.begin() + ptrdiff_t(start), data.end(),
                                       kEndStream.begin(), kEndStream.end());
        size = size_t(found - data.begin()) - start;
        if (size > 0 && data[start + size - 1] == '\n') {
            --size;
        }
        if (size > 0 && data[start + size - 1] == '\r') {
            --size;
        }
    }
    lexer_.setPosition(start + size);
    lexer_.skipWhite();
    const Token end = lexer_.next();
    if (!end.isKeyword("endstream")) {
        lexer_.setPosition(end.offset);
    }
    return Object::stream({std::move(dict), start, size, holder});
}

}  // namespace reader::pdf
