#include "filters/jpeg_header.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace reader {
namespace {

constexpr int kStartOfImage = 0xD8;
constexpr int kBaselineFrame = 0xC0;
constexpr int kHuffmanTables = 0xC4;
constexpr int kQuantTables = 0xDB;
constexpr int kRestartInterval = 0xDD;
constexpr int kStartOfScan = 0xDA;
constexpr int kFirstApplication = 0xE0;
constexpr int kAdobe = 0xEE;

class HeaderReader {
  public:
    HeaderReader(ByteReader& input, JpegHeader& header) : input_(input), header_(header) {}

    bool read() {
        for (;;) {
            const int marker = nextMarker();
            if (marker < 0) {
                return false;
            }
            if (marker == kStartOfImage) {
                continue;
            }
            if (marker >= kFirstApplication) {
                if (!(marker == kAdobe ? readAdobe() : readSegment(false))) {
                    return false;
                }
                continue;
            }
            bool known = false;
            switch (marker) {
                case kBaselineFrame: known = readFrame(); break;
                case kHuffmanTables: known = readHuffmanTables(); break;
                case kQuantTables: known = readQuantTables(); break;
                case kRestartInterval: known = readRestartInterval(); break;
                case kStartOfScan: return readScan();
                default: break;
            }
            if (!known) {
                return false;
            }
        }
    }

  private:
    // The code of the next marker, skipping any bytes before it; -1 at the end of the input.
    int nextMarker() {
        for (;;) {
            int byte = input_.next();
            if (byte < 0) {
                return -1;
            }
            if (byte != 0xFF) {
                continue;
            }
            while (byte == 0xFF) {
                byte = input_.next();
            }
            if (byte < 0) {
                return -1;
            }
            if (byte != 0) {
                return byte;
            }
        }
    }

    // Reads the length of a segment and its contents after the length into body_, or only
    // steps over them when `keep` is false.
    bool readSegment(bool keep) {
        const int high = input_.next();
        const int low = input_.next();
        if (high < 0 || low < 0 || (high << 8 | low) < 2) {
            return false;
        }
        const size_t size = size_t(high << 8 | low) - 2;
        body_.resize(keep ? size : 0);
        for (size_t i = 0; i < size; ++i) {
            const int byte = input_.next();
            if (byte < 0) {
                return false;
            }
            if (keep) {
                body_[i] = uint8_t(byte);
            }
        }
        return true;
    }

    uint16_t word(size_t at) const { return uint16_t(body_[at] << 8 | body_[at + 1]); }

    bool readAdobe() {
        // "Adobe", version, two flag words and the transform byte.
        if (!readSegment(true) || body_.size() != 12 ||
            std::memcmp(body_.data(), "Adobe", 5) != 0) {
            return false;
        }
        adobe_ = true;
        adobeTransform_ = body_[11] != 0;
        return true;
    }

    bool readFrame() {
        if (frame_ || !readSegment(true) || body_.size() < 6) {
            return false;
        }
        const int count = body_[5];
        if (body_[0] != 8 || count < 1 || count > 4 || body_.size() != 6 + 3 * size_t(count)) {
            return false;
        }
        header_.height = word(1);
        header_.width = word(3);
        header_.componentCount = count;
        // A height of 0 would come later in a DNL segment, which is not read.
        if (header_.width == 0 || header_.height == 0 ||
            size_t(header_.width) * header_.height * size_t(count) > kMaxJpegSampleBytes) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            JpegComponent& component = header_.components[i];
            const uint8_t* entry = body_.data() + 6 + 3 * i;
            component.id = entry[0];
            component.h = entry[1] >> 4;
            component.v = entry[1] & 15;
            component.quantTable = entry[2];
            if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4 ||
                component.quantTable > 3) {
                return false;
            }
        }
        // A single component is coded block by block whatever its sampling factors say.
        if (count == 1) {
            header_.components[0].h = header_.components[0].v = 1;
        }
        frame_ = true;
        return true;
    }

    bool readQuantTables() {
        if (!readSegment(true)) {
            return false;
        }
        for (size_t at = 0; at < body_.size(); at += 65) {
            const int precision = body_[at] >> 4;
            const int id = body_[at] & 15;
            if (precision != 0 || id > 3 || at + 65 > body_.size()) {
                return false;
            }
            std::copy_n(body_.begin() + ptrdiff_t(at) + 1, 64, header_.quantTables[id].begin());
            quantDefined_[id] = true;
        }
        return true;
    }

    bool readHuffmanTables() {
        if (!readSegment(true)) {
            return false;
        }
        size_t at = 0;
        while (at < body_.size()) {
            const int tableClass = body_[at] >> 4;
            const int id = body_[at] & 15;
            if (tableClass > 1 || id > 3 || at + 17 > body_.size()) {
                return false;
            }
            const std::span<const uint8_t, 16> counts(body_.data() + at + 1, 16);
            size_t symbolCount = 0;
            for (const uint8_t count : counts) {
                symbolCount += count;
            }
            if (at + 17 + symbolCount > body_.size()) {
                return false;
            }
            JpegHuffmanTable& table = tableClass == 0 ? header_.dcTables[id] : header_.acTables[id];
            if (!table.build(counts, std::span(body_).subspan(at + 17, symbolCount))) {
                return false;
            }
            at += 17 + symbolCount;
        }
        return true;
    }

    bool readRestartInterval() {
        if (!readSegment(true) || body_.size() != 2) {
            return false;
        }
        header_.restartInterval = word(0);
        return true;
    }

    bool readScan() {
        if (!frame_ || !readSegment(true) || body_.empty()) {
            return false;
        }
        // Only a scan of every component gives the image one MCU row at a time; images coded in
        // several scans give no output.
        const int count = body_[0];
        if (count != header_.componentCount || body_.size() != 4 + 2 * size_t(count)) {
            return false;
        }
        std::array<bool, 4> used{};
        for (int i = 0; i < count; ++i) {
            const uint8_t id = body_[1 + 2 * i];
            const int dc = body_[2 + 2 * i] >> 4;
            const int ac = body_[2 + 2 * i] & 15;
            if (dc > 3 || ac > 3 || !header_.dcTables[dc].defined() ||
                !header_.acTables[ac].defined()) {
                return false;
            }
            // The first unused component with the id, so that repeated ids go in frame order.
            int index = 0;
            while (index < count && (used[index] || header_.components[index].id != id)) {
                ++index;
            }
            if (index == count || !quantDefined_[header_.components[index].quantTable]) {
                return false;
            }
            used[index] = true;
            header_.scanOrder[i] = uint8_t(index);
            header_.components[index].dcTable = uint8_t(dc);
            header_.components[index].acTable = uint8_t(ac);
        }
        // The three bytes after the components (spectral selection and successive
        // approximation) are fixed for a baseline scan and not looked at.
        const auto& c = header_.components;
        header_.transform =
            adobe_ ? adobeTransform_ : count == 3 && c[0].id == 1 && c[1].id == 2 && c[2].id == 3;
        return true;
    }

    ByteReader& input_;
    JpegHeader& header_;
    std::vector<uint8_t> body_;
    std::array<bool, 4> quantDefined_{};
    bool frame_ = false;
    bool adobe_ = false;
    bool adobeTransform_ = false;
};

}  // namespace

bool readJpegHeader(ByteReader& input, JpegHeader& header) {
    header = JpegHeader{};
    return HeaderReader(input, header).read();
}

}  // namespace reader
