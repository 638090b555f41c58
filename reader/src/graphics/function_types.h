// What the readers of the function types share: the read in progress (for nesting and cycles)
// and the entries every function has.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "graphics/function.h"
#include "object/object.h"

namespace reader::pdf {

/// One call of Function::read: the references being read, so that a function containing
/// itself is refused, and how many functions have been read, so that a tree of shared
/// references cannot multiply without end.
struct FunctionReading {
    static constexpr int kMaxFunctions = 1024;

    Document& document;
    std::vector<Ref> path;
    int count = 0;

    std::unique_ptr<Function> read(const Object& object, int depth);
};

/// The entries of a function's dictionary that all types have.
struct FunctionShape {
    std::vector<double> domain;  // 2 per input, each min <= max
    std::vector<double> range;   // 2 per output, or empty
};

/// The numbers of `object` (resolved, as are its items); nothing when it is no array of
/// numbers.
std::optional<std::vector<double>> readNumbers(Document& document, const Object& object);

std::unique_ptr<Function> readSampledFunction(FunctionReading& reading, const Stream& stream,
                                              FunctionShape shape);
std::unique_ptr<Function> readExponentialFunction(FunctionReading& reading, const Dict& dict,
                                                  FunctionShape shape);
std::unique_ptr<Function> readStitchingFunction(FunctionReading& reading, const Dict& dict,
                                                FunctionShape shape, int depth);
std::unique_ptr<Function> readPostScriptFunction(FunctionReading& reading, const Stream& stream,
                                                 FunctionShape shape);

/// The outputs of several one-input functions side by side.
std::unique_ptr<Function> combineFunctions(std::vector<std::unique_ptr<Function>> parts);

}  // namespace reader::pdf
