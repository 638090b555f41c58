// Font selection: a font number, a size and the drawing state become a face and its settings.
#include <array>

#include "document/page_document.h"
#include "engine_state.h"
#include "surface/font_service.h"

namespace vyn {

namespace {

using surface::LogFont;

// The text face slot of each font number; numbers not listed use slot 0.
int32_t slotOfFontNumber(int32_t fontNumber) {
    switch (fontNumber) {
        case 0: return 5;
        case 1: return 1;
        case 2: return 2;
        case 3: return 3;
        case 5: return 6;
        case 6: return 7;
        case 24: return 10;
        case 25: return 11;
        case 27: return 12;
        case 40: return 13;
        case 57: return 17;
        case 59: return 18;
        default: return 0;
    }
}

using FaceTable = std::array<const char*, 21>;

constexpr FaceTable kGbFaces = {"宋体",   "仿宋",   "黑体", "楷体", "书宋", "报宋", "小标宋",
                                "中等线", "细等线", "细黑", "行楷", "魏碑", "姚体", "细圆",
                                "中圆",   "准圆",   "粗圆", "隶书", "隶书", "综艺", "琥珀"};
constexpr FaceTable kBig5Faces = {"標楷體", "標楷體", "標楷體", "標楷體", "標楷體", "標楷體",
                                  "標楷體", "標楷體", "標楷體", "標楷體", "標楷體", "標楷體",
                                  "標楷體", "標楷體", "標楷體", "標楷體", "標楷體", "標楷體",
                                  "標楷體", "標楷體", "標楷體"};
// Slots no font number reaches hold the first face.
constexpr FaceTable kOtherFaces = {
    "FZShuSong-Z01", "FZShuSong-Z01", "FZHei-B01", "FZShuSong-Z01", "FZShuSong-Z01",
    "FZShuSong-Z01", "FZShuSong-Z01", "FZHei-B01", "FZShuSong-Z01", "FZShuSong-Z01",
    "FZShuSong-Z01", "FZShuSong-Z01", "FZHei-B01", "FZShuSong-Z01", "FZShuSong-Z01",
    "FZShuSong-Z01", "FZShuSong-Z01", "仿宋",      "黑体",          "FZShuSong-Z01",
    "FZShuSong-Z01"};

constexpr std::array<const char*, 22> kSymbolFaces = {
    "morla fntbz",     "morla fntbz", "morla fntbz", "Times new roman", "Times new roman",
    "Times new roman", "morla fnta0", "morla fnta6", "morla fntaa",     "morla fntac",
    "morla fntlt",     "morla fntae", "morla fntdg", "morla fntbd",     "morla fnttab",
    "morla fnta1",     "morla fnta4", "morla fnta7", "morla fnta8",     "morla fntra",
    "morla fntst",     "morla fnthx"};

constexpr int16_t kRotationCode = -9000;  // drawn as -900

const FaceTable& facesOfCodePage(int32_t codePage) {
    return codePage == 950 ? kBig5Faces : codePage == 936 ? kGbFaces : kOtherFaces;
}

// Text bytes follow the code page: GB2312 text under 936, Big5 under 950, so the font reads
// them in that set whatever the face record says. Other code pages keep the record's set.
std::optional<uint8_t> textCharSet() {
    switch (engineState().codePage) {
        case 936: return surface::kGb2312CharSet;
        case 950: return surface::kBig5CharSet;
        default: return std::nullopt;
    }
}

int16_t add16(int16_t a, int32_t b) { return int16_t(a + b); }

}  // namespace

int32_t PageDocument::FindInstalledFont(std::string_view faceName) {
    return surface::findFace(engineState().installedFonts, faceName);
}

std::optional<LogFont> PageDocument::makeFont(surface::Surface& surface, int32_t position,
                                              const LogFont& settings,
                                              std::optional<uint8_t> charSet) {
    LogFont font = engineState().installedFonts[size_t(position - 1)];
    font.height = settings.height;
    font.width = settings.width;
    font.escapement = settings.escapement;
    font.orientation = settings.orientation;
    font.weight = settings.weight;
    font.italic = settings.italic != 0 ? 1 : font.italic;
    font.quality = 1;  // draft
    if (charSet) {
        font.charSet = *charSet;
    }
    surface.selectFont(font);
    currentFont_ = font;
    return font;
}

std::optional<LogFont> PageDocument::SelectTextFont(surface::Surface& surface, int32_t fontNumber,
                                                    int32_t width, int32_t height) {
    const FaceTable& faces = facesOfCodePage(engineState().codePage);
    const char* base = engineState().baseFontName;
    int32_t position =
        FindInstalledFont(base[0] != '\0' ? base : faces[size_t(slotOfFontNumber(fontNumber))]);
    if (position == 0) {
        position = FindInstalledFont(faces[0]);
    }
    if (position == 0) {
        return std::nullopt;
    }

    LogFont settings{};
    settings.height = -height;
    settings.width = width == height ? 0 : width / 2;
    const int16_t r = state_.rotation;
    settings.escapement = settings.orientation = r == kRotationCode ? -900 : r;
    switch (r) {
        case 900: state_.verticalOffset = add16(state_.verticalOffset, -height); break;
        case -900:
        case kRotationCode: state_.horizontalOffset = add16(state_.horizontalOffset, height); break;
        case -1800:
            state_.verticalOffset = add16(state_.verticalOffset, height);
            state_.horizontalOffset = add16(state_.horizontalOffset, height);
            break;
        case 1800:
            state_.verticalOffset = add16(state_.verticalOffset, -height);
            state_.horizontalOffset = add16(state_.horizontalOffset, height);
            break;
        case 2700: state_.horizontalOffset = add16(state_.horizontalOffset, -width); break;
        case -2700: state_.verticalOffset = add16(state_.verticalOffset, height); break;
        default: break;
    }
    settings.weight = state_.weight;
    settings.italic = state_.slant != 0 ? 1 : 0;
    return makeFont(surface, position, settings, textCharSet());
}

std::optional<LogFont> PageDocument::SelectSlantFont(surface::Surface& surface, int32_t,
                                                     int32_t width, int32_t height) {
    if (state_.slant == 0) {
        return SelectTextFont(surface, state_.fontNumber, width, height);
    }
    const int32_t position = FindInstalledFont("宋体");
    if (position == 0) {
        return std::nullopt;
    }
    LogFont settings{};
    settings.height = -height;
    settings.width = width;
    if (state_.axesSwapped != 0 || state_.slant > 150 || state_.slant < -150) {
        settings.escapement = settings.orientation = state_.slant;
    }
    settings.italic = 1;
    settings.weight = 400;
    return makeFont(surface, position, settings, textCharSet());
}

std::optional<LogFont> PageDocument::SelectSymbolFont(surface::Surface& surface, int32_t,
                                                      int32_t width, int32_t height) {
    const int16_t index = state_.symbolFace;
    // An index outside the table is taken as the first face.
    const char* face = index >= 0 && size_t(index) < kSymbolFaces.size()
                           ? kSymbolFaces[size_t(index)]
                           : kSymbolFaces[0];
    int32_t position = FindInstalledFont(face);
    if (position == 0) {
        position = FindInstalledFont(kSymbolFaces[0]);
    }
    if (position == 0) {
        return std::nullopt;
    }

    LogFont settings{};
    settings.height = -height;
    settings.width = width == height ? 0 : width * 2 / 3;
    int32_t r = state_.rotation;
    const bool earlyTypes = docType_ == 0 || docType_ == 1;
    int32_t dx = 0;
    int32_t dy = 0;
    switch (r) {
        case 900:
        case -2700: dy = height; break;
        case -900: dx = height; break;
        case -910: dx = earlyTypes ? 0 : height; break;
        case 1800:
        case -1800:
            if (earlyTypes) {
                dy = height / 2;
            } else {
                dy = 3 * height / 2;
                dx = height;
            }
            break;
        case 2700: dx = width; break;
        case kRotationCode:
            dx = height;
            r = -900;
            break;
        default:
            if (!earlyTypes && r > -1800 && r < -900) {
                dx = height;
                dy = height * (-900 - r) / 900;
            }
            break;
    }
    state_.horizontalOffset = add16(state_.horizontalOffset, dx);
    state_.verticalOffset = add16(state_.verticalOffset, dy);
    settings.escapement = settings.orientation = r;
    settings.italic = state_.slant != 0 ? 1 : 0;
    settings.weight = state_.weight;
    std::optional<uint8_t> charSet;
    if (engineState().platform == EngineState::kPlatformNt) {
        charSet = surface::kSymbolCharSet;
    }
    return makeFont(surface, position, settings, charSet);
}

}  // namespace vyn
