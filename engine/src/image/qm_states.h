// The 113 states of the adaptive probability estimation shared by the bilevel coder and
// decoder, as ITU-T T.82 tabulates them: the less-probable symbol's share of the interval (Qe),
// the state after a more-probable and after a less-probable symbol, and whether a
// less-probable symbol swaps which symbol is the more probable.
#pragma once

#include <array>
#include <cstdint>

namespace vyn {

struct QmState {
    uint16_t qe;
    uint8_t nextMps;
    uint8_t nextLps;
    bool switchMps;
};

inline constexpr std::array<QmState, 113> kQmStates = {{
    {0x5A1D, 1, 1, true},       // 0
    {0x2586, 2, 14, false},     // 1
    {0x1114, 3, 16, false},     // 2
    {0x080B, 4, 18, false},     // 3
    {0x03D8, 5, 20, false},     // 4
    {0x01DA, 6, 23, false},     // 5
    {0x00E5, 7, 25, false},     // 6
    {0x006F, 8, 28, false},     // 7
    {0x0036, 9, 30, false},     // 8
    {0x001A, 10, 33, false},    // 9
    {0x000D, 11, 35, false},    // 10
    {0x0006, 12, 9, false},     // 11
    {0x0003, 13, 10, false},    // 12
    {0x0001, 13, 12, false},    // 13
    {0x5A7F, 15, 15, true},     // 14
    {0x3F25, 16, 36, false},    // 15
    {0x2CF2, 17, 38, false},    // 16
    {0x207C, 18, 39, false},    // 17
    {0x17B9, 19, 40, false},    // 18
    {0x1182, 20, 42, false},    // 19
    {0x0CEF, 21, 43, false},    // 20
    {0x09A1, 22, 45, false},    // 21
    {0x072F, 23, 46, false},    // 22
    {0x055C, 24, 48, false},    // 23
    {0x0406, 25, 49, false},    // 24
    {0x0303, 26, 51, false},    // 25
    {0x0240, 27, 52, false},    // 26
    {0x01B1, 28, 54, false},    // 27
    {0x0144, 29, 56, false},    // 28
    {0x00F5, 30, 57, false},    // 29
    {0x00B7, 31, 59, false},    // 30
    {0x008A, 32, 60, false},    // 31
    {0x0068, 33, 62, false},    // 32
    {0x004E, 34, 63, false},    // 33
    {0x003B, 35, 32, false},    // 34
    {0x002C, 9, 33, false},     // 35
    {0x5AE1, 37, 37, true},     // 36
    {0x484C, 38, 64, false},    // 37
    {0x3A0D, 39, 65, false},    // 38
    {0x2EF1, 40, 67, false},    // 39
    {0x261F, 41, 68, false},    // 40
    {0x1F33, 42, 69, false},    // 41
    {0x19A8, 43, 70, false},    // 42
    {0x1518, 44, 72, false},    // 43
    {0x1177, 45, 73, false},    // 44
    {0x0E74, 46, 74, false},    // 45
    {0x0BFB, 47, 75, false},    // 46
    {0x09F8, 48, 77, false},    // 47
    {0x0861, 49, 78, false},    // 48
    {0x0706, 50, 79, false},    // 49
    {0x05CD, 51, 48, false},    // 50
    {0x04DE, 52, 50, false},    // 51
    {0x040F, 53, 50, false},    // 52
    {0x0363, 54, 51, false},    // 53
    {0x02D4, 55, 52, false},    // 54
    {0x025C, 56, 53, false},    // 55
    {0x01F8, 57, 54, false},    // 56
    {0x01A4, 58, 55, false},    // 57
    {0x0160, 59, 56, false},    // 58
    {0x0125, 60, 57, false},    // 59
    {0x00F6, 61, 58, false},    // 60
    {0x00CB, 62, 59, false},    // 61
    {0x00AB, 63, 61, false},    // 62
    {0x008F, 32, 61, false},    // 63
    {0x5B12, 65, 65, true},     // 64
    {0x4D04, 66, 80, false},    // 65
    {0x412C, 67, 81, false},    // 66
    {0x37D8, 68, 82, false},    // 67
    {0x2FE8, 69, 83, false},    // 68
    {0x293C, 70, 84, false},    // 69
    {0x2379, 71, 86, false},    // 70
    {0x1EDF, 72, 87, false},    // 71
    {0x1AA9, 73, 87, false},    // 72
    {0x174E, 74, 72, false},    // 73
    {0x1424, 75, 72, false},    // 74
    {0x119C, 76, 74, false},    // 75
    {0x0F6B, 77, 74, false},    // 76
    {0x0D51, 78, 75, false},    // 77
    {0x0BB6, 79, 77, false},    // 78
    {0x0A40, 48, 77, false},    // 79
    {0x5832, 81, 80, true},     // 80
    {0x4D1C, 82, 88, false},    // 81
    {0x438E, 83, 89, false},    // 82
    {0x3BDD, 84, 90, false},    // 83
    {0x34EE, 85, 91, false},    // 84
    {0x2EAE, 86, 92, false},    // 85
    {0x299A, 87, 93, false},    // 86
    {0x2516, 71, 86, false},    // 87
    {0x5570, 89, 88, true},     // 88
    {0x4CA9, 90, 95, false},    // 89
    {0x44D9, 91, 96, false},    // 90
    {0x3E22, 92, 97, false},    // 91
    {0x3824, 93, 99, false},    // 92
    {0x32B4, 94, 99, false},    // 93
    {0x2E17, 86, 93, false},    // 94
    {0x56A8, 96, 95, true},     // 95
    {0x4F46, 97, 101, false},   // 96
    {0x47E5, 98, 102, false},   // 97
    {0x41CF, 99, 103, false},   // 98
    {0x3C3D, 100, 104, false},  // 99
    {0x375E, 93, 99, false},    // 100
    {0x5231, 102, 105, false},  // 101
    {0x4C0F, 103, 106, false},  // 102
    {0x4639, 104, 107, false},  // 103
    {0x415E, 99, 103, false},   // 104
    {0x5627, 106, 105, true},   // 105
    {0x50E7, 107, 108, false},  // 106
    {0x4B85, 103, 109, false},  // 107
    {0x5597, 109, 110, false},  // 108
    {0x504F, 107, 111, false},  // 109
    {0x5A10, 111, 110, true},   // 110
    {0x5522, 109, 112, false},  // 111
    {0x59EB, 111, 112, true},   // 112
}};

}  // namespace vyn
