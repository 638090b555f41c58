// The page word stream: command codes, the two dialects' grammars and the reader that walks a
// page item by item. It is the one place that knows operand lengths; it draws nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vyn {

/// Command codes of the page word stream. Where several codes share a name, the name carries the
/// code's low digits.
enum CommandCode : uint16_t {
    kSetLinePosition = 0x8001,
    kSetFontCode = 0x8002,
    kPageExtent = 0x8003,
    kEndOfPage = 0x8004,
    kEndOfPageBare = 0x8005,
    kRule06 = 0x8006,
    kRule07 = 0x8007,
    kRule08 = 0x8008,
    kPicture = 0x800A,
    kEllipse = 0x800B,
    kBracket0C = 0x800C,
    kBracket0D = 0x800D,
    kCornerFrame10 = 0x8010,
    kCornerFrame11 = 0x8011,
    kRule12 = 0x8012,
    kTypedPolyline = 0x8013,
    kPointList = 0x8014,
    kRule15 = 0x8015,
    kSizedFrame16 = 0x8016,
    kSizedFrame17 = 0x8017,
    kSwapAxesOn = 0x8018,
    kSwapAxesOff = 0x8019,
    kPushOffset = 0x801A,
    kPopOffset = 0x801B,
    kSetFontNumber = 0x801C,
    kSetSymbolSet = 0x801D,
    kWidePolyline = 0x801F,
    kLegacyFrame = 0x8020,
    kSetWeight = 0x8021,
    kSetSlant = 0x8024,
    kSetRotation25 = 0x8025,
    kArrowRule = 0x8028,
    kHeavyRule = 0x8029,
    kHeavyRuleAlt = 0x802A,
    kPointBlock = 0x802B,
    kSetCharSizeDoubled = 0x8042,
    kCheckMark = 0x8050,
    kSymbolMark = 0x8051,
    kSetEmphasis = 0x8063,
    kSetRotation65 = 0x8065,
    kRaiseNext = 0x8067,
    kSetCharWidth = 0x8070,
    kSetCharHeight = 0x8071,
    kRadical = 0x8090,
    kNamedPicture = 0x809A,
    kCommand80F7 = 0x80F7,  ///< unnamed and without effect; its length follows the document type
    kSetColour = 0x80FF,
    kPathPicture = 0x810A,
    kArrowheadC000 = 0xC000,
    kArrowheadC001 = 0xC001,
    kArrowheadFFFD = 0xFFFD,
    kArrowheadFFFE = 0xFFFE,
};

enum class Dialect { First, Second };

/// How a page's words are to be read: the dialect, the document type for the variants within a
/// dialect, and whether the second-dialect character scanner's own grammar applies.
struct StreamRules {
    Dialect dialect;
    int32_t docType;
    bool scanner = false;
};

/// The grammar the page interpreters use: type 0 reads the first dialect, any other the second.
StreamRules rulesForDrawing(int32_t docType);
/// The grammar the character scanner uses: types 0 and 1 read exactly as the first-dialect
/// interpreter, any other type the second dialect with the scanner's own lengths and characters.
StreamRules rulesForScanning(int32_t docType);

enum class ItemKind {
    Character,  ///< a position word and a character code word
    Position,   ///< a position word with no character after it
    Command,    ///< a known command and its operand
    Unknown,    ///< a code the dialect does not know, with the one operand word it skips
};

/// One item of the page stream. Its operand views the page words it was read from.
struct StreamItem {
    ItemKind kind = ItemKind::Unknown;
    size_t index = 0;  ///< word index of the item's first word
    size_t next = 0;   ///< word index of the item after it
    /// Character, Position: the x coordinate of the character.
    uint16_t position = 0;
    /// Character: the code word, lead byte high; Command, Unknown: the command word.
    uint16_t code = 0;
    /// Command, Unknown: the operand words that lie inside the page.
    std::span<const uint16_t> operand;
    /// The item runs past the page's word count and was cut there; nothing follows it.
    bool truncated = false;
};

/// Walks a page's words item by item. Reads nothing outside the words it is given; the caller
/// keeps them alive and decides what to do at end-of-page commands, which are returned as any
/// other command.
class PageStreamReader {
  public:
    PageStreamReader(std::span<const uint16_t> words, StreamRules rules)
        : words_(words), rules_(rules) {}

    /// The next item; none once the word count is reached. A cut item ends at the word count.
    std::optional<StreamItem> next();
    /// Word index of the item the next call reads.
    size_t nextIndex() const { return next_; }

  private:
    StreamItem readPosition();
    StreamItem readCommand();

    std::span<const uint16_t> words_;
    StreamRules rules_;
    size_t next_ = 0;
};

/// Words of a point-list operand: counts the words from w1 up to the first word of 0xFF00 or
/// more (or the operand's end), c of them, and returns n = (c + 2) / 2; the element occupies
/// 2n + 1 operand words.
int32_t CountListWords(std::span<const uint16_t> operand);

/// Replaces each of the two values that is a size code (0 to 21) by its size in 1/289 inch;
/// other values stay as they are.
void SizeCodeToSize(int& width, int& height);

/// The 26-byte record every picture element is turned into.
struct PictureRecord {
    uint16_t tag = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    /// Up to 8 characters, one per word in the low byte, 0-terminated when shorter.
    std::array<uint16_t, 8> name{};

    bool operator==(const PictureRecord&) const = default;
};

/// The picture record of a `Picture`, `NamedPicture` or `PathPicture` element from its operand;
/// none for other codes. Words the operand does not hold read as 0.
std::optional<PictureRecord> buildPictureRecord(uint16_t code, std::span<const uint16_t> operand);

}  // namespace vyn
