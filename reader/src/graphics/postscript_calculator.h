// The PostScript calculator of type 4 functions: a program `{ ... }` of numbers, operators and
// if/ifelse blocks, compiled once into a flat list of instructions with forward jumps, and run
// on a fixed stack of kMaxStack values. Every run ends: there are no loops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace reader::pdf {

class CalculatorProgram {
  public:
    static constexpr size_t kMaxStack = 100;
    static constexpr size_t kMaxInstructions = 50000;
    static constexpr int kMaxNesting = 100;

    /// The program in `text`: its first `{` up to the matching `}`; nothing for a token that is
    /// no number or operator, an unknown operator, a block not followed by if or ifelse,
    /// nesting deeper than kMaxNesting or more than kMaxInstructions instructions.
    static std::optional<CalculatorProgram> parse(std::span<const uint8_t> text);

    /// Runs the program on `in` (pushed as reals, first input deepest) and takes the top
    /// `out.size()` numbers, the deepest first; false on a stack overflow or underflow, a
    /// type error, a division by zero, an argument out of an operator's domain or too few
    /// numbers left.
    bool run(std::span<const double> in, std::span<double> out) const;

    size_t size() const { return code_.size(); }

    enum class Op : uint8_t;
    struct Instruction {
        Op op;
        uint32_t target = 0;  ///< where a jump goes
        double value = 0;     ///< what a push pushes
    };

  private:
    std::vector<Instruction> code_;
};

}  // namespace reader::pdf
