// PDF functions of every type: the reference's examples, inputs outside the domain, outputs
// clipped to the range, programs that fail as they run or do not parse, and nesting.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graphics/function.h"
#include "graphics/postscript_calculator.h"
#include "graphics_test_support.h"

namespace reader::pdf {
namespace {

struct Evaluation {
    std::vector<double> in;
    std::vector<double> out;
};

// Evaluates `function` at each row's inputs and compares every output.
void expectEvaluations(const Function& function, const std::vector<Evaluation>& rows) {
    for (const Evaluation& row : rows) {
        std::vector<double> out(row.out.size(), -99);
        function.eval(row.in, out);
        for (size_t j = 0; j < row.out.size(); ++j) {
            EXPECT_NEAR(out[j], row.out[j], 1e-9)
                << "output " << j << " at input " << (row.in.empty() ? -1 : row.in[0]);
        }
    }
}

std::unique_ptr<Function> readText(GraphicsFile& file, const std::string& text) {
    return Function::read(file.document(), GraphicsFile::parse(text));
}

TEST(GraphicsFunctionTest, Exponential) {
    struct Case {
        std::string dict;
        std::vector<Evaluation> rows;
    };
    const Case cases[] = {
        {"<</FunctionType 2/Domain[0 1]/C0[0]/C1[1]/N 1>>",
         {{{0.5}, {0.5}}, {{2}, {1}}, {{-1}, {0}}, {{NAN}, {0}}}},
        {"<</FunctionType 2/Domain[0 1]/N 3>>", {{{0.5}, {0.125}}}},  // C0 and C1 by default
        {"<</FunctionType 2/Domain[0 1]/C0[1 0 0]/C1[0 1 0.5]/N 2>>",
         {{{0.5}, {0.75, 0.25, 0.125}}, {{1}, {0, 1, 0.5}}}},
        {"<</FunctionType 2/Domain[0 1]/Range[0 0.5]/N 1>>", {{{0.8}, {0.5}}}},
        // x^N undefined: the range's minimum, or 0 without a range.
        {"<</FunctionType 2/Domain[-1 1]/Range[0.25 1]/N 0.5>>",
         {{{-0.5}, {0.25}}, {{0.25}, {0.5}}}},
        {"<</FunctionType 2/Domain[-1 1]/N 0.5>>", {{{-0.5}, {0}}}},
        {"<</FunctionType 2/Domain[0 1]/N -1>>", {{{0}, {0}}, {{0.5}, {2}}}},
        {"<</FunctionType 2/Domain[-2 2]/N 3>>", {{{-2}, {-8}}}},  // integral N, negative x
        // Outputs beyond the function's are zeroed.
        {"<</FunctionType 2/Domain[0 1]/C0[0.5]/C1[0.5]/N 1>>", {{{0.3}, {0.5, 0, 0}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dict);
        GraphicsFile file;
        const auto function = readText(file, c.dict);
        ASSERT_NE(function, nullptr);
        EXPECT_EQ(function->inputs(), 1u);
        expectEvaluations(*function, c.rows);
    }
}

TEST(GraphicsFunctionTest, UnreadableDictionaries) {
    const char* const dicts[] = {
        "<</FunctionType 2/C0[0]/C1[1]/N 1>>",                 // no domain
        "<</FunctionType 2/Domain[1 0]/N 1>>",                 // an inverted domain
        "<</FunctionType 2/Domain[0]/N 1>>",                   // an odd domain
        "<</FunctionType 2/Domain[0 1]/C0[0 0]/C1[1]/N 1>>",   // C0 and C1 differ in size
        "<</FunctionType 2/Domain[0 1]/C0[0]/C1[1]>>",         // no exponent
        "<</FunctionType 2/Domain[0 1 0 1]/N 1>>",             // two inputs
        "<</FunctionType 2/Domain[0 1]/Range[0 1 0 1]/N 1>>",  // a range for two outputs
        "<</FunctionType 7/Domain[0 1]/N 1>>",                 // no such type
        "<</Domain[0 1]/N 1>>",                                // no type at all
        "<</FunctionType 0/Domain[0 1]/Range[0 1]/Size[2]/BitsPerSample 8>>",  // not a stream
        "<</FunctionType 4/Domain[0 1]/Range[0 1]>>",                          // not a stream
        "[]",
        "(a string)",
        "[<</FunctionType 2/Domain[0 1 0 1]/N 1>>]",  // an array of functions of two inputs
    };
    for (const char* dict : dicts) {
        GraphicsFile file;
        EXPECT_EQ(readText(file, dict), nullptr) << dict;
    }
}

TEST(GraphicsFunctionTest, ArrayOfFunctionsActsAsOne) {
    GraphicsFile file({{10, "<</FunctionType 2/Domain[0 1]/C0[1]/C1[0]/N 1>>"}});
    const auto function = readText(
        file, "[<</FunctionType 2/Domain[0 1]/N 1>> 10 0 R <</FunctionType 2/Domain[0 1]/N 2>>]");
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function->inputs(), 1u);
    EXPECT_EQ(function->outputs(), 3u);
    expectEvaluations(*function, {{{0.5}, {0.5, 0.5, 0.25}}, {{3}, {1, 0, 1}}});
}

// Type 3: the reference's example of two pieces, and pieces reversed by their Encode.
TEST(GraphicsFunctionTest, Stitching) {
    struct Case {
        std::string dict;
        std::vector<Evaluation> rows;
    };
    const std::string line = "<</FunctionType 2/Domain[0 1]/N 1>>";
    const std::string square = "<</FunctionType 2/Domain[0 1]/N 2>>";
    const Case cases[] = {
        {"<</FunctionType 3/Domain[0 1]/Functions[" + line + line +
             "]/Bounds[0.5]/Encode[0 1 0 1]>>",
         {{{0.25}, {0.5}}, {{0.5}, {0}}, {{0.75}, {0.5}}, {{1}, {1}}, {{-3}, {0}}, {{3}, {1}}}},
        {"<</FunctionType 3/Domain[0 1]/Functions[" + line + square +
             "]/Bounds[0.5]/Encode[1 0 0 1]>>",
         {{{0}, {1}}, {{0.25}, {0.5}}, {{0.75}, {0.25}}}},
        // A first piece of one point, where Bounds[0] is the domain's start.
        {"<</FunctionType 3/Domain[0 1]/Functions[" + line + square +
             "]/Bounds[0]/Encode[1 1 0 1]>>",
         {{{0}, {1}}, {{0.5}, {0.25}}}},
        // One piece, no bounds, a domain other than [0 1].
        {"<</FunctionType 3/Domain[2 4]/Functions[" + line + "]/Bounds[]/Encode[0 1]>>",
         {{{3}, {0.5}}, {{4}, {1}}}},
        {"<</FunctionType 3/Domain[0 1]/Range[0 0.3]/Functions[" + line +
             "]/Bounds[]/Encode[0 1]>>",
         {{{0.5}, {0.3}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dict);
        GraphicsFile file;
        const auto function = readText(file, c.dict);
        ASSERT_NE(function, nullptr);
        expectEvaluations(*function, c.rows);
    }
    const std::string rgb = "<</FunctionType 2/Domain[0 1]/C0[0 0 0]/C1[1 1 1]/N 1>>";
    const std::string bad[] = {
        "<</FunctionType 3/Domain[0 1]/Functions[" + line + rgb + "]/Bounds[0.5]/Encode[0 1 0 1]>>",
        "<</FunctionType 3/Domain[0 1]/Functions[" + line + line + "]/Bounds[]/Encode[0 1 0 1]>>",
        "<</FunctionType 3/Domain[0 1]/Functions[" + line + line + "]/Bounds[0.5]/Encode[0 1]>>",
        "<</FunctionType 3/Domain[0 1]/Functions[" + line + line + line +
            "]/Bounds[0.6 0.3]/Encode[0 1 0 1 0 1]>>",
        "<</FunctionType 3/Domain[0 1]/Functions[" + line + line + "]/Bounds[2]/Encode[0 1 0 1]>>",
        "<</FunctionType 3/Domain[0 1]/Functions[]/Bounds[]/Encode[]>>",
    };
    for (const std::string& dict : bad) {
        GraphicsFile file;
        EXPECT_EQ(readText(file, dict), nullptr) << dict;
    }
}

// Stitching functions inside one another: as deep as the bound allows, and no deeper; a
// function inside itself, and a tree of shared references too large to read.
TEST(GraphicsFunctionTest, NestingIsBounded) {
    const auto chain = [](int levels) {
        std::vector<fixtures::PdfObject> objects;
        for (int i = 0; i < levels; ++i) {
            objects.push_back({10 + i, "<</FunctionType 3/Domain[0 1]/Functions[" +
                                           std::to_string(11 + i) +
                                           " 0 R]/Bounds[]/Encode[1 0]>>"});
        }
        objects.push_back({10 + levels, "<</FunctionType 2/Domain[0 1]/N 1>>"});
        return objects;
    };
    {
        GraphicsFile file(chain(Function::kMaxDepth));
        const auto function = Function::read(file.document(), GraphicsFile::ref(10));
        ASSERT_NE(function, nullptr);
        // An even number of reversals leaves the line as it was.
        expectEvaluations(*function, {{{0.25}, {Function::kMaxDepth % 2 == 0 ? 0.25 : 0.75}}});
    }
    {
        GraphicsFile file(chain(Function::kMaxDepth + 1));
        EXPECT_EQ(Function::read(file.document(), GraphicsFile::ref(10)), nullptr);
    }
    {
        GraphicsFile file(
            {{10, "<</FunctionType 3/Domain[0 1]/Functions[10 0 R]/Bounds[]/Encode[0 1]>>"}});
        EXPECT_EQ(Function::read(file.document(), GraphicsFile::ref(10)), nullptr);
    }
    {
        // Each level refers to the next forty times over: 40^5 functions if read naively.
        std::string bounds;
        std::string encode;
        for (int i = 0; i < 40; ++i) {
            bounds += i > 0 ? " " + std::to_string(i / 40.0) : "";
            encode += " 0 1";
        }
        std::vector<fixtures::PdfObject> objects;
        for (int level = 0; level < 5; ++level) {
            std::string refs;
            for (int i = 0; i < 40; ++i) {
                refs += " " + std::to_string(11 + level) + " 0 R";
            }
            objects.push_back({10 + level, "<</FunctionType 3/Domain[0 1]/Functions[" + refs +
                                               "]/Bounds[" + bounds + "]/Encode[" + encode +
                                               "]>>"});
        }
        objects.push_back({15, "<</FunctionType 2/Domain[0 1]/N 1>>"});
        GraphicsFile file(objects);
        EXPECT_EQ(Function::read(file.document(), GraphicsFile::ref(10)), nullptr);
    }
}

std::vector<uint8_t> bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (const int v : values) {
        out.push_back(uint8_t(v));
    }
    return out;
}

// Type 0: samples of each width, interpolated along one and two inputs, Encode and Decode.
TEST(GraphicsFunctionTest, Sampled) {
    struct Case {
        std::string entries;
        std::vector<uint8_t> data;
        std::vector<Evaluation> rows;
    };
    const Case cases[] = {
        {"/Domain[0 1]/Range[0 1]/Size[3]/BitsPerSample 8",
         bytes({0, 128, 255}),
         {{{0}, {0}}, {{0.25}, {64 / 255.0}}, {{0.5}, {128 / 255.0}}, {{1}, {1}}, {{2}, {1}}}},
        // Two inputs, the first varying fastest: f(x, y) = x xor y, bilinear between.
        {"/Domain[0 1 0 1]/Range[0 1]/Size[2 2]/BitsPerSample 8",
         bytes({0, 255, 255, 0}),
         {{{0, 0}, {0}},
          {{1, 0}, {1}},
          {{0, 1}, {1}},
          {{1, 1}, {0}},
          {{0.5, 0.5}, {0.5}},
          {{0.25, 0}, {0.25}}}},
        {"/Domain[0 1]/Range[0 1]/Size[2]/BitsPerSample 1",
         bytes({0x40}),
         {{{0.5}, {0.5}}, {{1}, {1}}}},
        {"/Domain[0 1]/Range[0 1]/Size[3]/BitsPerSample 4",
         bytes({0x0F, 0x50}),
         {{{0.5}, {1}}, {{1}, {5 / 15.0}}}},
        {"/Domain[0 1]/Range[0 1]/Size[2]/BitsPerSample 12",
         bytes({0xFF, 0xF0, 0x00}),
         {{{0}, {1}}, {{0.75}, {0.25}}}},
        {"/Domain[0 1]/Range[0 1 0 1]/Size[2]/BitsPerSample 16",
         bytes({0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}),
         {{{0}, {0, 1}}, {{0.5}, {0.5, 0.5}}}},
        {"/Domain[0 1]/Range[0 1]/Size[2]/BitsPerSample 32",
         bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
         {{{0.5}, {0.5}}}},
        // Encode reversed, Decode onto another interval, Range clipping the decoded values.
        {"/Domain[0 1]/Range[0 10]/Size[5]/BitsPerSample 8/Encode[4 0]",
         bytes({0, 0, 0, 0, 255}),
         {{{0}, {10}}, {{1}, {0}}}},
        {"/Domain[0 1]/Range[0 1]/Decode[2 -2]/Size[2]/BitsPerSample 8",
         bytes({0, 255}),
         {{{0}, {1}}, {{0.5}, {0}}, {{1}, {0}}}},
        // Samples missing from a short table read as 0.
        {"/Domain[0 1]/Range[0 1]/Size[3]/BitsPerSample 8", bytes({255}), {{{0}, {1}}, {{1}, {0}}}},
        // Cubic order falls back to linear.
        {"/Domain[0 1]/Range[0 1]/Size[3]/BitsPerSample 8/Order 3",
         bytes({0, 128, 255}),
         {{{0.25}, {64 / 255.0}}}},
        // One grid point along an input.
        {"/Domain[0 1 0 1]/Range[0 1]/Size[1 2]/BitsPerSample 8",
         bytes({0, 255}),
         {{{0.7, 0.5}, {0.5}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        GraphicsFile file({{10, binaryStream("/FunctionType 0" + c.entries, c.data)}});
        const auto function = Function::read(file.document(), GraphicsFile::ref(10));
        ASSERT_NE(function, nullptr);
        expectEvaluations(*function, c.rows);
    }
    const char* const bad[] = {
        "/Domain[0 1]/Range[0 1]/BitsPerSample 8",                  // no size
        "/Domain[0 1]/Range[0 1]/Size[2]/BitsPerSample 3",          // no such width
        "/Domain[0 1]/Size[2]/BitsPerSample 8",                     // no range
        "/Domain[0 1]/Range[0 1]/Size[0]/BitsPerSample 8",          // an empty grid
        "/Domain[0 1]/Range[0 1]/Size[2 2]/BitsPerSample 8",        // sizes for two inputs
        "/Domain[0 1]/Range[0 1]/Size[100000000]/BitsPerSample 8",  // too many samples
        "/Domain[0 1 0 1]/Range[0 1]/Size[4096 4096]/BitsPerSample 8",
        "/Domain[0 1]/Range[0 1]/Size[2]/BitsPerSample 8/Encode[0]",
        "/Domain[0 1]/Range[0 1]/Size[2]/BitsPerSample 8/Decode[0 1 0 1]",
    };
    for (const char* entries : bad) {
        GraphicsFile file(
            {{10, binaryStream(std::string("/FunctionType 0") + entries, bytes({0, 255}))}});
        EXPECT_EQ(Function::read(file.document(), GraphicsFile::ref(10)), nullptr) << entries;
    }
}

// Type 4 programs, read from a stream and evaluated; `range` gives the outputs.
struct Program {
    std::string text;
    std::vector<double> in;
    std::vector<double> out;
};

std::string pairs(size_t count, const std::string& pair) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        out += pair + " ";
    }
    return out;
}

// A file whose object 10 is `p`'s program with as many inputs and outputs as the case has,
// inputs in [-1000 1000], outputs in `range`.
std::unique_ptr<GraphicsFile> programFile(const Program& p,
                                          const std::string& range = "-1000 1000") {
    return std::make_unique<GraphicsFile>(std::vector<fixtures::PdfObject>{
        {10, fixtures::streamBody("/FunctionType 4/Domain[" + pairs(p.in.size(), "-1000 1000") +
                                      "]/Range[" + pairs(p.out.size(), range) + "]",
                                  p.text)}});
}

std::unique_ptr<Function> programFunction(GraphicsFile& file) {
    return Function::read(file.document(), GraphicsFile::ref(10));
}

TEST(GraphicsFunctionTest, CalculatorOperators) {
    const Program programs[] = {
        // The reference's example of a spot function.
        {"{ 360 mul sin 2 div exch 360 mul sin 2 div add }", {0.25, 0}, {0.5}},
        {"{ 360 mul sin 2 div exch 360 mul sin 2 div add }", {0.25, 0.25}, {1}},
        {"{ add }", {2, 3}, {5}},
        {"{ sub }", {2, 3}, {-1}},
        {"{ mul }", {2, 3}, {6}},
        {"{ div }", {3, 2}, {1.5}},
        {"{ cvi exch cvi exch idiv }", {7, 2}, {3}},
        {"{ cvi exch cvi exch idiv }", {-7, 2}, {-3}},
        {"{ cvi exch cvi exch mod }", {-7, 2}, {-1}},
        {"{ abs }", {-2.5}, {2.5}},
        {"{ neg }", {2.5}, {-2.5}},
        {"{ ceiling }", {1.2}, {2}},
        {"{ floor }", {-1.2}, {-2}},
        {"{ round }", {2.5}, {3}},
        {"{ round }", {-2.5}, {-2}},
        {"{ truncate }", {-1.7}, {-1}},
        {"{ cvi }", {2.7}, {2}},
        {"{ cvi cvr 2 div }", {3}, {1.5}},
        {"{ sqrt }", {16}, {4}},
        {"{ sin }", {30}, {0.5}},
        {"{ cos }", {60}, {0.5}},
        {"{ pop 0 1 atan }", {0}, {0}},
        {"{ pop 1 0 atan }", {0}, {90}},
        {"{ pop -1 0 atan }", {0}, {270}},
        {"{ 2 exp }", {3}, {9}},
        {"{ ln }", {std::numbers::e}, {1}},
        {"{ log }", {100}, {2}},
        {"{ pop 12 10 and }", {0}, {8}},
        {"{ pop 12 10 or }", {0}, {14}},
        {"{ pop 12 10 xor }", {0}, {6}},
        {"{ pop 5 not }", {0}, {-6}},
        {"{ pop 1 3 bitshift }", {0}, {8}},
        {"{ pop 8 -2 bitshift }", {0}, {2}},
        {"{ pop 2147483647 1 add }", {0}, {1000}},  // a real past the integers, then clipped
        {"{ 0.5 gt { 1 } { 0 } ifelse }", {0.7}, {1}},
        {"{ 0.5 gt { 1 } { 0 } ifelse }", {0.3}, {0}},
        {"{ dup 0 lt { neg } if }", {-3}, {3}},
        {"{ dup 0 lt { neg } if }", {3}, {3}},
        {"{ dup 0.5 lt { dup 0.25 lt { pop 1 } { pop 2 } ifelse } { pop 3 } ifelse }", {0.1}, {1}},
        {"{ dup 0.5 lt { dup 0.25 lt { pop 1 } { pop 2 } ifelse } { pop 3 } ifelse }", {0.3}, {2}},
        {"{ dup 0.5 lt { dup 0.25 lt { pop 1 } { pop 2 } ifelse } { pop 3 } ifelse }", {0.8}, {3}},
        {"{ pop true false or { 1 } { 0 } ifelse }", {0}, {1}},
        {"{ pop true false and { 1 } { 0 } ifelse }", {0}, {0}},
        {"{ pop true not { 1 } { 0 } ifelse }", {0}, {0}},
        {"{ 1 eq { 1 } { 0 } ifelse }", {1}, {1}},
        {"{ 1 ne { 1 } { 0 } ifelse }", {1}, {0}},
        {"{ 2 ge { 1 } { 0 } ifelse }", {2}, {1}},
        {"{ 2 le { 1 } { 0 } ifelse }", {3}, {0}},
        {"{ 2 lt { 1 } { 0 } ifelse }", {1}, {1}},
        {"{ pop true true eq false true ne and { 1 } { 0 } ifelse }", {0}, {1}},
        {"{ pop 1 2 3 2 copy }", {0}, {1, 2, 3, 2, 3}},
        {"{ pop 1 2 3 1 index }", {0}, {1, 2, 3, 2}},
        {"{ pop 1 2 3 3 1 roll }", {0}, {3, 1, 2}},
        {"{ pop 1 2 3 3 -1 roll }", {0}, {2, 3, 1}},
        {"{ pop 1 2 3 3 7 roll }", {0}, {3, 1, 2}},
        {"{ pop 1 2 3 0 copy }", {0}, {1, 2, 3}},
        {"{ exch }", {1, 2}, {2, 1}},
        {"{ dup }", {4}, {4, 4}},
        {"{ pop 7 }", {1, 2}, {1, 7}},  // the top numbers are the outputs
        {"{ 2 mul } % a comment\n", {4}, {8}},
    };
    for (const Program& p : programs) {
        SCOPED_TRACE(p.text);
        const auto file = programFile(p);
        const auto function = programFunction(*file);
        ASSERT_NE(function, nullptr);
        EXPECT_EQ(function->inputs(), p.in.size());
        EXPECT_EQ(function->outputs(), p.out.size());
        std::vector<double> out(p.out.size());
        function->eval(p.in, out);
        for (size_t j = 0; j < out.size(); ++j) {
            EXPECT_NEAR(out[j], p.out[j], 1e-9) << "output " << j;
        }
    }
}

// A program that fails as it runs gives the range's minimum.
TEST(GraphicsFunctionTest, CalculatorFailuresGiveTheRangeMinimum) {
    std::string overflow = "{";
    for (size_t i = 0; i < CalculatorProgram::kMaxStack; ++i) {
        overflow += " dup";
    }
    overflow += " }";
    std::string full = "{";
    for (size_t i = 1; i < CalculatorProgram::kMaxStack; ++i) {
        full += " dup";
    }
    full += " }";
    const Program programs[] = {
        {"{ pop 1 0 div }", {0}, {0.25}},
        {"{ pop 1 0 idiv }", {0}, {0.25}},
        {"{ pop 1 0 mod }", {0}, {0.25}},
        {"{ pop pop }", {0}, {0.25}},
        {"{ pop }", {0}, {0.25}},
        {"{ pop true }", {0}, {0.25}},
        {"{ pop -1 sqrt }", {0}, {0.25}},
        {"{ pop 0 ln }", {0}, {0.25}},
        {"{ pop -1 log }", {0}, {0.25}},
        {"{ pop 0 0 atan }", {0}, {0.25}},
        {"{ pop -8 0.5 exp }", {0}, {0.25}},
        {"{ pop 1.5 2 idiv }", {0}, {0.25}},
        {"{ pop 1.5 2 bitshift }", {0}, {0.25}},
        {"{ pop 1.5 not }", {0}, {0.25}},
        {"{ pop true 1 and }", {0}, {0.25}},
        {"{ pop true 1 add }", {0}, {0.25}},
        {"{ pop 1 { 2 } if }", {0}, {0.25}},  // if on a number
        {"{ pop 5 copy }", {0}, {0.25}},
        {"{ pop -1 index }", {0}, {0.25}},
        {"{ pop 1 2 3 5 1 roll }", {0}, {0.25}},
        {"{ pop 10000000000 cvi }", {0}, {0.25}},
        {overflow, {0.5}, {0.25}},
        {full, {0.5}, {0.5}},  // fills the stack exactly, which succeeds
    };
    for (const Program& p : programs) {
        SCOPED_TRACE(p.text);
        const auto file = programFile(p, "0.25 1");
        const auto function = programFunction(*file);
        ASSERT_NE(function, nullptr);
        std::vector<double> out(1);
        function->eval(p.in, out);
        EXPECT_EQ(out[0], p.out[0]);
    }
}

TEST(GraphicsFunctionTest, CalculatorProgramsThatDoNotParse) {
    std::string deep;
    for (int i = 0; i <= CalculatorProgram::kMaxNesting; ++i) {
        deep += "true { ";
    }
    for (int i = 0; i <= CalculatorProgram::kMaxNesting; ++i) {
        deep += "} if ";
    }
    std::string shallow;
    for (int i = 0; i < 5; ++i) {
        shallow += "true { ";
    }
    for (int i = 0; i < 5; ++i) {
        shallow += "} if ";
    }
    std::string longProgram = "{";
    for (size_t i = 0; i <= CalculatorProgram::kMaxInstructions; ++i) {
        longProgram += " 1 pop";
    }
    longProgram += " }";
    struct Case {
        std::string text;
        bool parses;
    };
    const Case cases[] = {
        {"{ 1 add }", true},
        {"{ " + shallow + "}", true},
        {"{ " + deep + "}", false},
        {longProgram, false},
        {"{ foo }", false},
        {"{ 1 { 2 } }", false},
        {"{ 1 if }", false},
        {"{ true { 1 } { 2 } if }", false},
        {"{ true { 1 } ifelse }", false},
        {"1 2 add", false},
        {"{ 1 2 add", false},
        {"{ (a string) }", false},
        {"{ /name }", false},
        {"{ [ 1 ] }", false},
        {"", false},
    };
    for (const Case& c : cases) {
        const auto program = CalculatorProgram::parse(
            {reinterpret_cast<const uint8_t*>(c.text.data()), c.text.size()});
        EXPECT_EQ(program.has_value(), c.parses) << c.text.substr(0, 60);
        GraphicsFile file(
            {{10, fixtures::streamBody("/FunctionType 4/Domain[0 1]/Range[0 10]", c.text)}});
        EXPECT_EQ(Function::read(file.document(), GraphicsFile::ref(10)) != nullptr, c.parses)
            << c.text.substr(0, 60);
    }
    // A program needs a range to give its outputs.
    GraphicsFile file({{10, fixtures::streamBody("/FunctionType 4/Domain[0 1]", "{ 1 add }")}});
    EXPECT_EQ(Function::read(file.document(), GraphicsFile::ref(10)), nullptr);
}

}  // namespace
}  // namespace reader::pdf
