#include "filters/jpeg_baseline_decoder.h"

#include <algorithm>
#include <cstring>

#include "filters/jpeg_colour.h"
#include "filters/jpeg_idct.h"

namespace reader {
JpegBaselineDecoder::JpegBaselineDecoder(std::unique_ptr<ByteSource> input,
                                         const DecodeParam& /*param*/)
    : input_(std::move(input)), reader_(*input_), bits_(reader_) {}

void JpegBaselineDecoder::reset() {
    reader_.reset();
    state_ = State::kStart;
    line_.clear();
    linePosition_ = 0;
}

bool JpegBaselineDecoder::start() {
    if (!readJpegHeader(reader_, header_)) {
        return false;
    }
    bits_ = JpegBitReader(reader_);
    const int count = header_.componentCount;
    maxH_ = maxV_ = 1;
    for (int c = 0; c < count; ++c) {
        maxH_ = std::max<int>(maxH_, header_.components[c].h);
        maxV_ = std::max<int>(maxV_, header_.components[c].v);
    }
    const uint32_t width = header_.width;
    // The colour transform takes chroma at half width as it is, without widening it first.
    const bool halved = header_.transform && count >= 3 && 2 * header_.components[1].h == maxH_ &&
                        2 * header_.components[2].h == maxH_;
    mcusPerLine_ = (width + 8 * uint32_t(maxH_) - 1) / (8 * uint32_t(maxH_));
    for (int c = 0; c < count; ++c) {
        const JpegComponent& component = header_.components[c];
        Plane& plane = planes_[c];
        plane.stride = size_t(mcusPerLine_) * component.h * 8;
        plane.samples.assign(plane.stride * component.v * 8, 0);
        plane.columns.clear();
        plane.widened.clear();
        if (component.h != maxH_ && !(halved && (c == 1 || c == 2))) {
            plane.widened.resize(width);
        }
        if (component.h != maxH_ && 2 * component.h != maxH_) {
            plane.columns.resize(width);
            for (uint32_t x = 0; x < width; ++x) {
                plane.columns[x] = x * component.h / uint32_t(maxH_);
            }
        }
        plane.shownRow = -1;
        plane.dcPredictor = 0;
    }
    block_.fill(0);
    mcusDecoded_ = 0;
    linesDecoded_ = 0;
    nextLine_ = 0;
    colour_.start(width, count, header_.transform, halved);
    line_.assign(size_t(width) * size_t(count), 0);
    linePosition_ = line_.size();
    return true;
}

size_t JpegBaselineDecoder::read(std::span<uint8_t> out) {
    if (state_ == State::kStart) {
        state_ = start() ? State::kLines : State::kEnd;
    }
    size_t written = 0;
    while (written < out.size()) {
        if (linePosition_ < line_.size()) {
            const size_t n = std::min(out.size() - written, line_.size() - linePosition_);
            std::memcpy(out.data() + written, line_.data() + linePosition_, n);
            written += n;
            linePosition_ += n;
            continue;
        }
        if (!nextLineReady()) {
            break;
        }
        // Whole lines go straight to the caller; the line_ buffer only holds one that does not fit.
        if (out.size() - written >= line_.size()) {
            writeLine(out.data() + written);
            written += line_.size();
        } else {
            writeLine(line_.data());
            linePosition_ = 0;
        }
        ++nextLine_;
    }
    return written;
}

bool JpegBaselineDecoder::nextLineReady() {
    if (state_ != State::kLines) {
        return false;
    }
    if (nextLine_ == header_.height || (nextLine_ == linesDecoded_ && !decodeMcuRow())) {
        state_ = State::kEnd;
        return false;
    }
    return true;
}

bool JpegBaselineDecoder::decodeMcuRow() {
    const uint16_t interval = header_.restartInterval;
    for (uint32_t mcu = 0; mcu < mcusPerLine_; ++mcu) {
        if (interval != 0 && mcusDecoded_ != 0 && mcusDecoded_ % interval == 0) {
            // Restart markers count 0 to 7 over and over; one out of turn means lost data.
            if (!bits_.restart(int((mcusDecoded_ / interval - 1) % 8))) {
                return false;
            }
            for (Plane& plane : planes_) {
                plane.dcPredictor = 0;
            }
        }
        for (int i = 0; i < header_.componentCount; ++i) {
            const JpegComponent& component = header_.components[header_.scanOrder[i]];
            Plane& plane = planes_[header_.scanOrder[i]];
            uint8_t* const mcuStart = plane.samples.data() + size_t(mcu) * component.h * 8;
            for (int v = 0; v < component.v; ++v) {
                for (int h = 0; h < component.h; ++h) {
                    uint8_t* const blockStart = mcuStart + size_t(v) * 8 * plane.stride + h * 8;
                    if (!decodeBlock(component, plane, blockStart)) {
                        return false;
                    }
                }
            }
        }
        ++mcusDecoded_;
        if (bits_.overrun()) {
            return false;
        }
    }
    for (Plane& plane : planes_) {
        plane.shownRow = -1;
    }
    linesDecoded_ += 8 * uint32_t(maxV_);
    return true;
}

bool JpegBaselineDecoder::decodeBlock(const JpegComponent& component, Plane& plane, uint8_t* out) {
    const std::array<uint8_t, 64>& quant = header_.quantTables[component.quantTable];
    const int last =
        bits_.decodeBlock(header_.dcTables[component.dcTable], header_.acTables[component.acTable],
                          quant, plane.dcPredictor, block_.data());
    if (last < 0) {
        return false;
    }

    // The first ten coefficients in coded order lie in the first four of the first four rows.
    if (last == 0) {
        inverseDctDc(block_[0], out, plane.stride);
        block_[0] = 0;
    } else if (last < 10) {
        inverseDctLow(block_, out, plane.stride);
    } else {
        inverseDct(block_, out, plane.stride);
    }
    return true;
}

void JpegBaselineDecoder::widen(Plane& plane, const uint8_t* samples, int h) const {
    uint8_t* const widened = plane.widened.data();
    const size_t width = plane.widened.size();
    if (2 * h == maxH_) {
        // The common halved chroma, without the look-up.
        for (size_t x = 0; x + 1 < width; x += 2) {
            widened[x] = widened[x + 1] = samples[x / 2];
        }
        if (width % 2 != 0) {
            widened[width - 1] = samples[width / 2];
        }
        return;
    }
    for (size_t x = 0; x < width; ++x) {
        widened[x] = samples[plane.columns[x]];
    }
}

void JpegBaselineDecoder::writeLine(uint8_t* out) {
    const int count = header_.componentCount;
    const uint32_t mcuRow = nextLine_ / (8 * uint32_t(maxV_));
    std::array<const uint8_t*, 4> rows{};
    bool chromaChanged = false;
    for (int c = 0; c < count; ++c) {
        const JpegComponent& component = header_.components[c];
        Plane& plane = planes_[c];
        // Samples are repeated down and across: pixel (x, y) takes the sample at
        // (x * h / maxH, y * v / maxV).
        const auto row = int(nextLine_ * component.v / uint32_t(maxV_) - mcuRow * component.v * 8);
        const uint8_t* samples = plane.samples.data() + size_t(row) * plane.stride;
        const bool changed = plane.shownRow != row;
        plane.shownRow = row;
        if (c == 1 || c == 2) {
            chromaChanged = chromaChanged || changed;
        }
        if (plane.widened.empty()) {
            rows[c] = samples;
            continue;
        }
        if (changed) {
            widen(plane, samples, component.h);
        }
        rows[c] = plane.widened.data();
    }
    colour_.write(std::span(rows).first(size_t(count)), chromaChanged, out);
}

}  // namespace reader
