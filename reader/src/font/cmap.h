// CMaps of composite fonts: how a string's bytes split into codes (the codespace ranges, one
// to four bytes long) and which CID each code selects (cidrange, cidchar, notdefrange),
// read from embedded CMap streams and from the predefined CMaps installed with poppler-data.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace reader::pdf {

/// One code of a string: its value and how many bytes it took.
struct CharCode {
    uint32_t code = 0;
    uint8_t bytes = 1;
};

class CMap {
  public:
    /// CMaps used by CMaps (usecmap) at most, one inside the other.
    static constexpr int kMaxUseDepth = 8;
    /// Mappings kept at most; a CMap with more is cut there.
    static constexpr size_t kMaxMappings = 1u << 20;

    /// The CMap a usecmap names, or null; called with the depth reached.
    using Resolver = std::function<std::shared_ptr<const CMap>(std::string_view name, int depth)>;

    /// The CMap program in `text`; `used` finds the CMaps it uses by name. A malformed entry is
    /// passed over; a CMap without codespace ranges splits strings into two-byte codes.
    static std::shared_ptr<CMap> parse(std::span<const uint8_t> text, const Resolver& used = {},
                                       int depth = 0);
    /// Identity-H or Identity-V: two-byte codes that are their CIDs.
    static std::shared_ptr<const CMap> identity(bool vertical);

    /// The code `text` starts with (not empty); a code outside every codespace range takes the
    /// length of the range it comes closest to.
    CharCode nextCode(std::span<const uint8_t> text) const;
    /// The CID of `code`; the notdef range's CID or 0 when none maps it.
    uint32_t cidOf(CharCode code) const;
    bool vertical() const { return vertical_; }
    const std::string& name() const { return name_; }

    /// Makes this CMap extend `base` (as usecmap does): the base's codespace ranges added,
    /// its mappings looked up after this one's.
    void use(std::shared_ptr<const CMap> base);

  private:
    struct Codespace {
        uint8_t bytes = 1;
        uint8_t low[4] = {};
        uint8_t high[4] = {};
    };
    struct Mapping {
        uint8_t bytes = 1;
        uint32_t low = 0;
        uint32_t high = 0;
        uint32_t cid = 0;
    };

    /// The CID the ranges in `mappings` give `code`, if any: the range's first CID plus the
    /// code's place in it when `offset` is set, its one CID otherwise.
    static std::optional<uint32_t> find(const std::vector<Mapping>& mappings, CharCode code,
                                        bool offset);
    std::optional<uint32_t> mapped(CharCode code) const;
    std::optional<uint32_t> notdef(CharCode code) const;
    void sort();

    std::string name_;
    bool vertical_ = false;
    bool identity_ = false;
    std::vector<Codespace> codespaces_;
    std::vector<Mapping> mappings_;  // sorted by length, then low
    std::vector<Mapping> notdefs_;   // likewise
    std::shared_ptr<const CMap> base_;
};

/// The predefined CMap `name` (Identity-H, Identity-V, or a CMap of poppler-data's cMap
/// folder, such as UniGB-UCS2-H), or null when it is not installed; `depth` counts the
/// usecmap chain that led here.
std::shared_ptr<const CMap> loadPredefinedCMap(std::string_view name, int depth = 0);

/// The text of the predefined CMap file `name` in poppler-data's cMap folder; nothing when
/// there is none or the name could reach outside the folder.
std::optional<std::vector<uint8_t>> predefinedCMapText(std::string_view name);

/// Where poppler-data's CMaps lie.
inline constexpr std::string_view kPredefinedCMapFolder = "/usr/share/poppler/cMap";

}  // namespace reader::pdf
