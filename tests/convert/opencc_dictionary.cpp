#include "opencc_dictionary.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace duoma_test {
namespace {

// Decodes well-formed UTF-8; opencc_dict writes nothing else.
std::u32string decodeUtf8(const std::string& text) {
    std::u32string result;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        result.push_back(cp);
        i += 1 + extra;
    }
    return result;
}

}  // namespace

std::optional<CharacterMap> loadOpenccDictionary(const std::string& name) {
    const std::filesystem::path source = "/usr/share/opencc/" + name + ".ocd2";
    if (!std::filesystem::exists(source) ||
        std::system("command -v opencc_dict > /dev/null 2>&1") != 0) {
        return std::nullopt;
    }
    // Test processes may run side by side: give each its own dump.
    const std::filesystem::path dump = std::filesystem::temp_directory_path() /
                                       ("duoma_" + name + "_" + std::to_string(getpid()) + ".txt");
    const std::string command = "opencc_dict -i '" + source.string() + "' -o '" + dump.string() +
                                "' -f ocd2 -t text > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return std::nullopt;
    }
    CharacterMap map;
    std::ifstream in(dump);
    for (std::string line; std::getline(in, line);) {
        const size_t tab = line.find('\t');
        const std::u32string key = decodeUtf8(line.substr(0, tab));
        if (tab == std::string::npos || key.size() != 1) {
            continue;
        }
        std::istringstream values(line.substr(tab + 1));
        for (std::string value; values >> value;) {
            if (const std::u32string candidate = decodeUtf8(value); candidate.size() == 1) {
                map[key[0]].push_back(candidate[0]);
            }
        }
    }
    std::filesystem::remove(dump);
    if (map.empty()) {
        return std::nullopt;
    }
    return map;
}

}  // namespace duoma_test
