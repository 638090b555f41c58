#include "font/font_substitute.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <map>
#include <mutex>
#include <tuple>

namespace reader::pdf {

namespace {

std::string squeezed(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::isalnum(uint8_t(c)) || uint8_t(c) >= 0x80) {
            out += char(std::tolower(uint8_t(c)));
        }
    }
    return out;
}

bool has(std::string_view haystack, std::string_view needle) {
    return squeezed(haystack).find(needle) != std::string::npos;
}

struct FamilyAlias {
    std::string_view prefix;  // of the squeezed name
    std::string_view family;
};

// Names of fonts documents leave out, by how their squeezed name begins; the metric-compatible
// free faces of the base 14 first.
constexpr std::array kAliases = {
    FamilyAlias{"helvetica", "Nimbus Sans"},      FamilyAlias{"arial", "Nimbus Sans"},
    FamilyAlias{"timesnewroman", "Nimbus Roman"}, FamilyAlias{"times", "Nimbus Roman"},
    FamilyAlias{"couriernew", "Nimbus Mono PS"},  FamilyAlias{"courier", "Nimbus Mono PS"},
    FamilyAlias{"symbol", "Standard Symbols PS"}, FamilyAlias{"zapfdingbats", "D050000L"},
    FamilyAlias{"dingbats", "D050000L"},
};

// The CJK face of a collection in a style: Song and Ming serif, Hei sans, Kai its own.
std::string cjkFamily(const SubstituteRequest& request) {
    std::string region;
    if (request.ordering == "GB1") {
        region = "SC";
    } else if (request.ordering == "CNS1") {
        region = "TC";
    } else if (request.ordering == "Japan1") {
        region = "JP";
    } else if (request.ordering == "Korea1" || request.ordering == "KR") {
        region = "KR";
    }
    const std::string name = squeezed(request.name);
    const auto named = [&](std::initializer_list<std::string_view> words) {
        return std::any_of(words.begin(), words.end(), [&](std::string_view word) {
            return name.find(word) != std::string::npos;
        });
    };
    const bool kai = named({"kai", "楷"});
    // Song, Ming and Mincho faces are serif; Hei and Gothic ones sans; the flags decide the
    // rest.
    const bool serif =
        named({"song", "sun", "ming", "min", "fang", "batang", "myeongjo", "宋", "明", "仿"});
    const bool sans =
        !serif && (named({"hei", "gothic", "gulim", "dotum", "黑"}) || !request.serif);
    if (region.empty()) {
        // A CJK name without a collection: Ming names are Traditional, the rest Simplified.
        region = name.find("ming") != std::string::npos || name.find("msung") != std::string::npos
                     ? "TC"
                     : "SC";
    }
    if (kai) {
        return region == "TC" ? "AR PL UKai TW" : "AR PL UKai CN";
    }
    return std::string(sans ? "Noto Sans CJK " : "Noto Serif CJK ") + region;
}

bool cjkName(std::string_view name) {
    const std::string s = squeezed(name);
    for (const std::string_view word :
         {"simsun", "simhei",      "song",     "hei",     "kaiti",   "kai",        "fangsong",
          "msung",  "mingliu",     "stsong",   "stheiti", "stkaiti", "stfangsong", "mhei",
          "heisei", "hysmyeongjo", "hygothic", "batang",  "gulim",   "mincho",     "gothic",
          "宋",     "黑",          "楷",       "仿宋"}) {
        if (s.find(word) != std::string::npos) {
            return true;
        }
    }
    return std::any_of(name.begin(), name.end(), [](char c) { return uint8_t(c) >= 0x80; });
}

void startFontconfig() {
    static std::once_flag once;
    std::call_once(once, [] { FcInit(); });
}

// The face fontconfig matches with `family` in the style asked.
std::optional<SubstituteFace> matchFace(const std::string& family, bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return std::nullopt;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return std::nullopt;
    }
    std::optional<SubstituteFace> face;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        face = SubstituteFace{reinterpret_cast<const char*>(file), index};
    }
    FcPatternDestroy(match);
    return face;
}

// The installed family `name` names, its style after a hyphen or comma and its case and
// spaces aside ("LiberationSerif-Bold" names Liberation Serif); nothing when none is installed.
std::optional<std::string> installedFamily(std::string_view name) {
    static std::once_flag once;
    static std::map<std::string, std::string> families;  // by squeezed family name
    std::call_once(once, [] {
        startFontconfig();
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
        FcFontSet* fonts = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
        for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) ==
                            FcResultMatch;
                 ++n) {
                const std::string text(reinterpret_cast<const char*>(family));
                families.emplace(squeezed(text), text);
            }
        }
        if (fonts != nullptr) {
            FcFontSetDestroy(fonts);
        }
        if (objects != nullptr) {
            FcObjectSetDestroy(objects);
        }
        if (pattern != nullptr) {
            FcPatternDestroy(pattern);
        }
    });
    const std::string key = squeezed(name.substr(0, name.find_first_of("-,")));
    const auto found = key.empty() ? families.end() : families.find(key);
    return found != families.end() ? std::optional(found->second) : std::nullopt;
}

}  // namespace

std::string substituteFamily(const SubstituteRequest& request) {
    const std::string name = squeezed(request.name);
    for (const FamilyAlias& alias : kAliases) {
        if (name.starts_with(alias.prefix)) {
            return std::string(alias.family);
        }
    }
    // A face of the font's own name, when one is installed.
    if (std::optional<std::string> family = installedFamily(request.name)) {
        return *family;
    }
    if (!request.ordering.empty() || cjkName(request.name)) {
        return cjkFamily(request);
    }
    if (request.fixedPitch) {
        return "Nimbus Mono PS";
    }
    return request.serif ? "Nimbus Roman" : "Nimbus Sans";
}

std::optional<SubstituteFace> findSubstitute(const SubstituteRequest& request) {
    startFontconfig();
    const std::string family = substituteFamily(request);
    const bool bold = request.bold || has(request.name, "bold") || has(request.name, "black") ||
                      has(request.name, "heavy") || has(request.name, "demi");
    const bool italic =
        request.italic || has(request.name, "italic") || has(request.name, "oblique");
    // fontconfig's answers depend on the installed fonts alone: they are kept for the process,
    // under a lock as documents may be drawn on several threads.
    static std::mutex lock;
    static std::map<std::tuple<std::string, bool, bool>, std::optional<SubstituteFace>> answers;
    const std::tuple<std::string, bool, bool> key{family, bold, italic};
    std::lock_guard<std::mutex> guard(lock);
    if (const auto found = answers.find(key); found != answers.end()) {
        return found->second;
    }
    std::optional<SubstituteFace> face = matchFace(family, bold, italic);
    answers[key] = face;
    return face;
}

}  // namespace reader::pdf
