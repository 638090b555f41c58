// CCITTFaxDecode: facsimile-coded bilevel rows (ITU-T T.4 one- and two-dimensional, T.6).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"
#include "filters/fax_bit_reader.h"

namespace reader {

/// Widths above this give no output.
inline constexpr int32_t kMaxFaxColumns = int32_t{1} << 20;

/// Decodes facsimile-coded data into rows of packed pixels, (Columns + 7) / 8 bytes each, most
/// significant bit first. K < 0 is T.6 two-dimensional coding, K = 0 one-dimensional coding,
/// K > 0 a mix where a tag bit before each row chooses. Black pixels are 0 bits unless BlackIs1.
/// Decoding ends at the end-of-block code (recognised whatever EndOfBlock says), after Rows rows
/// when Rows > 0, at the end of the data, or at a row that cannot be decoded, which is left out.
/// Uncompressed mode is not decoded: it ends the output like damaged data. End-of-line codes are
/// taken wherever a row may begin, so EndOfLine only settles how byte-aligned rows are read.
class FaxDecoder final : public ByteSource {
  public:
    /// Takes ownership of `input`, the coded data.
    FaxDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    bool decodeRow();
    bool beginRow(bool& oneDimensional);
    bool endOfLineAhead();
    bool decodeOneDimensional();
    bool decodeTwoDimensional();
    int32_t readRun(bool black);
    bool addChange(int32_t position);
    void paintRow();

    std::unique_ptr<ByteSource> input_;
    FaxBitReader bits_;
    int32_t k_;
    bool endOfLine_;
    bool byteAlign_;
    bool blackIs1_;
    int32_t columns_;
    int32_t rows_;  ///< 0: as many as the data holds

    /// Changing elements (the positions where the colour changes, the first to black) of the
    /// row above and of the row being decoded, each followed by sentinels at columns_.
    std::vector<int32_t> reference_;
    std::vector<int32_t> coding_;
    size_t codingCount_ = 0;

    std::vector<uint8_t> row_;
    size_t rowOffset_ = 0;  ///< bytes of row_ already handed out
    int64_t rowCount_ = 0;
    bool finished_ = false;
};

}  // namespace reader
