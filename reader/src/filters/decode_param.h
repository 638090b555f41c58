// The decoding parameters of a stream, with their defaults.
#pragma once

#include <cstdint>
#include <vector>

namespace reader {

struct DecodeParam {
    int32_t predictor = 1;
    int32_t columns = -1;  ///< -1: not given
    int32_t colors = 1;
    int32_t earlyChange = 1;
    int32_t bitsPerComponent = 8;
    int32_t k = 0;
    uint8_t endOfLine = 0;
    uint8_t encodedByteAlign = 0;
    int32_t rows = 0;
    uint8_t endOfBlock = 1;
    uint8_t blackIs1 = 0;
    int32_t damagedRowsBeforeError = 0;  ///< read, not used
    /// JBIG2Decode: the document's global segments, decoded; they must outlive the decoder.
    const std::vector<uint8_t>* jbig2Globals = nullptr;
    /// JPXDecode: each pixel's opacity follows its colour components (255 where the data has
    /// none), as an image with /SMaskInData asks.
    bool jpxAlpha = false;
};

/// Sets every field to its default.
inline void InitDecodeParam(DecodeParam& param) { param = DecodeParam{}; }

}  // namespace reader
