// Where the font programs of PDF files are written in the temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace reader {

/// The file of an embedded font program: the font name's letters and digits (anything else
/// replaced, so that no name reaches outside the folder) and `extension`.
std::filesystem::path fontFilePath(const std::string& fontName, const char* extension);

}  // namespace reader
