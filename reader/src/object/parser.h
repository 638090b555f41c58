// Objects parsed from PDF syntax: direct objects, references ("N G R") and indirect objects
// ("N G obj ... endobj") with their stream data located. Parsing is lenient, as readers of real
// files must be: a missing delimiter ends what it would have closed, stray tokens are passed
// over, and nesting deeper than kMaxDepth reads as null.
#pragma once

#include <functional>
#include <optional>
#include <span>

#include "object/lexer.h"
#include "object/object.h"

namespace reader::pdf {

/// The value of an indirect stream /Length, looked up while the stream is parsed; nothing when
/// it cannot be known.
using LengthResolver = std::function<std::optional<int64_t>(Ref)>;

struct IndirectObject {
    Ref ref;
    Object object;
};

class Parser {
  public:
    static constexpr int kMaxDepth = 64;

    explicit Parser(std::span<const uint8_t> data, size_t position = 0) : lexer_(data, position) {}

    /// The object at the position: a direct object, or a reference where "N G R" stands.
    /// Nothing at the end of the data or before a keyword that is not a value (endobj, stream,
    /// an operator), which is left to be read.
    std::optional<Object> parseObject();
    /// The indirect object whose header "N G obj" is at the position, up to its endobj; a
    /// dictionary followed by "stream" becomes a stream whose data is found by its /Length,
    /// checked against the endstream that must follow, else by searching for endstream, and
    /// which knows the object holding it.
    /// Nothing when the position holds no object header.
    std::optional<IndirectObject> parseIndirect(const LengthResolver& length = {});

    size_t position() const { return lexer_.position(); }
    void setPosition(size_t position) { lexer_.setPosition(position); }

  private:
    /// The value `token` starts; nothing for a token that is no value (left unread).
    std::optional<Object> value(const Token& token, int depth);
    Object array(int depth);
    Object dict(int depth);
    /// After an integer: a reference when "G R" follows, else the integer (the rest unread).
    Object integerOrRef(const Token& token);
    /// The stream of the indirect object `holder`, its dictionary `dict` read.
    Object stream(Dict dict, Ref holder, const LengthResolver& length);

    Lexer lexer_;
};

}  // namespace reader::pdf
