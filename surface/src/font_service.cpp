#include "surface/font_service.h"

#include <algorithm>
#include <stdexcept>

#include "symbol_maps.h"

namespace surface {

bool sameFaceName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

void setFaceName(LogFont& font, std::string_view name) {
    size_t n = std::min(name.size(), sizeof font.faceName - 1);
    // Never leave half a UTF-8 character behind.
    while (n > 0 && n < name.size() && (static_cast<uint8_t>(name[n]) & 0xC0) == 0x80) {
        --n;
    }
    std::fill(std::begin(font.faceName), std::end(font.faceName), '\0');
    std::copy_n(name.begin(), n, font.faceName);
}

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

std::vector<FaceAlias> parseAliasTable(std::string_view text) {
    std::vector<FaceAlias> aliases;
    int lineNumber = 0;
    for (std::string_view line : split(text, '\n')) {
        ++lineNumber;
        line = trim(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto fields = split(line, '\t');
        auto fail = [&](const char* why) {
            throw std::runtime_error("alias table line " + std::to_string(lineNumber) + ": " + why);
        };
        if (fields.size() != 4) {
            fail("expected kind, name, charset and candidates separated by tabs");
        }
        FaceAlias alias;
        if (fields[0] == "alias") {
            alias.kind = FaceAlias::Kind::Alias;
        } else if (fields[0] == "symbol") {
            alias.kind = FaceAlias::Kind::Symbol;
        } else {
            fail("kind must be alias or symbol");
        }
        alias.name = std::string(trim(fields[1]));
        int charSet = -1;
        try {
            charSet = std::stoi(std::string(fields[2]));
        } catch (const std::exception&) {
        }
        if (alias.name.empty() || charSet < 0 || charSet > 255) {
            fail("bad name or charset");
        }
        alias.charSet = static_cast<uint8_t>(charSet);
        for (std::string_view candidate : split(fields[3], ',')) {
            if (!trim(candidate).empty()) {
                alias.candidates.emplace_back(trim(candidate));
            }
        }
        if (alias.candidates.empty()) {
            fail("no candidate family");
        }
        aliases.push_back(std::move(alias));
    }
    return aliases;
}

FontService::FontService(std::vector<LogFont> installed, std::vector<FaceAlias> aliases)
    : installed_(std::move(installed)), aliases_(std::move(aliases)) {
    rebuild();
}

void FontService::rebuild() {
    faces_ = installed_;
    for (const Registered& r : registered_) {
        for (const std::string& name : r.families) {
            LogFont f{};
            f.weight = 400;
            setFaceName(f, name);
            faces_.push_back(f);
        }
    }
    familyOf_.clear();
    for (const LogFont& f : faces_) {
        familyOf_.emplace_back(f.faceName, f.faceName);
    }
    const size_t drawable = faces_.size();
    auto drawableRecord = [&](std::string_view family) -> const LogFont* {
        for (size_t i = 0; i < drawable; ++i) {
            if (sameFaceName(faces_[i].faceName, family)) {
                return &faces_[i];
            }
        }
        return nullptr;
    };

    virtualFaces_.clear();
    faces_.reserve(drawable + aliases_.size());  // keeps `target` valid across push_back
    for (const FaceAlias& alias : aliases_) {
        if (alias.kind == FaceAlias::Kind::Alias && drawableRecord(alias.name) != nullptr) {
            continue;  // the real face wins over its stand-in
        }
        const LogFont* target = nullptr;
        for (const std::string& candidate : alias.candidates) {
            if ((target = drawableRecord(candidate)) != nullptr) {
                break;
            }
        }
        if (target == nullptr) {
            continue;
        }
        LogFont record = *target;
        record.charSet = alias.charSet;
        setFaceName(record, alias.name);
        const std::string family = target->faceName;
        faces_.push_back(record);
        familyOf_.emplace_back(alias.name, family);
        if (alias.kind == FaceAlias::Kind::Symbol) {
            virtualFaces_.push_back({alias.name, family, symbolMapFor(alias.name)});
        }
    }
}

int findFace(std::span<const LogFont> faces, std::string_view faceName) {
    for (size_t i = faces.size(); i-- > 0;) {
        const std::string_view name = faces[i].faceName;
        if (name.find('@') == std::string_view::npos && sameFaceName(name, faceName)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

int FontService::find(std::string_view faceName) const { return findFace(faces_, faceName); }

std::string FontService::familyFor(std::string_view faceName) const {
    for (auto it = familyOf_.rbegin(); it != familyOf_.rend(); ++it) {
        if (sameFaceName(it->first, faceName)) {
            return it->second;
        }
    }
    return {};
}

const VirtualFace* FontService::virtualFace(std::string_view faceName) const {
    for (const VirtualFace& v : virtualFaces_) {
        if (sameFaceName(v.name, faceName)) {
            return &v;
        }
    }
    return nullptr;
}

std::filesystem::path FontService::fileFor(std::string_view family) const {
    for (const Registered& r : registered_) {
        for (const std::string& name : r.families) {
            if (sameFaceName(name, family)) {
                return r.file;
            }
        }
    }
    return {};
}

}  // namespace surface
