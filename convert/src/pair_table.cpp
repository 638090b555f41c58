#include "pair_table.h"

#include "tables.h"

namespace duoma::detail {

namespace {

// Spreads a dense table, two bytes per cell, over the native index of each source pair.
template <typename Cells, typename CellIndex>
PairTable spread(const Cells& cells, bool (*isLead)(uint8_t), bool (*isTrail)(uint8_t),
                 CellIndex cellIndex) {
    PairTable table{};
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            if (!isLead(static_cast<uint8_t>(lead)) || !isTrail(static_cast<uint8_t>(trail))) {
                continue;
            }
            const unsigned char source[2] = {static_cast<unsigned char>(lead),
                                             static_cast<unsigned char>(trail)};
            const size_t cell =
                2 * cellIndex(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
            table[loadPair(source)] = loadPair(&cells[cell]);
        }
    }
    return table;
}

}  // namespace

const PairTable& gbToBig5Pairs() {
    static const PairTable table = spread(
        kGbToBig5, isGbLead, isGbTrail,
        [](uint8_t lead, uint8_t trail) { return kGbColumns * (lead - 0xA1) + (trail - 0xA1); });
    return table;
}

const PairTable& big5ToGbPairs() {
    static const PairTable table =
        spread(kBig5ToGb, isBig5Lead, isBig5Trail, [](uint8_t lead, uint8_t trail) {
            return kBig5Columns * (lead - 0xA1) + big5Column(trail);
        });
    return table;
}

}  // namespace duoma::detail
