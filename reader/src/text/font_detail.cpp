// Font dictionaries: names, widths and metrics, and embedded font programs written to the
// library's own temporary folder where the system and the glyph rasteriser find them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "library/library_state.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "surface/font_service.h"
#include "surface/text_decode.h"
#include "text/font_files.h"
#include "xref/document.h"

using namespace reader;

namespace {

// Font descriptors and descendant fonts nested deeper than this are not followed (a font
// naming itself ends there too).
constexpr int kMaxFontDepth = 8;
// Width entries read from one array at most.
constexpr int32_t kMaxWidths = 65536;

// A font name as the dictionary writes it: the subset tag before "+" dropped, the style after
// "," taken off (and noted).
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
    return word.substr(0, 99);
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

// Creates `path` afresh (never through a link, never over a file already there) and writes
// `data` to it.
bool writeFile(const std::filesystem::path& path, std::string_view data) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool written = true;
    while (written && !data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        written = n > 0;
        if (written) {
            data.remove_prefix(size_t(n));
        }
    }
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

constexpr char kFolderPrefix[] = "brindle-fonts-";

// "brindle-fonts-PID-XXXXXX": the process that made it, so that a later one can tell a folder
// left behind by a process that has ended.
std::optional<pid_t> folderOwner(const std::string& name) {
    if (!name.starts_with(kFolderPrefix)) {
        return std::nullopt;
    }
    const std::string rest = name.substr(sizeof kFolderPrefix - 1);
    const size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9 ||
        rest.find_first_not_of("0123456789") != dash) {
        return std::nullopt;
    }
    return pid_t(std::stol(rest.substr(0, dash)));
}

}  // namespace

// A folder of this process alone (mode 0700, a fresh name): no other user can place a file or
// a link where a font program is about to be written.
std::optional<std::filesystem::path> reader::fontFilePath(const std::string& fontName,
                                                          const char* extension) {
    std::filesystem::path& folder = libraryState().fontFolder;
    if (folder.empty()) {
        std::error_code error;
        const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
        if (error) {
            WriteLog(kLogError, "%s\r\n", "Font programs are not loaded: no temporary folder.");
            return std::nullopt;
        }
        std::string pattern =
            (temporary / (kFolderPrefix + std::to_string(::getpid()) + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            WriteLog(kLogError, "%s(%s)\r\n",
                     "Font programs are not loaded: the font folder cannot be made",
                     pattern.c_str());
            return std::nullopt;
        }
        folder = pattern;
    }
    return folder / (safeFileName(fontName) + extension);
}

void reader::removeStaleFontFolders() {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    std::filesystem::directory_iterator entry(temporary, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::optional<pid_t> owner = folderOwner(entry->path().filename().string());
        struct stat info {};
        if (!owner || ::lstat(entry->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::getuid() || ::kill(*owner, 0) == 0 || errno != ESRCH) {
            continue;
        }
        std::error_code ignored;
        std::filesystem::remove_all(entry->path(), ignored);
    }
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

void CReader::GetFontWidths(TFont& font, const pdf::Object& widths) {
    const pdf::Object resolved = document_->resolve(widths);
    const pdf::Array* array = resolved.asArray();
    if (array == nullptr) {
        return;
    }
    for (size_t i = 0; i < array->size() && i < size_t(kMaxWidths); ++i) {
        const int64_t code = int64_t(font.firstChar) + int64_t(i);
        if (code > font.lastChar) {
            break;
        }
        const std::optional<double> width = document_->resolve((*array)[i]).asNumber();
        if (code >= 0 && code < 256) {
            font.widths[code] = int32_t(std::clamp(width.value_or(0.0), -1e9, 1e9));
        }
    }
    font.widthsPresent = true;
}

bool CReader::GetFontFile2(const pdf::Object& file, const std::string& fontName) {
    if (FindFont(fontName) >= 0) {
        return true;
    }
    // A program written before (whose face goes by another name than the font's) is not
    // written and registered again.
    const std::optional<std::filesystem::path> path = fontFilePath(fontName, ".ttf");
    if (!path) {
        return false;  // the text is drawn in the substitute face
    }
    const std::vector<std::filesystem::path>& added = libraryState().addedFontFiles;
    if (std::find(added.begin(), added.end(), *path) != added.end()) {
        return true;
    }
    const pdf::Object object = document_->resolve(file);
    const pdf::Stream* stream = object.asStream();
    const std::optional<std::vector<uint8_t>> data =
        stream != nullptr ? document_->decodeStream(*stream) : std::nullopt;
    if (!data) {
        return false;
    }
    if (!writeFile(*path,
                   std::string_view(reinterpret_cast<const char*>(data->data()), data->size()))) {
        SetErrorCode(kOpenFileError);
        return false;
    }
    libraryState().addedFontFiles.push_back(*path);
    surface::FontService::instance().addFontFile(*path);
    RDLL_Init(1);
    return true;
}

bool CReader::GetFontFile(TFont& font, const pdf::Object& file, const std::string& fontName) {
    const std::optional<std::filesystem::path> path = fontFilePath(fontName, ".pfb");
    if (!path) {
        return false;  // the text is drawn in the substitute face
    }
    std::vector<std::filesystem::path>& written = libraryState().type1Files;
    if (std::find(written.begin(), written.end(), *path) == written.end()) {
        const pdf::Object object = document_->resolve(file);
        const pdf::Stream* stream = object.asStream();
        const std::optional<std::vector<uint8_t>> data =
            stream != nullptr ? document_->decodeStream(*stream) : std::nullopt;
        if (!data) {
            return false;
        }
        std::string program(data->begin(), data->end());
        if (document_->resolve(stream->dict.get("Length3")).asInt() == 0) {
            // The fixed trailer a Type 1 program ends with, when the file leaves it out.
            for (int line = 0; line < 8; ++line) {
                program += std::string(64, '0') + "\r\n";
            }
            program += "cleartomark\r\n";
        }
        if (!writeFile(*path, program)) {
            SetErrorCode(kOpenFileError);
            return false;
        }
        written.push_back(*path);
    }
    font.type1File = true;
    return true;
}

bool CReader::GetFontDetail(TFont& font, const pdf::Dict& dict, int depth) {
    if (depth > kMaxFontDepth) {
        return false;
    }
    const auto value = [&](std::string_view key) { return document_->resolve(dict.get(key)); };
    const auto number = [&](std::string_view key, int32_t& field) {
        if (const std::optional<double> n = value(key).asNumber()) {
            field = int32_t(std::clamp(*n, -1e9, 1e9));
        }
    };
    const auto name = [&](std::string_view key) {
        return std::string(value(key).asName().value_or(""));
    };
    if (dict.has("Subtype")) {
        font.type1 = name("Subtype").find("Type1") != std::string::npos;
    }
    if (dict.has("BaseFont")) {
        font.baseFont = fontNameOf(name("BaseFont"), font);
    }
    if (dict.has("FontName")) {
        font.fontName = fontNameOf(name("FontName"), font);
    }
    if (const pdf::Object encoding = value("Encoding"); !encoding.isNull()) {
        const pdf::Dict* differences = encoding.asDict();
        font.encoding =
            differences != nullptr
                ? std::string(
                      document_->resolve(differences->get("BaseEncoding")).asName().value_or(""))
                : std::string(encoding.asName().value_or(""));
    }
    number("FirstChar", font.firstChar);
    number("LastChar", font.lastChar);
    if (dict.has("Widths")) {
        GetFontWidths(font, dict.get("Widths"));
    }
    number("MissingWidth", font.missingWidth);
    number("StemV", font.stemV);
    number("StemH", font.stemH);
    number("ItalicAngle", font.italicAngle);
    number("CapHeight", font.capHeight);
    number("XHeight", font.xHeight);
    number("Ascent", font.ascent);
    number("Descent", font.descent);
    number("Leading", font.leading);
    number("MaxWidth", font.maxWidth);
    number("AvgWidth", font.averageWidth);
    number("CharSet", font.charSet);
    const std::string& programName = font.fontName.empty() ? font.baseFont : font.fontName;
    // An embedded TrueType program is not written out and registered with the installed faces
    // here: pages draw it from the document, and a face registered by its family's name would
    // give its glyphs to every other subset of that family.
    if (dict.has("FontFile") && !GetFontFile(font, dict.get("FontFile"), programName)) {
        return false;
    }
    // The descriptor and the descendant font (the first of the array) add their details.
    for (const char* key : {"FontDescriptor", "DescendantFonts"}) {
        pdf::Object next = value(key);
        if (const pdf::Array* array = next.asArray()) {
            next = array->empty() ? pdf::Object() : document_->resolve(array->front());
        }
        const pdf::Dict* nested = next.asDict();
        if (nested != nullptr && nested != &dict && !GetFontDetail(font, *nested, depth + 1)) {
            return false;
        }
    }
    return true;
}
