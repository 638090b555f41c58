#include "stream/page_stream.h"

#include <algorithm>

#include "stream/element_record.h"

namespace vyn {

namespace {

// How a command's operand length is found.
enum class Length : uint8_t {
    Fixed,            // `words` words
    MarkerFF00,       // 5, or 7 when w5 >= 0xFF00
    MarkerFFFF,       // 5, or 7 when w5 == 0xFFFF
    MarkerC000,       // 5, or 7 when w5 >= 0xC000
    MarkerAboveC000,  // 5, or 7 when w5 > 0xC000
    PointList,        // 2 * CountListWords + 1
    PointBlock,       // 3 + 2n, n = w1 signed
    PathPicture,      // 7 + (w6 / 2 + 1)
    ByDocType,        // 1 for document type 2, 3 for any other
    Record,           // ParsePrimary of the element's record
    Unknown,          // not a command to this reader: one skipped word
};

struct CommandEntry {
    uint16_t code;
    Length length;
    uint8_t words = 0;
};

constexpr CommandEntry fixed(uint16_t code, uint8_t words) { return {code, Length::Fixed, words}; }
constexpr CommandEntry measured(uint16_t code, Length length) { return {code, length}; }

constexpr bool sortedByCode(std::span<const CommandEntry> table) {
    return std::is_sorted(
        table.begin(), table.end(),
        [](const CommandEntry& a, const CommandEntry& b) { return a.code < b.code; });
}

// Commands of the first dialect (document type 0); the drawn elements are measured by records.
constexpr auto kFirstDialect = std::to_array<CommandEntry>({
    fixed(kSetLinePosition, 1),
    fixed(kSetFontCode, 1),
    fixed(kPageExtent, 1),
    fixed(kEndOfPage, 1),
    fixed(kEndOfPageBare, 0),
    measured(kRule06, Length::Record),
    measured(kRule07, Length::Record),
    measured(kRule08, Length::Record),
    measured(kPicture, Length::Record),
    measured(kEllipse, Length::Record),
    measured(kBracket0C, Length::Record),
    measured(kBracket0D, Length::Record),
    measured(kCornerFrame10, Length::Record),
    measured(kCornerFrame11, Length::Record),
    measured(kSizedFrame16, Length::Record),
    measured(kSizedFrame17, Length::Record),
    fixed(kSwapAxesOn, 1),
    fixed(kSwapAxesOff, 1),
    fixed(kPushOffset, 3),
    fixed(kPopOffset, 1),
    fixed(kSetFontNumber, 1),
    fixed(0x801E, 1),
    measured(kLegacyFrame, Length::Record),
    fixed(kSetWeight, 1),
    fixed(0x8022, 1),
    fixed(kSetSlant, 1),
    fixed(kSetRotation25, 1),
    measured(kArrowRule, Length::Record),
    measured(kHeavyRule, Length::Record),
    measured(kHeavyRuleAlt, Length::Record),
    fixed(0x8030, 1),
    fixed(0x8031, 1),
    fixed(0x8032, 1),
    fixed(0x8033, 1),
    fixed(0x8034, 1),
    fixed(0x8035, 1),
    fixed(kCheckMark, 3),
    fixed(kSymbolMark, 3),
    fixed(kSetRotation65, 1),
    fixed(kSetCharWidth, 1),
    fixed(kSetCharHeight, 1),
    fixed(0x8072, 1),
    fixed(0x8073, 1),
    fixed(0x8074, 1),
    fixed(kArrowheadC000, 1),
    fixed(kArrowheadC001, 1),
    fixed(0xC052, 3),
    fixed(0xC053, 1),
    fixed(0xC054, 1),
    fixed(0xFFFF, 1),
});

// Commands of the second dialect (every other document type).
constexpr auto kSecondDialect = std::to_array<CommandEntry>({
    fixed(kSetLinePosition, 1),
    fixed(kSetFontCode, 1),
    fixed(kPageExtent, 1),
    fixed(kEndOfPage, 1),
    fixed(kEndOfPageBare, 0),
    measured(kRule06, Length::MarkerFF00),
    measured(kRule07, Length::MarkerFF00),
    measured(kRule08, Length::MarkerFF00),
    fixed(kPicture, 13),
    fixed(kEllipse, 11),
    fixed(kBracket0C, 5),
    fixed(kBracket0D, 5),
    measured(kCornerFrame10, Length::MarkerFF00),
    measured(kCornerFrame11, Length::MarkerFF00),
    measured(kRule12, Length::MarkerFF00),
    measured(kTypedPolyline, Length::PointList),
    measured(kPointList, Length::PointList),
    measured(kRule15, Length::MarkerFF00),
    measured(kSizedFrame16, Length::MarkerFF00),
    measured(kSizedFrame17, Length::MarkerFF00),
    fixed(kSwapAxesOn, 1),
    fixed(kSwapAxesOff, 1),
    fixed(kPushOffset, 3),
    fixed(kPopOffset, 1),
    fixed(kSetFontNumber, 1),
    fixed(kSetSymbolSet, 1),
    measured(kWidePolyline, Length::PointList),
    fixed(kLegacyFrame, 5),
    fixed(kSetWeight, 1),
    fixed(0x8022, 1),
    fixed(0x8023, 1),
    fixed(kSetSlant, 1),
    fixed(kSetRotation25, 1),
    fixed(0x8026, 1),
    measured(kArrowRule, Length::MarkerFFFF),
    measured(kHeavyRule, Length::MarkerFFFF),
    measured(kHeavyRuleAlt, Length::MarkerFFFF),
    measured(kPointBlock, Length::PointBlock),
    fixed(0x802C, 7),
    fixed(0x8030, 1),
    fixed(0x8031, 1),
    fixed(0x8032, 1),
    fixed(0x8033, 1),
    fixed(0x8034, 1),
    fixed(0x8035, 1),
    fixed(0x8036, 9),
    fixed(0x803B, 7),
    fixed(kSetCharSizeDoubled, 3),
    fixed(0x8048, 11),
    fixed(kCheckMark, 3),
    fixed(kSymbolMark, 3),
    fixed(kSetEmphasis, 1),
    fixed(kSetRotation65, 1),
    fixed(kRaiseNext, 1),
    fixed(0x8069, 1),
    fixed(kSetCharWidth, 1),
    fixed(kSetCharHeight, 1),
    fixed(0x8072, 1),
    fixed(0x8073, 1),
    fixed(0x8074, 1),
    fixed(kRadical, 5),
    fixed(kNamedPicture, 17),
    fixed(0x80CC, 3),
    fixed(0x80CE, 1),
    fixed(0x80D0, 1),
    fixed(0x80D2, 1),
    fixed(0x80D3, 1),
    fixed(0x80D5, 1),
    fixed(0x80F2, 1),
    fixed(0x80F3, 1),
    fixed(0x80F4, 1),
    fixed(0x80F6, 1),
    measured(kCommand80F7, Length::ByDocType),
    fixed(kSetColour, 1),
    measured(kPathPicture, Length::PathPicture),
    fixed(0x81FF, 3),
    fixed(0x9002, 1),
    fixed(0x9007, 1),
    fixed(kArrowheadC000, 1),
    fixed(kArrowheadC001, 1),
    fixed(0xC052, 3),
    fixed(0xC053, 1),
    fixed(0xC054, 1),
    fixed(kArrowheadFFFD, 1),
    fixed(kArrowheadFFFE, 1),
    fixed(0xFFFF, 1),
});

// Where the second-dialect character scanner measures differently from the interpreter; it is
// consulted before the second-dialect table.
constexpr auto kScannerExceptions = std::to_array<CommandEntry>({
    fixed(kTypedPolyline, 3),
    measured(kRule15, Length::PointList),
    measured(kArrowRule, Length::MarkerC000),
    measured(kHeavyRule, Length::MarkerC000),
    measured(kHeavyRuleAlt, Length::MarkerAboveC000),
    measured(kSymbolMark, Length::Unknown),
    measured(kNamedPicture, Length::Unknown),
    measured(0x80CC, Length::Unknown),
    measured(kPathPicture, Length::Unknown),
    measured(0x81FF, Length::Unknown),
    measured(0xC052, Length::Unknown),
});

static_assert(sortedByCode(kFirstDialect));
static_assert(sortedByCode(kSecondDialect));
static_assert(sortedByCode(kScannerExceptions));

constexpr CommandEntry kUnknown{0, Length::Unknown};

const CommandEntry* findIn(std::span<const CommandEntry> table, uint16_t code) {
    const auto found =
        std::lower_bound(table.begin(), table.end(), code,
                         [](const CommandEntry& entry, uint16_t c) { return entry.code < c; });
    return found != table.end() && found->code == code ? &*found : nullptr;
}

const CommandEntry& findCommand(uint16_t code, const StreamRules& rules) {
    if (rules.dialect == Dialect::First) {
        const CommandEntry* entry = findIn(kFirstDialect, code);
        return entry != nullptr ? *entry : kUnknown;
    }
    if (rules.scanner) {
        if (const CommandEntry* entry = findIn(kScannerExceptions, code)) {
            return *entry;
        }
    }
    const CommandEntry* entry = findIn(kSecondDialect, code);
    return entry != nullptr ? *entry : kUnknown;
}

// Words the page does not hold read as 0: they only decide the length of an element that is
// cut at the word count anyway.
uint16_t wordAt(std::span<const uint16_t> operand, size_t index) {
    return index < operand.size() ? operand[index] : 0;
}

size_t operandLength(uint16_t code, const CommandEntry& entry, std::span<const uint16_t> rest,
                     const StreamRules& rules) {
    const uint16_t marker = wordAt(rest, 5);
    switch (entry.length) {
        case Length::Fixed: return entry.words;
        case Length::MarkerFF00: return marker >= 0xFF00 ? 7 : 5;
        case Length::MarkerFFFF: return marker == 0xFFFF ? 7 : 5;
        case Length::MarkerC000: return marker >= 0xC000 ? 7 : 5;
        case Length::MarkerAboveC000: return marker > 0xC000 ? 7 : 5;
        case Length::PointList: return 2 * static_cast<size_t>(CountListWords(rest)) + 1;
        case Length::PointBlock: {
            // Our guard against a backward jump: a negative count would make the element end
            // before its own words, so it counts as 0 and the element takes 3 words.
            const int n = static_cast<int16_t>(wordAt(rest, 1));
            return 3 + 2 * static_cast<size_t>(std::max(n, 0));
        }
        case Length::PathPicture: return 7 + (wordAt(rest, 6) / 2 + 1);
        case Length::ByDocType: return rules.docType == 2 ? 1 : 3;
        case Length::Record:
            return static_cast<size_t>(createElementRecord(code)->ParsePrimary(rest));
        case Length::Unknown: return 1;
    }
    return 1;
}

constexpr std::array<int, 22> kSizeCodeUnits = {54,  62,  72,  82,  92,  108, 124, 144,
                                                162, 186, 216, 246, 282, 324, 370, 432,
                                                494, 576, 648, 740, 864, 988};

void sizeCodeToSize(int& value) {
    if (value >= 0 && value < static_cast<int>(kSizeCodeUnits.size())) {
        value = kSizeCodeUnits[static_cast<size_t>(value)] * 289 / 742;
    }
}

constexpr size_t kPictureWords = 13;
constexpr size_t kNameWord = 5;
constexpr size_t kNameLength = 7;

// Puts the file name of a `PathPicture`'s path over the record's name words. The path's bytes
// start at operand byte 14, low byte of each word first.
void putPathName(std::span<const uint16_t> operand, std::array<uint16_t, kPictureWords>& words) {
    const auto byteAt = [&](size_t i) -> uint8_t {
        const uint16_t word = operand[7 + i / 2];
        return static_cast<uint8_t>(i % 2 == 0 ? word : word >> 8);
    };
    const size_t available = operand.size() > 7 ? (operand.size() - 7) * 2 : 0;
    const size_t limit = std::min<size_t>(wordAt(operand, 6), available);
    size_t end = 0;
    size_t start = 0;
    for (; end < limit && byteAt(end) != 0; ++end) {
        if (byteAt(end) == '\\') {
            start = end + 1;
        }
    }
    const size_t length = std::min(end - start, kNameLength);
    for (size_t i = 0; i < length; ++i) {
        words[kNameWord + i] = byteAt(start + i);
    }
    words[kNameWord + length] = 0;
}

}  // namespace

StreamRules rulesForDrawing(int32_t docType) {
    return {docType == 0 ? Dialect::First : Dialect::Second, docType};
}

StreamRules rulesForScanning(int32_t docType) {
    if (docType == 0 || docType == 1) {
        return {Dialect::First, docType};
    }
    return {Dialect::Second, docType, true};
}

std::optional<StreamItem> PageStreamReader::next() {
    if (next_ >= words_.size()) {
        return std::nullopt;
    }
    StreamItem item = words_[next_] < 0x8000 ? readPosition() : readCommand();
    next_ = item.next;
    return item;
}

StreamItem PageStreamReader::readPosition() {
    StreamItem item;
    item.kind = ItemKind::Position;
    item.index = next_;
    item.next = next_ + 1;
    item.position = words_[next_];
    if (item.next == words_.size()) {
        // The first dialect owes a code word after every position.
        item.truncated = rules_.dialect == Dialect::First;
        return item;
    }
    const uint16_t following = words_[item.next];
    // A word whose high byte is 0x80 is a command, never a character code.
    const bool command = (following >> 8) == 0x80;
    bool character = true;
    if (rules_.dialect == Dialect::Second) {
        character = rules_.scanner ? !command : following >= 0x8000 && !command;
    }
    if (character) {
        item.kind = ItemKind::Character;
        item.code = following;
        ++item.next;
    }
    return item;
}

StreamItem PageStreamReader::readCommand() {
    const uint16_t code = words_[next_];
    const std::span<const uint16_t> rest = words_.subspan(next_ + 1);
    const CommandEntry& entry = findCommand(code, rules_);
    const size_t length = operandLength(code, entry, rest, rules_);
    const size_t taken = std::min(length, rest.size());
    StreamItem item;
    item.kind = entry.length == Length::Unknown ? ItemKind::Unknown : ItemKind::Command;
    item.index = next_;
    item.next = next_ + 1 + taken;
    item.code = code;
    item.operand = rest.first(taken);
    item.truncated = taken < length;
    return item;
}

int32_t CountListWords(std::span<const uint16_t> operand) {
    size_t count = 0;
    while (count + 1 < operand.size() && operand[count + 1] < 0xFF00) {
        ++count;
    }
    return static_cast<int32_t>((count + 2) / 2);
}

void SizeCodeToSize(int& width, int& height) {
    sizeCodeToSize(width);
    sizeCodeToSize(height);
}

std::optional<PictureRecord> buildPictureRecord(uint16_t code, std::span<const uint16_t> operand) {
    std::array<uint16_t, kPictureWords> words{};
    std::copy_n(operand.begin(), std::min(operand.size(), kPictureWords), words.begin());
    switch (code) {
        case kPicture: break;
        case kNamedPicture:
            // The name words start at operand byte 18.
            for (size_t i = 0; i < 8; ++i) {
                words[kNameWord + i] = wordAt(operand, 9 + i);
            }
            break;
        case kPathPicture: putPathName(operand, words); break;
        default: return std::nullopt;
    }
    PictureRecord record;
    record.tag = words[0];
    record.x = words[1];
    record.y = words[2];
    record.width = words[3];
    record.height = words[4];
    std::copy_n(words.begin() + kNameWord, record.name.size(), record.name.begin());
    return record;
}

static_assert(sizeof(PictureRecord) == 26);

}  // namespace vyn
