#include "font/font_cache.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "font/font_loader.h"
#include "object/lexer.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

// A table file larger than this is not read.
constexpr std::uintmax_t kMaxInstalledFileBytes = 64u << 20;

std::optional<std::vector<uint8_t>> readFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxInstalledFileBytes) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

}  // namespace

FontCache::FontCache(Document& document, bool traditional)
    : document_(document), traditional_(traditional), library_(FontLibrary::create()) {}

FontCache::~FontCache() = default;

std::shared_ptr<Font> FontCache::load(const Object& font) {
    const std::optional<Ref> ref = font.asRef();
    if (ref) {
        if (const auto found = fonts_.find(*ref); found != fonts_.end()) {
            return found->second;
        }
    }
    const Object resolved = document_.resolve(font);
    const Dict* dict = resolved.asDict();
    if (dict == nullptr || library_ == nullptr) {
        return nullptr;
    }
    if (!ref) {
        if (const auto found = directFonts_.find(dict); found != directFonts_.end()) {
            return found->second.second;
        }
    }
    std::shared_ptr<Font> loaded = FontLoader(*this).load(*dict);
    if (ref) {
        fonts_[*ref] = loaded;
    } else {
        directFonts_[dict] = {resolved, loaded};
    }
    return loaded;
}

std::shared_ptr<FontProgram> FontCache::substitute(const SubstituteRequest& request) {
    const std::optional<SubstituteFace> face = findSubstitute(request);
    if (!face) {
        return nullptr;
    }
    const std::pair<std::string, int> key{face->file, face->index};
    if (const auto found = substitutes_.find(key); found != substitutes_.end()) {
        return found->second;
    }
    std::shared_ptr<FontProgram> program = FontProgram::open(library_, face->file, face->index);
    substitutes_[key] = program;
    return program;
}

const std::vector<std::shared_ptr<FontProgram>>& FontCache::fallbacks() {
    if (!fallbacks_) {
        fallbacks_.emplace();
        for (const char* ordering : {"GB1", "CNS1", "Japan1", "Korea1", ""}) {
            SubstituteRequest request;
            request.name = *ordering != 0 ? "Song" : "Sans";
            request.ordering = ordering;
            if (std::shared_ptr<FontProgram> program = substitute(request)) {
                if (std::find(fallbacks_->begin(), fallbacks_->end(), program) ==
                    fallbacks_->end()) {
                    fallbacks_->push_back(std::move(program));
                }
            }
        }
    }
    return *fallbacks_;
}

std::shared_ptr<const CMap> FontCache::predefinedCMap(const std::string& name) {
    if (const auto found = cmaps_.find(name); found != cmaps_.end()) {
        return found->second;
    }
    std::shared_ptr<const CMap> cmap = loadPredefinedCMap(name);
    cmaps_[name] = cmap;
    return cmap;
}

std::shared_ptr<const std::vector<char32_t>> FontCache::cidUnicode(const std::string& collection) {
    if (const auto found = cidUnicode_.find(collection); found != cidUnicode_.end()) {
        return found->second;
    }
    std::shared_ptr<std::vector<char32_t>> table;
    if (collection.find_first_of("/\\.") == std::string::npos && !collection.empty()) {
        if (const auto bytes = readFile(std::filesystem::path(kCidUnicodeFolder) / collection)) {
            // One line per CID, from 0: the character in hexadecimal.
            table = std::make_shared<std::vector<char32_t>>();
            char32_t value = 0;
            bool digits = false;
            for (const uint8_t c : *bytes) {
                const int digit = hexDigitValue(c);
                if (digit >= 0) {
                    value = value * 16 + char32_t(digit);
                    digits = true;
                } else if (c == '\n') {
                    table->push_back(digits ? value : 0);
                    value = 0;
                    digits = false;
                }
            }
        }
    }
    cidUnicode_[collection] = table;
    return table;
}

}  // namespace reader::pdf
