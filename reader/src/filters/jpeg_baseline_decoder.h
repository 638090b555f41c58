// DCTDecode: baseline sequential JPEG images with Huffman coding and 8-bit samples.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"
#include "filters/jpeg_colour.h"
#include "filters/jpeg_header.h"
#include "filters/jpeg_huffman.h"

namespace reader {

/// Decodes a JPEG image of 1 to 4 components, any sampling factors from 1 to 4 and restart
/// intervals into its pixels: the component bytes of each pixel together, rows top to bottom,
/// with the colour transform the image asks for (YCbCr to RGB, YCCK to CMYK). Subsampled
/// components are brought to full resolution by repeating their samples.
///
/// The image is decoded one MCU row at a time, as output is read. An image that is not
/// baseline, or whose markers before the scan are not as expected, gives no output. When the
/// coded data is damaged or cut short within an MCU row, the output ends after the rows of the
/// MCU rows before it.
class JpegBaselineDecoder final : public ByteSource {
  public:
    /// Reads the image from `input`, which the decoder owns. `param` holds nothing this filter
    /// uses.
    JpegBaselineDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    // The samples of one component for the MCU row being output.
    struct Plane {
        std::vector<uint8_t> samples;
        size_t stride = 0;
        // When the component is subsampled across: a row of samples repeated to full width.
        std::vector<uint8_t> widened;
        // The plane row the last line was output from (-1: none since the MCU row was decoded).
        int shownRow = -1;
        // The sample of each pixel column, unless the samples are simply doubled.
        std::vector<uint32_t> columns;
        int32_t dcPredictor = 0;
    };

    enum class State { kStart, kLines, kEnd };

    bool start();
    bool nextLineReady();
    bool decodeMcuRow();
    bool decodeBlock(const JpegComponent& component, Plane& plane, uint8_t* out);
    // Fills plane.widened from a row of the plane's samples, each repeated maxH_ / h times.
    void widen(Plane& plane, const uint8_t* samples, int h) const;
    void writeLine(uint8_t* out);

    std::unique_ptr<ByteSource> input_;
    ByteReader reader_;
    JpegBitReader bits_;
    JpegHeader header_;
    State state_ = State::kStart;

    std::array<Plane, 4> planes_;
    int maxH_ = 1;
    int maxV_ = 1;
    uint32_t mcusPerLine_ = 0;
    uint64_t mcusDecoded_ = 0;
    uint32_t linesDecoded_ = 0;        // lines of the MCU rows decoded so far
    uint32_t nextLine_ = 0;            // the next line to output
    std::array<int32_t, 64> block_{};  // coefficients, all 0 between blocks
    JpegColourConverter colour_;

    // A line that did not fit the caller's buffer, and how much of it was given out.
    std::vector<uint8_t> line_;
    size_t linePosition_ = 0;
};

}  // namespace reader
