// The content interpreter: runs the current page's content streams as operators with their
// operands, keeps the graphics and text state, and stops at every drawable object.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "images/image_context.h"
#include "images/image_record.h"
#include "images/image_xobject.h"
#include "images/inline_image.h"
#include "reader/creader.h"
#include "reader_records.h"
#include "structure/pdf_lexer.h"
#include "structure/pdf_strings.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "text/text_units.h"
#include "xref/document.h"

using namespace reader;

namespace {

// An operand that should be a small integer (a style, a mode, a percentage): a number far
// outside any such range stays a (wrong) integer rather than overflowing one.
int wholeNumber(float value) {
    return std::isfinite(value) ? int(std::clamp(value, -1.0e6f, 1.0e6f)) : 0;
}

constexpr size_t kMaxOperand = 127;
// Operands no operator takes stay on the stack; past this many the oldest half is dropped, so
// that a page of bare numbers cannot fill the memory. No operator takes more than a handful.
constexpr size_t kMaxOperands = 4096;
// Saved graphics states kept at most; a deeper "q" is counted, and its "Q" restores nothing.
constexpr size_t kMaxSavedStates = 4096;
constexpr size_t kMaxWord = 253;

enum class Op {
    Nothing,
    m,
    l,
    c,
    v,
    y,
    re,
    f,
    fStar,
    S,
    s,
    B,
    b,
    BStar,
    bStar,
    W,
    WStar,
    n,
    j,
    J,
    w,
    cm,
    q,
    Q,
    g,
    G,
    rg,
    RG,
    k,
    K,
    DiscardOne,
    BT,
    ET,
    Tc,
    Tw,
    Ts,
    Tr,
    Tz,
    TL,
    Td,
    TD,
    Tm,
    TStar,
    Tf,
    Tj,
    Quote,
    DoubleQuote,
    Do,
};

const std::unordered_map<std::string_view, Op>& operators() {
    static const std::unordered_map<std::string_view, Op> table = {
        {"b", Op::b},           {"B", Op::B},
        {"b*", Op::bStar},      {"B*", Op::BStar},
        {"BDC", Op::Nothing},   {"BMC", Op::DiscardOne},
        {"BT", Op::BT},         {"BX", Op::Nothing},
        {"c", Op::c},           {"cm", Op::cm},
        {"cs", Op::DiscardOne}, {"CS", Op::DiscardOne},
        {"d", Op::Nothing},     {"d0", Op::Nothing},
        {"d1", Op::Nothing},    {"Do", Op::Do},
        {"DP", Op::Nothing},    {"EI", Op::ET},
        {"EMC", Op::Nothing},   {"ET", Op::ET},
        {"EX", Op::Nothing},    {"f", Op::f},
        {"F", Op::f},           {"f*", Op::fStar},
        {"g", Op::g},           {"G", Op::G},
        {"gs", Op::Nothing},    {"h", Op::Nothing},
        {"i", Op::Nothing},     {"ID", Op::Nothing},
        {"j", Op::j},           {"J", Op::J},
        {"k", Op::k},           {"K", Op::K},
        {"l", Op::l},           {"m", Op::m},
        {"M", Op::Nothing},     {"MP", Op::Nothing},
        {"n", Op::n},           {"q", Op::q},
        {"Q", Op::Q},           {"re", Op::re},
        {"rg", Op::rg},         {"RG", Op::RG},
        {"s", Op::s},           {"S", Op::S},
        {"sc", Op::Nothing},    {"SC", Op::Nothing},
        {"scn", Op::Nothing},   {"SCN", Op::Nothing},
        {"Tc", Op::Tc},         {"Td", Op::Td},
        {"TD", Op::TD},         {"Tf", Op::Tf},
        {"Tj", Op::Tj},         {"TJ", Op::Tj},
        {"TL", Op::TL},         {"Tm", Op::Tm},
        {"Tr", Op::Tr},         {"Ts", Op::Ts},
        {"Tw", Op::Tw},         {"Tz", Op::Tz},
        {"T*", Op::TStar},      {"v", Op::v},
        {"w", Op::w},           {"W", Op::W},
        {"W*", Op::WStar},      {"y", Op::y},
        {"'", Op::Quote},       {"\"", Op::DoubleQuote},
    };
    return table;
}

float toNumber(std::string_view text) {
    float value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    std::from_chars(first, last, value);
    return std::isfinite(value) ? value : 0.0f;
}

surface::ColorRef grey(float value) {
    const auto v = uint8_t(std::clamp(value * 255.0f, 0.0f, 255.0f));
    return surface::rgb(v, v, v);
}

uint8_t channel(float value) { return uint8_t(std::clamp(value * 255.0f, 0.0f, 255.0f)); }

uint8_t cmykChannel(float component, float k) {
    return uint8_t(
        std::clamp(255.0f * (1.0f - std::min(1.0f, k + (1.0f - k) * component)), 0.0f, 255.0f));
}

}  // namespace

void CReader::Push(std::string_view word) {
    if (operands_.size() >= kMaxOperands) {
        operands_.erase(operands_.begin(), operands_.begin() + kMaxOperands / 2);
    }
    operands_.emplace_back(word.substr(0, kMaxOperand));
}

std::string CReader::Pop() {
    if (operands_.empty()) {
        SetErrorCode(kStackOverflow);
        WriteLog(kLogWarning, "%s\r\n", "CReader::Pop--Stack overflow.");
        return {};
    }
    std::string top = std::move(operands_.back());
    operands_.pop_back();
    return top;
}

float CReader::PopNumber() { return toNumber(Pop()); }

void CReader::PushGS() {
    if (gsStack_.size() >= kMaxSavedStates) {
        ++unsavedStates_;
        return;
    }
    GraphicsStateNode node;
    node.fill = fillColour_;
    node.stroke = strokeColour_;
    node.lineWidth = path_.lineWidth;
    node.rise = text_.rise;
    node.renderingMode = text_.renderingMode;
    node.horizontalScaling = text_.horizontalScaling;
    node.leading = text_.leading;
    node.charSpacing = text_.charSpacing;
    node.wordSpacing = text_.wordSpacing;
    node.font = currentFont_;
    node.fontSize = fontSize_;
    std::copy(std::begin(ctm_), std::end(ctm_), node.ctm);
    if (!gsStack_.empty()) {
        node.colourWord = gsStack_.back().colourWord;
    }
    gsStack_.push_back(node);
}

void CReader::PopGS() {
    if (unsavedStates_ > 0) {
        --unsavedStates_;
        return;
    }
    if (gsStack_.empty()) {
        SetErrorCode(kStackOverflow);
        WriteLog(kLogWarning, "%s\r\n", "CReader::PopGS--Stack overflow.");
        return;
    }
    const GraphicsStateNode& node = gsStack_.back();
    fillColour_ = node.fill;
    strokeColour_ = node.stroke;
    path_.lineWidth = node.lineWidth;
    text_.rise = node.rise;
    text_.renderingMode = node.renderingMode;
    text_.horizontalScaling = node.horizontalScaling;
    text_.leading = node.leading;
    text_.charSpacing = node.charSpacing;
    text_.wordSpacing = node.wordSpacing;
    currentFont_ = node.font;
    fontSize_ = node.fontSize;
    std::copy(std::begin(node.ctm), std::end(node.ctm), ctm_);
    gsStack_.pop_back();
}

void CReader::CalcPoint(PathPoint& point) const {
    const float x = point.x;
    const float y = point.y;
    point.x = ctm_[0] * x + ctm_[2] * y + ctm_[4];
    point.y = ctm_[1] * x + ctm_[3] * y + ctm_[5];
}

void CReader::scaleVector(PathPoint& vector) const {
    const float x = vector.x;
    const float y = vector.y;
    vector.x = ctm_[0] * x + ctm_[2] * y;
    vector.y = ctm_[1] * x + ctm_[3] * y;
}

std::array<float, 4> CReader::textLinear() const {
    const float* t = text_.matrix;
    return {t[0] * ctm_[0] + t[1] * ctm_[2], t[0] * ctm_[1] + t[1] * ctm_[3],
            t[2] * ctm_[0] + t[3] * ctm_[2], t[2] * ctm_[1] + t[3] * ctm_[3]};
}

void CReader::rewind() {
    curItem_ = 0;
    cursor_ = 0;
}

bool CReader::nextItem() {
    ++curItem_;
    cursor_ = 0;
    return curItem_ < items_.size();
}

ImageContext CReader::imageContext() {
    ImageContext context;
    context.resolve = [this](const pdf::Object& value) { return document_->resolve(value); };
    context.decode = [this](const pdf::Stream& stream, size_t limit) {
        return document_->decodeStream(stream, limit);
    };
    context.fillColour = fillColour_;
    return context;
}

bool CReader::imageObject(const std::string& name) {
    const auto list = xobjects();
    const int32_t id = GetImageID(name, list);
    if (id < 0) {
        SetErrorCode(kNoImageData);
        return false;
    }
    const std::optional<pdf::Ref> ref = document_->refOf(id);
    const pdf::Object object = ref ? document_->fetch(*ref) : pdf::Object();
    if (object.isNull()) {
        SetErrorCode(kNoObject);
        return false;
    }
    ImageResult result = ReadImageXObject(object, imageContext());
    if (result.error != 0) {
        SetErrorCode(result.error);
    }
    if (!result.image) {
        return false;
    }
    image_ = std::make_unique<ImageRecord>(std::move(*result.image));
    return true;
}

int CReader::ReGetPage(int page) {
    try {
        WriteLog(kLogTrace, "%s\r\n", "CReader::ReGetPage--function in.");
        lastError_ = 0;
        if (page != currentPage_ || page < 1) {
            SetErrorCode(kPageRangeError);
            WriteLog(kLogError, "%s\r\n", "CReader::ReGetPage--Page range error.");
            WriteLog(kLogTrace, "%s\r\n", "CReader::ReGetPage--function out(failed).");
            return 0;
        }
        ClearStack();
        ClearGSStack();
        std::fill(std::begin(ctm_), std::end(ctm_), 0.0f);
        ctm_[0] = ctm_[3] = 1.0f;
        fillColour_ = 0;
        text_ = TextState{};
        path_ = PathRecord{};
        rewind();
        WriteLog(kLogTrace, "%s\r\n", "CReader::ReGetPage--function out(success).");
        return 1;
    } catch (...) {
        return exceptionMet(false);
    }
}

bool CReader::pathObject(int op, int popped) {
    if (!showGraph_) {
        return false;
    }
    for (int i = 0; i < popped; ++i) {
        Pop();
    }
    path_.op = op;
    return true;
}

bool CReader::runOperator(std::string_view word, int& kind) {
    const auto found = operators().find(word);
    if (found == operators().end()) {
        Push(word);
        return false;
    }
    kind = kPathObject;
    switch (found->second) {
        case Op::Nothing: return false;
        case Op::m:
        case Op::l: {
            path_.points[0].y = PopNumber();
            path_.points[0].x = PopNumber();
            CalcPoint(path_.points[0]);
            return pathObject(found->second == Op::m ? kMove : kLine, 0);
        }
        case Op::c:
            for (int i = 2; i >= 0; --i) {
                path_.points[i].y = PopNumber();
                path_.points[i].x = PopNumber();
            }
            for (PathPoint& p : path_.points) {
                CalcPoint(p);
            }
            return pathObject(kCurve, 0);
        case Op::v:
        case Op::y:
            for (int i = 1; i >= 0; --i) {
                path_.points[i].y = PopNumber();
                path_.points[i].x = PopNumber();
            }
            CalcPoint(path_.points[0]);
            CalcPoint(path_.points[1]);
            return pathObject(found->second == Op::v ? kCurveV : kCurveY, 0);
        case Op::re: {
            path_.points[1].y = PopNumber();
            path_.points[1].x = PopNumber();
            path_.points[0].y = PopNumber();
            path_.points[0].x = PopNumber();
            CalcPoint(path_.points[0]);
            scaleVector(path_.points[1]);
            return pathObject(kRectangle, 0);
        }
        case Op::f: return pathObject(kFill, 1);
        case Op::fStar: return pathObject(kFillEvenOdd, 1);
        case Op::S: return pathObject(kStroke, 1);
        case Op::s: return pathObject(kCloseStroke, 1);
        case Op::B: return pathObject(kFillStroke, 1);
        case Op::b: return pathObject(kCloseFillStroke, 1);
        case Op::BStar: return pathObject(kFillStrokeEvenOdd, 1);
        case Op::bStar: return pathObject(kCloseFillStrokeEvenOdd, 1);
        case Op::W: return pathObject(kClip, 1);
        case Op::WStar: return pathObject(kClipEvenOdd, 1);
        case Op::n: return pathObject(kEndPath, 1);
        case Op::j:
        case Op::J:
            if (!showGraph_) {
                return false;
            }
            {
                // Joins and caps are 0 to 2; a number far outside stays a (wrong) integer.
                path_.operand = wholeNumber(PopNumber());
            }
            path_.op = found->second == Op::j ? kLineJoin : kLineCap;
            return true;
        case Op::w: path_.lineWidth = PopNumber(); return false;
        case Op::cm: {
            // The new matrix goes before the current one: user space moves into it.
            float m[6];
            for (int i = 5; i >= 0; --i) {
                m[i] = PopNumber();
            }
            const float* c = ctm_;
            const float product[6] = {
                m[0] * c[0] + m[1] * c[2],        m[0] * c[1] + m[1] * c[3],
                m[2] * c[0] + m[3] * c[2],        m[2] * c[1] + m[3] * c[3],
                m[4] * c[0] + m[5] * c[2] + c[4], m[4] * c[1] + m[5] * c[3] + c[5]};
            std::copy(std::begin(product), std::end(product), ctm_);
            return false;
        }
        case Op::q: PushGS(); return false;
        case Op::Q: PopGS(); return false;
        case Op::g: fillColour_ = grey(PopNumber()); return false;
        case Op::G: strokeColour_ = grey(PopNumber()); return false;
        case Op::rg:
        case Op::RG: {
            const float blue = PopNumber();
            const float green = PopNumber();
            const float red = PopNumber();
            (found->second == Op::rg ? fillColour_ : strokeColour_) =
                surface::rgb(channel(red), channel(green), channel(blue));
            return false;
        }
        case Op::k:
        case Op::K: {
            const float k = std::clamp(PopNumber(), 0.0f, 1.0f);
            const float yellow = PopNumber();
            const float magenta = PopNumber();
            const float cyan = PopNumber();
            (found->second == Op::k ? fillColour_ : strokeColour_) =
                surface::rgb(cmykChannel(cyan, k), cmykChannel(magenta, k), cmykChannel(yellow, k));
            return false;
        }
        case Op::DiscardOne: Pop(); return false;
        case Op::BT:
            std::fill(std::begin(text_.matrix), std::end(text_.matrix), 0.0f);
            text_.matrix[0] = text_.matrix[3] = 1.0f;
            text_.point[0] = text_.point[1] = 0.0f;
            text_.horizontalScaling = 100;
            advanceX_ = advanceY_ = 0;
            return false;
        case Op::ET: return false;
        case Op::Tc: text_.charSpacing = PopNumber(); return false;
        case Op::Tw: text_.wordSpacing = PopNumber(); return false;
        case Op::Ts: text_.rise = PopNumber(); return false;
        case Op::Tr: text_.renderingMode = wholeNumber(PopNumber()); return false;
        case Op::Tz: text_.horizontalScaling = wholeNumber(PopNumber()); return false;
        case Op::TL: text_.leading = PopNumber() * text_.matrix[3]; return false;
        case Op::Td:
        case Op::TD: {
            const float ty = PopNumber();
            const float tx = PopNumber();
            const float* m = text_.matrix;
            text_.point[0] += tx * m[0] + ty * m[2];
            text_.point[1] += tx * m[1] + ty * m[3];
            if (found->second == Op::TD) {
                text_.leading = -(tx * m[1] + ty * m[3]);
            }
            advanceX_ = advanceY_ = 0;
            return false;
        }
        case Op::Tm:
            for (int i = 5; i >= 0; --i) {
                text_.matrix[i] = PopNumber();
            }
            text_.point[0] = text_.matrix[4];
            text_.point[1] = text_.matrix[5];
            advanceX_ = advanceY_ = 0;
            return false;
        case Op::TStar:
            text_.point[1] -= text_.leading;
            advanceX_ = advanceY_ = 0;
            return false;
        case Op::Tf: {
            fontSize_ = std::clamp(PopNumber(), -kMaxTextPoints, kMaxTextPoints);
            const std::string name = Pop();
            currentFont_ = nullptr;
            for (FontResource& font : fonts_) {
                if (name == font.name) {
                    currentFont_ = font.font.get();
                    break;
                }
            }
            return false;
        }
        case Op::Tj: kind = kTextObject; return true;
        case Op::Quote:
            text_.point[1] -= text_.leading;
            advanceX_ = advanceY_ = 0;
            kind = kTextObject;
            return true;
        case Op::DoubleQuote:
            text_.charSpacing = PopNumber();
            text_.wordSpacing = PopNumber();
            text_.point[1] -= text_.leading;
            advanceX_ = advanceY_ = 0;
            kind = kTextObject;
            return true;
        case Op::Do: {
            const std::string name = Pop();
            kind = kImageObject;
            return showPicture_ != 0 && imageObject(name);
        }
    }
    return false;
}

int CReader::GetObjectA(char** buffer, int& bufferSize, tagOBJECT_TYPE* type) {
    if (buffer == nullptr || *buffer == nullptr || bufferSize < 2) {
        return 0;
    }
    while (curItem_ < items_.size()) {
        const ContentItem& item = items_[curItem_];
        const std::string_view content =
            std::string_view(item.buffer).substr(std::min(item.data, item.size));
        while (cursor_ < content.size() && isWhite(content[cursor_])) {
            ++cursor_;
        }
        if (cursor_ >= content.size()) {
            nextItem();
            continue;
        }
        const char c = content[cursor_];
        if (c == '(' || c == '<') {
            std::string decoded;
            cursor_ =
                c == '('
                    ? DecodeLiteralString(content, cursor_ + 1, decoded, size_t(bufferSize - 1))
                    : DecodeHexString(content, cursor_ + 1, decoded, size_t(bufferSize - 1));
            std::memcpy(*buffer, decoded.data(), decoded.size());
            text_.stringLength = int(decoded.size());
            text_.array = false;
            continue;
        }
        if (c == '[') {
            // The array's text through its "]", strings inside it passed over whole.
            const size_t end = SkipArray(content, cursor_);
            const size_t close = end > cursor_ && content[end - 1] == ']' ? end - 1 : end;
            const size_t n = std::min(close - cursor_, size_t(bufferSize - 2));
            std::memcpy(*buffer, content.data() + cursor_, n);
            (*buffer)[n] = ']';
            (*buffer)[n + 1] = '\0';
            text_.stringLength = int(n + 1);
            text_.array = true;
            cursor_ = end;
            continue;
        }
        // A word: after one leading "/", up to white space, "/", "(" or "[".
        size_t start = cursor_;
        if (content[start] == '/') {
            ++start;
        }
        size_t end = start;
        while (end < content.size() && end - start < kMaxWord && !isWhite(content[end]) &&
               content[end] != '/' && content[end] != '(' && content[end] != '[') {
            ++end;
        }
        const std::string_view word = content.substr(start, end - start);
        cursor_ = end;
        if (word.empty()) {
            ++cursor_;
            continue;
        }
        if (word == "endstream") {
            nextItem();
            continue;
        }
        if (word == "BI") {
            // The inline image's data is no content: it is read, or passed over, to "EI".
            InlineImage inlineImage = ReadInlineImage(content, cursor_, imageContext());
            cursor_ = inlineImage.end;
            if (showPicture_ == 0 || !inlineImage.image) {
                continue;
            }
            image_ = std::make_unique<ImageRecord>(std::move(*inlineImage.image));
            if (type != nullptr) {
                type->kind = kImageObject;
                type->record = image_.get();
            }
            return 1;
        }
        int kind = 0;
        if (runOperator(word, kind)) {
            if (type != nullptr) {
                type->kind = kind;
                type->record = kind == kTextObject    ? static_cast<const void*>(&text_)
                               : kind == kImageObject ? static_cast<const void*>(image_.get())
                                                      : static_cast<const void*>(&path_);
            }
            return 1;
        }
    }
    return 0;
}
