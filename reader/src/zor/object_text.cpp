#include "zor/object_text.h"

#include <charconv>

namespace reader::zor {

namespace {

// Nesting deeper than this is not followed; the dictionary then counts as unreadable.
constexpr int kMaxNesting = 64;

bool isSpace(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c) {
    return isSpace(c) || c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' ||
           c == '{' || c == '}' || c == '/' || c == '%';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t skipSpace(std::string_view text, size_t at) {
    while (at < text.size()) {
        if (text[at] == '%') {
            while (at < text.size() && text[at] != '\r' && text[at] != '\n') {
                ++at;
            }
        } else if (isSpace(text[at])) {
            ++at;
        } else {
            break;
        }
    }
    return at;
}

size_t skipToken(std::string_view text, size_t at) {
    while (at < text.size() && !isDelimiter(text[at])) {
        ++at;
    }
    return at;
}

size_t skipLiteralString(std::string_view text, size_t at) {
    int depth = 0;
    for (; at < text.size(); ++at) {
        if (text[at] == '\\') {
            ++at;
        } else if (text[at] == '(') {
            ++depth;
        } else if (text[at] == ')' && --depth == 0) {
            return at + 1;
        }
    }
    return std::string_view::npos;
}

/// The end of the value that starts at `at`, or npos when it does not end within the text.
size_t skipValue(std::string_view text, size_t at, int depth);

size_t skipContainer(std::string_view text, size_t at, std::string_view close, int depth) {
    for (;;) {
        at = skipSpace(text, at);
        if (at >= text.size()) {
            return std::string_view::npos;
        }
        if (text.substr(at, close.size()) == close) {
            return at + close.size();
        }
        at = skipValue(text, at, depth + 1);
        if (at == std::string_view::npos) {
            return at;
        }
    }
}

size_t skipValue(std::string_view text, size_t at, int depth) {
    if (depth > kMaxNesting || at >= text.size()) {
        return std::string_view::npos;
    }
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<<")) {
        return skipContainer(text, at + 2, ">>", depth);
    }
    switch (text[at]) {
        case '[': return skipContainer(text, at + 1, "]", depth);
        case '(': return skipLiteralString(text, at);
        case '<': {
            const size_t close = text.find('>', at);
            return close == std::string_view::npos ? close : close + 1;
        }
        case '/': return skipToken(text, at + 1);
        case ')':
        case '>':
        case ']': return std::string_view::npos;
        default: break;
    }
    const size_t end = skipToken(text, at);
    if (end == at) {
        return std::string_view::npos;
    }
    // "N G R" is one value.
    const size_t generation = skipSpace(text, end);
    const size_t generationEnd = skipToken(text, generation);
    const size_t r = skipSpace(text, generationEnd);
    if (referenceValue(text.substr(at, skipToken(text, r) - at))) {
        return skipToken(text, r);
    }
    return end;
}

std::optional<int32_t> parseNumber(std::string_view digits) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() || digits.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<size_t> dictionaryStart(std::string_view object) {
    const size_t obj = object.find("obj");
    if (obj == std::string_view::npos) {
        return std::nullopt;
    }
    const size_t start = skipSpace(object, obj + 3);
    if (object.substr(start, 2) != "<<") {
        return std::nullopt;
    }
    return start;
}

std::optional<DictEntry> findDictEntry(std::string_view object, size_t start,
                                       std::string_view key) {
    size_t at = start + 2;
    for (;;) {
        at = skipSpace(object, at);
        if (at >= object.size() || object.substr(at, 2) == ">>" || object[at] != '/') {
            return std::nullopt;
        }
        const size_t keyStart = at;
        const size_t keyEnd = skipToken(object, at + 1);
        const size_t valueStart = skipSpace(object, keyEnd);
        const size_t valueEnd = skipValue(object, valueStart, 0);
        if (valueEnd == std::string_view::npos) {
            return std::nullopt;
        }
        if (object.substr(keyStart + 1, keyEnd - keyStart - 1) == key) {
            return DictEntry{keyStart, valueStart, valueEnd};
        }
        at = valueEnd;
    }
}

std::optional<int32_t> referenceValue(std::string_view value) {
    const size_t numberEnd = skipToken(value, 0);
    const size_t generation = skipSpace(value, numberEnd);
    const size_t generationEnd = skipToken(value, generation);
    const size_t r = skipSpace(value, generationEnd);
    if (generation == numberEnd || r == generationEnd || value.substr(r) != "R" ||
        !parseNumber(value.substr(generation, generationEnd - generation))) {
        return std::nullopt;
    }
    return parseNumber(value.substr(0, numberEnd));
}

std::vector<int32_t> objectReferences(std::string_view object) {
    std::vector<int32_t> found;
    const size_t obj = object.find("obj");
    if (obj == std::string_view::npos) {
        return found;
    }
    const size_t stream = object.find("stream", obj + 3);
    const std::string_view body = object.substr(0, stream);
    for (size_t r = obj + 3; r < body.size(); ++r) {
        if (body[r] != 'R' || body[r - 1] != ' ' || !isDigit(body[r - 2])) {
            continue;
        }
        // Back over the generation number and the space before it to the object number.
        size_t at = r - 2;
        while (at > 0 && isDigit(body[at - 1])) {
            --at;
        }
        if (at < 2 || !isSpace(body[at - 1]) || !isDigit(body[at - 2])) {
            continue;
        }
        const size_t numberEnd = at - 1;
        size_t numberStart = numberEnd - 1;
        while (numberStart > 0 && isDigit(body[numberStart - 1])) {
            --numberStart;
        }
        // A page's "/Parent" leads up the tree, which is not copied.
        const size_t window = numberStart >= 12 ? numberStart - 12 : 0;
        if (body.substr(window, 19).find("/Parent") != std::string_view::npos) {
            continue;
        }
        if (const std::optional<int32_t> n =
                parseNumber(body.substr(numberStart, numberEnd - numberStart))) {
            found.push_back(*n);
        }
    }
    return found;
}

}  // namespace reader::zor
