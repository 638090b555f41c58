#include "filters/jpeg_huffman.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace reader {

bool JpegHuffmanTable::build(std::span<const uint8_t, 16> counts,
                             std::span<const uint8_t> symbols) {
    defined_ = false;
    if (symbols.size() > symbols_.size()) {
        return false;
    }
    fast_.fill(0);
    // Canonical codes: consecutive within a length, doubled when the length grows by one.
    int32_t code = 0;
    int32_t index = 0;
    for (int length = 1; length <= 16; ++length) {
        symbolOffset_[length] = index - code;
        for (int i = 0; i < counts[length - 1]; ++i) {
            if (code >= (int32_t{1} << length) || size_t(index) >= symbols.size()) {
                return false;
            }
            symbols_[index] = symbols[index];
            if (length <= kFastBits) {
                const int spread = kFastBits - length;
                const auto entry = uint16_t(length << 8 | symbols[index]);
                for (int32_t low = 0; low < (int32_t{1} << spread); ++low) {
                    fast_[(code << spread) | low] = entry;
                }
            }
            ++code;
            ++index;
        }
        largestCode_[length] = counts[length - 1] > 0 ? code - 1 : -1;
        code <<= 1;
    }
    defined_ = size_t(index) == symbols.size();
    if (!defined_) {
        return false;
    }
    // The value bits follow the code: a code of `length` bits at the top of the index leaves
    // kFastBits - length bits for them.
    for (size_t next = 0; next < fast_.size(); ++next) {
        const int length = fast_[next] >> 8;
        const int symbol = fast_[next] & 0xFF;
        const int size = symbol & 15;
        if (length == 0 || length + size > kFastBits) {
            fastValue_[next] = 0;
            continue;
        }
        const auto bits = int32_t(next >> (kFastBits - length - size)) & ((1 << size) - 1);
        const int32_t value =
            size == 0 || bits >= (1 << (size - 1)) ? bits : bits - (1 << size) + 1;
        fastValue_[next] =
            int32_t(uint32_t(value) << 16 | uint32_t(symbol) << 8 | uint32_t(length + size));
    }
    return true;
}

int JpegBitReader::nextDataByte() {
    const int byte = input_->next();
    return byte >= 0 && byte != 0xFF ? byte : stuffedOrEnd(byte);
}

int JpegBitReader::stuffedOrEnd(int byte) {
    if (byte < 0) {
        ended_ = true;
        return -1;
    }
    // 0xFF 0x00 stands for 0xFF; any other byte after 0xFF and its fill bytes is a marker.
    int next = input_->next();
    while (next == 0xFF) {
        next = input_->next();
    }
    if (next == 0) {
        return 0xFF;
    }
    marker_ = next < 0 ? 0 : next;
    ended_ = true;
    return -1;
}

inline bool JpegBitReader::takeWord(uint64_t& bits, int& count) {
    const std::span<const uint8_t> ahead = input_->buffered();
    if (ended_ || count > 56 || ahead.size() < 8) {
        return false;
    }
    uint64_t word;
    std::memcpy(&word, ahead.data(), 8);
    if constexpr (std::endian::native == std::endian::little) {
        word = __builtin_bswap64(word);
    }
    const int taken = (64 - count) / 8;
    const int kept = 64 - 8 * taken;  // the bits of the bytes not taken
    // A byte of the taken ones is 0xFF when its complement is 0.
    const uint64_t complement = ~word >> kept;
    constexpr uint64_t kOnes = 0x0101010101010101;
    if ((((complement - (kOnes >> kept)) & ~complement) & ((kOnes << 7) >> kept)) != 0) {
        return false;
    }
    bits |= word >> kept << (kept - count);
    count += 8 * taken;
    input_->skip(size_t(taken));
    return true;
}

void JpegBitReader::fill() {
    if (takeWord(bits_, count_)) {
        return;
    }
    while (count_ <= 56) {
        int byte = ended_ ? -1 : nextDataByte();
        if (byte < 0) {
            byte = 0;
            padding_ += 8;
        }
        bits_ |= uint64_t(byte) << (56 - count_);
        count_ += 8;
    }
}

int JpegBitReader::decodeBlock(const JpegHuffmanTable& dc, const JpegHuffmanTable& ac,
                               std::span<const uint8_t, 64> quant, int32_t& predictor,
                               int32_t* block) {
    // The bits in locals, so that the stores to the block cannot make the compiler reload them.
    uint64_t bits = bits_;
    int count = count_;
    if (count < 16 && !takeWord(bits, count)) {
        store(bits, count);
        fill();
        bits = bits_;
        count = count_;
    }
    const int32_t dcEntry = dc.fastValue_[bits >> (64 - JpegHuffmanTable::kFastBits)];
    int32_t difference;
    // A DC symbol is the length of the difference; one past 15 is refused on the slower way.
    if (dcEntry != 0 && (dcEntry & 0xF000) == 0) {
        bits <<= dcEntry & 0xFF;
        count -= dcEntry & 0xFF;
        difference = dcEntry >> 16;
    } else {
        store(bits, count);
        const int length = decode(dc);
        if (length < 0 || length > 15) {
            return -1;
        }
        difference = receiveExtend(length);
        bits = bits_;
        count = count_;
    }
    predictor = std::clamp(predictor + difference, -32767, 32767);
    block[0] = predictor * quant[0];

    int last = 0;
    for (int k = 1; k < 64;) {
        if (count < 16 && !takeWord(bits, count)) {
            store(bits, count);
            fill();
            bits = bits_;
            count = count_;
        }
        const int32_t entry = ac.fastValue_[bits >> (64 - JpegHuffmanTable::kFastBits)];
        int symbol;
        int32_t value;
        if (entry != 0) {
            bits <<= entry & 0xFF;
            count -= entry & 0xFF;
            symbol = entry >> 8 & 0xFF;
            value = entry >> 16;
        } else if (const uint16_t code = ac.fast_[bits >> (64 - JpegHuffmanTable::kFastBits)];
                   code != 0) {
            // A short code whose value bits reach past the look-up.
            bits <<= code >> 8;
            count -= code >> 8;
            symbol = code & 0xFF;
            const int size = symbol & 15;
            if (count < size) {
                store(bits, count);
                fill();
                bits = bits_;
                count = count_;
            }
            const auto raw = int32_t(bits >> (64 - size));
            value = raw < (int32_t{1} << (size - 1)) ? raw - (int32_t{1} << size) + 1 : raw;
            bits <<= size;
            count -= size;
        } else {
            store(bits, count);
            symbol = decode(ac);
            if (symbol < 0) {
                return -1;
            }
            value = receiveExtend(symbol & 15);
            bits = bits_;
            count = count_;
        }
        const int run = symbol >> 4;
        if ((symbol & 15) == 0) {
            if (run != 15) {
                break;  // end of block
            }
            k += 16;  // sixteen zeros
            continue;
        }
        k += run;
        if (k > 63) {
            store(bits, count);
            return -1;
        }
        block[kJpegZigzag[size_t(k)]] = value * quant[size_t(k)];
        last = k;
        ++k;
    }
    store(bits, count);
    return last;
}

int JpegBitReader::decodeLong(const JpegHuffmanTable& table) {
    const auto next16 = int32_t(bits_ >> 48);
    for (int length = JpegHuffmanTable::kFastBits + 1; length <= 16; ++length) {
        const int32_t code = next16 >> (16 - length);
        if (code <= table.largestCode_[length]) {
            consume(length);
            return table.symbols_[code + table.symbolOffset_[length]];
        }
    }
    return -1;
}

bool JpegBitReader::restart(int number) {
    bits_ = 0;
    count_ = 0;
    padding_ = 0;
    // Bytes before the marker are what is left of the interval: skip them.
    while (!ended_) {
        nextDataByte();
    }
    if (marker_ != 0xD0 + number) {
        return false;
    }
    marker_ = 0;
    ended_ = false;
    return true;
}

}  // namespace reader
