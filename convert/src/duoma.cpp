// The three exports walk the text two bytes at a time. A pair is converted only when both its
// bytes lie inside the counted length: the byte after the last counted one is neither read nor
// written, so a short length can never spill into the caller's memory.
#include "duoma/duoma.h"

#include "tables.h"

namespace {

template <bool (*IsLead)(uint8_t), bool (*IsTrail)(uint8_t), typename Lookup>
int32_t convertPairs(unsigned char* text, int32_t length, Lookup lookup) {
    if (text == nullptr) {
        return length;
    }
    int32_t i = 0;
    while (i < length) {
        const bool leadValid = IsLead(text[i]);
        const bool trailValid = i + 1 < length && IsTrail(text[i + 1]);
        if (leadValid && trailValid) {
            const uint8_t* entry = lookup(text[i], text[i + 1]);
            text[i] = entry[0];
            text[i + 1] = entry[1];
            i += 2;
        } else if (leadValid != trailValid) {
            i += 1;
        } else {
            i += 2;
        }
    }
    return length;
}

}  // namespace

extern "C" {

int32_t Duoma(unsigned char* text, int32_t length) {
    using namespace duoma;
    return convertPairs<isGbLead, isGbTrail>(text, length, [](uint8_t lead, uint8_t trail) {
        return &detail::kGbToBig5[2 * (kGbColumns * (lead - 0xA1) + (trail - 0xA1))];
    });
}

int32_t Big52Gb(unsigned char* text, int32_t length) {
    using namespace duoma;
    return convertPairs<isBig5Lead, isBig5Trail>(text, length, [](uint8_t lead, uint8_t trail) {
        return &detail::kBig5ToGb[2 * (kBig5Columns * (lead - 0xA1) + big5Column(trail))];
    });
}

int32_t Gb2Unicode(const char* character, uint16_t* output) {
    if (output == nullptr) {
        return 0;
    }
    output[1] = 0;
    if (character == nullptr || character[0] == '\0') {
        output[0] = 0;
    } else if (character[1] == '\0') {
        output[0] = static_cast<unsigned char>(character[0]);
    } else {
        output[0] = duoma::gbToUnicode(static_cast<unsigned char>(character[0]),
                                       static_cast<unsigned char>(character[1]));
    }
    return 0;
}

}  // extern "C"
