// Where the font programs of PDF files are written: a private folder in the temporary folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace reader {

/// The file of an embedded font program in the library's own folder (made on first use, mode
/// 0700): the font name's letters and digits (anything else replaced, so that no name reaches
/// outside the folder) and `extension`. None when no such folder can be made: font programs
/// are never written into a folder others can write to.
std::optional<std::filesystem::path> fontFilePath(const std::string& fontName,
                                                  const char* extension);

/// Removes the font folders of processes of this user that no longer run.
void removeStaleFontFolders();

}  // namespace reader
