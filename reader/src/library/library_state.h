// The library-wide state of the reader: the ten readers of the flat interface, the installed
// font table, the font files the library added, and the last error of the file functions.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "reader/creader.h"
#include "surface/types.h"

namespace reader {

inline constexpr int kReaderSlots = 10;

struct LibraryState {
    std::array<std::unique_ptr<CReader>, kReaderSlots> readers;
    /// The installed faces, when the library is initialised.
    std::optional<std::vector<surface::LogFont>> installedFonts;
    /// The index of each installed face by its folded name (lower case, no spaces), the first of
    /// equal names; made on the first look-up after the table is.
    std::unordered_map<std::string, int> installedFaceIndex;
    /// The library's own folder in the temporary folder, where font programs are written;
    /// empty until the first is.
    std::filesystem::path fontFolder;
    /// TrueType files written to the font folder and registered.
    std::vector<std::filesystem::path> addedFontFiles;
    /// Type 1 fonts written to the font folder as NAME.pfb.
    std::vector<std::filesystem::path> type1Files;
    int lastLibraryError = 0;
};

LibraryState& libraryState();

/// The reader in slot `handle`, or null for a handle outside 0..9 or an empty slot.
CReader* readerAt(int handle);

/// Records a file function's error by the first-error rule.
inline void setLibraryError(int code) {
    if (libraryState().lastLibraryError == 0) {
        libraryState().lastLibraryError = code;
    }
}

}  // namespace reader
