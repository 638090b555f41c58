// opencc's character dictionaries, read back from the text dump of opencc_dict.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace duoma_test {

/// Each character of a dictionary mapped to its candidates, in the dictionary's order.
using CharacterMap = std::map<char32_t, std::vector<char32_t>>;

/// Loads /usr/share/opencc/<name>.ocd2; nullopt when opencc_dict or the dictionary is missing.
std::optional<CharacterMap> loadOpenccDictionary(const std::string& name);

}  // namespace duoma_test
