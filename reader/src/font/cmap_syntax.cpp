#include "font/cmap_syntax.h"

namespace reader::pdf {

void readCMapOperators(
    std::span<const uint8_t> text,
    const std::function<void(std::string_view op, std::vector<Token>& operands)>& op) {
    Lexer lexer(text);
    std::vector<Token> operands;
    for (Token token = lexer.next(); token.kind != Token::Kind::End; token = lexer.next()) {
        if (token.kind != Token::Kind::Keyword) {
            if (operands.size() < kMaxCMapOperands) {
                operands.push_back(std::move(token));
            }
            continue;
        }
        op(token.text, operands);
        operands.clear();
    }
}

std::optional<CharCode> codeOfToken(const Token& token) {
    if ((token.kind != Token::Kind::HexString && token.kind != Token::Kind::String) ||
        token.text.empty() || token.text.size() > 4) {
        return std::nullopt;
    }
    CharCode code;
    code.bytes = uint8_t(token.text.size());
    for (const char c : token.text) {
        code.code = code.code << 8 | uint8_t(c);
    }
    return code;
}

}  // namespace reader::pdf
