// Type 2: C0 + x^N (C1 - C0), one input.
#include <cmath>

#include "graphics/function_types.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

class ExponentialFunction final : public Function {
  public:
    ExponentialFunction(FunctionShape shape, std::vector<double> c0, std::vector<double> c1,
                        double exponent)
        : Function(std::move(shape.domain), std::move(shape.range), c0.size()),
          c0_(std::move(c0)),
          c1_(std::move(c1)),
          exponent_(exponent),
          integral_(exponent == std::floor(exponent)) {}

  protected:
    bool evaluate(const double* in, double* out) const override {
        const double x = in[0];
        // x^N is undefined for negative x and a fractional N, and for 0 and a negative N.
        if ((x < 0 && !integral_) || (x == 0 && exponent_ < 0)) {
            return false;
        }
        const double t = exponent_ == 1 ? x : std::pow(x, exponent_);
        for (size_t j = 0; j < c0_.size(); ++j) {
            out[j] = c0_[j] + t * (c1_[j] - c0_[j]);
        }
        return true;
    }

  private:
    std::vector<double> c0_;
    std::vector<double> c1_;
    double exponent_;
    bool integral_;
};

}  // namespace

std::unique_ptr<Function> readExponentialFunction(FunctionReading& reading, const Dict& dict,
                                                  FunctionShape shape) {
    Document& document = reading.document;
    if (shape.domain.size() != 2) {
        return nullptr;
    }
    const auto exponent = document.resolve(dict.get("N")).asNumber();
    std::vector<double> c0{0.0};
    std::vector<double> c1{1.0};
    if (dict.has("C0")) {
        auto numbers = readNumbers(document, dict.get("C0"));
        if (!numbers) {
            return nullptr;
        }
        c0 = std::move(*numbers);
    }
    if (dict.has("C1")) {
        auto numbers = readNumbers(document, dict.get("C1"));
        if (!numbers) {
            return nullptr;
        }
        c1 = std::move(*numbers);
    }
    if (!exponent || !std::isfinite(*exponent) || c0.size() != c1.size() || c0.empty() ||
        c0.size() > Function::kMaxOutputs ||
        (!shape.range.empty() && shape.range.size() != 2 * c0.size())) {
        return nullptr;
    }
    return std::make_unique<ExponentialFunction>(std::move(shape), std::move(c0), std::move(c1),
                                                 *exponent);
}

}  // namespace reader::pdf
