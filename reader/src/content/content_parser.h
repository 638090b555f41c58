// A content stream read as a sequence of operators, each with its operands parsed as objects,
// an inline image (BI ... ID ... EI) given as one operator with its dictionary and data.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "content/content_operators.h"
#include "object/object.h"
#include "object/parser.h"

namespace reader::pdf {

struct ContentInstruction {
    /// The operator; nothing for a word that names none (`keyword` holds it).
    std::optional<ContentOperator> op;
    std::string keyword;
    std::vector<Object> operands;
    /// An inline image's dictionary (keys as written, abbreviations included) and data.
    Dict imageDict;
    std::span<const uint8_t> imageData;
    size_t offset = 0;  ///< where the operator stands in the stream
};

class ContentParser {
  public:
    /// Operands kept before one operator at most; older ones are dropped.
    static constexpr size_t kMaxOperands = 64;

    explicit ContentParser(std::span<const uint8_t> data) : data_(data), parser_(data) {}

    /// The next operator; nothing at the end of the stream. Operands left without an operator
    /// at the end are dropped.
    std::optional<ContentInstruction> next();

  private:
    void readInlineImage(ContentInstruction& instruction);

    std::span<const uint8_t> data_;
    Parser parser_;
};

}  // namespace reader::pdf
