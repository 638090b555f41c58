// Text objects measured for selection: the font chosen for the text state, the position, the
// widths of single strings and TJ arrays, and Big5 text.
#include <charconv>
#include <cmath>
#include <cstring>

#include "duoma/duoma.h"
#include "library/library_state.h"
#include "reader/creader.h"
#include "reader_records.h"
#include "structure/pdf_lexer.h"
#include "structure/pdf_strings.h"
#include "surface/font_service.h"
#include "text/text_units.h"

using namespace reader;

namespace {

constexpr const char* kDefaultFace = "宋体";
constexpr const char* kDefaultBig5Face = "細明體";
constexpr size_t kMaxArrayString = 255;

}  // namespace

surface::LogFont CReader::GetDefaultFont() const {
    const std::array<float, 4> m = textLinear();
    surface::LogFont font;
    font.height = fontHeightTwips((std::fabs(m[1]) + std::fabs(m[3])) * fontSize_);
    font.weight = 400;
    font.charSet = big5_ ? surface::kBig5CharSet : surface::kGb2312CharSet;
    font.outPrecision = 3;
    font.clipPrecision = 1;
    font.quality = 2;
    font.pitchAndFamily = 18;
    surface::setFaceName(font, big5_ ? kDefaultBig5Face : kDefaultFace);
    return font;
}

surface::LogFont CReader::CreateTextFont() {
    const std::array<float, 4> m = textLinear();
    direction_ = 1;
    textHeight_ = (std::fabs(m[1]) + std::fabs(m[3])) * fontSize_ * 20.0f;
    textWidth_ = (std::fabs(m[0]) + std::fabs(m[2])) * fontSize_ * 20.0f;
    surface::LogFont font = GetDefaultFont();
    if (currentFont_ != nullptr) {
        const int index = FindFont(currentFont_->baseFont);
        if (index >= 0) {
            font = (*libraryState().installedFonts)[size_t(index)];
        }
        // The bytes are drawn as they stand: GB2312, or Big5 once converted for Big5 mode.
        font.charSet = big5_ ? surface::kBig5CharSet : surface::kGb2312CharSet;
        if (currentFont_->type1 || index < 0) {
            const bool vertical = currentFont_->baseFont.find('@') != std::string::npos;
            const std::string face =
                std::string(vertical ? "@" : "") + (big5_ ? kDefaultBig5Face : kDefaultFace);
            surface::setFaceName(font, face);
        }
        font.italic = uint8_t(currentFont_->italic != 0);
        font.weight = currentFont_->bold != 0 ? 600 : 400;
        font.quality = 1;
        if (currentFont_->encoding.ends_with('V')) {
            font.escapement = 2700;
            direction_ = 2;
            font.height = fontHeightTwips((std::fabs(m[0]) + std::fabs(m[2])) * fontSize_);
        } else {
            font.height = fontHeightTwips((std::fabs(m[1]) + std::fabs(m[3])) * fontSize_);
        }
        font.width = 0;
    }
    if (m[2] < 0) {
        font.escapement = 2700;
        direction_ = 2;
    }
    return font;
}

float CReader::charWidth(uint8_t code) const {
    // A font with neither widths nor an average width (the standard fonts often come so)
    // advances like text without a font rather than drawing every character at one place.
    if (currentFont_ == nullptr ||
        (!currentFont_->widthsPresent && currentFont_->averageWidth == 0)) {
        return textWidth_ / 2.0f;
    }
    const float width = currentFont_->widthsPresent ? float(currentFont_->widths[code])
                                                    : float(currentFont_->averageWidth);
    return width * textWidth_ / 1000.0f;
}

float CReader::CharacterWidth(std::string_view text, size_t& i) const {
    const auto byte = uint8_t(text[i]);
    if (byte > 159 && currentFont_ != nullptr && currentFont_->type1) {
        const bool inside = byte >= currentFont_->firstChar && byte <= currentFont_->lastChar;
        const float units = !currentFont_->widthsPresent ? float(currentFont_->averageWidth)
                            : inside                     ? float(currentFont_->widths[byte])
                                                         : float(currentFont_->missingWidth);
        return units * textWidth_ / 1000.0f;
    }
    if (byte > 159) {
        ++i;
        return textWidth_;
    }
    return charWidth(byte);
}

surface::Size CReader::GetStringWidth(std::string_view text, float wordSpacing,
                                      float charSpacing) const {
    float cx = 0;
    float cy = 0;
    float last = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = uint8_t(text[i]);
        const float width = CharacterWidth(text, i);
        const float space = byte == 32 ? wordSpacing : 0.0f;
        cx += width + charSpacing + space;
        cy += textHeight_ - charSpacing - space;
        last = width;
    }
    if (direction_ == 2) {
        return {truncated(last), truncated(cy)};
    }
    return {truncated(cx), truncated(textHeight_)};
}

// Measures a TJ array: its strings, and the numbers that move between them.
surface::Size CReader::GetMultiTextExtent(std::string_view array, float wordSpacing,
                                          float charSpacing) const {
    float cx = 0;
    float cy = 0;
    forEachArrayElement(array, [&](std::string_view string, float number, bool isString) {
        if (isString) {
            const surface::Size size = GetStringWidth(string, wordSpacing, charSpacing);
            cx += float(size.cx);
            cy += float(size.cy);
        } else if (direction_ == 2) {
            cy += number * textWidth_ / 1000.0f;
        } else {
            cx -= number * textWidth_ / 1000.0f;
        }
    });
    return {truncated(cx), direction_ == 2 ? truncated(cy) : truncated(textHeight_)};
}

void CReader::forEachArrayElement(
    std::string_view array, const std::function<void(std::string_view, float, bool)>& visit) const {
    size_t at = array.starts_with('[') ? 1 : 0;
    std::string decoded;
    while (at < array.size() && array[at] != ']') {
        const char c = array[at];
        if (c == '(' || c == '<') {
            at = c == '(' ? DecodeLiteralString(array, at + 1, decoded, kMaxArrayString)
                          : DecodeHexString(array, at + 1, decoded, kMaxArrayString);
            visit(decoded, 0.0f, true);
        } else if (IsNumberChar(c)) {
            const size_t start = at;
            while (at < array.size() && IsNumberChar(array[at])) {
                ++at;
            }
            float number = 0;
            std::from_chars(array.data() + start, array.data() + at, number);
            visit({}, number, false);
        } else {
            ++at;  // white space and anything else between the elements
        }
    }
}

void CReader::SelectTextObject(surface::Surface& dc, float top) {
    lfText_ = CreateTextFont();
    dc.setTextAlign(surface::text_align::kBaseline);
    const std::array<float, 4> m = textLinear();
    PathPoint start{text_.point[0], text_.point[1]};
    CalcPoint(start);
    float x = float(truncated(20.0f * start.x));
    float y = float(truncated(20.0f * (top - start.y)));
    if (direction_ == 2) {
        y += advanceY_;
    } else {
        x += advanceX_;
    }
    const float scale = direction_ == 2 ? (m[1] + m[3]) * 20.0f : (m[0] + m[2]) * 20.0f;
    const float charSpacing = text_.charSpacing * scale;
    const float wordSpacing = text_.wordSpacing * scale;

    // The font is made once to learn its average width, then again with the width the text's
    // matrix asks for.
    if (!measuredFont_ || measuredFont_->first != lfText_) {
        dc.selectFont(lfText_);
        measuredFont_.emplace(lfText_, dc.textMetrics().averageCharWidth);
    }
    const int32_t average = measuredFont_->second;
    if (textHeight_ > 0 && textWidth_ > 0) {
        const float ratio = direction_ == 2 ? textHeight_ / textWidth_ : textWidth_ / textHeight_;
        lfText_.width = truncated(float(average) * ratio);
    }
    if (direction_ == 2) {
        x -= float(std::abs(lfText_.height)) / 2.0f;
    }
    dc.selectFont(lfText_);

    char* text = data_.data();
    const size_t length = std::min(size_t(std::max(text_.stringLength, 0)), data_.size());
    if (big5_ && !text_.array) {
        Duoma(reinterpret_cast<unsigned char*>(text), int32_t(length));
    }
    const std::string_view content(text, length);
    const surface::Size size = text_.array ? GetMultiTextExtent(content, wordSpacing, charSpacing)
                                           : GetStringWidth(content, wordSpacing, charSpacing);
    if (direction_ == 2) {
        advanceY_ += float(size.cy);
    } else {
        advanceX_ += float(size.cx);
    }
    if (text_.array) {
        selectArray(dc, x, y, content, wordSpacing, charSpacing);
    } else {
        selectString(dc, x, y, content, wordSpacing, charSpacing);
    }
}
