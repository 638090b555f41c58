// Undoing the row predictors of FlateDecode and LZWDecode data.
#pragma once

#include <memory>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// Reads the raw output of another decoder, which it owns, and undoes its row prediction.
/// Predictor 15: each row starts with a tag byte t and is decoded with PNG filter t + 10 (a tag
/// above 4 means None). Predictors 10 to 14: each row is decoded with that PNG filter and has no
/// tag. Predictor 2: each component is added to the same component of the pixel before it
/// (TIFF). Any other predictor passes the bytes through unchanged. Rows are Columns (1 when not
/// given) × Colors × BitsPerComponent bits, rounded up to whole bytes; parameters that make no
/// sense (Colors below 1, BitsPerComponent outside 1 to 16, rows over 16 MB) give no output.
class RowPredictor final : public ByteSource {
  public:
    RowPredictor(std::unique_ptr<ByteSource> raw, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    enum class Mode { Copy, TaggedPng, Tiff, Refused };

    bool nextRow();
    void undoPng(unsigned filter);
    void undoTiff();

    std::unique_ptr<ByteSource> raw_;
    Mode mode_ = Mode::Copy;
    size_t colors_ = 1;
    unsigned bitsPerComponent_ = 8;
    size_t componentsPerRow_ = 0;
    size_t bytesPerPixel_ = 1;
    size_t bytesPerRow_ = 0;

    // Rows hold a tag byte, the row, and two zero bytes so that a component can be read as three.
    std::vector<uint8_t> row_;
    std::vector<uint8_t> above_;
    size_t rowStart_ = 0;
    size_t rowEnd_ = 0;
    bool ended_ = false;
};

}  // namespace reader
