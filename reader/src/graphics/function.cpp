#include "graphics/function.h"

#include <algorithm>
#include <cmath>

#include "graphics/function_types.h"
#include "graphics/reference_path.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

// Clips `x` into [lo, hi]; a NaN becomes the minimum.
double clip(double x, double lo, double hi) {
    if (!(x >= lo)) {
        return lo;
    }
    return x <= hi ? x : hi;
}

// Well-formed min/max pairs.
bool validPairs(const std::vector<double>& pairs) {
    if (pairs.size() % 2 != 0) {
        return false;
    }
    for (size_t i = 0; i < pairs.size(); i += 2) {
        if (!std::isfinite(pairs[i]) || !std::isfinite(pairs[i + 1]) || pairs[i] > pairs[i + 1]) {
            return false;
        }
    }
    return true;
}

class CombinedFunction final : public Function {
  public:
    CombinedFunction(std::vector<double> domain, size_t outputs,
                     std::vector<std::unique_ptr<Function>> parts)
        : Function(std::move(domain), {}, outputs), parts_(std::move(parts)) {}

  protected:
    bool evaluate(const double* in, double* out) const override {
        for (const auto& part : parts_) {
            part->eval({in, 1}, {out, part->outputs()});
            out += part->outputs();
        }
        return true;
    }

  private:
    std::vector<std::unique_ptr<Function>> parts_;
};

}  // namespace

std::optional<std::vector<double>> readNumbers(Document& document, const Object& object) {
    const Object resolved = document.resolve(object);
    const Array* items = resolved.asArray();
    if (items == nullptr) {
        return std::nullopt;
    }
    std::vector<double> numbers;
    numbers.reserve(items->size());
    for (const Object& item : *items) {
        const auto number = document.resolve(item).asNumber();
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
    }
    return numbers;
}

std::unique_ptr<Function> combineFunctions(std::vector<std::unique_ptr<Function>> parts) {
    size_t outputs = 0;
    for (const auto& part : parts) {
        if (part->inputs() != 1) {
            return nullptr;
        }
        outputs += part->outputs();
    }
    if (parts.empty() || outputs > Function::kMaxOutputs) {
        return nullptr;
    }
    // Each part clips its input to its own domain.
    return std::make_unique<CombinedFunction>(std::vector<double>{-HUGE_VAL, HUGE_VAL}, outputs,
                                              std::move(parts));
}

std::unique_ptr<Function> FunctionReading::read(const Object& object, int depth) {
    if (depth > Function::kMaxDepth || ++count > kMaxFunctions) {
        return nullptr;
    }
    const ReferencePathGuard guard(path, object);
    if (!guard.entered()) {
        return nullptr;  // a function containing itself
    }

    const Object resolved = document.resolve(object);
    if (const Array* items = resolved.asArray()) {
        std::vector<std::unique_ptr<Function>> parts;
        for (const Object& item : *items) {
            auto part = read(item, depth + 1);
            if (!part) {
                return nullptr;
            }
            parts.push_back(std::move(part));
        }
        return combineFunctions(std::move(parts));
    }
    const Dict* dict = resolved.asDict();
    if (dict == nullptr) {
        return nullptr;
    }
    FunctionShape shape;
    const auto domain = readNumbers(document, dict->get("Domain"));
    if (!domain || domain->empty() || !validPairs(*domain) ||
        domain->size() / 2 > Function::kMaxInputs) {
        return nullptr;
    }
    shape.domain = *domain;
    if (dict->has("Range")) {
        const auto range = readNumbers(document, dict->get("Range"));
        if (!range || range->empty() || !validPairs(*range) ||
            range->size() / 2 > Function::kMaxOutputs) {
            return nullptr;
        }
        shape.range = *range;
    }
    const Stream* stream = resolved.asStream();
    switch (document.resolve(dict->get("FunctionType")).asInt().value_or(-1)) {
        case 0:
            return stream != nullptr ? readSampledFunction(*this, *stream, std::move(shape))
                                     : nullptr;
        case 2: return readExponentialFunction(*this, *dict, std::move(shape));
        case 3: return readStitchingFunction(*this, *dict, std::move(shape), depth);
        case 4:
            return stream != nullptr ? readPostScriptFunction(*this, *stream, std::move(shape))
                                     : nullptr;
        default: return nullptr;
    }
}

std::unique_ptr<Function> Function::read(Document& document, const Object& object, int depth) {
    FunctionReading reading{document, {}, 0};
    return reading.read(object, depth);
}

void Function::eval(std::span<const double> in, std::span<double> out) const {
    double x[kMaxInputs];
    double y[kMaxOutputs];
    const size_t m = inputs();
    for (size_t i = 0; i < m; ++i) {
        const double lo = domain_[2 * i];
        x[i] = clip(i < in.size() ? in[i] : lo, lo, domain_[2 * i + 1]);
    }
    const bool ok = evaluate(x, y);
    const size_t n = std::min(outputs_, out.size());
    for (size_t j = 0; j < n; ++j) {
        const bool ranged = 2 * j + 1 < range_.size();
        if (!ok || !std::isfinite(y[j])) {
            out[j] = ranged ? range_[2 * j] : 0.0;
        } else {
            out[j] = ranged ? clip(y[j], range_[2 * j], range_[2 * j + 1]) : y[j];
        }
    }
    std::fill(out.begin() + ptrdiff_t(n), out.end(), 0.0);
}

}  // namespace reader::pdf
