// Type 4: a PostScript calculator program, compiled when the function is read.
#include "graphics/function_types.h"
#include "graphics/postscript_calculator.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

// Programs longer than this are refused before they are compiled.
constexpr size_t kMaxProgramBytes = 1 << 20;

class PostScriptFunction final : public Function {
  public:
    PostScriptFunction(FunctionShape shape, size_t outputs, CalculatorProgram program)
        : Function(std::move(shape.domain), std::move(shape.range), outputs),
          program_(std::move(program)) {}

  protected:
    bool evaluate(const double* in, double* out) const override {
        return program_.run({in, inputs()}, {out, outputs()});
    }

  private:
    CalculatorProgram program_;
};

}  // namespace

std::unique_ptr<Function> readPostScriptFunction(FunctionReading& reading, const Stream& stream,
                                                 FunctionShape shape) {
    const size_t outputs = shape.range.size() / 2;
    if (outputs == 0) {
        return nullptr;
    }
    const auto text = reading.document.decodeStream(stream, kMaxProgramBytes + 1);
    if (!text || text->size() > kMaxProgramBytes) {
        return nullptr;
    }
    auto program = CalculatorProgram::parse(*text);
    if (!program) {
        return nullptr;
    }
    return std::make_unique<PostScriptFunction>(std::move(shape), outputs, std::move(*program));
}

}  // namespace reader::pdf
