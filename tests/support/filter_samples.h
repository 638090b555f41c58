// Sample data and a reference LZW coder for the stream decoder tests and benchmarks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace reader::fixtures {

/// Text made of words of an English-like vocabulary, common words far more often than rare ones,
/// with punctuation and line breaks: it compresses about as well as a page's content stream.
inline std::vector<uint8_t> TextLikeBytes(size_t size, uint32_t seed = 1) {
    static constexpr std::array<std::string_view, 40> kWords = {
        "the",    "of",      "and",    "to",      "in",      "a",       "is",       "that",
        "for",    "it",      "as",     "was",     "with",    "be",      "by",       "on",
        "not",    "he",      "this",   "are",     "or",      "his",     "from",     "at",
        "which",  "but",     "have",   "journal", "volume",  "article", "reader",   "stream",
        "decode", "section", "figure", "table",   "results", "method",  "analysis", "research"};
    std::mt19937 random(seed);
    std::vector<uint8_t> text;
    text.reserve(size + 16);
    size_t lineLength = 0;
    while (text.size() < size) {
        // Squaring a uniform draw favours the front of the list.
        const double u = std::uniform_real_distribution<double>(0, 1)(random);
        const std::string_view word = kWords[size_t(u * u * double(kWords.size()))];
        text.insert(text.end(), word.begin(), word.end());
        lineLength += word.size() + 1;
        const uint32_t r = random() % 100;
        if (r < 6) {
            text.push_back(r < 4 ? ',' : '.');
        }
        if (lineLength > 72) {
            text.push_back('\n');
            lineLength = 0;
        } else {
            text.push_back(' ');
        }
    }
    text.resize(size);
    return text;
}

inline std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed = 1) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        b = uint8_t(random());
    }
    return bytes;
}

/// How LzwEncode writes its codes.
struct LzwOptions {
    bool earlyChange = true;
    bool leadingClear = true;  ///< a clear code before the first code
    size_t clearEvery = 0;     ///< a clear code after this many codes since the last; 0: never
};

/// Where a code ends in the encoded bits, and how many input bytes are coded up to it.
struct LzwCodeEnd {
    size_t bitEnd;
    size_t bytesCoded;
};

/// A plain LZW encoder in the variable-width form of PDF streams. The decoder adds a string
/// for every code after the first since a clear, and clears a full table (4096 codes) by
/// itself; the encoder keeps its own table in step with that. `ends`, when given, receives
/// the end of every data code.
inline std::vector<uint8_t> LzwEncode(std::span<const uint8_t> data, const LzwOptions& options,
                                      std::vector<LzwCodeEnd>* ends = nullptr) {
    std::vector<uint8_t> out;
    uint32_t pending = 0;
    unsigned pendingBits = 0;
    size_t bitsWritten = 0;
    std::unordered_map<uint32_t, uint32_t> strings;  // (code << 8 | byte) -> code
    uint32_t codesSinceClear = 0;

    auto width = [&] {
        const uint32_t decoderNext = 258 + (codesSinceClear == 0 ? 0 : codesSinceClear - 1);
        unsigned w = 9;
        while (w < 12 && decoderNext + (options.earlyChange ? 1 : 0) >= (1u << w)) {
            ++w;
        }
        return w;
    };
    auto put = [&](uint32_t code) {
        const unsigned w = width();
        pending = pending << w | code;
        pendingBits += w;
        bitsWritten += w;
        while (pendingBits >= 8) {
            pendingBits -= 8;
            out.push_back(uint8_t(pending >> pendingBits));
        }
    };
    auto clear = [&] {
        strings.clear();
        codesSinceClear = 0;
    };
    // Writes the code of a string; returns whether the table was cleared after it.
    auto putString = [&](uint32_t code, size_t coded) {
        put(code);
        if (ends != nullptr) {
            ends->push_back({bitsWritten, coded});
        }
        ++codesSinceClear;
        if (258 + codesSinceClear - 1 == 4096) {
            clear();
            return true;
        }
        if (options.clearEvery != 0 && codesSinceClear == options.clearEvery) {
            put(256);
            clear();
            return true;
        }
        return false;
    };

    if (options.leadingClear) {
        put(256);
    }
    size_t i = 0;
    while (i < data.size()) {
        uint32_t code = data[i++];
        while (i < data.size()) {
            const auto found = strings.find(code << 8 | data[i]);
            if (found == strings.end()) {
                break;
            }
            code = found->second;
            ++i;
        }
        const uint32_t codesBefore = codesSinceClear;
        if (!putString(code, i) && i < data.size()) {
            strings.emplace(code << 8 | data[i], 258 + codesBefore);
        }
    }
    put(257);
    if (pendingBits > 0) {
        out.push_back(uint8_t(pending << (8 - pendingBits)));
    }
    return out;
}

}  // namespace reader::fixtures
