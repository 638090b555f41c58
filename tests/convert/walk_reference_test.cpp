// The in-place conversions against a plain walk that takes the text one pair at a time through
// the same tables, on edge cases of the chunked walk and on random text.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "duoma/duoma.h"
#include "duoma/tables.h"

namespace {

using namespace std::string_view_literals;
using Bytes = std::vector<unsigned char>;

constexpr size_t kGuard = 16;
constexpr unsigned char kGuardByte = 0xB0;  // a lead in both encodings

struct Direction {
    const char* name;
    int32_t (*convert)(unsigned char*, int32_t);
    bool (*isLead)(uint8_t);
    bool (*isTrail)(uint8_t);
    // The table cell of a valid pair, lead byte first.
    const uint8_t* (*cell)(uint8_t lead, uint8_t trail);

    friend void PrintTo(const Direction& d, std::ostream* os) { *os << d.name; }
};

const uint8_t* gbToBig5Cell(uint8_t lead, uint8_t trail) {
    return &duoma::gbToBig5Table()[2 * (duoma::kGbColumns * (lead - 0xA1) + (trail - 0xA1))];
}

const uint8_t* big5ToGbCell(uint8_t lead, uint8_t trail) {
    return &duoma::big5ToGbTable()[2 * (duoma::kBig5Columns * (lead - 0xA1) +
                                        duoma::big5Column(trail))];
}

// Byte by byte: a lead followed inside the length by a trail is converted and both are stepped
// over; a lone lead or trail is stepped over alone, two bytes that are neither together.
void pairWalk(const Direction& d, unsigned char* text, int32_t length) {
    int32_t i = 0;
    while (i < length) {
        const bool leadValid = d.isLead(text[i]);
        const bool trailValid = i + 1 < length && d.isTrail(text[i + 1]);
        if (leadValid && trailValid) {
            const uint8_t* cell = d.cell(text[i], text[i + 1]);
            text[i] = cell[0];
            text[i + 1] = cell[1];
            i += 2;
        } else if (leadValid != trailValid) {
            i += 1;
        } else {
            i += 2;
        }
    }
}

// Converts `input` both ways, with guard bytes after it, and compares everything.
void expectSameAsPairWalk(const Direction& d, const Bytes& input, const std::string& what) {
    Bytes fast = input;
    fast.insert(fast.end(), kGuard, kGuardByte);
    Bytes reference = fast;
    const auto length = static_cast<int32_t>(input.size());
    ASSERT_EQ(d.convert(fast.data(), length), length) << what;
    pairWalk(d, reference.data(), length);
    ASSERT_EQ(fast, reference) << what;
}

Bytes toBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes repeated(unsigned char byte, size_t count) { return Bytes(count, byte); }

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

class FastWalkTest : public testing::TestWithParam<Direction> {};

TEST_P(FastWalkTest, MatchesThePairWalkOnEdgeCases) {
    const Bytes ascii63 = repeated('a', 63);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"lone lead", toBytes("\xB9"sv)},
        {"odd trailing byte", toBytes("\xB0\xA1\xB0\xA1\xB0"sv)},
        {"lead at the end", toBytes("ab\xB9"sv)},
        {"leads then ASCII", toBytes("\xA1\xA2\xA3"
                                     "a\xFE"
                                     "b"sv)},
        {"every high byte then ASCII", toBytes("\xA1z\xC0z\xF7z\xF8z\xFEz\xFFz"sv)},
        {"bytes outside the leads", toBytes("\x80\xA1\xA0\xA1\xF8\xA1\xA1\xFF\xA1\xFE\xA1"sv)},
        {"Big5 low trails", toBytes("\xA4\x40\xA4\x7E\xA4\x7F\xA4\x3F\xC6\xA1\xF9\xFE"sv)},
        {"pair across the first chunk", concat({ascii63, toBytes("\xB0\xA1\xB0\xA1"sv)})},
        {"lead ending the first chunk", concat({ascii63, toBytes("\xB0"sv)})},
        {"lead ending the first chunk, ASCII after", concat({ascii63, toBytes("\xB0z"sv)})},
        {"pair ending the first chunk", concat({repeated('a', 62), toBytes("\xB0\xA1\xB0"sv)})},
        {"leads across two chunks", repeated(0xB0, 129)},
        {"leads filling two chunks", repeated(0xB0, 128)},
        {"ASCII then leads to a chunk's end",
         concat({repeated('a', 65), repeated(0xC1, 63), toBytes("\xA1"sv)})},
    };
    for (const auto& [what, input] : cases) {
        expectSameAsPairWalk(GetParam(), input, what);
    }
}

// A run of leads pairs up from its first byte, so each run length and start position,
// around the chunk edges too, must give the same pairs.
TEST_P(FastWalkTest, MatchesThePairWalkOnRunsOfLeads) {
    for (size_t before = 0; before < 70; before += 3) {
        for (size_t run = 1; run <= 134; ++run) {
            for (const unsigned char after : {'\n', '\xA1'}) {
                const Bytes input =
                    concat({repeated(' ', before), repeated(0xD6, run), Bytes{after, 'x'}});
                expectSameAsPairWalk(GetParam(), input,
                                     std::to_string(before) + " + " + std::to_string(run));
            }
        }
    }
}

// Random text of every length up to a few chunks, drawn mostly from the bytes at the edges of
// the lead and trail ranges, and longer texts of hanzi broken by ASCII.
TEST_P(FastWalkTest, MatchesThePairWalkOnRandomText) {
    constexpr unsigned char kEdgeBytes[] = {0x00, 0x0A, 0x20, 0x3F, 0x40, 0x41, 0x7E,
                                            0x7F, 0x80, 0xA0, 0xA1, 0xA2, 0xB0, 0xD7,
                                            0xF7, 0xF8, 0xF9, 0xFA, 0xFE, 0xFF};
    std::mt19937 random(20241210);
    std::uniform_int_distribution<size_t> edge(0, std::size(kEdgeBytes) - 1);
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<int> percent(0, 99);
    for (size_t length = 0; length <= 300; ++length) {
        for (int round = 0; round < 4; ++round) {
            Bytes input(length);
            for (unsigned char& b : input) {
                b = static_cast<unsigned char>(percent(random) < 70 ? kEdgeBytes[edge(random)]
                                                                    : any(random));
            }
            expectSameAsPairWalk(GetParam(), input, "random, length " + std::to_string(length));
        }
    }
    for (int round = 0; round < 20; ++round) {
        Bytes input;
        while (input.size() < 5000) {
            if (percent(random) < 85) {
                input.push_back(static_cast<unsigned char>(0xA1 + percent(random) % 87));
                input.push_back(static_cast<unsigned char>(0xA1 + percent(random) % 94));
            } else {
                input.push_back(static_cast<unsigned char>('a' + percent(random) % 26));
            }
        }
        input.resize(input.size() - static_cast<size_t>(round % 3));
        expectSameAsPairWalk(GetParam(), input, "mixed text, round " + std::to_string(round));
    }
}

std::string directionName(const testing::TestParamInfo<Direction>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Duoma, FastWalkTest,
                         testing::Values(Direction{"Duoma", Duoma, duoma::isGbLead,
                                                   duoma::isGbTrail, gbToBig5Cell},
                                         Direction{"Big52Gb", Big52Gb, duoma::isBig5Lead,
                                                   duoma::isBig5Trail, big5ToGbCell}),
                         directionName);

}  // namespace
