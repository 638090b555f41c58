#include "font/font_program.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_CID_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <string>

#include "font/vertical_forms.h"

namespace reader::pdf {

namespace {

using surface::canvas::Path;
using surface::canvas::PointF;

// Glyph outlines past this many points are taken for damage.
constexpr short kMaxOutlinePoints = 20000;

struct OutlineBuilder {
    Path path;
    double scale = 1;
    PointF last;

    PointF at(const FT_Vector* v) const { return {double(v->x) * scale, double(v->y) * scale}; }
};

int moveTo(const FT_Vector* to, void* user) {
    auto* b = static_cast<OutlineBuilder*>(user);
    b->path.close();
    b->last = b->at(to);
    b->path.moveTo(b->last);
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto* b = static_cast<OutlineBuilder*>(user);
    b->last = b->at(to);
    b->path.lineTo(b->last);
    return 0;
}

// A quadratic segment raised to the cubic with the same curve.
int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* b = static_cast<OutlineBuilder*>(user);
    const PointF c = b->at(control);
    const PointF end = b->at(to);
    const PointF c1{b->last.x + 2.0 / 3.0 * (c.x - b->last.x),
                    b->last.y + 2.0 / 3.0 * (c.y - b->last.y)};
    const PointF c2{end.x + 2.0 / 3.0 * (c.x - end.x), end.y + 2.0 / 3.0 * (c.y - end.y)};
    b->path.cubicTo(c1, c2, end);
    b->last = end;
    return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
    auto* b = static_cast<OutlineBuilder*>(user);
    b->last = b->at(to);
    b->path.cubicTo(b->at(control1), b->at(control2), b->last);
    return 0;
}

}  // namespace

std::shared_ptr<FontLibrary> FontLibrary::create() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return nullptr;
    }
    return std::shared_ptr<FontLibrary>(new FontLibrary(library));
}

FontLibrary::~FontLibrary() { FT_Done_FreeType(library_); }

std::unique_ptr<FontProgram> FontProgram::load(std::shared_ptr<FontLibrary> library,
                                               std::vector<uint8_t> bytes, long index) {
    if (library == nullptr || bytes.empty() || bytes.size() > kMaxBytes) {
        return nullptr;
    }
    std::unique_ptr<FontProgram> program(new FontProgram(std::move(library), std::move(bytes)));
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(program->library_->handle(), program->bytes_.data(),
                           FT_Long(program->bytes_.size()), index, &face) != 0) {
        return nullptr;
    }
    program->face_ = face;
    if (face->units_per_EM == 0 && !FT_IS_SCALABLE(face)) {
        return nullptr;
    }
    return program;
}

std::unique_ptr<FontProgram> FontProgram::open(std::shared_ptr<FontLibrary> library,
                                               const std::string& path, long index) {
    if (library == nullptr) {
        return nullptr;
    }
    std::unique_ptr<FontProgram> program(new FontProgram(std::move(library), {}));
    FT_Face face = nullptr;
    if (FT_New_Face(program->library_->handle(), path.c_str(), index, &face) != 0) {
        return nullptr;
    }
    program->face_ = face;
    return program;
}

FontProgram::~FontProgram() {
    if (face_ != nullptr) {
        FT_Done_Face(face_);
    }
}

uint32_t FontProgram::glyphCount() const { return uint32_t(face_->num_glyphs); }

bool FontProgram::cidKeyed() const { return (face_->face_flags & FT_FACE_FLAG_CID_KEYED) != 0; }

bool FontProgram::trueType() const {
    FT_ULong length = 0;
    return FT_IS_SFNT(face_) &&
           FT_Load_Sfnt_Table(face_, FT_MAKE_TAG('g', 'l', 'y', 'f'), 0, nullptr, &length) == 0;
}

uint32_t FontProgram::glyphNamed(std::string_view name) const {
    if (!FT_HAS_GLYPH_NAMES(face_)) {
        return 0;
    }
    const std::string zeroEnded(name);
    return FT_Get_Name_Index(face_, zeroEnded.c_str());
}

std::optional<uint32_t> FontProgram::glyphInCmap(uint16_t platform, uint16_t encoding,
                                                 uint32_t code) const {
    for (FT_Int i = 0; i < face_->num_charmaps; ++i) {
        FT_CharMap map = face_->charmaps[i];
        if (map->platform_id == platform && map->encoding_id == encoding) {
            if (FT_Set_Charmap(face_, map) != 0) {
                return std::nullopt;
            }
            return FT_Get_Char_Index(face_, code);
        }
    }
    return std::nullopt;
}

uint32_t FontProgram::glyphOfBuiltInCode(uint8_t code) const {
    for (const FT_Encoding encoding :
         {FT_ENCODING_ADOBE_CUSTOM, FT_ENCODING_ADOBE_STANDARD, FT_ENCODING_ADOBE_EXPERT}) {
        if (FT_Select_Charmap(face_, encoding) == 0) {
            return FT_Get_Char_Index(face_, code);
        }
    }
    return 0;
}

uint32_t FontProgram::verticalForm(uint32_t glyph) {
    if (!verticalForms_) {
        verticalForms_.emplace();
        FT_ULong length = 0;
        if (FT_IS_SFNT(face_) && FT_Load_Sfnt_Table(face_, TTAG_GSUB, 0, nullptr, &length) == 0 &&
            length > 0 && length <= kMaxBytes) {
            std::vector<uint8_t> gsub(length);
            if (FT_Load_Sfnt_Table(face_, TTAG_GSUB, 0, gsub.data(), &length) == 0) {
                *verticalForms_ = readVerticalForms(gsub);
            }
        }
    }
    const auto found = verticalForms_->find(glyph);
    return found != verticalForms_->end() ? found->second : glyph;
}

uint32_t FontProgram::glyphOfUnicode(char32_t code) const {
    if (FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0) {
        return 0;
    }
    return FT_Get_Char_Index(face_, code);
}

std::string FontProgram::glyphName(uint32_t glyph) const {
    if (!FT_HAS_GLYPH_NAMES(face_)) {
        return {};
    }
    char name[64] = {};
    if (FT_Get_Glyph_Name(face_, glyph, name, sizeof name) != 0) {
        return {};
    }
    return name;
}

std::unordered_map<uint32_t, char32_t> FontProgram::charactersOfGlyphs() const {
    std::unordered_map<uint32_t, char32_t> characters;
    if (FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0) {
        return characters;
    }
    FT_UInt glyph = 0;
    size_t read = 0;
    for (FT_ULong c = FT_Get_First_Char(face_, &glyph); glyph != 0 && read < kMaxCmapCharacters;
         c = FT_Get_Next_Char(face_, c, &glyph), ++read) {
        characters.emplace(uint32_t(glyph), char32_t(c));
    }
    return characters;
}

uint32_t FontProgram::glyphOfCid(uint32_t cid) {
    if (cidKeyed()) {
        return cid;  // FreeType reaches a bare CID-keyed program's glyphs by CID
    }
    if (!cidGlyphsBuilt_) {
        cidGlyphsBuilt_ = true;
        FT_Bool isCid = 0;
        if (FT_Get_CID_Is_Internally_CID_Keyed(face_, &isCid) == 0 && isCid) {
            for (FT_Long glyph = 0; glyph < face_->num_glyphs; ++glyph) {
                FT_UInt c = 0;
                if (FT_Get_CID_From_Glyph_Index(face_, FT_UInt(glyph), &c) == 0 && c < (1u << 16)) {
                    if (cidGlyphs_.size() <= c) {
                        cidGlyphs_.resize(c + 1, 0);
                    }
                    cidGlyphs_[c] = uint32_t(glyph);
                }
            }
        }
    }
    if (cidGlyphs_.empty()) {
        return cid;  // no CID charset: the CIDs are the glyphs
    }
    return cid < cidGlyphs_.size() ? cidGlyphs_[cid] : 0;
}

std::optional<Path> FontProgram::outline(uint32_t glyph) const {
    if (FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) !=
            0 ||
        face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE ||
        face_->glyph->outline.n_points > kMaxOutlinePoints) {
        return std::nullopt;
    }
    OutlineBuilder builder;
    builder.scale = face_->units_per_EM > 0 ? 1.0 / face_->units_per_EM : 1.0 / 1000;
    static const FT_Outline_Funcs funcs = {moveTo, lineTo, conicTo, cubicTo, 0, 0};
    if (FT_Outline_Decompose(&face_->glyph->outline, &funcs, &builder) != 0) {
        return std::nullopt;
    }
    builder.path.close();
    return std::move(builder.path);
}

double FontProgram::advance(uint32_t glyph) const {
    if (FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) !=
        0) {
        return 0;
    }
    const double em = face_->units_per_EM > 0 ? face_->units_per_EM : 1000;
    return double(face_->glyph->metrics.horiAdvance) * 1000.0 / em;
}

}  // namespace reader::pdf
