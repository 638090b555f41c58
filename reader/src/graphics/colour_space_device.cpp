// DeviceGray, DeviceRGB and DeviceCMYK. CMYK becomes RGB as (1 - c)(1 - k) and so on, the
// conversion the reader's CMYK images have always had; a calibrated conversion needs an ICC
// profile.
#include <algorithm>
#include <array>

#include "graphics/colour_space_types.h"
#include "images/image_rows.h"

namespace reader::pdf {
namespace {

// Per-component tables of the byte each sample stands for.
using ByteTables = std::vector<std::array<uint8_t, 256>>;

ByteTables byteTables(const std::vector<std::vector<double>>& values) {
    ByteTables tables(values.size());
    for (size_t k = 0; k < values.size(); ++k) {
        for (size_t s = 0; s < 256; ++s) {
            tables[k][s] = toByte(values[k][s]);
        }
    }
    return tables;
}

class RgbConverter final : public SampleConverter {
  public:
    explicit RgbConverter(ByteTables tables) : tables_(std::move(tables)) {}
    void convert(const uint8_t* samples, size_t pixels, uint8_t* rgb) const override {
        for (size_t i = 0; i < 3 * pixels; i += 3) {
            rgb[i] = tables_[0][samples[i]];
            rgb[i + 1] = tables_[1][samples[i + 1]];
            rgb[i + 2] = tables_[2][samples[i + 2]];
        }
    }

  private:
    ByteTables tables_;
};

class CmykConverter final : public SampleConverter {
  public:
    explicit CmykConverter(ByteTables tables) : tables_(std::move(tables)) {}
    void convert(const uint8_t* samples, size_t pixels, uint8_t* rgb) const override {
        static const std::array<uint8_t, 256 * 256> underBlack = [] {
            std::array<uint8_t, 256 * 256> table{};
            for (size_t k = 0; k < 256; ++k) {
                for (size_t c = 0; c < 256; ++c) {
                    table[k * 256 + c] = CmykComponent(uint8_t(c), uint8_t(k));
                }
            }
            return table;
        }();
        for (size_t x = 0; x < pixels; ++x, samples += 4, rgb += 3) {
            const uint8_t* row = &underBlack[size_t(tables_[3][samples[3]]) * 256];
            rgb[0] = row[tables_[0][samples[0]]];
            rgb[1] = row[tables_[1][samples[1]]];
            rgb[2] = row[tables_[2][samples[2]]];
        }
    }

  private:
    ByteTables tables_;
};

double component(std::span<const double> in, size_t k) {
    return k < in.size() ? clipComponent(in[k], 0.0, 1.0) : 0.0;
}

class DeviceGray final : public ColourSpace {
  public:
    Family family() const override { return Family::kDeviceGray; }
    size_t components() const override { return 1; }
    Rgb toRgb(std::span<const double> in) const override {
        const double g = component(in, 0);
        return {g, g, g};
    }
};

class DeviceRgb final : public ColourSpace {
  public:
    Family family() const override { return Family::kDeviceRgb; }
    size_t components() const override { return 3; }
    Rgb toRgb(std::span<const double> in) const override {
        return {component(in, 0), component(in, 1), component(in, 2)};
    }
    std::unique_ptr<SampleConverter> sampleConverter(std::span<const double> decode,
                                                     int maxSample) const override {
        std::vector<std::vector<double>> values;
        for (size_t k = 0; k < 3; ++k) {
            values.push_back(componentTable(decode, maxSample, k));
        }
        return std::make_unique<RgbConverter>(byteTables(values));
    }
};

class DeviceCmyk final : public ColourSpace {
  public:
    Family family() const override { return Family::kDeviceCmyk; }
    size_t components() const override { return 4; }
    void defaultColour(std::span<double> out) const override {
        for (size_t k = 0; k < out.size() && k < 4; ++k) {
            out[k] = k == 3 ? 1.0 : 0.0;
        }
    }
    Rgb toRgb(std::span<const double> in) const override {
        const double white = 1 - component(in, 3);
        return {(1 - component(in, 0)) * white, (1 - component(in, 1)) * white,
                (1 - component(in, 2)) * white};
    }
    std::unique_ptr<SampleConverter> sampleConverter(std::span<const double> decode,
                                                     int maxSample) const override {
        std::vector<std::vector<double>> values;
        for (size_t k = 0; k < 4; ++k) {
            values.push_back(componentTable(decode, maxSample, k));
        }
        return std::make_unique<CmykConverter>(byteTables(values));
    }
};

}  // namespace

std::shared_ptr<const ColourSpace> ColourSpace::deviceGray() {
    static const auto space = std::make_shared<const DeviceGray>();
    return space;
}

std::shared_ptr<const ColourSpace> ColourSpace::deviceRgb() {
    static const auto space = std::make_shared<const DeviceRgb>();
    return space;
}

std::shared_ptr<const ColourSpace> ColourSpace::deviceCmyk() {
    static const auto space = std::make_shared<const DeviceCmyk>();
    return space;
}

}  // namespace reader::pdf
