// The process's font table: installed families, face aliases, virtual symbol faces and font
// files registered at run time. Qt-free, so the engine and the reader can use it.
#pragma once

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "surface/types.h"

namespace surface {

/// Glyph byte -> Unicode map of a symbol face; 0 where the face has no glyph.
using SymbolMap = std::array<char16_t, 256>;

/// A face drawn by another family through a byte map.
struct VirtualFace {
    std::string name;
    std::string baseFamily;
    const SymbolMap* map = nullptr;
};

/// One line of the alias table: a face name and the installed families that may stand in for
/// it, best first, with the character set its records carry.
struct FaceAlias {
    enum class Kind : uint8_t { Alias, Symbol };
    Kind kind = Kind::Alias;
    std::string name;
    uint8_t charSet = kDefaultCharSet;
    std::vector<std::string> candidates;
};

/// Parses the tab-separated alias table; lines starting with '#' and blank lines are skipped.
/// Throws std::runtime_error naming the line on a malformed line.
std::vector<FaceAlias> parseAliasTable(std::string_view text);

/// The alias table built into the program (surface/fonts/aliases.tsv).
std::string_view builtInAliasTable();

class FontService {
  public:
    /// The process's table, read from fontconfig on first use.
    static FontService& instance();

    /// A table over the given installed families (records in enumeration order) and aliases.
    FontService(std::vector<LogFont> installed, std::vector<FaceAlias> aliases);

    /// Every face record: installed families, then aliases and virtual faces whose target is
    /// installed. Face names are UTF-8.
    const std::vector<LogFont>& faces() const { return faces_; }

    /// The 1-based position of the last record named `faceName` (ignoring ASCII letter case),
    /// skipping vertical "@" faces; 0 when none.
    int find(std::string_view faceName) const;

    /// The installed family that draws `faceName`: itself when installed, the first installed
    /// candidate of an alias or the base of a virtual face; empty when unknown.
    std::string familyFor(std::string_view faceName) const;

    /// The virtual face of that name, or null.
    const VirtualFace* virtualFace(std::string_view faceName) const;

    /// Makes a font file usable by its family names; returns them (empty on failure).
    std::vector<std::string> addFontFile(const std::filesystem::path& file);
    /// Forgets a file added before; false when it was not.
    bool removeFontFile(const std::filesystem::path& file);
    /// The registered file that provides `family`, or an empty path.
    std::filesystem::path fileFor(std::string_view family) const;

  private:
    struct Registered {
        std::filesystem::path file;
        std::vector<std::string> families;
    };

    void rebuild();
    std::vector<LogFont> installed_;
    std::vector<FaceAlias> aliases_;
    std::vector<Registered> registered_;
    std::vector<VirtualFace> virtualFaces_;
    std::vector<LogFont> faces_;
    std::vector<std::pair<std::string, std::string>> familyOf_;  // face -> drawing family
};

/// The 1-based position of the last record in `faces` named `faceName` (ignoring ASCII letter
/// case), skipping vertical "@" faces; 0 when none.
int findFace(std::span<const LogFont> faces, std::string_view faceName);

/// ASCII case-insensitive equality, the rule for face names.
bool sameFaceName(std::string_view a, std::string_view b);

/// Copies a UTF-8 name into a record's 32-byte face name, cut at a character boundary.
void setFaceName(LogFont& font, std::string_view name);

}  // namespace surface
