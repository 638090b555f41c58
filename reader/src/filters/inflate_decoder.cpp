#include "filters/inflate_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace reader {
namespace {

constexpr size_t kHistory = 32768;
constexpr size_t kWindowSize = kHistory + 131072;
constexpr size_t kMaxMatch = 258;
// Matches are copied eight bytes at a time and may write up to seven bytes past their end.
constexpr size_t kCopySlack = 8;
constexpr size_t kInputSize = 32768;

constexpr unsigned kLiteralRootBits = 10;
constexpr unsigned kDistanceRootBits = 8;
constexpr unsigned kCodeLengthRootBits = 7;
constexpr size_t kLiteralSymbols = 288;
constexpr size_t kDistanceSymbols = 32;
constexpr size_t kCodeLengthSymbols = 19;

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::array<uint8_t, kCodeLengthSymbols> kCodeLengthOrder = {
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

struct SymbolSets {
    std::array<InflateEntry, kLiteralSymbols> literals;
    std::array<InflateEntry, kDistanceSymbols> distances;
    std::array<InflateEntry, kCodeLengthSymbols> codeLengths;
};

const SymbolSets& symbolSets() {
    static const SymbolSets sets = [] {
        SymbolSets s{};
        for (uint32_t i = 0; i < 256; ++i) {
            s.literals[i] = MakeInflateEntry(InflateKind::Literal, i);
        }
        s.literals[256] = MakeInflateEntry(InflateKind::EndOfBlock, 0);
        for (size_t i = 0; i < kLengthBase.size(); ++i) {
            s.literals[257 + i] =
                MakeInflateEntry(InflateKind::Base, kLengthBase[i], kLengthExtra[i]);
        }
        s.literals[286] = s.literals[287] = MakeInflateEntry(InflateKind::Invalid, 0);
        for (size_t i = 0; i < kDistanceBase.size(); ++i) {
            s.distances[i] =
                MakeInflateEntry(InflateKind::Base, kDistanceBase[i], kDistanceExtra[i]);
        }
        s.distances[30] = s.distances[31] = MakeInflateEntry(InflateKind::Invalid, 0);
        for (uint32_t i = 0; i < kCodeLengthSymbols; ++i) {
            s.codeLengths[i] = MakeInflateEntry(InflateKind::Literal, i);
        }
        return s;
    }();
    return sets;
}

struct FixedTables {
    InflateTable literals{kLiteralRootBits, kLiteralSymbols};
    InflateTable distances{kDistanceRootBits, kDistanceSymbols};
};

const FixedTables& fixedTables() {
    static const FixedTables tables = [] {
        FixedTables t;
        std::array<uint8_t, kLiteralSymbols> literalLengths{};
        std::fill_n(literalLengths.begin(), 144, 8);
        std::fill(literalLengths.begin() + 144, literalLengths.begin() + 256, 9);
        std::fill(literalLengths.begin() + 256, literalLengths.begin() + 280, 7);
        std::fill(literalLengths.begin() + 280, literalLengths.end(), 8);
        std::array<uint8_t, kDistanceSymbols> distanceLengths{};
        distanceLengths.fill(5);
        t.literals.build(literalLengths, symbolSets().literals);
        t.distances.build(distanceLengths, symbolSets().distances);
        return t;
    }();
    return tables;
}

uint64_t loadLittleEndian64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) {
        v = __builtin_bswap64(v);
    }
    return v;
}

uint32_t lowBits(uint64_t bits, unsigned count) { return uint32_t(bits) & ((1u << count) - 1); }

}  // namespace

InflateDecoder::InflateDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& /*param*/)
    : input_(std::move(input)),
      inBuffer_(kInputSize),
      window_(kWindowSize + kCopySlack),
      codeLengthTable_(kCodeLengthRootBits, kCodeLengthSymbols),
      literalTable_(kLiteralRootBits, kLiteralSymbols),
      distanceTable_(kDistanceRootBits, kDistanceSymbols) {}

void InflateDecoder::reset() {
    input_->reset();
    inPosition_ = inEnd_ = 0;
    inputEnded_ = false;
    bits_ = 0;
    bitCount_ = 0;
    produced_ = delivered_ = 0;
    state_ = State::Header;
    finalBlock_ = false;
    storedLeft_ = 0;
}

size_t InflateDecoder::read(std::span<uint8_t> out) {
    size_t done = 0;
    while (done < out.size()) {
        if (delivered_ < produced_) {
            const size_t n = std::min(out.size() - done, produced_ - delivered_);
            std::memcpy(out.data() + done, window_.data() + delivered_, n);
            delivered_ += n;
            done += n;
            continue;
        }
        if (state_ == State::Done) {
            break;
        }
        if (produced_ + kMaxMatch >= kWindowSize) {
            std::memmove(window_.data(), window_.data() + produced_ - kHistory, kHistory);
            produced_ = delivered_ = kHistory;
        }
        step();
    }
    return done;
}

// One step of decoding: a header, a block header, or output up to the end of the window.
void InflateDecoder::step() {
    switch (state_) {
        case State::Header: readHeader(); break;
        case State::BlockHeader: readBlockHeader(); break;
        case State::Stored: copyStored(); break;
        case State::Codes: inflateCodes(); break;
        case State::Done: break;
    }
}

void InflateDecoder::readHeader() {
    state_ = State::Done;
    if (!needBits(16)) {
        return;
    }
    const uint32_t method = takeBits(8);
    const uint32_t flags = takeBits(8);
    const bool presetDictionary = (flags & 0x20) != 0;
    if ((method & 15) == 8 && (method << 8 | flags) % 31 == 0 && !presetDictionary) {
        state_ = State::BlockHeader;
    }
}

void InflateDecoder::readBlockHeader() {
    state_ = State::Done;
    if (finalBlock_ || !needBits(3)) {
        return;
    }
    finalBlock_ = takeBits(1) != 0;
    switch (takeBits(2)) {
        case 0: {
            takeBits(bitCount_ % 8);
            if (!needBits(32)) {
                return;
            }
            const uint32_t length = takeBits(16);
            if ((takeBits(16) ^ 0xffff) == length) {
                storedLeft_ = length;
                state_ = State::Stored;
            }
            return;
        }
        case 1:
            literals_ = &fixedTables().literals;
            distances_ = &fixedTables().distances;
            state_ = State::Codes;
            return;
        case 2:
            if (readDynamicTables()) {
                literals_ = &literalTable_;
                distances_ = &distanceTable_;
                state_ = State::Codes;
            }
            return;
        default: return;
    }
}

// The five-bit and four-bit counts cannot pass 288 literal/length codes or 19 code-length codes;
// 31 or 32 distance codes can be given and end the output.
bool InflateDecoder::readDynamicTables() {
    if (!needBits(14)) {
        return false;
    }
    const uint32_t literalCount = takeBits(5) + 257;
    const uint32_t distanceCount = takeBits(5) + 1;
    const uint32_t codeLengthCount = takeBits(4) + 4;
    if (distanceCount > 30) {
        return false;
    }

    std::array<uint8_t, kCodeLengthSymbols> codeLengthLengths{};
    for (uint32_t i = 0; i < codeLengthCount; ++i) {
        if (!needBits(3)) {
            return false;
        }
        codeLengthLengths[kCodeLengthOrder[i]] = uint8_t(takeBits(3));
    }
    if (!codeLengthTable_.build(codeLengthLengths, symbolSets().codeLengths)) {
        return false;
    }

    std::array<uint8_t, kLiteralSymbols + kDistanceSymbols> lengths{};
    const uint32_t total = literalCount + distanceCount;
    uint32_t i = 0;
    while (i < total) {
        refillBits();
        const InflateEntry e = codeLengthTable_.find(bits_);
        if (EntryKind(e) != InflateKind::Literal || EntryLength(e) > bitCount_) {
            return false;
        }
        takeBits(EntryLength(e));
        const uint32_t symbol = EntryValue(e);
        if (symbol < 16) {
            lengths[i++] = uint8_t(symbol);
            continue;
        }
        uint8_t repeated = 0;
        uint32_t repeat = 0;
        if (symbol == 16) {
            if (i == 0 || !needBits(2)) {
                return false;
            }
            repeated = lengths[i - 1];
            repeat = 3 + takeBits(2);
        } else if (symbol == 17) {
            if (!needBits(3)) {
                return false;
            }
            repeat = 3 + takeBits(3);
        } else {
            if (!needBits(7)) {
                return false;
            }
            repeat = 11 + takeBits(7);
        }
        if (repeat > total - i) {
            return false;
        }
        std::fill_n(lengths.begin() + i, repeat, repeated);
        i += repeat;
    }
    const std::span<const uint8_t> all(lengths.data(), total);
    return literalTable_.build(all.first(literalCount), symbolSets().literals) &&
           distanceTable_.build(all.subspan(literalCount), symbolSets().distances);
}

void InflateDecoder::copyStored() {
    size_t n = std::min<size_t>(storedLeft_, kWindowSize - produced_);
    storedLeft_ -= uint32_t(n);
    // Whole bytes already in the bit buffer come first, then the input buffer directly.
    while (n > 0 && bitCount_ >= 8) {
        window_[produced_++] = uint8_t(takeBits(8));
        --n;
    }
    if (n > 0) {
        bits_ = 0;
    }
    while (n > 0) {
        if (inPosition_ == inEnd_ && !topUpInput()) {
            state_ = State::Done;
            return;
        }
        const size_t m = std::min(n, inEnd_ - inPosition_);
        std::memcpy(window_.data() + produced_, inBuffer_.data() + inPosition_, m);
        inPosition_ += m;
        produced_ += m;
        n -= m;
    }
    if (storedLeft_ == 0) {
        state_ = State::BlockHeader;
    }
}

// The inner loop keeps the bit buffer and the input position in locals. A refill loads eight
// bytes at once and keeps whole bytes; the bits above the count are those of the bytes not yet
// taken, so loading them again later changes nothing.
void InflateDecoder::inflateCodes() {
    uint8_t* const window = window_.data();
    uint8_t* out = window + produced_;
    uint8_t* const outLimit = window + kWindowSize - kMaxMatch;
    const InflateTable& literals = *literals_;
    const InflateTable& distances = *distances_;
    const uint8_t* in = inBuffer_.data() + inPosition_;
    const uint8_t* inEnd = inBuffer_.data() + inEnd_;
    uint64_t bits = bits_;
    unsigned count = bitCount_;

    auto refill = [&] {
        if (inEnd - in >= 8) {
            bits |= loadLittleEndian64(in) << count;
            in += (63 - count) >> 3;
            count |= 56;
            return;
        }
        inPosition_ = size_t(in - inBuffer_.data());
        bits_ = bits;
        bitCount_ = count;
        refillBits();
        in = inBuffer_.data() + inPosition_;
        inEnd = inBuffer_.data() + inEnd_;
        bits = bits_;
        count = bitCount_;
    };
    auto consume = [&](unsigned n) {
        bits >>= n;
        count -= n;
    };

    State next = State::Done;
    while (out < outLimit) {
        refill();
        InflateEntry e = literals.find(bits);
        if (EntryLength(e) > count) {
            break;
        }
        consume(EntryLength(e));
        const InflateKind kind = EntryKind(e);
        if (kind == InflateKind::Literal) {
            *out++ = uint8_t(EntryValue(e));
            continue;
        }
        if (kind != InflateKind::Base) {
            if (kind == InflateKind::EndOfBlock) {
                next = State::BlockHeader;
            }
            break;
        }
        unsigned extra = EntryExtra(e);
        if (extra > count) {
            break;
        }
        const uint32_t length = EntryValue(e) + lowBits(bits, extra);
        consume(extra);

        e = distances.find(bits);
        extra = EntryExtra(e);
        if (EntryKind(e) != InflateKind::Base || EntryLength(e) + extra > count) {
            break;
        }
        consume(EntryLength(e));
        const uint32_t distance = EntryValue(e) + lowBits(bits, extra);
        consume(extra);
        if (distance > size_t(out - window)) {
            break;
        }

        const uint8_t* from = out - distance;
        uint8_t* const end = out + length;
        if (distance >= 8) {
            do {
                std::memcpy(out, from, 8);
                out += 8;
                from += 8;
            } while (out < end);
        } else if (distance == 1) {
            std::memset(out, *from, length);
        } else {
            while (out < end) {
                *out++ = *from++;
            }
        }
        out = end;
    }
    if (out >= outLimit) {
        next = State::Codes;
    }

    produced_ = size_t(out - window);
    inPosition_ = size_t(in - inBuffer_.data());
    bits_ = bits;
    bitCount_ = count;
    state_ = next;
}

// Moves the unread input to the front of the buffer and reads more after it, until eight bytes
// are waiting or the input ends. Returns whether any byte is waiting.
bool InflateDecoder::topUpInput() {
    if (!inputEnded_) {
        std::memmove(inBuffer_.data(), inBuffer_.data() + inPosition_, inEnd_ - inPosition_);
        inEnd_ -= inPosition_;
        inPosition_ = 0;
        while (inEnd_ < 8) {
            const size_t n = input_->read(std::span(inBuffer_).subspan(inEnd_));
            if (n == 0) {
                inputEnded_ = true;
                break;
            }
            inEnd_ += n;
        }
    }
    return inPosition_ < inEnd_;
}

// Fills the bit buffer to at least 56 bits, or with every bit left when the input ends.
void InflateDecoder::refillBits() {
    if (inEnd_ - inPosition_ < 8) {
        topUpInput();
    }
    if (inEnd_ - inPosition_ >= 8) {
        bits_ |= loadLittleEndian64(inBuffer_.data() + inPosition_) << bitCount_;
        inPosition_ += (63 - bitCount_) >> 3;
        bitCount_ |= 56;
        return;
    }
    while (bitCount_ <= 56 && inPosition_ < inEnd_) {
        bits_ |= uint64_t(inBuffer_[inPosition_++]) << bitCount_;
        bitCount_ += 8;
    }
}

bool InflateDecoder::needBits(unsigned count) {
    if (bitCount_ < count) {
        refillBits();
    }
    return bitCount_ >= count;
}

uint32_t InflateDecoder::takeBits(unsigned count) {
    const uint32_t value = lowBits(bits_, count);
    bits_ >>= count;
    bitCount_ -= count;
    return value;
}

}  // namespace reader
