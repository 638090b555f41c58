#include "graphics/postscript_calculator.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

#include "object/lexer.h"

namespace reader::pdf {

enum class CalculatorProgram::Op : uint8_t {
    kPushInt,
    kPushReal,
    kJump,
    kJumpUnless,  // pops a boolean and jumps when it is false
    kAbs,
    kAdd,
    kAtan,
    kCeiling,
    kCos,
    kCvi,
    kCvr,
    kDiv,
    kExp,
    kFloor,
    kIdiv,
    kLn,
    kLog,
    kMod,
    kMul,
    kNeg,
    kRound,
    kSin,
    kSqrt,
    kSub,
    kTruncate,
    kAnd,
    kOr,
    kNot,
    kXor,
    kBitshift,
    kEq,
    kNe,
    kGt,
    kGe,
    kLt,
    kLe,
    kTrue,
    kFalse,
    kCopy,
    kDup,
    kExch,
    kIndex,
    kPop,
    kRoll,
};

namespace {

using Op = CalculatorProgram::Op;
using Instruction = CalculatorProgram::Instruction;

struct OperatorName {
    std::string_view name;
    Op op;
};

constexpr OperatorName kOperators[] = {
    {"abs", Op::kAbs},
    {"add", Op::kAdd},
    {"atan", Op::kAtan},
    {"ceiling", Op::kCeiling},
    {"cos", Op::kCos},
    {"cvi", Op::kCvi},
    {"cvr", Op::kCvr},
    {"div", Op::kDiv},
    {"exp", Op::kExp},
    {"floor", Op::kFloor},
    {"idiv", Op::kIdiv},
    {"ln", Op::kLn},
    {"log", Op::kLog},
    {"mod", Op::kMod},
    {"mul", Op::kMul},
    {"neg", Op::kNeg},
    {"round", Op::kRound},
    {"sin", Op::kSin},
    {"sqrt", Op::kSqrt},
    {"sub", Op::kSub},
    {"truncate", Op::kTruncate},
    {"and", Op::kAnd},
    {"or", Op::kOr},
    {"not", Op::kNot},
    {"xor", Op::kXor},
    {"bitshift", Op::kBitshift},
    {"eq", Op::kEq},
    {"ne", Op::kNe},
    {"gt", Op::kGt},
    {"ge", Op::kGe},
    {"lt", Op::kLt},
    {"le", Op::kLe},
    {"true", Op::kTrue},
    {"false", Op::kFalse},
    {"copy", Op::kCopy},
    {"dup", Op::kDup},
    {"exch", Op::kExch},
    {"index", Op::kIndex},
    {"pop", Op::kPop},
    {"roll", Op::kRoll},
};

constexpr double kIntMin = -2147483648.0;
constexpr double kIntMax = 2147483647.0;

// Compiles the block whose `{` has been read, up to its `}`.
bool compileBlock(Lexer& lexer, std::vector<Instruction>& code, int depth) {
    for (;;) {
        if (code.size() > CalculatorProgram::kMaxInstructions) {
            return false;
        }
        const Token token = lexer.next();
        switch (token.kind) {
            case Token::Kind::Integer: {
                const double v = double(token.integer);
                code.push_back({v >= kIntMin && v <= kIntMax ? Op::kPushInt : Op::kPushReal, 0, v});
                break;
            }
            case Token::Kind::Real:
                if (!std::isfinite(token.real)) {
                    return false;
                }
                code.push_back({Op::kPushReal, 0, token.real});
                break;
            case Token::Kind::Keyword: {
                const auto* found =
                    std::find_if(std::begin(kOperators), std::end(kOperators),
                                 [&](const OperatorName& o) { return o.name == token.text; });
                if (found == std::end(kOperators)) {
                    return false;  // an unknown operator, or if/ifelse without their blocks
                }
                code.push_back({found->op});
                break;
            }
            case Token::Kind::BraceOpen: {
                if (depth + 1 > CalculatorProgram::kMaxNesting) {
                    return false;
                }
                const size_t test = code.size();
                code.push_back({Op::kJumpUnless});
                if (!compileBlock(lexer, code, depth + 1)) {
                    return false;
                }
                const Token after = lexer.next();
                if (after.isKeyword("if")) {
                    code[test].target = uint32_t(code.size());
                } else if (after.kind == Token::Kind::BraceOpen) {
                    const size_t skip = code.size();
                    code.push_back({Op::kJump});
                    code[test].target = uint32_t(code.size());
                    if (!compileBlock(lexer, code, depth + 1) ||
                        !lexer.next().isKeyword("ifelse")) {
                        return false;
                    }
                    code[skip].target = uint32_t(code.size());
                } else {
                    return false;
                }
                break;
            }
            case Token::Kind::BraceClose: return true;
            default: return false;
        }
    }
}

enum class Type : uint8_t { kInt, kReal, kBool };

struct Value {
    double v;
    Type type;
};

// An integer result, or a real one where it leaves the 32-bit range.
Value integer(double v) { return {v, v >= kIntMin && v <= kIntMax ? Type::kInt : Type::kReal}; }
Value real(double v) { return {v, Type::kReal}; }
Value boolean(bool b) { return {b ? 1.0 : 0.0, Type::kBool}; }
bool isNumber(const Value& v) { return v.type != Type::kBool; }

}  // namespace

std::optional<CalculatorProgram> CalculatorProgram::parse(std::span<const uint8_t> text) {
    Lexer lexer(text);
    if (lexer.next().kind != Token::Kind::BraceOpen) {
        return std::nullopt;
    }
    CalculatorProgram program;
    if (!compileBlock(lexer, program.code_, 0) || program.code_.size() > kMaxInstructions) {
        return std::nullopt;
    }
    return program;
}

bool CalculatorProgram::run(std::span<const double> in, std::span<double> out) const {
    Value stack[kMaxStack];
    size_t sp = 0;
    if (in.size() > kMaxStack) {
        return false;
    }
    for (const double x : in) {
        stack[sp++] = real(x);
    }
#define NEED(k)       \
    if (sp < (k)) {   \
        return false; \
    }
#define ROOM(k)                 \
    if (sp + (k) > kMaxStack) { \
        return false;           \
    }
#define NUMBERS(k)                              \
    NEED(k);                                    \
    for (size_t i_ = sp - (k); i_ < sp; ++i_) { \
        if (!isNumber(stack[i_])) {             \
            return false;                       \
        }                                       \
    }
#define INTEGERS(k)                             \
    NEED(k);                                    \
    for (size_t i_ = sp - (k); i_ < sp; ++i_) { \
        if (stack[i_].type != Type::kInt) {     \
            return false;                       \
        }                                       \
    }
    size_t pc = 0;
    while (pc < code_.size()) {
        const Instruction& ins = code_[pc++];
        Value* top = stack + (sp > 0 ? sp - 1 : 0);  // read once the operands are checked
        switch (ins.op) {
            case Op::kPushInt:
                ROOM(1);
                stack[sp++] = {ins.value, Type::kInt};
                break;
            case Op::kPushReal:
                ROOM(1);
                stack[sp++] = real(ins.value);
                break;
            case Op::kJump: pc = ins.target; break;
            case Op::kJumpUnless:
                NEED(1);
                if (top->type != Type::kBool) {
                    return false;
                }
                --sp;
                if (top->v == 0) {
                    pc = ins.target;
                }
                break;
            case Op::kAbs:
                NUMBERS(1);
                *top =
                    top->type == Type::kInt ? integer(std::fabs(top->v)) : real(std::fabs(top->v));
                break;
            case Op::kNeg:
                NUMBERS(1);
                *top = top->type == Type::kInt ? integer(-top->v) : real(-top->v);
                break;
            case Op::kAdd:
            case Op::kSub:
            case Op::kMul: {
                NUMBERS(2);
                const Value a = top[-1];
                const Value b = top[0];
                const double r = ins.op == Op::kAdd   ? a.v + b.v
                                 : ins.op == Op::kSub ? a.v - b.v
                                                      : a.v * b.v;
                top[-1] = a.type == Type::kInt && b.type == Type::kInt ? integer(r) : real(r);
                --sp;
                break;
            }
            case Op::kDiv:
                NUMBERS(2);
                if (top->v == 0) {
                    return false;
                }
                top[-1] = real(top[-1].v / top->v);
                --sp;
                break;
            case Op::kIdiv:
            case Op::kMod:
                INTEGERS(2);
                if (top->v == 0) {
                    return false;
                }
                top[-1] = ins.op == Op::kIdiv ? integer(std::trunc(top[-1].v / top->v))
                                              : integer(std::fmod(top[-1].v, top->v));
                --sp;
                break;
            case Op::kAtan: {
                NUMBERS(2);
                const double num = top[-1].v;
                const double den = top->v;
                if (num == 0 && den == 0) {
                    return false;
                }
                double angle = std::atan2(num, den) * 180 / std::numbers::pi;
                if (angle < 0) {
                    angle += 360;
                }
                top[-1] = real(angle);
                --sp;
                break;
            }
            case Op::kCeiling:
            case Op::kFloor:
            case Op::kRound:
            case Op::kTruncate:
                NUMBERS(1);
                if (top->type == Type::kReal) {
                    top->v = ins.op == Op::kCeiling ? std::ceil(top->v)
                             : ins.op == Op::kFloor ? std::floor(top->v)
                             : ins.op == Op::kRound ? std::floor(top->v + 0.5)
                                                    : std::trunc(top->v);
                }
                break;
            case Op::kCos:
            case Op::kSin: {
                NUMBERS(1);
                const double radians = std::fmod(top->v, 360.0) * std::numbers::pi / 180;
                *top = real(ins.op == Op::kCos ? std::cos(radians) : std::sin(radians));
                break;
            }
            case Op::kCvi: {
                NUMBERS(1);
                const double t = std::trunc(top->v);
                if (!(t >= kIntMin && t <= kIntMax)) {
                    return false;
                }
                *top = {t, Type::kInt};
                break;
            }
            case Op::kCvr:
                NUMBERS(1);
                top->type = Type::kReal;
                break;
            case Op::kExp: {
                NUMBERS(2);
                const double r = std::pow(top[-1].v, top->v);
                if (!std::isfinite(r)) {
                    return false;
                }
                top[-1] = real(r);
                --sp;
                break;
            }
            case Op::kLn:
            case Op::kLog:
                NUMBERS(1);
                if (!(top->v > 0)) {
                    return false;
                }
                *top = real(ins.op == Op::kLn ? std::log(top->v) : std::log10(top->v));
                break;
            case Op::kSqrt:
                NUMBERS(1);
                if (!(top->v >= 0)) {
                    return false;
                }
                *top = real(std::sqrt(top->v));
                break;
            case Op::kAnd:
            case Op::kOr:
            case Op::kXor: {
                NEED(2);
                const Value a = top[-1];
                const Value b = top[0];
                if (a.type != b.type || a.type == Type::kReal) {
                    return false;
                }
                const int32_t x = int32_t(a.v);
                const int32_t y = int32_t(b.v);
                const int32_t r = ins.op == Op::kAnd  ? (x & y)
                                  : ins.op == Op::kOr ? (x | y)
                                                      : (x ^ y);
                top[-1] = {double(r), a.type};
                --sp;
                break;
            }
            case Op::kNot:
                NEED(1);
                if (top->type == Type::kBool) {
                    top->v = top->v == 0 ? 1 : 0;
                } else if (top->type == Type::kInt) {
                    top->v = double(~int32_t(top->v));
                } else {
                    return false;
                }
                break;
            case Op::kBitshift: {
                INTEGERS(2);
                const uint32_t x = uint32_t(int32_t(top[-1].v));
                const double shift = top->v;
                uint32_t r = 0;
                if (shift >= 0 && shift < 32) {
                    r = x << int(shift);
                } else if (shift < 0 && shift > -32) {
                    r = x >> int(-shift);
                }
                top[-1] = {double(int32_t(r)), Type::kInt};
                --sp;
                break;
            }
            case Op::kEq:
            case Op::kNe: {
                NEED(2);
                const Value a = top[-1];
                const Value b = top[0];
                const bool same = isNumber(a) == isNumber(b) && a.v == b.v;
                top[-1] = boolean(ins.op == Op::kEq ? same : !same);
                --sp;
                break;
            }
            case Op::kGt:
            case Op::kGe:
            case Op::kLt:
            case Op::kLe: {
                NUMBERS(2);
                const double a = top[-1].v;
                const double b = top->v;
                top[-1] = boolean(ins.op == Op::kGt   ? a > b
                                  : ins.op == Op::kGe ? a >= b
                                  : ins.op == Op::kLt ? a < b
                                                      : a <= b);
                --sp;
                break;
            }
            case Op::kTrue:
            case Op::kFalse:
                ROOM(1);
                stack[sp++] = boolean(ins.op == Op::kTrue);
                break;
            case Op::kCopy: {
                INTEGERS(1);
                const double n = top->v;
                --sp;
                if (n < 0 || n > double(sp) || sp + size_t(n) > kMaxStack) {
                    return false;
                }
                std::copy(stack + sp - size_t(n), stack + sp, stack + sp);
                sp += size_t(n);
                break;
            }
            case Op::kDup:
                NEED(1);
                ROOM(1);
                stack[sp] = *top;
                ++sp;
                break;
            case Op::kExch:
                NEED(2);
                std::swap(top[-1], top[0]);
                break;
            case Op::kIndex: {
                INTEGERS(1);
                const double n = top->v;
                if (n < 0 || n + 1 >= double(sp)) {
                    return false;
                }
                *top = stack[sp - 2 - size_t(n)];
                break;
            }
            case Op::kPop:
                NEED(1);
                --sp;
                break;
            case Op::kRoll: {
                INTEGERS(2);
                const double n = top[-1].v;
                const double j = top->v;
                sp -= 2;
                if (n < 0 || n > double(sp)) {
                    return false;
                }
                if (n > 0) {
                    const auto count = int64_t(n);
                    const int64_t shift = ((int64_t(j) % count) + count) % count;
                    Value* first = stack + sp - size_t(count);
                    std::rotate(first, stack + sp - size_t(shift), stack + sp);
                }
                break;
            }
        }
    }
#undef NEED
#undef ROOM
#undef NUMBERS
#undef INTEGERS
    if (sp < out.size()) {
        return false;
    }
    for (size_t j = 0; j < out.size(); ++j) {
        const Value& v = stack[sp - out.size() + j];
        if (!isNumber(v)) {
            return false;
        }
        out[j] = v.v;
    }
    return true;
}

}  // namespace reader::pdf
