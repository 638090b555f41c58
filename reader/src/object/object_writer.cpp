#include "object/object_writer.h"

#include <cmath>
#include <cstdio>

namespace reader::pdf {

namespace {

bool isRegular(unsigned char c) {
    static constexpr std::string_view kDelimiters = "()<>[]{}/%#";
    return c > 32 && c < 127 && kDelimiters.find(char(c)) == std::string_view::npos;
}

void appendName(std::string& out, std::string_view name) {
    out += '/';
    for (const char c : name) {
        if (isRegular(static_cast<unsigned char>(c))) {
            out += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "#%02X", static_cast<unsigned char>(c));
            out += escaped;
        }
    }
}

void appendString(std::string& out, const String& string) {
    if (string.hex) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        out += '<';
        for (const char c : string.bytes) {
            out += kDigits[static_cast<unsigned char>(c) >> 4];
            out += kDigits[static_cast<unsigned char>(c) & 15];
        }
        out += '>';
        return;
    }
    out += '(';
    for (const char c : string.bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 32 || byte == 127) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\%03o", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += ')';
}

void appendReal(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += '0';
        return;
    }
    // PDF numbers have no exponent: fixed notation, its trailing zeros dropped.
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    std::string_view digits(text);
    digits = digits.substr(0, digits.find_last_not_of('0') + 1);
    if (digits.ends_with('.')) {
        digits.remove_suffix(1);
    }
    out += digits == "-0" ? "0" : digits;
}

void append(std::string& out, const Object& object);

void appendDict(std::string& out, const Dict& dict) {
    out += "<<";
    for (const auto& [key, value] : dict.entries()) {
        out += ' ';
        appendName(out, key);
        out += ' ';
        append(out, value);
    }
    out += " >>";
}

void append(std::string& out, const Object& object) {
    switch (object.kind()) {
        case Object::Kind::kNull: out += "null"; break;
        case Object::Kind::kBool: out += *object.asBool() ? "true" : "false"; break;
        case Object::Kind::kInt: out += std::to_string(*object.asInt()); break;
        case Object::Kind::kReal: appendReal(out, *object.asNumber()); break;
        case Object::Kind::kString: appendString(out, *object.asString()); break;
        case Object::Kind::kName: appendName(out, *object.asName()); break;
        case Object::Kind::kArray: {
            out += '[';
            bool first = true;
            for (const Object& item : *object.asArray()) {
                if (!first) {
                    out += ' ';
                }
                first = false;
                append(out, item);
            }
            out += ']';
            break;
        }
        case Object::Kind::kDict:
        case Object::Kind::kStream: appendDict(out, *object.asDict()); break;
        case Object::Kind::kRef: {
            const Ref ref = *object.asRef();
            out += std::to_string(ref.num) + ' ' + std::to_string(ref.gen) + " R";
            break;
        }
    }
}

}  // namespace

std::string writeObject(const Object& object) {
    std::string out;
    append(out, object);
    return out;
}

std::string writeDict(const Dict& dict) {
    std::string out;
    appendDict(out, dict);
    return out;
}

std::string writeIndirectObject(Ref ref, const Object& object, std::span<const uint8_t> data) {
    std::string out = std::to_string(ref.num) + ' ' + std::to_string(ref.gen) + " obj\r\n";
    if (const Stream* stream = object.asStream()) {
        Dict dict = stream->dict;
        dict.set("Length", Object::integer(int64_t(data.size())));
        appendDict(out, dict);
        out += "\r\nstream\r\n";
        out.append(reinterpret_cast<const char*>(data.data()), data.size());
        out += "\r\nendstream";
    } else {
        append(out, object);
    }
    out += "\r\nendobj";
    return out;
}

}  // namespace reader::pdf
