#include "font/pdf_font.h"

#include <algorithm>

#include "xref/document.h"

namespace reader::pdf {

namespace {

// The range of `ranges` (sorted by first) holding `cid`, or null.
template <typename Range>
const Range* rangeOf(const std::vector<Range>& ranges, uint32_t cid) {
    auto after = std::upper_bound(ranges.begin(), ranges.end(), cid,
                                  [](uint32_t c, const Range& r) { return c < r.first; });
    if (after == ranges.begin()) {
        return nullptr;
    }
    --after;
    return cid <= after->last ? &*after : nullptr;
}

}  // namespace

CharCode Font::nextCode(std::span<const uint8_t> text) const {
    if (cmap_ != nullptr) {
        return cmap_->nextCode(text);
    }
    return {text[0], 1};
}

uint32_t Font::cidOf(CharCode code) const {
    return cmap_ != nullptr ? cmap_->cidOf(code) : code.code;
}

double Font::width(CharCode code) const {
    if (kind_ != Kind::kComposite) {
        const double w = widths_[code.code & 0xFF];
        return kind_ == Kind::kType3 ? w * fontMatrix_.a : w / 1000;
    }
    const WidthRange* range = rangeOf(cidWidths_, cidOf(code));
    return (range != nullptr ? range->width : defaultWidth_) / 1000;
}

surface::canvas::Matrix Font::textCell(CharCode code) const {
    if (kind_ == Kind::kType3 && fontBox_ && (*fontBox_)[3] > (*fontBox_)[1]) {
        const std::array<double, 4>& box = *fontBox_;
        return surface::canvas::Matrix{widths_[code.code & 0xFF], 0, 0, box[3] - box[1], 0,
                                       box[1]} *
               fontMatrix_;
    }
    return {width(code), 0, 0, ascent_ - descent_, 0, descent_};
}

Font::VerticalMetrics Font::verticalMetrics(CharCode code) const {
    const uint32_t cid = cidOf(code);
    if (const VerticalRange* range = rangeOf(cidVertical_, cid)) {
        return range->metrics;
    }
    VerticalMetrics metrics = defaultVertical_;
    // Without its own entry a glyph stands centred on the vertical line.
    metrics.originX = width(code) / 2;
    return metrics;
}

char32_t Font::characterOf(CharCode code) const {
    const uint32_t cid = cidOf(code);
    return cidUnicode_ != nullptr && cid < cidUnicode_->size() ? (*cidUnicode_)[cid] : 0;
}

std::u32string Font::compositeTextOf(CharCode code) const {
    switch (codesAre_) {
        case CodesAre::kUcs2:
            if (code.bytes == 2 && (code.code < 0xD800 || code.code > 0xDFFF)) {
                return std::u32string(1, char32_t(code.code));
            }
            return {};
        case CodesAre::kUtf16: {
            const uint32_t high = code.code >> 16;
            const uint32_t low = code.code & 0xFFFF;
            if (code.bytes == 4 && high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 &&
                low <= 0xDFFF) {
                return std::u32string(1, 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
            }
            if (code.bytes == 2 && (code.code < 0xD800 || code.code > 0xDFFF)) {
                return std::u32string(1, char32_t(code.code));
            }
            return {};
        }
        case CodesAre::kUtf32:
            if (code.code <= 0x10FFFF && (code.code < 0xD800 || code.code > 0xDFFF)) {
                return std::u32string(1, char32_t(code.code));
            }
            return {};
        case CodesAre::kCids: break;
    }
    const CMap* cmap = textCMap_ != nullptr ? textCMap_.get() : cmap_.get();
    if (textCidUnicode_ == nullptr || cmap == nullptr) {
        return {};
    }
    const uint32_t cid = cmap->cidOf(code);
    const char32_t c = cid < textCidUnicode_->size() ? (*textCidUnicode_)[cid] : 0;
    return c != 0 ? std::u32string(1, c) : std::u32string();
}

std::u32string Font::unicodeOf(CharCode code) const {
    if (toUnicode_ != nullptr) {
        if (std::u32string text = toUnicode_->textOf(code); !text.empty()) {
            return text;
        }
    }
    if (kind_ != Kind::kComposite) {
        if (const std::u32string& text = codeTexts_[code.code & 0xFF]; !text.empty()) {
            return text;
        }
    } else if (std::u32string text = compositeTextOf(code); !text.empty()) {
        return text;
    }
    if (program_ == nullptr || substituted_ || kind_ == Kind::kType3) {
        return {};
    }
    if (!glyphCharacters_) {
        glyphCharacters_ = program_->charactersOfGlyphs();
    }
    const uint32_t glyph = glyphOf(code);
    const auto found = glyph != 0 ? glyphCharacters_->find(glyph) : glyphCharacters_->end();
    return found != glyphCharacters_->end() ? std::u32string(1, found->second) : std::u32string();
}

uint32_t Font::glyphOf(CharCode code) const {
    if (kind_ != Kind::kComposite) {
        return glyphs_[code.code & 0xFF];
    }
    const uint32_t cid = cidOf(code);
    switch (glyphsBy_) {
        case GlyphsBy::kCid: return cid;
        case GlyphsBy::kCidMap: return cid < cidToGlyph_.size() ? cidToGlyph_[cid] : 0;
        case GlyphsBy::kCharset: return program_->glyphOfCid(cid);
        case GlyphsBy::kUnicode: {
            const char32_t c = characterOf(code);
            const uint32_t glyph = c != 0 ? program_->glyphOfUnicode(c) : 0;
            // An installed face shows vertical text in its vertical forms.
            return glyph != 0 && vertical() ? program_->verticalForm(glyph) : glyph;
        }
    }
    return 0;
}

const surface::canvas::Path* Font::outline(CharCode code) {
    if (program_ == nullptr || kind_ == Kind::kType3) {
        return nullptr;
    }
    FontProgram* program = program_.get();
    uint64_t key = glyphOf(code);
    if (key == 0 && glyphsBy_ == GlyphsBy::kUnicode && kind_ == Kind::kComposite) {
        // A character the chosen face lacks comes from the first fallback that has it.
        const char32_t c = characterOf(code);
        for (size_t i = 0; c != 0 && key == 0 && i < fallbacks_.size(); ++i) {
            if (uint32_t glyph = fallbacks_[i]->glyphOfUnicode(c); glyph != 0) {
                program = fallbacks_[i].get();
                glyph = vertical() ? program->verticalForm(glyph) : glyph;
                key = uint64_t(i + 1) << 32 | glyph;
            }
        }
    }
    if (key == 0) {
        return nullptr;  // the missing glyph is not drawn
    }
    auto found = outlines_.find(key);
    if (found == outlines_.end()) {
        found = outlines_.emplace(key, program->outline(uint32_t(key))).first;
    }
    return found->second ? &*found->second : nullptr;
}

const std::vector<uint8_t>* Font::glyphProcedure(CharCode code, Document& document) {
    if (kind_ != Kind::kType3) {
        return nullptr;
    }
    const uint32_t key = code.code & 0xFF;
    auto found = procedureContent_.find(key);
    if (found == procedureContent_.end()) {
        const Stream* stream = procedures_[key].asStream();
        found = procedureContent_
                    .emplace(key, stream != nullptr ? document.decodeStream(*stream) : std::nullopt)
                    .first;
    }
    return found->second ? &*found->second : nullptr;
}

}  // namespace reader::pdf
