// The element records: which code makes which kind, the length each kind measures, the words it
// keeps, and the dispatch of Parse by mode.
#include "stream/element_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using vyn::ElementKind;
using Words = std::vector<uint16_t>;

// An operand whose w5 is `marker` and whose other words are distinct from any marker.
Words operandWithMarker(uint16_t marker, size_t size = 14) {
    Words operand;
    for (size_t i = 0; i < size; ++i) {
        operand.push_back(static_cast<uint16_t>(0x0100 + i));
    }
    if (size > 5) {
        operand[5] = marker;
    }
    return operand;
}

struct RecordCase {
    const char* name;
    uint16_t code;
    ElementKind kind;
    Words operand;
    int32_t length;

    friend void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }
};

class ParsePrimaryTest : public testing::TestWithParam<RecordCase> {};

TEST_P(ParsePrimaryTest, MeasuresAndKeepsTheWordsItCounts) {
    const RecordCase& c = GetParam();
    const auto record = vyn::createElementRecord(c.code);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetKind(), c.kind);
    EXPECT_EQ(record->ParsePrimary(c.operand), c.length);
    const size_t kept = std::min(c.operand.size(), static_cast<size_t>(c.length));
    EXPECT_EQ(Words(record->fields().begin(), record->fields().end()),
              Words(c.operand.begin(), c.operand.begin() + static_cast<ptrdiff_t>(kept)));
}

std::string recordCaseName(const testing::TestParamInfo<RecordCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, ParsePrimaryTest,
    testing::Values(
        RecordCase{"Rule06", 0x8006, ElementKind::Rule, operandWithMarker(0), 5},
        RecordCase{"Rule07Marker", 0x8007, ElementKind::Rule, operandWithMarker(0xFFFF), 7},
        RecordCase{"Rule08MarkerFF00IsNotOne", 0x8008, ElementKind::Rule, operandWithMarker(0xFF00),
                   5},
        RecordCase{"ArrowRule", 0x8028, ElementKind::ArrowRule, operandWithMarker(0xFFFE), 5},
        RecordCase{"ArrowRuleMarker", 0x8028, ElementKind::ArrowRule, operandWithMarker(0xFFFF), 7},
        RecordCase{"HeavyRuleMarker", 0x8029, ElementKind::HeavyRule, operandWithMarker(0xFFFF), 7},
        RecordCase{"HeavyRuleAlt", 0x802A, ElementKind::HeavyRuleAlt, operandWithMarker(0xFF10), 5},
        RecordCase{"HeavyRuleAltMarker", 0x802A, ElementKind::HeavyRuleAlt,
                   operandWithMarker(0xFFFF), 7},
        RecordCase{"Picture", 0x800A, ElementKind::Picture, operandWithMarker(0xFFFF), 13},
        RecordCase{"Ellipse", 0x800B, ElementKind::Ellipse, operandWithMarker(0xFFFF), 11},
        RecordCase{"Bracket0C", 0x800C, ElementKind::Bracket, operandWithMarker(0xFFFF), 5},
        RecordCase{"Bracket0D", 0x800D, ElementKind::Bracket, operandWithMarker(0), 5},
        RecordCase{"CornerFrame10", 0x8010, ElementKind::CornerFrame, operandWithMarker(0xFF00), 5},
        RecordCase{"CornerFrame11Marker", 0x8011, ElementKind::CornerFrame,
                   operandWithMarker(0xFFFF), 7},
        RecordCase{"LegacyFrameIgnoresMarker", 0x8020, ElementKind::LegacyFrame,
                   operandWithMarker(0xFFFF), 5},
        RecordCase{"SizedFrame16", 0x8016, ElementKind::SizedFrame, operandWithMarker(0xFF10), 5},
        RecordCase{"SizedFrame17MarkerAlone", 0x8017, ElementKind::SizedFrame,
                   operandWithMarker(0xFFFF), 6}),
    recordCaseName);

INSTANTIATE_TEST_SUITE_P(
    ShortOperand, ParsePrimaryTest,
    testing::Values(
        RecordCase{"RuleKeepsWhatThereIs", 0x8006, ElementKind::Rule, operandWithMarker(0, 3), 5},
        RecordCase{"RuleWithoutMarkerWord", 0x8028, ElementKind::ArrowRule, operandWithMarker(0, 5),
                   5},
        RecordCase{"RuleMarkerWithoutValue", 0x8006, ElementKind::Rule,
                   operandWithMarker(0xFFFF, 6), 7},
        RecordCase{"PictureCut", 0x800A, ElementKind::Picture, operandWithMarker(0, 4), 13},
        RecordCase{"EllipseEmpty", 0x800B, ElementKind::Ellipse, {}, 11},
        RecordCase{"SizedFrameMarkerLast", 0x8016, ElementKind::SizedFrame,
                   operandWithMarker(0xFFFF, 6), 6}),
    recordCaseName);

TEST(CreateElementRecordTest, OnlyFirstDialectElementsHaveRecords) {
    for (const uint16_t code : {0x8001, 0x8005, 0x8009, 0x8012, 0x8013, 0x8015, 0x801F, 0x802B,
                                0x8090, 0x809A, 0x810A, 0xFFFF}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(vyn::createElementRecord(code), nullptr);
    }
}

struct ModeCase {
    const char* name;
    int32_t mode;
    int32_t length;
    size_t kept;
};

TEST(ElementRecordParseTest, ParsesByMode) {
    const Words operand = operandWithMarker(0xFFFF);
    const ModeCase cases[] = {
        {"PrimaryMode", 0, 7, 7},
        {"SecondaryMode", 1, 0, 0},
        {"OtherMode", 2, 0, 0},
        {"NegativeMode", -1, 0, 0},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto record = vyn::createElementRecord(0x8011, c.mode);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->Parse(operand), c.length);
        EXPECT_EQ(record->fields().size(), c.kept);
    }
}

}  // namespace
