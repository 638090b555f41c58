// The PDF lexer and parser: each delimiter rule, glued tokens, every string and number form,
// references, dictionaries and arrays written carelessly, nesting, and streams found by their
// length or by their endstream.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "object/lexer.h"
#include "object/parser.h"

namespace reader::pdf {
namespace {

std::span<const uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Bytes shown with non-printing ones escaped, so that cases read as text.
std::string shown(std::string_view bytes) {
    std::string out;
    for (const unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(char(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    return out;
}

std::string describe(const Token& t) {
    switch (t.kind) {
        case Token::Kind::End: return "end";
        case Token::Kind::Integer: return "int " + std::to_string(t.integer);
        case Token::Kind::Real: {
            char text[32];
            std::snprintf(text, sizeof text, "real %g", t.real);
            return text;
        }
        case Token::Kind::String: return "str " + shown(t.text);
        case Token::Kind::HexString: return "hex " + shown(t.text);
        case Token::Kind::Name: return "name " + shown(t.text);
        case Token::Kind::Keyword: return "kw " + t.text;
        case Token::Kind::ArrayOpen: return "[";
        case Token::Kind::ArrayClose: return "]";
        case Token::Kind::DictOpen: return "<<";
        case Token::Kind::DictClose: return ">>";
        case Token::Kind::BraceOpen: return "{";
        case Token::Kind::BraceClose: return "}";
        case Token::Kind::Invalid: return "invalid";
    }
    return "?";
}

std::string tokensOf(std::string_view text) {
    Lexer lexer(bytesOf(text));
    std::string out;
    for (Token t = lexer.next(); t.kind != Token::Kind::End; t = lexer.next()) {
        out += (out.empty() ? "" : " | ") + describe(t);
    }
    return out;
}

struct LexCase {
    const char* name;
    std::string input;
    const char* tokens;
};

class LexerTest : public testing::TestWithParam<LexCase> {};

TEST_P(LexerTest, Tokenises) { EXPECT_EQ(tokensOf(GetParam().input), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Cases, LexerTest,
    testing::Values(
        LexCase{"GluedNames", "/Type/Catalog/Pages 2 0 R",
                "name Type | name Catalog | name Pages | int 2 | int 0 | kw R"},
        LexCase{"ObjectGluedToItsDictionary", "1 0 obj<</A 1>>stream",
                "int 1 | int 0 | kw obj | << | name A | int 1 | >> | kw stream"},
        LexCase{"ReferenceGluedToTheBracket", "[1 0 R]", "[ | int 1 | int 0 | kw R | ]"},
        LexCase{"NameEscapes", "/A#20B /#41 /x#4 /x#zz",
                "name A B | name A | name x#4 | name x#zz"},
        LexCase{"EmptyName", "/ 5", "name  | int 5"},
        LexCase{"NamesAreNotCut", "/ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefgh",
                "name ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefgh"},
        LexCase{"Integers", "+17 -98 0 007 9223372036854775807",
                "int 17 | int -98 | int 0 | int 7 | int 9223372036854775807"},
        LexCase{"Reals", "34.5 -3.62 +123.6 4. -.002 .5 0.0",
                "real 34.5 | real -3.62 | real 123.6 | real 4 | real -0.002 | real 0.5 | real 0"},
        LexCase{"IntegerPastSixtyFourBitsIsReal", "9223372036854775808", "real 9.22337e+18"},
        LexCase{"NotNumbers", "1.2.3 --5 - +", "kw 1.2.3 | kw --5 | kw - | kw +"},
        LexCase{"Comments", "1 % a comment ) ( <<\n2 %\r3%", "int 1 | int 2 | int 3"},
        LexCase{"AllWhiteSpace",
                std::string("1\0"
                            "2\f3\t4\r\n5",
                            10),
                "int 1 | int 2 | int 3 | int 4 | int 5"},
        LexCase{"BalancedParentheses", "(a(b)c)(x)", "str a(b)c | str x"},
        LexCase{"Escapes", "(\\n\\r\\t\\b\\f\\(\\)\\\\\\q)",
                "str \\x0A\\x0D\\x09\\x08\\x0C()\\x5Cq"},
        LexCase{"OctalEscapes", "(\\101\\7\\0053\\400)", "str A\\x07\\x053\\x00"},
        LexCase{"LineContinuations", "(ab\\\ncd\\\r\nef\\\rgh)", "str abcdefgh"},
        LexCase{"EndsOfLineReadAsLf", "(a\r\nb\rc\nd)", "str a\\x0Ab\\x0Ac\\x0Ad"},
        LexCase{"UnterminatedString", "(abc", "str abc"},
        LexCase{"HexStrings", "<48 65 6C6c 6> <4X1> <>", "hex Hell` | hex A | hex "},
        LexCase{"Delimiters", "<<>>[]{}", "<< | >> | [ | ] | { | }"},
        LexCase{"StrayClosers", "> ) 1", "invalid | invalid | int 1"},
        LexCase{"KeywordsGluedToDelimiters", "true/false(null)endobj",
                "kw true | name false | str null | kw endobj"}),
    [](const testing::TestParamInfo<LexCase>& p) { return std::string(p.param.name); });

// Objects written back in a canonical form.
std::string text(const Object& o) {
    switch (o.kind()) {
        case Object::Kind::kNull: return "null";
        case Object::Kind::kBool: return *o.asBool() ? "true" : "false";
        case Object::Kind::kInt: return std::to_string(*o.asInt());
        case Object::Kind::kReal: {
            char out[32];
            std::snprintf(out, sizeof out, "%g", *o.asNumber());
            return out;
        }
        case Object::Kind::kString:
            return (o.asString()->hex ? "<" : "(") + shown(o.asString()->bytes) +
                   (o.asString()->hex ? ">" : ")");
        case Object::Kind::kName: return "/" + std::string(*o.asName());
        case Object::Kind::kArray: {
            std::string out = "[";
            for (const Object& item : *o.asArray()) {
                out += (out.size() > 1 ? " " : "") + text(item);
            }
            return out + "]";
        }
        case Object::Kind::kDict:
        case Object::Kind::kStream: {
            std::string out = "<<";
            for (const auto& [key, value] : o.asDict()->entries()) {
                out += "/" + key + " " + text(value) +
                       (&value == &o.asDict()->entries().back().second ? "" : " ");
            }
            out += ">>";
            if (const Stream* s = o.asStream()) {
                out += " stream@" + std::to_string(s->offset) + "+" + std::to_string(s->length);
            }
            return out;
        }
        case Object::Kind::kRef:
            return std::to_string(o.asRef()->num) + " " + std::to_string(o.asRef()->gen) + " R";
    }
    return "?";
}

std::string parsed(std::string_view input) {
    Parser parser(bytesOf(input));
    const std::optional<Object> o = parser.parseObject();
    return o ? text(*o) : "nothing";
}

struct ParseCase {
    const char* name;
    const char* input;
    const char* object;
};

class ParserTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParserTest, Parses) { EXPECT_EQ(parsed(GetParam().input), GetParam().object); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ParserTest,
    testing::Values(
        ParseCase{"GluedDictionary",
                  "<</Type/Page/MediaBox[0 0 595.3 842]/Contents 6 0 R/Rotate 90>>",
                  "<</Type /Page /MediaBox [0 0 595.3 842] /Contents 6 0 R /Rotate 90>>"},
        ParseCase{"KidsWithReferences", "[1 0 R 2 0 R 3]", "[1 0 R 2 0 R 3]"},
        ParseCase{"NumbersThatAreNotReferences", "[1 2 3 -1 0 R 4 0]", "[1 2 3 -1 0 4 0]"},
        ParseCase{"ValuesOfEveryKind", "[true false null (s) <41> /N 1.5 -2]",
                  "[true false null (s) <A> /N 1.5 -2]"},
        ParseCase{"RepeatedKeyKeepsTheLast", "<</A 1/A 2/B 3>>", "<</A 2 /B 3>>"},
        ParseCase{"KeyWithoutValue", "<</A 1/B>>", "<</A 1 /B null>>"},
        ParseCase{"ValueWhereAKeyBelongs", "<<1 (x) /A 2>>", "<</A 2>>"},
        ParseCase{"StrayKeywordsPassedOver", "[1 foo 2] ", "[1 2]"},
        ParseCase{"ArrayNeverClosed", "[1 2 endobj", "[1 2]"},
        ParseCase{"DictionaryNeverClosed", "<</A [1 2 /B 3", "<</A [1 2 /B 3]>>"},
        ParseCase{"StrayClosersInsideArrays", "[1 >> ) 2]", "[1 2]"},
        ParseCase{"AKeywordIsNoValue", "endobj", "nothing"},
        ParseCase{"End", "  % only a comment", "nothing"}),
    [](const testing::TestParamInfo<ParseCase>& p) { return std::string(p.param.name); });

TEST(ParserTest, NestingIsBounded) {
    for (const char* open : {"[", "<</K "}) {
        std::string deep;
        for (int i = 0; i < 100000; ++i) {
            deep += open;
        }
        Parser parser(bytesOf(deep));
        const std::optional<Object> o = parser.parseObject();
        ASSERT_TRUE(o);
        int depth = 0;
        for (const Object* at = &*o; at != nullptr; ++depth) {
            const Array* a = at->asArray();
            const Dict* d = at->asDict();
            at = a != nullptr && !a->empty()     ? &a->front()
                 : d != nullptr && d->size() > 0 ? &d->entries().front().second
                                                 : nullptr;
        }
        EXPECT_LE(depth, Parser::kMaxDepth + 1) << open;
    }
}

TEST(ParserTest, AReferenceIsReadOnlyWhereItStands) {
    Parser parser(bytesOf("12 0 R 7 1 obj"));
    EXPECT_EQ(text(*parser.parseObject()), "12 0 R");
    EXPECT_EQ(text(*parser.parseObject()), "7");
    EXPECT_EQ(text(*parser.parseObject()), "1");
    EXPECT_FALSE(parser.parseObject()) << "obj is left to be read";
}

struct IndirectCase {
    const char* name;
    std::string input;
    const char* object;  // "nothing" when there is no object header
};

class IndirectObjectTest : public testing::TestWithParam<IndirectCase> {};

TEST_P(IndirectObjectTest, FindsTheObjectAndItsStreamData) {
    const IndirectCase& c = GetParam();
    Parser parser(bytesOf(c.input));
    // Object 8 holds the length 5.
    const auto length = [](Ref r) -> std::optional<int64_t> {
        return r == Ref{8, 0} ? std::optional<int64_t>(5) : std::nullopt;
    };
    const std::optional<IndirectObject> o = parser.parseIndirect(length);
    EXPECT_EQ(
        o ? std::to_string(o->ref.num) + " " + std::to_string(o->ref.gen) + ": " + text(o->object)
          : "nothing",
        c.object);
    if (o && o->object.asStream() != nullptr) {
        const Stream& s = *o->object.asStream();
        EXPECT_EQ(c.input.substr(s.offset, s.length).find("endstream"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IndirectObjectTest,
    testing::Values(
        IndirectCase{"Plain", "3 0 obj\n<</Type/Catalog>>\nendobj", "3 0: <</Type /Catalog>>"},
        IndirectCase{"Glued", "3 0 obj<</A 1>>endobj", "3 0: <</A 1>>"},
        IndirectCase{"Empty", "3 0 obj endobj", "3 0: null"},
        IndirectCase{"EndobjMissing", "3 0 obj 42 4 0 obj", "3 0: 42"},
        IndirectCase{"StreamWithItsLength",
                     "4 0 obj\n<</Length 5>>\nstream\r\nHello\nendstream\nendobj",
                     "4 0: <</Length 5>> stream@30+5"},
        IndirectCase{"StreamAfterLf", "4 0 obj<</Length 5>>stream\nHelloendstream endobj",
                     "4 0: <</Length 5>> stream@27+5"},
        IndirectCase{"IndirectLength", "4 0 obj<</Length 8 0 R>>stream\nHello\nendstream",
                     "4 0: <</Length 8 0 R>> stream@31+5"},
        IndirectCase{"WrongLength", "4 0 obj<</Length 50>>stream\r\nHello\r\nendstream",
                     "4 0: <</Length 50>> stream@29+5"},
        IndirectCase{"LengthShort", "4 0 obj<</Length 2>>stream\nHello\nendstream",
                     "4 0: <</Length 2>> stream@27+5"},
        IndirectCase{"NoLength", "4 0 obj<<>>stream\nHi\nendstream", "4 0: <<>> stream@18+2"},
        IndirectCase{"UnknownIndirectLength", "4 0 obj<</Length 9 0 R>>stream\nHey\nendstream",
                     "4 0: <</Length 9 0 R>> stream@31+3"},
        IndirectCase{"NoEndstream", "4 0 obj<</Length 99>>stream\nabc",
                     "4 0: <</Length 99>> stream@28+3"},
        IndirectCase{"NotAnObject", "trailer <<>>", "nothing"},
        IndirectCase{"NegativeNumber", "-3 0 obj 1 endobj", "nothing"}),
    [](const testing::TestParamInfo<IndirectCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace reader::pdf
