#include "library/type1_rasteriser.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_MODULE_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "library/type1_glyph.h"

namespace reader {

namespace {

constexpr size_t kMaxFontFileBytes = size_t{16} << 20;
constexpr size_t kMaxLoadedBytes = size_t{256} << 20;
constexpr float kMinDpi = 1;
constexpr float kMaxDpi = 9600;

FT_Library ftLibrary(void* library) { return static_cast<FT_Library>(library); }

std::optional<std::vector<uint8_t>> readFontFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxFontFileBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(size);
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    if (!in || in.gcount() != std::streamsize(size)) {
        return std::nullopt;
    }
    return bytes;
}

// Opens a face with FreeType's Type 1 driver only: the fonts come from .pfb and .pfa files, and no
// other parser sees their bytes.
FT_Face openType1Face(FT_Library library, const std::vector<uint8_t>& bytes) {
    FT_Module driver = FT_Get_Module(library, "type1");
    if (driver == nullptr) {
        return nullptr;
    }
    FT_Open_Args args{};
    args.flags = FT_OPEN_MEMORY | FT_OPEN_DRIVER;
    args.memory_base = bytes.data();
    args.memory_size = FT_Long(bytes.size());
    args.driver = driver;
    FT_Face face = nullptr;
    if (FT_Open_Face(library, &args, 0, &face) != 0) {
        return nullptr;
    }
    if ((face->face_flags & FT_FACE_FLAG_SCALABLE) == 0 || face->num_glyphs <= 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

// Codes go through the font's own encoding: the custom, standard or expert encoding it declares,
// or ISO Latin-1. A font declaring none is read through the Unicode charmap FreeType builds from
// the glyph names, the code taken as Latin-1.
void selectEncoding(FT_Face face) {
    for (FT_Encoding encoding :
         {FT_ENCODING_ADOBE_CUSTOM, FT_ENCODING_ADOBE_STANDARD, FT_ENCODING_ADOBE_EXPERT,
          FT_ENCODING_ADOBE_LATIN_1, FT_ENCODING_UNICODE}) {
        if (FT_Select_Charmap(face, encoding) == 0) {
            return;
        }
    }
}

}  // namespace

struct Type1Rasteriser::Font {
    std::string path;
    FT_Face face = nullptr;      ///< null until loaded
    std::vector<uint8_t> bytes;  ///< the file, read by the face while it is open
    GlyphSize size;              ///< the size last requested from the face
};

Type1Rasteriser& Type1Rasteriser::instance() {
    static Type1Rasteriser rasteriser;
    return rasteriser;
}

Type1Rasteriser::Type1Rasteriser() = default;

Type1Rasteriser::~Type1Rasteriser() { close(); }

bool Type1Rasteriser::init() {
    close();
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    library_ = library;
    return true;
}

void Type1Rasteriser::close() {
    for (Font& font : fonts_) {
        if (font.face != nullptr) {
            FT_Done_Face(font.face);
        }
    }
    fonts_.clear();
    loadedBytes_ = 0;
    if (library_ != nullptr) {
        FT_Done_FreeType(ftLibrary(library_));
        library_ = nullptr;
    }
}

void Type1Rasteriser::SetDeviceResolutions(float dpiX, float dpiY) {
    if (std::isfinite(dpiX)) {
        dpiX_ = std::clamp(dpiX, kMinDpi, kMaxDpi);
    }
    if (std::isfinite(dpiY)) {
        dpiY_ = std::clamp(dpiY, kMinDpi, kMaxDpi);
    }
}

int Type1Rasteriser::FindFont(const std::string& path) const {
    for (size_t id = 0; id < fonts_.size(); ++id) {
        if (fonts_[id].path == path) {
            return int(id);
        }
    }
    return -1;
}

int Type1Rasteriser::AddFont(const std::string& path) {
    if (!started()) {
        return -1;
    }
    if (const int known = FindFont(path); known >= 0) {
        return known;
    }
    if (fonts_.size() >= size_t(kMaxFonts)) {
        return -1;
    }
    const std::optional<std::vector<uint8_t>> bytes = readFontFile(path);
    if (!bytes) {
        return -1;
    }
    FT_Face probe = openType1Face(ftLibrary(library_), *bytes);
    if (probe == nullptr) {
        return -1;
    }
    FT_Done_Face(probe);
    fonts_.push_back(Font{path, nullptr, {}, {}});
    return int(fonts_.size() - 1);
}

int Type1Rasteriser::LoadFont(int id) {
    if (!started() || id < 0 || size_t(id) >= fonts_.size()) {
        return -1;
    }
    Font& font = fonts_[size_t(id)];
    if (font.face != nullptr) {
        return 0;
    }
    std::optional<std::vector<uint8_t>> bytes = readFontFile(font.path);
    if (!bytes || bytes->size() > kMaxLoadedBytes - loadedBytes_) {
        return -1;
    }
    font.bytes = std::move(*bytes);
    font.face = openType1Face(ftLibrary(library_), font.bytes);
    if (font.face == nullptr) {
        font.bytes = {};
        return -1;
    }
    selectEncoding(font.face);
    font.size = {};
    loadedBytes_ += font.bytes.size();
    return 0;
}

Type1Rasteriser::Font* Type1Rasteriser::loadedFont(int id) {
    if (!started() || id < 0 || size_t(id) >= fonts_.size() || fonts_[size_t(id)].face == nullptr) {
        return nullptr;
    }
    return &fonts_[size_t(id)];
}

std::optional<GlyphBitmap> Type1Rasteriser::SetChar(int id, int charCode, float size,
                                                    const GlyphMatrix& matrix) {
    Font* font = loadedFont(id);
    if (font == nullptr || !std::isfinite(size) || size <= 0) {
        return std::nullopt;
    }
    const FT_UInt glyph = glyphIndex(font->face, charCode);
    if (glyph == 0) {
        return std::nullopt;
    }
    const GlyphSize wanted = glyphSize(size, dpiX_, dpiY_);
    if (wanted != font->size) {
        if (!requestSize(font->face, wanted)) {
            font->size = {};
            return std::nullopt;
        }
        font->size = wanted;
    }
    return renderGlyph(font->face, glyph, matrix);
}

int Type1Rasteriser::GetCharWidth(int id, int charCode) {
    const Font* font = loadedFont(id);
    if (font == nullptr) {
        return 0;
    }
    const FT_UInt glyph = glyphIndex(font->face, charCode);
    FT_Fixed advance = 0;
    if (glyph == 0 || font->face->units_per_EM == 0 ||
        FT_Get_Advance(font->face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) {
        return 0;
    }
    return int(std::lround(double(advance) * 1000.0 / font->face->units_per_EM));
}

}  // namespace reader
