// PDF functions: sampled (type 0), exponential (type 2), stitching (type 3) and PostScript
// calculator (type 4), and an array of one-input functions acting as one. A function is read
// once from its dictionary or stream and then evaluated many times, without allocating.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

class Document;

class Function {
  public:
    /// Nesting of stitching functions deeper than this is refused.
    static constexpr int kMaxDepth = 8;
    /// The most inputs and outputs a function may have (a DeviceN space's 32 colourants).
    static constexpr size_t kMaxInputs = 32;
    static constexpr size_t kMaxOutputs = 32;

    virtual ~Function() = default;

    /// The function `object` (a dictionary, a stream, a reference to one, or an array of
    /// one-input functions whose outputs follow one another) describes; null when it cannot be
    /// read: an unknown type, missing or inconsistent entries, a program that does not parse,
    /// nesting deeper than kMaxDepth or a function that contains itself.
    static std::unique_ptr<Function> read(Document& document, const Object& object, int depth = 0);

    size_t inputs() const { return domain_.size() / 2; }
    size_t outputs() const { return outputs_; }

    /// Evaluates the function at `in` clipped to its domain (inputs missing from `in` take the
    /// domain's minimum) and writes its outputs, clipped to its range, to `out`; entries of
    /// `out` beyond outputs() become 0. A program that fails gives the range's minimum (0 where
    /// the function has no range).
    void eval(std::span<const double> in, std::span<double> out) const;

  protected:
    Function(std::vector<double> domain, std::vector<double> range, size_t outputs)
        : domain_(std::move(domain)), range_(std::move(range)), outputs_(outputs) {}

    /// Computes outputs() values into `out` from inputs() values in `in`, already clipped;
    /// false when the computation fails.
    virtual bool evaluate(const double* in, double* out) const = 0;

  private:
    std::vector<double> domain_;  // min, max per input
    std::vector<double> range_;   // min, max per output; empty when unbounded
    size_t outputs_;
};

}  // namespace reader::pdf
