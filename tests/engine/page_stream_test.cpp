// The page word stream reader: items and operand lengths under each grammar, the helpers it
// shares with the interpreters, and the picture records built from picture elements.
#include "stream/page_stream.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using vyn::ItemKind;
using vyn::StreamRules;
using Words = std::vector<uint16_t>;

const StreamRules kFirst = vyn::rulesForDrawing(0);
const StreamRules kSecond = vyn::rulesForDrawing(2);
const StreamRules kSecondType1 = vyn::rulesForDrawing(1);
const StreamRules kSecondScanned = vyn::rulesForDrawing(23112);
const StreamRules kScanFirst = vyn::rulesForScanning(1);
const StreamRules kScanSecond = vyn::rulesForScanning(2);
const StreamRules kScanScanned = vyn::rulesForScanning(23112);

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

std::string hex(uint16_t word) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", word);
    return text;
}

// One item as a line such as "char 0100 B0A1 [0,2)", so that a whole walk compares at once.
std::string describe(const vyn::StreamItem& item) {
    std::string text;
    switch (item.kind) {
        case ItemKind::Character: text = "char " + hex(item.position) + " " + hex(item.code); break;
        case ItemKind::Position: text = "pos " + hex(item.position); break;
        case ItemKind::Command: text = "cmd " + hex(item.code); break;
        case ItemKind::Unknown: text = "unknown " + hex(item.code); break;
    }
    text += " [" + std::to_string(item.index) + "," + std::to_string(item.next) + ")";
    return item.truncated ? text + " cut" : text;
}

// Reads every item, checking what holds for all of them: items follow one another without gaps,
// the reader reports where the next one starts, and an operand is the page's own words between
// the command word and the next item.
std::vector<std::string> readAll(const Words& words, StreamRules rules) {
    vyn::PageStreamReader reader(words, rules);
    std::vector<std::string> lines;
    size_t expectedIndex = 0;
    while (const auto item = reader.next()) {
        EXPECT_EQ(item->index, expectedIndex);
        EXPECT_EQ(reader.nextIndex(), item->next);
        if (item->kind == ItemKind::Command || item->kind == ItemKind::Unknown) {
            EXPECT_EQ(item->operand.data(), words.data() + item->index + 1);
            EXPECT_EQ(item->operand.size(), item->next - item->index - 1);
        }
        lines.push_back(describe(*item));
        expectedIndex = item->next;
    }
    EXPECT_EQ(expectedIndex, words.size());
    return lines;
}

struct WalkCase {
    const char* name;
    StreamRules rules;
    Words words;
    std::vector<std::string> items;

    friend void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }
};

class WalkTest : public testing::TestWithParam<WalkCase> {};

TEST_P(WalkTest, ReadsTheItems) {
    const WalkCase& c = GetParam();
    EXPECT_EQ(readAll(c.words, c.rules), c.items);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, WalkTest,
    testing::Values(WalkCase{"PositionAfterPositionSecondReplacesTheFirst",
                             kSecond,
                             {0x0100, 0x0200, 0xB0A1},
                             {"pos 0100 [0,1)", "char 0200 B0A1 [1,3)"}},
                    WalkCase{"PositionAfterPositionFirstIsACode",
                             kFirst,
                             {0x0100, 0x0200, 0x0300, 0xB0A1},
                             {"char 0100 0200 [0,2)", "char 0300 B0A1 [2,4)"}},
                    WalkCase{"PositionAfterPositionScannerIsACode",
                             kScanSecond,
                             {0x0100, 0x0200, 0x0300, 0xB0A1},
                             {"char 0100 0200 [0,2)", "char 0300 B0A1 [2,4)"}},
                    WalkCase{"PositionThenLinePositionSecond",
                             kSecond,
                             {0x0100, 0x8001, 0x0040, 0x0120, 0xB0A1},
                             {"pos 0100 [0,1)", "cmd 8001 [1,3)", "char 0120 B0A1 [3,5)"}},
                    WalkCase{"PositionThenLinePositionScanner",
                             kScanScanned,
                             {0x0100, 0x8001, 0x0040, 0x0120, 0xB0A1},
                             {"pos 0100 [0,1)", "cmd 8001 [1,3)", "char 0120 B0A1 [3,5)"}},
                    WalkCase{
                        "PositionThenLinePositionFirstTakesItAsCode",
                        kFirst,
                        {0x0100, 0x8001, 0x0040, 0x0120, 0x8009, 0x0000},
                        {"char 0100 8001 [0,2)", "char 0040 0120 [2,4)", "unknown 8009 [4,6)"}},
                    WalkCase{"PositionThenUnknownCommandWordSecond",
                             kSecond,
                             {0x0100, 0x80A1, 0x0000},
                             {"pos 0100 [0,1)", "unknown 80A1 [1,3)"}},
                    WalkCase{"PositionThenCodeAbove80xxIsACharacter",
                             kSecond,
                             {0x0100, 0x8140, 0x0200, 0xFEA1},
                             {"char 0100 8140 [0,2)", "char 0200 FEA1 [2,4)"}},
                    WalkCase{"TypeOneScansWithTheFirstGrammar",
                             kScanFirst,
                             {0x0100, 0x8001, 0x0040, 0x0120},
                             {"char 0100 8001 [0,2)", "char 0040 0120 [2,4)"}},
                    WalkCase{"TrailingPositionSecondStandsAlone",
                             kSecond,
                             {0x0100, 0xB0A1, 0x0200},
                             {"char 0100 B0A1 [0,2)", "pos 0200 [2,3)"}},
                    WalkCase{"TrailingPositionFirstLacksItsCode",
                             kFirst,
                             {0x0100, 0xB0A1, 0x0200},
                             {"char 0100 B0A1 [0,2)", "pos 0200 [2,3) cut"}}),
    caseName<WalkCase>);

INSTANTIATE_TEST_SUITE_P(
    Elements, WalkTest,
    testing::Values(
        WalkCase{"RuleMarkerFF10FirstLeavesItAsUnknown",
                 kFirst,
                 {0x8006, 0xA383, 1, 2, 3, 4, 0xFF10, 0x1111, 0x0100, 0xB0A1},
                 {"cmd 8006 [0,6)", "unknown FF10 [6,8)", "char 0100 B0A1 [8,10)"}},
        WalkCase{"RuleMarkerFF10SecondTakesTheTail",
                 kSecond,
                 {0x8006, 0xA383, 1, 2, 3, 4, 0xFF10, 0x1111, 0x0100, 0xB0A1},
                 {"cmd 8006 [0,8)", "char 0100 B0A1 [8,10)"}},
        WalkCase{"NoEndOfPageEndsAtTheWordCount",
                 kSecond,
                 {0x8001, 0x0040, 0x0100, 0xB0A1},
                 {"cmd 8001 [0,2)", "char 0100 B0A1 [2,4)"}},
        WalkCase{"EndOfPageIsReturnedAsACommand",
                 kFirst,
                 {0x0100, 0xB0A1, 0x8004, 0x0000, 0x8005},
                 {"char 0100 B0A1 [0,2)", "cmd 8004 [2,4)", "cmd 8005 [4,5)"}},
        WalkCase{"EllipseCutAtTheWordCount",
                 kSecond,
                 {0x0100, 0xB0A1, 0x800B, 1, 2, 3},
                 {"char 0100 B0A1 [0,2)", "cmd 800B [2,6) cut"}},
        WalkCase{
            "RecordElementCutAtTheWordCount", kFirst, {0x8016, 1, 2, 3}, {"cmd 8016 [0,4) cut"}},
        WalkCase{"UnknownCodeLastWordIsCut",
                 kSecond,
                 {0x0100, 0xB0A1, 0x8009},
                 {"char 0100 B0A1 [0,2)", "unknown 8009 [2,3) cut"}},
        WalkCase{"HugePointBlockIsCut",
                 kSecond,
                 {0x802B, 0, 0x7FFF, 0x0100, 0xB0A1},
                 {"cmd 802B [0,5) cut"}},
        WalkCase{"PointListWithoutMarkerRunsToTheEnd",
                 kSecond,
                 {0x8014, 0, 10, 20, 0x8001, 0x0040},
                 {"cmd 8014 [0,6) cut"}},
        WalkCase{
            "ElementEndingAtTheWordCount", kSecond, {0x8007, 0, 1, 2, 3, 4}, {"cmd 8007 [0,6)"}},
        WalkCase{"EmptyPage", kSecond, {}, {}}),
    caseName<WalkCase>);

struct UnknownCase {
    const char* name;
    StreamRules rules;
    uint16_t code;

    friend void PrintTo(const UnknownCase& c, std::ostream* os) { *os << c.name; }
};

class UnknownCodeTest : public testing::TestWithParam<UnknownCase> {};

TEST_P(UnknownCodeTest, CostsItsWordAndOneMore) {
    const UnknownCase& c = GetParam();
    const std::string code = hex(c.code);
    EXPECT_EQ(readAll({c.code, 0x8001, 0x0100, 0xB0A1}, c.rules),
              (std::vector<std::string>{"unknown " + code + " [0,2)", "char 0100 B0A1 [2,4)"}));
}

INSTANTIATE_TEST_SUITE_P(BothDialects, UnknownCodeTest,
                         testing::Values(UnknownCase{"Code8009First", kFirst, 0x8009},
                                         UnknownCase{"Code8009Second", kSecond, 0x8009},
                                         UnknownCase{"Code8009Scanner", kScanSecond, 0x8009},
                                         UnknownCase{"Code800EFirst", kFirst, 0x800E},
                                         UnknownCase{"Code800FSecond", kSecond, 0x800F},
                                         UnknownCase{"Code8027First", kFirst, 0x8027},
                                         UnknownCase{"Code802DSecond", kSecond, 0x802D},
                                         UnknownCase{"Code802FFirst", kFirst, 0x802F},
                                         UnknownCase{"SetSymbolSetFirst", kFirst, 0x801D},
                                         UnknownCase{"SkippedOnlyInFirst801ESecond", kSecond,
                                                     0x801E},
                                         UnknownCase{"Arrowhead0xFFFDFirst", kFirst, 0xFFFD},
                                         UnknownCase{"HighCodeSecond", kSecond, 0xA5A5}),
                         caseName<UnknownCase>);

// The first item of `words` is the command under test; the words after its operand show that
// the reader stops where it should.
struct LengthCase {
    const char* name;
    StreamRules rules;
    Words words;
    ItemKind kind;
    size_t length;

    friend void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.name; }
};

class OperandLengthTest : public testing::TestWithParam<LengthCase> {};

TEST_P(OperandLengthTest, TakesTheOperand) {
    const LengthCase& c = GetParam();
    ASSERT_GT(c.words.size(), c.length + 1) << "the case needs words after the operand";
    vyn::PageStreamReader reader(c.words, c.rules);
    const auto item = reader.next();
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->kind, c.kind);
    EXPECT_EQ(item->code, c.words[0]);
    EXPECT_EQ(item->operand.size(), c.length);
    EXPECT_EQ(item->next, c.length + 1);
    EXPECT_FALSE(item->truncated);
}

constexpr ItemKind kCmd = ItemKind::Command;
constexpr ItemKind kUnk = ItemKind::Unknown;

// Appends `fill` operand words and two end-of-page words after the given ones.
Words withTail(Words words, size_t fill = 0) {
    words.insert(words.end(), fill, 0x4141);
    words.insert(words.end(), {0x8005, 0x8005});
    return words;
}

INSTANTIATE_TEST_SUITE_P(
    Markers, OperandLengthTest,
    testing::Values(LengthCase{"SizedFrameFFFFFirst", kFirst,
                               withTail({0x8016, 0, 1, 2, 3, 4, 0xFFFF, 9, 0}), kCmd, 6},
                    LengthCase{"SizedFrameFFFFSecond", kSecond,
                               withTail({0x8016, 0, 1, 2, 3, 4, 0xFFFF, 9, 0}), kCmd, 7},
                    LengthCase{"SizedFrame17FF10First", kFirst,
                               withTail({0x8017, 0, 1, 2, 3, 4, 0xFF10, 9, 0}), kCmd, 5},
                    LengthCase{"SizedFrame17FF10Second", kSecond,
                               withTail({0x8017, 0, 1, 2, 3, 4, 0xFF10, 9}), kCmd, 7},
                    LengthCase{"SizedFrameFEFFSecond", kSecond,
                               withTail({0x8016, 0, 1, 2, 3, 4, 0xFEFF, 9, 0}), kCmd, 5},
                    LengthCase{"RuleFFFFFirst", kFirst,
                               withTail({0x8008, 0, 1, 2, 3, 4, 0xFFFF, 9, 0}), kCmd, 7},
                    LengthCase{"Rule12FF00Second", kSecond,
                               withTail({0x8012, 0, 1, 2, 3, 4, 0xFF00, 9}), kCmd, 7},
                    LengthCase{"Rule15FF00TypeOne", kSecondType1,
                               withTail({0x8015, 0, 1, 2, 3, 4, 0xFF00, 9}), kCmd, 7},
                    LengthCase{"Rule12First", kFirst, withTail({0x8012, 0, 1, 2, 3, 4, 0xFF00, 9}),
                               kUnk, 1},
                    LengthCase{"CornerFrameFF10First", kFirst,
                               withTail({0x8010, 0, 1, 2, 3, 4, 0xFF10, 9}), kCmd, 5},
                    LengthCase{"CornerFrameFF10Second", kSecond,
                               withTail({0x8011, 0, 1, 2, 3, 4, 0xFF10, 9}), kCmd, 7},
                    LengthCase{"CornerFrameFFFFFirst", kFirst,
                               withTail({0x8011, 0, 1, 2, 3, 4, 0xFFFF, 9, 0}), kCmd, 7},
                    LengthCase{"ArrowRuleFF10Second", kSecond,
                               withTail({0x8028, 0, 1, 2, 3, 4, 0xFF10, 9}), kCmd, 5},
                    LengthCase{"ArrowRuleFFFFSecond", kSecond,
                               withTail({0x8028, 0, 1, 2, 3, 4, 0xFFFF, 9, 0}), kCmd, 7},
                    LengthCase{"HeavyRuleFFFFFirst", kFirst,
                               withTail({0x8029, 0, 1, 2, 3, 4, 0xFFFF, 9, 0}), kCmd, 7},
                    LengthCase{"HeavyRuleAltFF10First", kFirst,
                               withTail({0x802A, 0, 1, 2, 3, 4, 0xFF10, 9}), kCmd, 5},
                    LengthCase{"BracketFFFFFirst", kFirst,
                               withTail({0x800C, 0, 1, 2, 3, 4, 0xFFFF, 9}), kCmd, 5},
                    LengthCase{"LegacyFrameFFFFSecond", kSecond,
                               withTail({0x8020, 0, 1, 2, 3, 4, 0xFFFF, 9}), kCmd, 5}),
    caseName<LengthCase>);

INSTANTIATE_TEST_SUITE_P(
    Computed, OperandLengthTest,
    testing::Values(
        LengthCase{"PointListTwoPoints", kSecond, withTail({0x8014, 0, 1, 2, 3, 4, 0xFF00, 7}),
                   kCmd, 7},
        LengthCase{"PointListNoPoints", kSecond, withTail({0x8013, 0xA380, 0xFFFF, 7}), kCmd, 3},
        LengthCase{"PointListOddCount", kSecond, withTail({0x801F, 0, 1, 2, 3, 0xFFFF}), kCmd, 5},
        LengthCase{"PointListFirstIsUnknown", kFirst, withTail({0x8014, 0, 0xFF00, 7}), kUnk, 1},
        LengthCase{"PointBlockTwo", kSecond, withTail({0x802B, 0, 2, 1, 2, 3, 4}), kCmd, 7},
        LengthCase{"PointBlockZero", kSecond, withTail({0x802B, 0, 0, 0}), kCmd, 3},
        LengthCase{"PointBlockNegativeKeepsThree", kSecond, withTail({0x802B, 0, 0xFFFF, 0}), kCmd,
                   3},
        LengthCase{"PointBlockMostNegative", kSecond, withTail({0x802B, 0, 0x8000, 0}), kCmd, 3},
        LengthCase{"PointBlockFirstIsUnknown", kFirst, withTail({0x802B, 0, 2}), kUnk, 1},
        LengthCase{"PathPictureTenBytes", kSecond, withTail({0x810A, 0, 1, 2, 3, 4, 0, 10}, 6),
                   kCmd, 13},
        LengthCase{"PathPictureElevenBytes", kSecond, withTail({0x810A, 0, 1, 2, 3, 4, 0, 11}, 6),
                   kCmd, 13},
        LengthCase{"PathPictureEmptyPath", kSecond, withTail({0x810A, 0, 1, 2, 3, 4, 0, 0}, 1),
                   kCmd, 8},
        LengthCase{"PathPictureFirstIsUnknown", kFirst, withTail({0x810A, 0, 1}), kUnk, 1},
        LengthCase{"F7TypeTwo", kSecond, withTail({0x80F7, 0}), kCmd, 1},
        LengthCase{"F7TypeOne", kSecondType1, withTail({0x80F7, 0, 0, 0}), kCmd, 3},
        LengthCase{"F7Scanned", kSecondScanned, withTail({0x80F7, 0, 0, 0}), kCmd, 3},
        LengthCase{"F7ScannerTypeTwo", kScanSecond, withTail({0x80F7, 0}), kCmd, 1},
        LengthCase{"F7ScannerScanned", kScanScanned, withTail({0x80F7, 0, 0, 0}), kCmd, 3},
        LengthCase{"F7First", kFirst, withTail({0x80F7, 0}), kUnk, 1}),
    caseName<LengthCase>);

INSTANTIATE_TEST_SUITE_P(
    Fixed, OperandLengthTest,
    testing::Values(LengthCase{"EndOfPageBareFirst", kFirst, {0x8005, 0x8001, 0}, kCmd, 0},
                    LengthCase{"EndOfPageBareSecond", kSecond, {0x8005, 0x8001, 0}, kCmd, 0},
                    LengthCase{"PictureFirst", kFirst, withTail({0x800A}, 13), kCmd, 13},
                    LengthCase{"PictureSecond", kSecond, withTail({0x800A}, 13), kCmd, 13},
                    LengthCase{"EllipseFirst", kFirst, withTail({0x800B}, 11), kCmd, 11},
                    LengthCase{"EllipseSecond", kSecond, withTail({0x800B}, 11), kCmd, 11},
                    LengthCase{"PushOffsetFirst", kFirst, withTail({0x801A}, 3), kCmd, 3},
                    LengthCase{"CheckMarkSecond", kSecond, withTail({0x8050}, 3), kCmd, 3},
                    LengthCase{"CharSizeDoubledSecond", kSecond, withTail({0x8042}, 3), kCmd, 3},
                    LengthCase{"CharSizeDoubledFirst", kFirst, withTail({0x8042}, 3), kUnk, 1},
                    LengthCase{"RadicalSecond", kSecond, withTail({0x8090}, 5), kCmd, 5},
                    LengthCase{"RadicalFirst", kFirst, withTail({0x8090}, 5), kUnk, 1},
                    LengthCase{"NamedPictureSecond", kSecond, withTail({0x809A}, 17), kCmd, 17},
                    LengthCase{"SkippedOneFirst", kFirst, withTail({0x801E}, 1), kCmd, 1},
                    LengthCase{"SkippedOneSecond", kSecond, withTail({0x9007}, 1), kCmd, 1},
                    LengthCase{"SkippedC052First", kFirst, withTail({0xC052}, 3), kCmd, 3},
                    LengthCase{"Skipped802CSecond", kSecond, withTail({0x802C}, 7), kCmd, 7},
                    LengthCase{"Skipped802CFirst", kFirst, withTail({0x802C}, 7), kUnk, 1},
                    LengthCase{"Skipped8036Second", kSecond, withTail({0x8036}, 9), kCmd, 9},
                    LengthCase{"Skipped803BSecond", kSecond, withTail({0x803B}, 7), kCmd, 7},
                    LengthCase{"Skipped8048Second", kSecond, withTail({0x8048}, 11), kCmd, 11},
                    LengthCase{"Skipped81FFSecond", kSecond, withTail({0x81FF}, 3), kCmd, 3},
                    LengthCase{"SkippedFFFFFirst", kFirst, withTail({0xFFFF}, 1), kCmd, 1},
                    LengthCase{"ArrowheadFFFESecond", kSecond, withTail({0xFFFE}, 1), kCmd, 1}),
    caseName<LengthCase>);

INSTANTIATE_TEST_SUITE_P(
    Scanner, OperandLengthTest,
    testing::Values(LengthCase{"TypedPolylineScanner", kScanSecond,
                               withTail({0x8013, 0, 1, 2, 3, 4, 0xFF00, 7}), kCmd, 3},
                    LengthCase{"TypedPolylineDrawing", kSecond,
                               withTail({0x8013, 0, 1, 2, 3, 4, 0xFF00, 7}), kCmd, 7},
                    LengthCase{"TypedPolylineTypeOneScanner", kScanFirst,
                               withTail({0x8013, 0, 0xFF00, 7}), kUnk, 1},
                    LengthCase{"Rule15Scanner", kScanSecond,
                               withTail({0x8015, 0, 1, 2, 0xFF00, 7, 0xFF00, 9}), kCmd, 5},
                    LengthCase{"Rule15Drawing", kSecond,
                               withTail({0x8015, 0, 1, 2, 0xFF00, 7, 0xFF00, 9}), kCmd, 7},
                    LengthCase{"ArrowRuleC000Scanner", kScanSecond,
                               withTail({0x8028, 0, 1, 2, 3, 4, 0xC000}, 1), kCmd, 7},
                    LengthCase{"ArrowRuleC000Drawing", kSecond,
                               withTail({0x8028, 0, 1, 2, 3, 4, 0xC000}, 1), kCmd, 5},
                    LengthCase{"HeavyRuleBFFFScanner", kScanScanned,
                               withTail({0x8029, 0, 1, 2, 3, 4, 0xBFFF}, 1), kCmd, 5},
                    LengthCase{"HeavyRuleC000Scanner", kScanScanned,
                               withTail({0x8029, 0, 1, 2, 3, 4, 0xC000}, 1), kCmd, 7},
                    LengthCase{"HeavyRuleAltC000Scanner", kScanSecond,
                               withTail({0x802A, 0, 1, 2, 3, 4, 0xC000}, 1), kCmd, 5},
                    LengthCase{"HeavyRuleAltC001Scanner", kScanSecond,
                               withTail({0x802A, 0, 1, 2, 3, 4, 0xC001}, 1), kCmd, 7},
                    LengthCase{"SymbolMarkScanner", kScanSecond, withTail({0x8051}, 3), kUnk, 1},
                    LengthCase{"SymbolMarkDrawing", kSecond, withTail({0x8051}, 3), kCmd, 3},
                    LengthCase{"SymbolMarkTypeOneScanner", kScanFirst, withTail({0x8051}, 3), kCmd,
                               3},
                    LengthCase{"NamedPictureScanner", kScanSecond, withTail({0x809A}, 17), kUnk, 1},
                    LengthCase{"Skipped80CCScanner", kScanSecond, withTail({0x80CC}, 3), kUnk, 1},
                    LengthCase{"Skipped80CCDrawing", kSecond, withTail({0x80CC}, 3), kCmd, 3},
                    LengthCase{"PathPictureScanner", kScanSecond,
                               withTail({0x810A, 0, 1, 2, 3, 4, 0, 10}, 6), kUnk, 1},
                    LengthCase{"Skipped81FFScanner", kScanScanned, withTail({0x81FF}, 3), kUnk, 1},
                    LengthCase{"SkippedC052Scanner", kScanSecond, withTail({0xC052}, 3), kUnk, 1},
                    LengthCase{"SkippedC052Drawing", kSecond, withTail({0xC052}, 3), kCmd, 3}),
    caseName<LengthCase>);

struct ListCase {
    const char* name;
    Words operand;
    int32_t count;
};

TEST(CountListWordsTest, CountsUpToTheMarker) {
    const ListCase cases[] = {
        {"Empty", {}, 1},
        {"OnlyW0", {0xA380}, 1},
        {"MarkerRightAfterW0", {0xA380, 0xFF00, 7}, 1},
        {"W0IsNotLookedAt", {0xFFFF, 1, 2, 0xFF00}, 2},
        {"TwoPoints", {0, 1, 2, 3, 4, 0xFF00, 7}, 3},
        {"OddCountRoundsDown", {0, 1, 2, 3, 0xFFFF}, 2},
        {"BelowMarkerCounts", {0, 0xFEFF, 0xFF00}, 1},
        {"NoMarkerStopsAtTheEnd", {0, 1, 2, 3, 4, 5}, 3},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(vyn::CountListWords(c.operand), c.count);
    }
}

struct SizeCase {
    const char* name;
    int width;
    int height;
    int expectedWidth;
    int expectedHeight;
};

TEST(SizeCodeToSizeTest, ConvertsCodesAndKeepsOtherValues) {
    const SizeCase cases[] = {
        {"SmallestAndLargestCode", 0, 21, 21, 384}, {"MiddleCodes", 5, 10, 42, 84},
        {"Code31StaysRaw", 31, 31, 31, 31},         {"FirstValueAfterTheTable", 22, 19, 22, 288},
        {"NegativeStays", -1, 1, -1, 24},           {"LargeSizesStay", 289, 1000, 289, 1000},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        int width = c.width;
        int height = c.height;
        vyn::SizeCodeToSize(width, height);
        EXPECT_EQ(width, c.expectedWidth);
        EXPECT_EQ(height, c.expectedHeight);
    }
}

// An operand of a picture element with a recognisable word at every place: w0 to w4 the
// record's head, then word i holds 0x5500 + i.
Words pictureOperand(size_t size) {
    Words operand{0x0011, 100, 200, 300, 400};
    for (size_t i = operand.size(); i < size; ++i) {
        operand.push_back(static_cast<uint16_t>(0x5500 + i));
    }
    operand.resize(size);
    return operand;
}

// A `PathPicture` operand: head words, w6 = `lengthWord`, the path's bytes from byte 14 (low byte
// first) and `operandWords` words in all.
Words pathOperand(std::string_view path, uint16_t lengthWord, size_t operandWords) {
    Words operand = pictureOperand(7);
    operand[5] = 0x5555;
    operand[6] = lengthWord;
    operand.resize(operandWords, 0);
    for (size_t i = 0; i < path.size() && 7 + i / 2 < operand.size(); ++i) {
        const auto byte = static_cast<uint16_t>(static_cast<unsigned char>(path[i]));
        operand[7 + i / 2] |= i % 2 == 0 ? byte : static_cast<uint16_t>(byte << 8);
    }
    return operand;
}

uint16_t wordOf(const Words& operand, size_t index) {
    return index < operand.size() ? operand[index] : 0;
}

struct NamedCase {
    const char* name;
    uint16_t code;
    size_t operandWords;
    size_t firstNameWord;  // operand word that lands in the record's w5
};

TEST(PictureRecordTest, NameWordsComeFromTheirPlaceAndStopAtTheOperand) {
    const NamedCase cases[] = {
        {"Picture", vyn::kPicture, 13, 5},
        {"PictureCut", vyn::kPicture, 7, 5},
        {"NamedPicture", vyn::kNamedPicture, 17, 9},
        {"NamedPictureCut", vyn::kNamedPicture, 12, 9},
        {"NamedPictureHeadOnly", vyn::kNamedPicture, 3, 9},
    };
    for (const NamedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Words operand = pictureOperand(c.operandWords);
        const auto record = vyn::buildPictureRecord(c.code, operand);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->tag, wordOf(operand, 0));
        EXPECT_EQ(record->x, wordOf(operand, 1));
        EXPECT_EQ(record->y, wordOf(operand, 2));
        EXPECT_EQ(record->width, wordOf(operand, 3));
        EXPECT_EQ(record->height, wordOf(operand, 4));
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(record->name[i], wordOf(operand, c.firstNameWord + i)) << "name word " << i;
        }
    }
}

struct PathCase {
    const char* name;
    std::string_view path;
    uint16_t lengthWord;
    size_t operandWords;
    std::string_view fileName;
};

TEST(PictureRecordTest, PathPictureTakesTheFileName) {
    using namespace std::string_view_literals;
    const PathCase cases[] = {
        {"LongFileNameKeepsSeven", "D:\\PIC\\ABCDEFGHIJ\0"sv, 18, 17, "ABCDEFG"},
        {"ShortFileName", "X\\AB\0"sv, 5, 10, "AB"},
        {"NoBackslashWholePath", "FIG1.TIF\0"sv, 9, 12, "FIG1.TI"},
        {"NoBackslashShortPath", "ABC\0"sv, 4, 10, "ABC"},
        {"EndsInBackslash", "C:\\DIR\\\0"sv, 8, 12, ""},
        {"StopsAtTheZeroByte", "AB\0CD\\EF\0"sv, 9, 12, "AB"},
        {"StopsAtTheLengthWord", "ABCDEF"sv, 2, 10, "AB"},
        {"LengthRunsPastTheOperand", "ABCDEFGH"sv, 40, 10, "ABCDEF"},
        {"NoPathWords", ""sv, 40, 7, ""},
        {"OperandEndsBeforeTheLengthWord", ""sv, 0, 5, ""},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Words operand = pathOperand(c.path, c.lengthWord, c.operandWords);
        const auto record = vyn::buildPictureRecord(vyn::kPathPicture, operand);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->tag, 0x0011);
        EXPECT_EQ(record->width, wordOf(operand, 3));
        EXPECT_EQ(record->height, wordOf(operand, 4));
        const size_t length = c.fileName.size();
        for (size_t i = 0; i < length; ++i) {
            EXPECT_EQ(record->name[i], static_cast<unsigned char>(c.fileName[i]))
                << "name word " << i;
        }
        EXPECT_EQ(record->name[length], 0);
        for (size_t i = length + 1; i < 8; ++i) {
            EXPECT_EQ(record->name[i], wordOf(operand, 5 + i)) << "name word " << i;
        }
    }
}

TEST(PictureRecordTest, OtherCodesHaveNoRecord) {
    const Words operand = pictureOperand(17);
    for (const uint16_t code : {0x8001, 0x800B, 0x8009, 0x810B, 0x809B}) {
        SCOPED_TRACE(hex(code));
        EXPECT_FALSE(vyn::buildPictureRecord(code, operand).has_value());
    }
}

}  // namespace
