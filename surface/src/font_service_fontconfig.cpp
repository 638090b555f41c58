// The process's font table comes from fontconfig, the same source Qt reads, so the family
// names agree. Font files added at run time become fontconfig application fonts.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "surface/font_service.h"

namespace surface {

namespace {

uint8_t charSetOf(FcPattern* font) {
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) != FcResultMatch) {
        return kAnsiCharSet;
    }
    auto has = [&](const char* lang) {
        return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>(lang)) == FcLangEqual;
    };
    if (has("zh-cn")) {
        return kGb2312CharSet;
    }
    if (has("zh-tw") || has("zh-hk")) {
        return kBig5CharSet;
    }
    return kAnsiCharSet;
}

std::vector<std::string> familiesOf(FcPattern* font) {
    std::vector<std::string> names;
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        names.emplace_back(reinterpret_cast<const char*>(family));
    }
    return names;
}

// One record per family name, described by its most regular style.
std::vector<LogFont> enumerateInstalled() {
    std::map<std::string, LogFont> byName;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* objects =
        FcObjectSetBuild(FC_FAMILY, FC_LANG, FC_WEIGHT, FC_SLANT, FC_SPACING, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, all, objects);
    for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
        LogFont record{};
        record.weight = static_cast<int32_t>(FcWeightToOpenType(weight));
        record.italic = slant != FC_SLANT_ROMAN ? 1 : 0;
        record.charSet = charSetOf(font);
        record.pitchAndFamily = spacing >= FC_MONO ? kFixedPitch : kVariablePitch;
        const int distance = std::abs(record.weight - 400) + record.italic * 1000;
        for (const std::string& name : familiesOf(font)) {
            auto [it, added] = byName.try_emplace(name, record);
            const int known = std::abs(it->second.weight - 400) + it->second.italic * 1000;
            if (!added && distance < known) {
                it->second = record;
            }
            setFaceName(it->second, name);
        }
    }
    if (fonts != nullptr) {
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(all);

    std::vector<LogFont> installed;
    installed.reserve(byName.size());
    for (auto& [name, record] : byName) {
        installed.push_back(record);
    }
    return installed;
}

bool addApplicationFont(const std::filesystem::path& file) {
    return FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file.c_str())) ==
           FcTrue;
}

}  // namespace

FontService& FontService::instance() {
    static FontService service = [] {
        FcInit();
        FontService s(enumerateInstalled(), parseAliasTable(builtInAliasTable()));
        return s;
    }();
    return service;
}

std::vector<std::string> FontService::addFontFile(const std::filesystem::path& file) {
    const bool known = std::any_of(registered_.begin(), registered_.end(),
                                   [&](const Registered& r) { return r.file == file; });
    if (known) {
        return {};
    }
    int count = 0;
    FcPattern* query =
        FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file.c_str()), 0, nullptr, &count);
    if (query == nullptr) {
        return {};
    }
    std::vector<std::string> families = familiesOf(query);
    FcPatternDestroy(query);
    if (families.empty() || !addApplicationFont(file)) {
        return {};
    }
    registered_.push_back({file, families});
    rebuild();
    return families;
}

bool FontService::removeFontFile(const std::filesystem::path& file) {
    auto it = std::find_if(registered_.begin(), registered_.end(),
                           [&](const Registered& r) { return r.file == file; });
    if (it == registered_.end()) {
        return false;
    }
    registered_.erase(it);
    // fontconfig forgets application fonts only all at once.
    FcConfigAppFontClear(nullptr);
    for (const Registered& r : registered_) {
        addApplicationFont(r.file);
    }
    rebuild();
    return true;
}

}  // namespace surface
