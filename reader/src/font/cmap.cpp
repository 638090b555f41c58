#include "font/cmap.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "font/cmap_syntax.h"

namespace reader::pdf {

namespace {

// Overlapping ranges looked back over when one range ends before a code.
constexpr size_t kOverlapLookBack = 16;
// Predefined CMap files are a few hundred kilobytes at most.
constexpr std::uintmax_t kMaxCMapFileBytes = 8u << 20;

std::optional<uint32_t> cidOfToken(const Token& token) {
    if (token.kind != Token::Kind::Integer || token.integer < 0 || token.integer > 0xFFFFFF) {
        return std::nullopt;
    }
    return uint32_t(token.integer);
}

}  // namespace

std::shared_ptr<CMap> CMap::parse(std::span<const uint8_t> text, const Resolver& used, int depth) {
    auto cmap = std::make_shared<CMap>();
    readCMapOperators(text, [&](std::string_view word, std::vector<Token>& stack) {
        if (word == "endcodespacerange") {
            for (size_t i = 0; i + 1 < stack.size(); i += 2) {
                const std::optional<CharCode> low = codeOfToken(stack[i]);
                const std::optional<CharCode> high = codeOfToken(stack[i + 1]);
                if (!low || !high || low->bytes != high->bytes) {
                    continue;
                }
                Codespace space;
                space.bytes = low->bytes;
                for (int b = 0; b < space.bytes; ++b) {
                    space.low[b] = uint8_t(stack[i].text[size_t(b)]);
                    space.high[b] = uint8_t(stack[i + 1].text[size_t(b)]);
                }
                cmap->codespaces_.push_back(space);
            }
        } else if (word == "endcidrange" || word == "endnotdefrange") {
            std::vector<Mapping>& into = word == "endcidrange" ? cmap->mappings_ : cmap->notdefs_;
            for (size_t i = 0; i + 2 < stack.size() && into.size() < kMaxMappings; i += 3) {
                const std::optional<CharCode> low = codeOfToken(stack[i]);
                const std::optional<CharCode> high = codeOfToken(stack[i + 1]);
                const std::optional<uint32_t> cid = cidOfToken(stack[i + 2]);
                if (low && high && cid && low->bytes == high->bytes && low->code <= high->code) {
                    into.push_back({low->bytes, low->code, high->code, *cid});
                }
            }
        } else if (word == "endcidchar") {
            for (size_t i = 0; i + 1 < stack.size() && cmap->mappings_.size() < kMaxMappings;
                 i += 2) {
                const std::optional<CharCode> code = codeOfToken(stack[i]);
                const std::optional<uint32_t> cid = cidOfToken(stack[i + 1]);
                if (code && cid) {
                    cmap->mappings_.push_back({code->bytes, code->code, code->code, *cid});
                }
            }
        } else if (word == "usecmap") {
            // One base CMap: a second usecmap is passed over, so that crafted programs
            // cannot make the chain branch.
            if (!stack.empty() && stack.back().kind == Token::Kind::Name && used &&
                depth < kMaxUseDepth && cmap->base_ == nullptr) {
                if (std::shared_ptr<const CMap> base = used(stack.back().text, depth + 1)) {
                    cmap->use(std::move(base));
                }
            }
        } else if (word == "def" && stack.size() >= 2 &&
                   stack[stack.size() - 2].kind == Token::Kind::Name) {
            const std::string& key = stack[stack.size() - 2].text;
            const Token& value = stack.back();
            if (key == "WMode" && value.kind == Token::Kind::Integer) {
                cmap->vertical_ = value.integer == 1;
            } else if (key == "CMapName" && value.kind == Token::Kind::Name) {
                cmap->name_ = value.text;
            }
        }
    });
    cmap->sort();
    return cmap;
}

std::shared_ptr<const CMap> CMap::identity(bool vertical) {
    auto cmap = std::make_shared<CMap>();
    cmap->identity_ = true;
    cmap->vertical_ = vertical;
    cmap->name_ = vertical ? "Identity-V" : "Identity-H";
    Codespace space;
    space.bytes = 2;
    space.high[0] = space.high[1] = 0xFF;
    cmap->codespaces_.push_back(space);
    return cmap;
}

void CMap::use(std::shared_ptr<const CMap> base) {
    codespaces_.insert(codespaces_.end(), base->codespaces_.begin(), base->codespaces_.end());
    base_ = std::move(base);
}

void CMap::sort() {
    const auto order = [](const Mapping& a, const Mapping& b) {
        return a.bytes != b.bytes ? a.bytes < b.bytes : a.low < b.low;
    };
    std::stable_sort(mappings_.begin(), mappings_.end(), order);
    std::stable_sort(notdefs_.begin(), notdefs_.end(), order);
}

CharCode CMap::nextCode(std::span<const uint8_t> text) const {
    if (codespaces_.empty()) {
        // A CMap without codespace ranges: two-byte codes, as the identity has.
        CharCode code{text[0], 1};
        if (text.size() >= 2) {
            code = {uint32_t(text[0]) << 8 | text[1], 2};
        }
        return code;
    }
    // The shortest codespace range that holds the first bytes decides.
    size_t longestPrefix = 0;
    uint8_t closest = codespaces_.front().bytes;
    for (uint8_t length = 1; length <= 4; ++length) {
        for (const Codespace& space : codespaces_) {
            if (space.bytes != length) {
                continue;
            }
            size_t matched = 0;
            while (matched < length && matched < text.size() &&
                   text[matched] >= space.low[matched] && text[matched] <= space.high[matched]) {
                ++matched;
            }
            if (matched == length) {
                CharCode code{0, length};
                for (size_t i = 0; i < length; ++i) {
                    code.code = code.code << 8 | text[i];
                }
                return code;
            }
            if (matched > longestPrefix) {
                longestPrefix = matched;
                closest = space.bytes;
            }
        }
    }
    CharCode code{0, uint8_t(std::min<size_t>(closest, text.size()))};
    for (size_t i = 0; i < code.bytes; ++i) {
        code.code = code.code << 8 | text[i];
    }
    return code;
}

std::optional<uint32_t> CMap::find(const std::vector<Mapping>& mappings, CharCode code,
                                   bool offset) {
    auto after = std::upper_bound(
        mappings.begin(), mappings.end(), code, [](const CharCode& c, const Mapping& m) {
            return c.bytes != m.bytes ? c.bytes < m.bytes : c.code < m.low;
        });
    // The range starting last at or before the code holds it, unless ranges overlap.
    for (size_t step = 0; step < kOverlapLookBack && after != mappings.begin(); ++step) {
        --after;
        if (after->bytes != code.bytes) {
            break;
        }
        if (code.code <= after->high) {
            return after->cid + (offset ? code.code - after->low : 0);
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> CMap::mapped(CharCode code) const {
    if (identity_) {
        return code.code;
    }
    if (const std::optional<uint32_t> cid = find(mappings_, code, true)) {
        return cid;
    }
    return base_ != nullptr ? base_->mapped(code) : std::nullopt;
}

std::optional<uint32_t> CMap::notdef(CharCode code) const {
    // Every code of a notdef range selects the range's one CID.
    if (const std::optional<uint32_t> cid = find(notdefs_, code, false)) {
        return cid;
    }
    return base_ != nullptr ? base_->notdef(code) : std::nullopt;
}

uint32_t CMap::cidOf(CharCode code) const {
    if (const std::optional<uint32_t> cid = mapped(code)) {
        return *cid;
    }
    return notdef(code).value_or(0);
}

std::optional<std::vector<uint8_t>> predefinedCMapText(std::string_view name) {
    // A name is one file name; anything that could reach outside the folder is refused.
    if (name.empty() || name.size() > 64 || name.find_first_of("/\\") != std::string_view::npos ||
        name.starts_with(".")) {
        return std::nullopt;
    }
    namespace fs = std::filesystem;
    std::error_code error;
    for (const fs::directory_entry& collection :
         fs::directory_iterator(fs::path(kPredefinedCMapFolder), error)) {
        const fs::path file = collection.path() / std::string(name);
        if (!fs::is_regular_file(file, error) || fs::file_size(file, error) > kMaxCMapFileBytes) {
            continue;
        }
        std::ifstream in(file, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    }
    return std::nullopt;
}

std::shared_ptr<const CMap> loadPredefinedCMap(std::string_view name, int depth) {
    if (name == "Identity-H") {
        return CMap::identity(false);
    }
    if (name == "Identity-V") {
        return CMap::identity(true);
    }
    if (depth > CMap::kMaxUseDepth) {
        return nullptr;
    }
    const std::optional<std::vector<uint8_t>> text = predefinedCMapText(name);
    return text ? CMap::parse(*text, loadPredefinedCMap, depth) : nullptr;
}

}  // namespace reader::pdf
