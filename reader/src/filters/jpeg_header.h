// The markers of a baseline JPEG image before its entropy-coded data: frame, tables, restart
// interval, the Adobe segment and the scan header.
#pragma once

#include <array>
#include <cstdint>

#include "filters/byte_source.h"
#include "filters/jpeg_huffman.h"

namespace reader {

/// Images with more sample bytes than this give no output.
inline constexpr size_t kMaxJpegSampleBytes = size_t{1} << 28;

struct JpegComponent {
    uint8_t id = 0;
    uint8_t h = 1;  ///< horizontal sampling factor, 1 to 4
    uint8_t v = 1;  ///< vertical sampling factor, 1 to 4
    uint8_t quantTable = 0;
    uint8_t dcTable = 0;  ///< from the scan header
    uint8_t acTable = 0;  ///< from the scan header
};

/// What the markers before the first scan say.
struct JpegHeader {
    uint16_t width = 0;
    uint16_t height = 0;
    int componentCount = 0;
    std::array<JpegComponent, 4> components{};  ///< in frame order
    /// The frame indices of the components in the order the scan interleaves them.
    std::array<uint8_t, 4> scanOrder{};
    uint16_t restartInterval = 0;  ///< MCUs from one restart marker to the next; 0: none
    /// YCbCr to RGB for 3 components, YCCK to CMYK for 4.
    bool transform = false;
    std::array<std::array<uint8_t, 64>, 4> quantTables{};  ///< in zigzag order
    std::array<JpegHuffmanTable, 4> dcTables{};
    std::array<JpegHuffmanTable, 4> acTables{};
};

/// Reads the markers from the start of the image to the end of the first scan header, leaving
/// `input` at the first byte of the scan's coded data. False when the image gives no output: a
/// frame other than baseline with 8-bit samples, a table or segment the baseline frame cannot
/// have, an Adobe segment not as expected, a scan that does not hold every component of the
/// frame, tables the scan needs that were not defined, a size past kMaxJpegSampleBytes, or
/// input that ends first.
bool readJpegHeader(ByteReader& input, JpegHeader& header);

}  // namespace reader
