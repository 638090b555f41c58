// CalGray, CalRGB and Lab: each colour goes to CIE XYZ under the space's white point, is
// adapted to D65 with the Bradford transform and becomes sRGB, values outside its gamut
// clipped. The BlackPoint entry is not used: it shifts dark colours only slightly.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "graphics/colour_space_types.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

using Matrix = std::array<double, 9>;  // row by row

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            for (int k = 0; k < 3; ++k) {
                m[size_t(3 * r + c)] += a[size_t(3 * r + k)] * b[size_t(3 * k + c)];
            }
        }
    }
    return m;
}

constexpr Matrix kBradford = {0.8951, 0.2664, -0.1614, -0.7502, 1.7135,
                              0.0367, 0.0389, -0.0685, 1.0296};
constexpr Matrix kBradfordInverse = {0.9869929, -0.1470543, 0.1599627, 0.4323053, 0.5183603,
                                     0.0492912, -0.0085287, 0.0400428, 0.9684867};
constexpr Matrix kXyzToLinearSrgb = {3.2404542, -1.5371385, -0.4985314, -0.9692660, 1.8760108,
                                     0.0415560, 0.0556434,  -0.2040259, 1.0572252};
constexpr std::array<double, 3> kD65 = {0.95047, 1.0, 1.08883};

// From XYZ under `white` to linear sRGB.
Matrix xyzToLinearSrgb(const std::array<double, 3>& white) {
    std::array<double, 3> source{};
    std::array<double, 3> target{};
    for (size_t r = 0; r < 3; ++r) {
        for (size_t k = 0; k < 3; ++k) {
            source[r] += kBradford[3 * r + k] * white[k];
            target[r] += kBradford[3 * r + k] * kD65[k];
        }
    }
    const Matrix scale = {target[0] / source[0], 0, 0, 0, target[1] / source[1], 0, 0, 0,
                          target[2] / source[2]};
    return multiply(kXyzToLinearSrgb, multiply(kBradfordInverse, multiply(scale, kBradford)));
}

double encodeSrgb(double linear) {
    linear = clipComponent(linear, 0.0, 1.0);
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

Rgb xyzToRgb(const Matrix& m, double x, double y, double z) {
    return {encodeSrgb(m[0] * x + m[1] * y + m[2] * z), encodeSrgb(m[3] * x + m[4] * y + m[5] * z),
            encodeSrgb(m[6] * x + m[7] * y + m[8] * z)};
}

double component(std::span<const double> in, size_t k, double lo, double hi) {
    return k < in.size() ? clipComponent(in[k], lo, hi) : lo;
}

// The white point every CIE-based space must give; nothing without a usable one.
std::optional<std::array<double, 3>> whitePoint(Document& document, const Dict& dict) {
    const Object object = document.resolve(dict.get("WhitePoint"));
    const Array* items = object.asArray();
    if (items == nullptr || items->size() != 3) {
        return std::nullopt;
    }
    std::array<double, 3> white{};
    for (size_t k = 0; k < 3; ++k) {
        const auto v = document.resolve((*items)[k]).asNumber();
        if (!v || !(*v > 0) || !std::isfinite(*v)) {
            return std::nullopt;
        }
        white[k] = *v;
    }
    return white;
}

// Numbers of an optional entry: `count` of them, or the defaults when the entry is missing;
// nothing when it is there but wrong.
std::optional<std::vector<double>> numbersOr(Document& document, const Dict& dict,
                                             std::string_view key, std::vector<double> defaults) {
    if (!dict.has(key)) {
        return defaults;
    }
    const Object object = document.resolve(dict.get(key));
    const Array* items = object.asArray();
    if (items == nullptr || items->size() != defaults.size()) {
        return std::nullopt;
    }
    for (size_t k = 0; k < items->size(); ++k) {
        const auto v = document.resolve((*items)[k]).asNumber();
        if (!v || !std::isfinite(*v)) {
            return std::nullopt;
        }
        defaults[k] = *v;
    }
    return defaults;
}

class CalGray final : public ColourSpace {
  public:
    CalGray(const std::array<double, 3>& white, double gamma)
        : white_(white), gamma_(gamma), toSrgb_(xyzToLinearSrgb(white)) {}
    Family family() const override { return Family::kCalGray; }
    size_t components() const override { return 1; }
    Rgb toRgb(std::span<const double> in) const override {
        const double a = std::pow(component(in, 0, 0, 1), gamma_);
        return xyzToRgb(toSrgb_, white_[0] * a, white_[1] * a, white_[2] * a);
    }

  private:
    std::array<double, 3> white_;
    double gamma_;
    Matrix toSrgb_;
};

class CalRgb final : public ColourSpace {
  public:
    CalRgb(const std::array<double, 3>& white, std::vector<double> gamma, const Matrix& matrix)
        : gamma_(std::move(gamma)), toSrgb_(multiply(xyzToLinearSrgb(white), matrix)) {}
    Family family() const override { return Family::kCalRgb; }
    size_t components() const override { return 3; }
    Rgb toRgb(std::span<const double> in) const override {
        const double a = std::pow(component(in, 0, 0, 1), gamma_[0]);
        const double b = std::pow(component(in, 1, 0, 1), gamma_[1]);
        const double c = std::pow(component(in, 2, 0, 1), gamma_[2]);
        return xyzToRgb(toSrgb_, a, b, c);
    }

  private:
    std::vector<double> gamma_;
    Matrix toSrgb_;  // from the gamma-decoded components, through XYZ
};

class Lab final : public ColourSpace {
  public:
    Lab(const std::array<double, 3>& white, std::vector<double> range)
        : white_(white), range_(std::move(range)), toSrgb_(xyzToLinearSrgb(white)) {}
    Family family() const override { return Family::kLab; }
    size_t components() const override { return 3; }
    std::pair<double, double> componentRange(size_t k) const override {
        if (k == 0) {
            return {0.0, 100.0};
        }
        return k <= 2 ? std::pair{range_[2 * k - 2], range_[2 * k - 1]} : std::pair{0.0, 1.0};
    }
    Rgb toRgb(std::span<const double> in) const override {
        const double l = component(in, 0, 0, 100);
        const double a = component(in, 1, range_[0], range_[1]);
        const double b = component(in, 2, range_[2], range_[3]);
        const double m = (l + 16) / 116;
        return xyzToRgb(toSrgb_, white_[0] * inverse(m + a / 500), white_[1] * inverse(m),
                        white_[2] * inverse(m - b / 200));
    }

  private:
    static double inverse(double t) {
        return t >= 6.0 / 29 ? t * t * t : 108.0 / 841 * (t - 4.0 / 29);
    }

    std::array<double, 3> white_;
    std::vector<double> range_;  // amin, amax, bmin, bmax
    Matrix toSrgb_;
};

}  // namespace

std::shared_ptr<const ColourSpace> readCalGray(ColourSpaceReading& reading, const Dict& dict) {
    const auto white = whitePoint(reading.document, dict);
    double gamma = 1;
    if (dict.has("Gamma")) {
        const auto g = reading.document.resolve(dict.get("Gamma")).asNumber();
        if (!g || !(*g > 0) || !std::isfinite(*g)) {
            return nullptr;
        }
        gamma = *g;
    }
    if (!white) {
        return nullptr;
    }
    return std::make_shared<CalGray>(*white, gamma);
}

std::shared_ptr<const ColourSpace> readCalRgb(ColourSpaceReading& reading, const Dict& dict) {
    const auto white = whitePoint(reading.document, dict);
    const auto gamma = numbersOr(reading.document, dict, "Gamma", {1, 1, 1});
    const auto matrix = numbersOr(reading.document, dict, "Matrix", {1, 0, 0, 0, 1, 0, 0, 0, 1});
    if (!white || !gamma || !matrix) {
        return nullptr;
    }
    for (const double g : *gamma) {
        if (!(g > 0) || !std::isfinite(g)) {
            return nullptr;
        }
    }
    // The entry lists X, Y, Z of A, then of B, then of C: the columns of the matrix.
    Matrix columns{};
    for (size_t r = 0; r < 3; ++r) {
        for (size_t c = 0; c < 3; ++c) {
            columns[3 * r + c] = (*matrix)[3 * c + r];
        }
    }
    return std::make_shared<CalRgb>(*white, *gamma, columns);
}

std::shared_ptr<const ColourSpace> readLab(ColourSpaceReading& reading, const Dict& dict) {
    const auto white = whitePoint(reading.document, dict);
    const auto range = numbersOr(reading.document, dict, "Range", {-100, 100, -100, 100});
    if (!white || !range || (*range)[0] > (*range)[1] || (*range)[2] > (*range)[3]) {
        return nullptr;
    }
    return std::make_shared<Lab>(*white, *range);
}

}  // namespace reader::pdf
