#include "font/font_loader.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "font/glyph_names.h"
#include "object/lexer.h"
#include "support/debug_log.h"
#include "xref/document.h"
#include "xref/numbers.h"

namespace reader::pdf {

namespace {

// Font descriptor flags.
constexpr int64_t kFixedPitch = 1 << 0;
constexpr int64_t kSerif = 1 << 1;
constexpr int64_t kSymbolic = 1 << 2;
constexpr int64_t kItalic = 1 << 6;
constexpr int64_t kForceBold = 1 << 18;

// Entries of a width array read at most, and CIDs one range may span.
constexpr size_t kMaxWidthEntries = 1u << 18;
constexpr uint32_t kMaxCid = 0xFFFF;
// How far an installed face's glyph is scaled to the document's width at most.
constexpr double kMinFit = 0.5;
constexpr double kMaxFit = 2;

// A name without the six capitals and plus sign that tag a subset.
std::string untagged(std::string_view name) {
    if (name.size() > 7 && name[6] == '+' &&
        std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= 'A' && c <= 'Z'; })) {
        name.remove_prefix(7);
    }
    return std::string(name);
}

// The keys of a font descriptor under which a font program is embedded.
constexpr std::array<const char*, 3> kFontFileKeys = {"FontFile", "FontFile2", "FontFile3"};

std::string folded(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

// The CID collections whose characters poppler-data tables.
bool knownCollection(std::string_view ordering) {
    return ordering == "GB1" || ordering == "CNS1" || ordering == "Japan1" || ordering == "Korea1";
}

// The text of a glyph name no list knows that names its own character: one printable ASCII
// character (/9, /#28 for a parenthesis, or that escape escaped again, /#2328), or a few
// letters and the decimal number of the code it is given to (/a65 for code 65), as bitmap fonts
// made from TeX's name their glyphs.
std::u32string textOfOwnName(std::string_view name, size_t code) {
    const auto hex = [](char c) { return hexDigitValue(uint8_t(c)); };
    char own = 0;
    if (name.size() == 1) {
        own = name[0];
    } else if (name.size() == 3 && name[0] == '#' && hex(name[1]) >= 0 && hex(name[2]) >= 0) {
        own = char(hex(name[1]) * 16 + hex(name[2]));
    }
    if (own > 0x20 && own < 0x7F) {
        return std::u32string(1, char32_t(own));
    }
    const size_t digits = name.find_first_of("0123456789");
    if (digits == 0 || digits > 2 || code < 0x20 || code == 0x7F) {
        return {};
    }
    const std::string_view number = name.substr(digits);
    size_t value = 0;
    for (const char c : number) {
        if (c < '0' || c > '9' || value > 255) {
            return {};
        }
        value = value * 10 + size_t(c - '0');
    }
    return !number.empty() && value == code ? std::u32string(1, char32_t(code)) : std::u32string();
}

}  // namespace

std::shared_ptr<Font> FontLoader::load(const Dict& dict) {
    Document& document = cache_.document();
    const Object type = document.resolve(dict.get("Type"));
    if (!type.isNull() && !type.isName("Font")) {
        return nullptr;  // a dictionary of another kind, such as a descriptor
    }
    auto font = std::make_shared<Font>();
    const Object subtype = document.resolve(dict.get("Subtype"));
    const Object baseFont = document.resolve(dict.get("BaseFont"));
    font->name_ = untagged(baseFont.asName().value_or(""));
    bool loaded = false;
    if (subtype.isName("Type0")) {
        font->kind_ = Font::Kind::kComposite;
        loaded = loadComposite(*font, dict);
    } else if (subtype.isName("Type3")) {
        font->kind_ = Font::Kind::kType3;
        loaded = loadType3(*font, dict);
    } else if (isGbText(*font, dict)) {
        font->kind_ = Font::Kind::kComposite;
        loaded = loadGbText(*font, dict);
    } else {
        // Type1, MMType1, TrueType, and a font lacking its subtype read as simple.
        loaded = loadSimple(*font, dict);
    }
    if (!loaded) {
        WriteLog(kLogWarning, "%s(%s)\r\n", "A font that cannot be shown is passed over",
                 font->name_.c_str());
        return nullptr;
    }
    font->toUnicode_ = readToUnicode(dict);
    readExtent(*font, dict);
    return font;
}

// How far glyphs reach above and below the baseline: a Type 3 font's box, the descriptor's
// ascent and descent for others (a composite font's in its descendant), where they are sane.
void FontLoader::readExtent(Font& font, const Dict& dict) {
    Document& document = cache_.document();
    if (font.kind_ == Font::Kind::kType3) {
        font.fontBox_ = finiteNumbers<4>(document, dict.get("FontBBox"));
        return;
    }
    const Dict* described = &dict;
    const Object descendants = document.resolve(dict.get("DescendantFonts"));
    const Array* list = descendants.asArray();
    const Object descendant =
        list != nullptr && !list->empty() ? document.resolve(list->front()) : Object();
    if (descendant.asDict() != nullptr) {
        described = descendant.asDict();
    }
    const Object descriptorObject = document.resolve(described->get("FontDescriptor"));
    const Dict* descriptor = descriptorObject.asDict();
    if (descriptor == nullptr) {
        return;
    }
    const std::optional<double> ascent = document.resolve(descriptor->get("Ascent")).asNumber();
    const std::optional<double> descent = document.resolve(descriptor->get("Descent")).asNumber();
    if (ascent && descent && *ascent > 300 && *ascent <= 1500 && *descent <= 0 &&
        *descent >= -800) {
        font.ascent_ = *ascent / 1000;
        font.descent_ = *descent / 1000;
    }
}

// Latin names of the Chinese faces such fonts are written with, folded to lower case.
constexpr std::array<std::string_view, 14> kChineseFaces = {
    "simsun",     "nsimsun",    "simhei", "simkai",  "kaiti",   "kaiti_gb2312", "fangsong",
    "fangsong_gb2312", "stsong", "stheiti", "stkaiti", "stfangsong", "songti", "heiti"};

bool FontLoader::isGbText(const Font& font, const Dict& dict) {
    Document& document = cache_.document();
    if (dict.has("Encoding")) {
        return false;
    }
    const Object descriptor = document.resolve(dict.get("FontDescriptor"));
    if (const Dict* d = descriptor.asDict();
        d != nullptr && std::any_of(kFontFileKeys.begin(), kFontFileKeys.end(),
                                    [d](const char* key) { return d->has(key); })) {
        return false;
    }
    const std::string_view name = font.name_;
    if (std::any_of(name.begin(), name.end(), [](char c) { return uint8_t(c) >= 0x80; })) {
        return true;  // a name written in GB2312, such as the Song face's
    }
    const std::string face = folded(name.substr(0, name.find(',')));
    return std::find(kChineseFaces.begin(), kChineseFaces.end(), face) != kChineseFaces.end();
}

// GB2312 text reads through the GBK CMap of the Simplified collection; for Traditional
// display the text is turned into Big5 as it is shown, and reads through Big5's CMap of the
// Traditional collection. Half-width characters advance half a character.
bool FontLoader::loadGbText(Font& font, const Dict& dict) {
    Document& document = cache_.document();
    const bool traditional = cache_.traditional();
    font.gbText_ = true;
    font.cmap_ = cache_.predefinedCMap(traditional ? "ETen-B5-H" : "GBK-EUC-H");
    if (font.cmap_ == nullptr) {
        return false;
    }
    const std::string ordering = traditional ? "CNS1" : "GB1";
    const Object descriptorObject = document.resolve(dict.get("FontDescriptor"));
    const Dict* descriptor = descriptorObject.asDict();
    const int64_t flags =
        descriptor != nullptr ? document.resolve(descriptor->get("Flags")).asInt().value_or(0) : 0;
    // The face goes by the collection and its style: Hei (黑, in GB2312 BA DA) is a sans.
    const std::string face = folded(font.name_);
    const bool sans =
        face.find("\xba\xda") != std::string::npos || face.find("hei") != std::string::npos;
    SubstituteRequest request;
    request.ordering = ordering;
    request.serif = !sans;
    request.bold = (flags & kForceBold) != 0 || font.name_.find(",Bold") != std::string::npos;
    request.italic = (flags & kItalic) != 0;
    font.program_ = cache_.substitute(request);
    if (font.program_ == nullptr) {
        return false;
    }
    font.substituted_ = true;
    font.glyphsBy_ = Font::GlyphsBy::kUnicode;
    font.cidUnicode_ = cache_.cidUnicode("Adobe-" + ordering);
    font.fallbacks_ = cache_.fallbacks();
    // The half-width Latin of each collection: GB1 814-907 and 7716, CNS1 13648-13742. The
    // character table gives GB1's as full-width forms, which would not fit half a character,
    // nor are they the letters the document wrote.
    std::shared_ptr<const std::vector<char32_t>> gbUnicode = cache_.cidUnicode("Adobe-GB1");
    if (gbUnicode != nullptr && gbUnicode->size() > 7716) {
        auto table = std::make_shared<std::vector<char32_t>>(*gbUnicode);
        for (char32_t c = 0x21; c <= 0x7E; ++c) {
            (*table)[814 + c - 0x21] = c;
        }
        (*table)[7716] = 0x20;
        gbUnicode = std::move(table);
    }
    // The text is the document's GB2312 whichever characters show it.
    font.textCidUnicode_ = gbUnicode;
    if (traditional) {
        font.textCMap_ = cache_.predefinedCMap("GBK-EUC-H");
        font.cidWidths_.push_back({13648, 13742, 500});
    } else {
        font.cidUnicode_ = gbUnicode;
        font.cidWidths_.push_back({814, 907, 500});
        font.cidWidths_.push_back({7716, 7716, 500});
    }
    return true;
}

std::shared_ptr<FontProgram> FontLoader::embedded(const Dict* descriptor) {
    if (descriptor == nullptr) {
        return nullptr;
    }
    Document& document = cache_.document();
    for (const char* key : kFontFileKeys) {
        const Object file = document.resolve(descriptor->get(key));
        const Stream* stream = file.asStream();
        if (stream == nullptr) {
            continue;
        }
        std::optional<std::vector<uint8_t>> bytes =
            document.decodeStream(*stream, FontProgram::kMaxBytes);
        if (!bytes) {
            continue;
        }
        if (std::unique_ptr<FontProgram> program =
                FontProgram::load(cache_.library(), std::move(*bytes))) {
            return program;
        }
        WriteLog(kLogWarning, "%s(%s)\r\n", "An embedded font program cannot be read", key);
    }
    return nullptr;
}

void FontLoader::readEncoding(const Font& font, const Dict& dict,
                              std::array<std::string, 256>& names, bool& given) {
    Document& document = cache_.document();
    const Object encoding = document.resolve(dict.get("Encoding"));
    const Dict* encodingDict = encoding.asDict();
    const Encoding* base = nullptr;
    if (const std::optional<std::string_view> name = encoding.asName()) {
        base = baseEncodingNamed(*name);
    } else if (encodingDict != nullptr) {
        const Object baseName = document.resolve(encodingDict->get("BaseEncoding"));
        base = baseEncodingNamed(baseName.asName().value_or(""));
    }
    given = base != nullptr;
    const bool embeddedProgram = font.program_ != nullptr && !font.substituted_;
    if (base == nullptr) {
        // No base encoding named: the Symbol and Dingbats fonts have their own, an embedded
        // program's own encoding stands (left without names), the rest read as standard.
        if (font.name_.starts_with("Symbol")) {
            base = &symbolEncoding();
        } else if (font.name_.starts_with("ZapfDingbats") || font.name_.starts_with("Dingbats")) {
            base = &zapfDingbatsEncoding();
        } else if (!embeddedProgram && font.kind_ != Font::Kind::kType3) {
            base = &standardEncoding();
        }
    }
    if (base != nullptr) {
        for (size_t code = 0; code < 256; ++code) {
            names[code] = (*base)[code] != nullptr ? (*base)[code] : "";
        }
    }
    if (encodingDict == nullptr) {
        return;
    }
    const Object differences = document.resolve(encodingDict->get("Differences"));
    if (const Array* list = differences.asArray()) {
        int64_t code = -1;
        for (const Object& item : *list) {
            const Object entry = document.resolve(item);
            if (const std::optional<int64_t> number = entry.asInt()) {
                code = *number;
            } else if (const std::optional<std::string_view> name = entry.asName();
                       name && code >= 0 && code < 256) {
                names[size_t(code++)] = std::string(*name);
                given = true;
            }
        }
    }
}

bool FontLoader::loadSimple(Font& font, const Dict& dict) {
    Document& document = cache_.document();
    const Object descriptorObject = document.resolve(dict.get("FontDescriptor"));
    const Dict* descriptor = descriptorObject.asDict();
    const int64_t flags =
        descriptor != nullptr ? document.resolve(descriptor->get("Flags")).asInt().value_or(0) : 0;
    font.program_ = embedded(descriptor);
    if (font.program_ == nullptr) {
        SubstituteRequest request;
        request.name = font.name_;
        request.fixedPitch = (flags & kFixedPitch) != 0;
        request.serif = (flags & kSerif) != 0;
        request.italic = (flags & kItalic) != 0;
        request.bold = (flags & kForceBold) != 0;
        font.program_ = cache_.substitute(request);
        font.substituted_ = true;
    }
    if (font.program_ == nullptr) {
        return false;
    }
    std::array<std::string, 256> names;
    bool given = false;
    readEncoding(font, dict, names, given);
    const FontProgram& program = *font.program_;
    const bool symbolic = (flags & kSymbolic) != 0;
    const bool trueType = program.trueType() && !font.substituted_;
    for (uint32_t code = 0; code < 256; ++code) {
        const std::string& name = names[code];
        uint32_t glyph = 0;
        if (trueType) {
            // The (3,1) cmap through the glyph's character when the font names its glyphs,
            // the symbol cmap (3,0) with the codes where the font keeps them (0xF000 on),
            // the Mac Roman cmap (1,0), then the post table's names.
            const std::optional<char32_t> unicode =
                name.empty() ? std::nullopt : unicodeOfGlyphName(name);
            const bool hasSymbolCmap = program.glyphInCmap(3, 0, 0).has_value();
            if (unicode && (given || !symbolic || !hasSymbolCmap)) {
                glyph = program.glyphInCmap(3, 1, *unicode).value_or(0);
            }
            for (const uint32_t offset : {0x0000u, 0xF000u, 0xF100u, 0xF200u}) {
                if (glyph == 0 && hasSymbolCmap) {
                    glyph = program.glyphInCmap(3, 0, offset + code).value_or(0);
                }
            }
            if (glyph == 0) {
                const std::optional<uint8_t> mac =
                    name.empty() ? std::nullopt : macRomanCodeOf(name);
                glyph = program.glyphInCmap(1, 0, mac.value_or(uint8_t(code))).value_or(0);
            }
            if (glyph == 0 && !name.empty()) {
                glyph = program.glyphNamed(name);
            }
            if (glyph == 0 && !given) {
                glyph = program.glyphInCmap(3, 1, code).value_or(0);
            }
        } else {
            if (!name.empty()) {
                glyph = program.glyphNamed(name);
                if (glyph == 0) {
                    if (const std::optional<char32_t> unicode = unicodeOfGlyphName(name)) {
                        glyph = program.glyphOfUnicode(*unicode);
                    }
                }
            }
            if (glyph == 0 && !font.substituted_ && (name.empty() || !given)) {
                glyph = program.glyphOfBuiltInCode(uint8_t(code));
            }
        }
        font.glyphs_[code] = glyph;
    }
    readCodeTexts(font, names);
    readSimpleWidths(font, dict, descriptor);
    return true;
}

void FontLoader::readSimpleWidths(Font& font, const Dict& dict, const Dict* descriptor) {
    Document& document = cache_.document();
    font.fits_.fill(1);
    const Object widths = document.resolve(dict.get("Widths"));
    const Array* list = widths.asArray();
    const double missing =
        descriptor != nullptr
            ? document.resolve(descriptor->get("MissingWidth")).asNumber().value_or(0)
            : 0;
    if (list == nullptr) {
        // The base 14 carry no widths: their free faces have the same advances.
        for (uint32_t code = 0; code < 256; ++code) {
            font.widths_[code] =
                font.program_ != nullptr ? font.program_->advance(font.glyphs_[code]) : missing;
        }
        return;
    }
    font.widths_.fill(missing);
    const int64_t first = document.resolve(dict.get("FirstChar")).asInt().value_or(0);
    for (size_t i = 0; i < list->size(); ++i) {
        const int64_t code = first + int64_t(i);
        const std::optional<double> width = document.resolve((*list)[i]).asNumber();
        if (code >= 0 && code < 256 && width && std::isfinite(*width)) {
            font.widths_[size_t(code)] = *width;
            // An installed face's glyph is drawn as wide as the document's font would be
            // (within bounds, for widths that are no glyph's).
            const double own = font.substituted_ && font.program_ != nullptr
                                   ? font.program_->advance(font.glyphs_[size_t(code)])
                                   : 0;
            if (own > 0 && *width > 0) {
                font.fits_[size_t(code)] = std::clamp(*width / own, kMinFit, kMaxFit);
            }
        }
    }
}

bool FontLoader::loadType3(Font& font, const Dict& dict) {
    Document& document = cache_.document();
    if (const auto m = finiteNumbers<6>(document, dict.get("FontMatrix"))) {
        font.fontMatrix_ = {(*m)[0], (*m)[1], (*m)[2], (*m)[3], (*m)[4], (*m)[5]};
    }
    if (!font.fontMatrix_.inverted()) {
        return false;
    }
    font.resources_ = document.resolve(dict.get("Resources"));
    const Object procedures = document.resolve(dict.get("CharProcs"));
    const Dict* procedureDict = procedures.asDict();
    if (procedureDict == nullptr) {
        return false;
    }
    std::array<std::string, 256> names;
    bool given = false;
    readEncoding(font, dict, names, given);
    for (size_t code = 0; code < 256; ++code) {
        if (!names[code].empty()) {
            font.procedures_[code] = document.resolve(procedureDict->get(names[code]));
        }
    }
    readCodeTexts(font, names);
    readSimpleWidths(font, dict, nullptr);
    return true;
}

void FontLoader::readCodeTexts(Font& font, const std::array<std::string, 256>& names) {
    const bool embeddedProgram = font.program_ != nullptr && !font.substituted_;
    for (size_t code = 0; code < 256; ++code) {
        if (!names[code].empty()) {
            font.codeTexts_[code] = textOfGlyphName(names[code]);
            if (font.codeTexts_[code].empty()) {
                font.codeTexts_[code] = textOfOwnName(names[code], code);
            }
        } else if (embeddedProgram && font.glyphs_[code] != 0) {
            font.codeTexts_[code] = textOfGlyphName(font.program_->glyphName(font.glyphs_[code]));
        }
    }
}

std::shared_ptr<const ToUnicode> FontLoader::readToUnicode(const Dict& dict) {
    Document& document = cache_.document();
    const Object toUnicode = document.resolve(dict.get("ToUnicode"));
    std::optional<std::vector<uint8_t>> text;
    if (const std::optional<std::string_view> name = toUnicode.asName()) {
        // The identities say nothing of the text; other names are CMaps such as
        // Adobe-GB1-UCS2, which map codes that are CIDs.
        if (!name->starts_with("Identity")) {
            text = predefinedCMapText(*name);
        }
    } else if (const Stream* stream = toUnicode.asStream()) {
        text = document.decodeStream(*stream);
    }
    if (!text) {
        return nullptr;
    }
    std::shared_ptr<const ToUnicode> map = ToUnicode::parse(*text);
    return map->size() != 0 ? map : nullptr;
}

std::shared_ptr<const CMap> FontLoader::readCMap(const Object& encoding, int depth) {
    Document& document = cache_.document();
    const Object resolved = document.resolve(encoding);
    if (const std::optional<std::string_view> name = resolved.asName()) {
        return cache_.predefinedCMap(std::string(*name));
    }
    const Stream* stream = resolved.asStream();
    if (stream == nullptr || depth > CMap::kMaxUseDepth) {
        return nullptr;
    }
    const std::optional<std::vector<uint8_t>> text = document.decodeStream(*stream);
    if (!text) {
        return nullptr;
    }
    std::shared_ptr<CMap> cmap = CMap::parse(*text, [this](std::string_view name, int) {
        return cache_.predefinedCMap(std::string(name));
    });
    if (!stream->dict.get("UseCMap").isNull()) {
        if (std::shared_ptr<const CMap> base = readCMap(stream->dict.get("UseCMap"), depth + 1)) {
            cmap->use(std::move(base));
        }
    }
    return cmap;
}

bool FontLoader::loadComposite(Font& font, const Dict& dict) {
    Document& document = cache_.document();
    font.cmap_ = readCMap(dict.get("Encoding"), 0);
    if (font.cmap_ == nullptr) {
        WriteLog(kLogWarning, "%s(%s)\r\n", "A CMap that cannot be read is taken as Identity-H",
                 font.name_.c_str());
        font.cmap_ = CMap::identity(false);
    }
    const Object descendants = document.resolve(dict.get("DescendantFonts"));
    const Array* list = descendants.asArray();
    const Object cidFontObject =
        list != nullptr && !list->empty() ? document.resolve(list->front()) : Object();
    const Dict* cidFont = cidFontObject.asDict();
    if (cidFont == nullptr) {
        return false;
    }
    const Object descriptorObject = document.resolve(cidFont->get("FontDescriptor"));
    const Dict* descriptor = descriptorObject.asDict();
    const bool trueTypeKind = document.resolve(cidFont->get("Subtype")).isName("CIDFontType2");
    const Object systemInfo = document.resolve(cidFont->get("CIDSystemInfo"));
    std::string ordering;
    if (const Dict* info = systemInfo.asDict()) {
        const Object value = document.resolve(info->get("Ordering"));
        if (const String* s = value.asString()) {
            ordering = s->bytes;
        }
    }
    if (knownCollection(ordering)) {
        font.textCidUnicode_ = cache_.cidUnicode("Adobe-" + ordering);
    }
    // The codes of a predefined Unicode CMap are their own text.
    const Object encoding = document.resolve(dict.get("Encoding"));
    if (const std::string_view name = encoding.asName().value_or(""); name.starts_with("Uni")) {
        for (const auto& [form, codes] : {std::pair{"-UCS2-", Font::CodesAre::kUcs2},
                                          std::pair{"-UTF16-", Font::CodesAre::kUtf16},
                                          std::pair{"-UTF32-", Font::CodesAre::kUtf32}}) {
            if (name.find(form) != std::string_view::npos) {
                font.codesAre_ = codes;
            }
        }
    }
    font.program_ = embedded(descriptor);
    if (font.program_ != nullptr) {
        const Object map = document.resolve(cidFont->get("CIDToGIDMap"));
        if (const Stream* stream = map.asStream(); stream != nullptr && trueTypeKind) {
            if (const auto bytes = document.decodeStream(*stream, 2 * (kMaxCid + 1))) {
                font.glyphsBy_ = Font::GlyphsBy::kCidMap;
                for (size_t i = 0; i + 1 < bytes->size(); i += 2) {
                    font.cidToGlyph_.push_back(uint16_t((*bytes)[i] << 8 | (*bytes)[i + 1]));
                }
            }
        } else if (!trueTypeKind) {
            font.glyphsBy_ = Font::GlyphsBy::kCharset;
        }
    } else {
        const int64_t flags = descriptor != nullptr
                                  ? document.resolve(descriptor->get("Flags")).asInt().value_or(0)
                                  : 0;
        SubstituteRequest request;
        request.name = font.name_;
        request.ordering = ordering;
        request.serif = (flags & kSerif) != 0;
        request.fixedPitch = (flags & kFixedPitch) != 0;
        request.bold = (flags & kForceBold) != 0;
        request.italic = (flags & kItalic) != 0;
        font.program_ = cache_.substitute(request);
        font.substituted_ = true;
        font.glyphsBy_ = Font::GlyphsBy::kUnicode;
        font.cidUnicode_ = cache_.cidUnicode("Adobe-" + ordering);
        font.fallbacks_ = cache_.fallbacks();
    }
    if (font.program_ == nullptr) {
        return false;
    }
    readCidWidths(font, *cidFont);
    return true;
}

void FontLoader::readCidWidths(Font& font, const Dict& cidFont) {
    Document& document = cache_.document();
    if (const std::optional<double> dw = document.resolve(cidFont.get("DW")).asNumber()) {
        font.defaultWidth_ = *dw;
    }
    // W: "c [w1 w2 ...]" or "first last w".
    const Object w = document.resolve(cidFont.get("W"));
    if (const Array* list = w.asArray(); list != nullptr && list->size() < kMaxWidthEntries) {
        for (size_t i = 0; i + 1 < list->size();) {
            const std::optional<int64_t> first = document.resolve((*list)[i]).asInt();
            const Object next = document.resolve((*list)[i + 1]);
            if (!first || *first < 0 || *first > kMaxCid) {
                break;
            }
            if (const Array* widths = next.asArray()) {
                for (size_t k = 0; k < widths->size(); ++k) {
                    const auto width = document.resolve((*widths)[k]).asNumber();
                    font.cidWidths_.push_back({uint32_t(*first + int64_t(k)),
                                               uint32_t(*first + int64_t(k)),
                                               width.value_or(font.defaultWidth_)});
                }
                i += 2;
            } else if (i + 2 < list->size()) {
                const std::optional<int64_t> last = next.asInt();
                const auto width = document.resolve((*list)[i + 2]).asNumber();
                if (last && width && *last >= *first) {
                    font.cidWidths_.push_back(
                        {uint32_t(*first), uint32_t(std::min<int64_t>(*last, kMaxCid)), *width});
                }
                i += 3;
            } else {
                break;
            }
        }
    }
    std::stable_sort(font.cidWidths_.begin(), font.cidWidths_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (!font.vertical()) {
        return;
    }
    // DW2 [vy w1] and W2: "c [w1 vx vy ...]" or "first last w1 vx vy", in thousandths.
    if (const auto dw2 = finiteNumbers<2>(document, cidFont.get("DW2"))) {
        font.defaultVertical_.originY = (*dw2)[0] / 1000;
        font.defaultVertical_.advance = (*dw2)[1] / 1000;
    }
    const Object w2 = document.resolve(cidFont.get("W2"));
    const auto number = [&](const Object& o) { return document.resolve(o).asNumber(); };
    if (const Array* list = w2.asArray(); list != nullptr && list->size() < kMaxWidthEntries) {
        for (size_t i = 0; i + 1 < list->size();) {
            const std::optional<int64_t> first = document.resolve((*list)[i]).asInt();
            const Object next = document.resolve((*list)[i + 1]);
            if (!first || *first < 0 || *first > kMaxCid) {
                break;
            }
            if (const Array* metrics = next.asArray()) {
                for (size_t k = 0; k + 2 < metrics->size(); k += 3) {
                    const uint32_t cid = uint32_t(*first + int64_t(k / 3));
                    font.cidVertical_.push_back({cid,
                                                 cid,
                                                 {number((*metrics)[k]).value_or(-1000) / 1000,
                                                  number((*metrics)[k + 1]).value_or(0) / 1000,
                                                  number((*metrics)[k + 2]).value_or(880) / 1000}});
                }
                i += 2;
            } else if (i + 4 < list->size()) {
                const std::optional<int64_t> last = next.asInt();
                if (last && *last >= *first) {
                    font.cidVertical_.push_back({uint32_t(*first),
                                                 uint32_t(std::min<int64_t>(*last, kMaxCid)),
                                                 {number((*list)[i + 2]).value_or(-1000) / 1000,
                                                  number((*list)[i + 3]).value_or(0) / 1000,
                                                  number((*list)[i + 4]).value_or(880) / 1000}});
                }
                i += 5;
            } else {
                break;
            }
        }
    }
    std::stable_sort(font.cidVertical_.begin(), font.cidVertical_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace reader::pdf
