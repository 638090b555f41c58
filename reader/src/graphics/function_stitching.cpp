// Type 3: one input, its domain cut by Bounds into pieces, each piece mapped through Encode
// into the domain of its own one-input function.
#include "graphics/function_types.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

class StitchingFunction final : public Function {
  public:
    StitchingFunction(FunctionShape shape, size_t outputs,
                      std::vector<std::unique_ptr<Function>> parts, std::vector<double> bounds,
                      std::vector<double> encode)
        : Function(shape.domain, std::move(shape.range), outputs),
          parts_(std::move(parts)),
          bounds_(std::move(bounds)),
          encode_(std::move(encode)),
          low_(shape.domain[0]),
          high_(shape.domain[1]) {}

  protected:
    bool evaluate(const double* in, double* out) const override {
        const double x = in[0];
        // Piece i covers [Bounds[i-1], Bounds[i]); the last one includes the domain's end,
        // and the first includes its start even when Bounds[0] equals it.
        size_t i = 0;
        while (i < bounds_.size() && x >= bounds_[i] && !(i == 0 && x == low_)) {
            ++i;
        }
        const double lo = i == 0 ? low_ : bounds_[i - 1];
        const double hi = i == bounds_.size() ? high_ : bounds_[i];
        const double e0 = encode_[2 * i];
        const double e1 = encode_[2 * i + 1];
        const double t = hi > lo ? e0 + (x - lo) * (e1 - e0) / (hi - lo) : e0;
        parts_[i]->eval({&t, 1}, {out, outputs()});
        return true;
    }

  private:
    std::vector<std::unique_ptr<Function>> parts_;
    std::vector<double> bounds_;
    std::vector<double> encode_;
    double low_;
    double high_;
};

}  // namespace

std::unique_ptr<Function> readStitchingFunction(FunctionReading& reading, const Dict& dict,
                                                FunctionShape shape, int depth) {
    Document& document = reading.document;
    const Object functions = document.resolve(dict.get("Functions"));
    const Array* items = functions.asArray();
    const auto bounds = readNumbers(document, dict.get("Bounds"));
    const auto encode = readNumbers(document, dict.get("Encode"));
    if (shape.domain.size() != 2 || items == nullptr || items->empty() || !bounds || !encode ||
        bounds->size() + 1 != items->size() || encode->size() != 2 * items->size()) {
        return nullptr;
    }
    double previous = shape.domain[0];
    for (const double bound : *bounds) {
        if (bound < previous || bound > shape.domain[1]) {
            return nullptr;
        }
        previous = bound;
    }
    std::vector<std::unique_ptr<Function>> parts;
    size_t outputs = 0;
    for (const Object& item : *items) {
        auto part = reading.read(item, depth + 1);
        if (!part || part->inputs() != 1 || (outputs != 0 && part->outputs() != outputs)) {
            return nullptr;
        }
        outputs = part->outputs();
        parts.push_back(std::move(part));
    }
    if (!shape.range.empty() && shape.range.size() != 2 * outputs) {
        return nullptr;
    }
    return std::make_unique<StitchingFunction>(std::move(shape), outputs, std::move(parts), *bounds,
                                               *encode);
}

}  // namespace reader::pdf
