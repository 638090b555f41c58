// Font dictionaries: names, widths and metrics, and embedded font programs written to the
// temporary folder where the system and the glyph rasteriser find them.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "library/library_state.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "structure/pdf_lexer.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "surface/font_service.h"
#include "surface/text_decode.h"
#include "text/font_files.h"

using namespace reader;

namespace {

// Font descriptors and descendant fonts nested deeper than this are not followed.
constexpr int kMaxFontDepth = 8;
// Width entries read from one array at most.
constexpr int32_t kMaxWidths = 65536;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A font name as the dictionary writes it: the subset tag before "+" dropped, the style after
// "," taken off (and noted), "#xx" escapes replaced by their bytes.
std::string fontNameOf(std::string word, TFont& font) {
    if (const size_t plus = word.find('+'); plus != std::string::npos) {
        word.erase(0, plus + 1);
    }
    if (const size_t comma = word.find(','); comma != std::string::npos) {
        const std::string style = word.substr(comma + 1);
        font.bold = style.find("Bold") != std::string::npos ? 1 : font.bold;
        font.italic = style.find("Italic") != std::string::npos ? 1 : font.italic;
        word.resize(comma);
    }
    std::string name;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '#' && i + 2 < word.size() && hexDigit(word[i + 1]) >= 0 &&
            hexDigit(word[i + 2]) >= 0) {
            name += char(hexDigit(word[i + 1]) * 16 + hexDigit(word[i + 2]));
            i += 2;
        } else {
            name += word[i];
        }
    }
    return name.substr(0, 99);
}

// A file name made of the font name's letters and digits only, so that no name reaches
// outside the temporary folder.
std::string safeFileName(const std::string& fontName) {
    std::string name;
    for (const char c : fontName) {
        name += std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' ? c : '_';
    }
    return name.empty() ? "font" : name;
}

std::string withoutSpaces(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if (c != ' ') {
            out += char(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

bool writeFile(const std::filesystem::path& path, std::string_view data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), std::streamsize(data.size()));
    return bool(out.flush());
}

}  // namespace

// A folder of this process alone (mode 0700, a fresh name): no other user can place a file or
// a link where a font program is about to be written.
std::filesystem::path reader::fontFilePath(const std::string& fontName, const char* extension) {
    std::filesystem::path& folder = libraryState().fontFolder;
    if (folder.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "brindle-fonts-XXXXXX").string();
        folder = mkdtemp(pattern.data()) != nullptr ? std::filesystem::path(pattern)
                                                    : std::filesystem::temp_directory_path();
    }
    return folder / (safeFileName(fontName) + extension);
}

int CReader::FindFont(std::string_view name) {
    if (!libraryState().installedFonts) {
        RDLL_Init(1);
    }
    // Names in GB2312 bytes are compared as the installed faces are named, in UTF-8.
    const std::string utf8 = surface::decodeTextUtf8(name, surface::kGb2312CharSet);
    std::unordered_map<std::string, int>& index = libraryState().installedFaceIndex;
    if (index.empty()) {
        const std::vector<surface::LogFont>& faces = *libraryState().installedFonts;
        for (size_t i = 0; i < faces.size(); ++i) {
            index.try_emplace(withoutSpaces(faces[i].faceName), int(i));
        }
    }
    const auto found = index.find(withoutSpaces(utf8));
    return found != index.end() ? found->second : -1;
}

bool CReader::GetFontWidths(TFont& font, std::string_view text, size_t& at) {
    TextCursor cursor(text, at);
    cursor.SkipWhite();
    std::optional<std::string> referenced;
    if (cursor.peek() != '[') {
        referenced = ReadObjToBufferByID(cursor.GetInt());
        at = cursor.position();
        cursor.GetString(16);
        cursor.GetString(16);  // the generation and "R"
        at = cursor.position();
        if (!referenced) {
            return true;
        }
        cursor = TextCursor(*referenced);
        cursor.SkipObjectHeader();
    }
    const size_t open = cursor.rest().find('[');
    if (open == std::string_view::npos) {
        return true;
    }
    cursor.advance(open + 1);
    for (int32_t code = font.firstChar; code <= font.lastChar && code - font.firstChar < kMaxWidths;
         ++code) {
        cursor.SkipWhite();
        if (cursor.atEnd() || cursor.peek() == ']') {
            break;
        }
        const int32_t width = cursor.GetInt();
        if (code >= 0 && code < 256) {
            font.widths[code] = width;
        }
    }
    font.widthsPresent = true;
    if (!referenced) {
        at = cursor.position();
    }
    return true;
}

bool CReader::GetFontFile2(int32_t object, const std::string& fontName) {
    if (FindFont(fontName) >= 0) {
        return true;
    }
    // A program written before (whose face goes by another name than the font's) is not
    // written and registered again.
    const std::filesystem::path path = fontFilePath(fontName, ".ttf");
    const std::vector<std::filesystem::path>& added = libraryState().addedFontFiles;
    if (std::find(added.begin(), added.end(), path) != added.end()) {
        return true;
    }
    const std::optional<std::vector<uint8_t>> data = ReadStreamByID(object);
    if (!data) {
        return false;
    }
    if (!writeFile(path,
                   std::string_view(reinterpret_cast<const char*>(data->data()), data->size()))) {
        SetErrorCode(kOpenFileError);
        return false;
    }
    libraryState().addedFontFiles.push_back(path);
    surface::FontService::instance().addFontFile(path);
    RDLL_Init(1);
    return true;
}

bool CReader::GetFontFile(TFont& font, int32_t object, const std::string& fontName) {
    const std::filesystem::path path = fontFilePath(fontName, ".pfb");
    std::vector<std::filesystem::path>& written = libraryState().type1Files;
    if (std::find(written.begin(), written.end(), path) == written.end()) {
        const std::optional<std::string> objectText = ReadObjToBufferByID(object);
        const std::optional<std::vector<uint8_t>> data = ReadStreamByID(object);
        if (!objectText || !data) {
            return false;
        }
        const std::string_view dictionary =
            std::string_view(*objectText).substr(0, objectText->find("stream"));
        std::string program(data->begin(), data->end());
        if (LookupInt(dictionary, "Length3") == 0) {
            // The fixed trailer a Type 1 program ends with, when the file leaves it out.
            for (int line = 0; line < 8; ++line) {
                program += std::string(64, '0') + "\r\n";
            }
            program += "cleartomark\r\n";
        }
        if (!writeFile(path, program)) {
            SetErrorCode(kOpenFileError);
            return false;
        }
        written.push_back(path);
    }
    font.type1File = true;
    return true;
}

bool CReader::GetFontDetail(TFont& font, int32_t n, int depth, std::vector<int32_t>& seen) {
    if (depth > kMaxFontDepth) {
        return false;
    }
    // An object named again (a descriptor listed twice, or naming itself) adds nothing.
    if (std::find(seen.begin(), seen.end(), n) != seen.end()) {
        return true;
    }
    seen.push_back(n);
    const std::optional<std::string> object = ReadObjToBufferByID(n);
    if (!object) {
        return false;
    }
    const std::string_view text = *object;
    TextCursor cursor(text);
    cursor.SkipObjectHeader();
    while (!cursor.atEnd()) {
        const size_t before = cursor.position();
        const std::string key = cursor.ReadName(64);
        if (key == "Type") {
            cursor.ReadName(64);  // its value names no key
        } else if (key == "Subtype") {
            font.type1 = cursor.ReadName(64).find("Type1") != std::string::npos;
        } else if (key == "BaseFont") {
            font.baseFont = fontNameOf(cursor.ReadName(256), font);
        } else if (key == "FontName") {
            font.fontName = fontNameOf(cursor.ReadName(256), font);
        } else if (key == "Encoding") {
            font.encoding = cursor.ReadName(100);
        } else if (key == "FirstChar") {
            font.firstChar = cursor.GetInt();
        } else if (key == "LastChar") {
            font.lastChar = cursor.GetInt();
        } else if (key == "Widths") {
            size_t at = cursor.position();
            GetFontWidths(font, text, at);
            cursor.setPosition(at);
        } else if (key == "FontDescriptor" || key == "DescendantFonts") {
            cursor.SkipWhite();
            if (cursor.peek() == '[') {
                cursor.advance();
                cursor.SkipWhite();
                if (cursor.peek() == ']') {
                    continue;
                }
            }
            if (!GetFontDetail(font, cursor.GetInt(), depth + 1, seen)) {
                return false;
            }
        } else if (key == "FontFile2" || key == "FontFile") {
            const int32_t file = cursor.GetInt();
            const std::string& name = font.fontName.empty() ? font.baseFont : font.fontName;
            const bool written =
                key == "FontFile2" ? GetFontFile2(file, name) : GetFontFile(font, file, name);
            if (!written) {
                return false;
            }
        } else if (key == "MissingWidth") {
            font.missingWidth = cursor.GetInt();
        } else if (key == "StemV") {
            font.stemV = cursor.GetInt();
        } else if (key == "StemH") {
            font.stemH = cursor.GetInt();
        } else if (key == "ItalicAngle") {
            font.italicAngle = cursor.GetInt();
        } else if (key == "CapHeight") {
            font.capHeight = cursor.GetInt();
        } else if (key == "XHeight") {
            font.xHeight = cursor.GetInt();
        } else if (key == "Ascent") {
            font.ascent = cursor.GetInt();
        } else if (key == "Descent") {
            font.descent = cursor.GetInt();
        } else if (key == "Leading") {
            font.leading = cursor.GetInt();
        } else if (key == "MaxWidth") {
            font.maxWidth = cursor.GetInt();
        } else if (key == "AvgWidth") {
            font.averageWidth = cursor.GetInt();
        } else if (key == "CharSet") {
            font.charSet = std::atoi(cursor.GetString(32).c_str());
        }
        if (cursor.position() == before) {
            cursor.advance();
        }
    }
    return true;
}
