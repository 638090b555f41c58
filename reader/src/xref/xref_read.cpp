// Reading the cross-reference sections: classic tables and cross-reference streams, joined
// along /Prev with the newest entry of each object winning.
#include <algorithm>
#include <set>
#include <string_view>

#include "object/parser.h"
#include "xref/stream_data.h"
#include "xref/xref_table.h"

namespace reader::pdf {

namespace {

constexpr size_t kTailSearch = size_t{1} << 20;  // where the last startxref is looked for
constexpr size_t kMissReach = 64;                // how far a startxref may miss its section
constexpr int kMaxSections = 4096;

std::string_view textOf(std::span<const uint8_t> data) {
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

std::optional<size_t> lastStartxref(std::span<const uint8_t> data) {
    const std::string_view text = textOf(data);
    const size_t from = text.size() > kTailSearch ? text.size() - kTailSearch : 0;
    const size_t at = text.rfind("startxref");
    if (at == std::string_view::npos || at < from) {
        return std::nullopt;
    }
    Lexer lexer(data, at + 9);
    const Token offset = lexer.next();
    if (offset.kind != Token::Kind::Integer || offset.integer < 0 ||
        uint64_t(offset.integer) >= data.size()) {
        return std::nullopt;
    }
    return size_t(offset.integer);
}

void setIfAbsent(XrefTable& table, int64_t number, const XrefEntry& entry) {
    if (number >= 0 && number <= kMaxObjectNumber) {
        table.entries.emplace(int32_t(number), entry);
    }
}

// The entries of a classic table after its "xref", up to "trailer". Subsection counts are not
// trusted: a subsection ends where its entries do.
bool readTableEntries(Lexer& lexer, std::map<int32_t, XrefEntry>& entries) {
    for (;;) {
        const Token first = lexer.next();
        if (first.isKeyword("trailer")) {
            return true;
        }
        const Token count = lexer.next();
        if (first.kind != Token::Kind::Integer || count.kind != Token::Kind::Integer ||
            first.integer < 0 || count.integer < 0) {
            return false;
        }
        int64_t number = first.integer;
        for (int64_t i = 0; i < count.integer && number <= kMaxObjectNumber; ++i, ++number) {
            const size_t at = lexer.position();
            const Token offset = lexer.next();
            const Token generation = lexer.next();
            const Token type = lexer.next();
            if (offset.kind != Token::Kind::Integer || generation.kind != Token::Kind::Integer ||
                (!type.isKeyword("n") && !type.isKeyword("f"))) {
                lexer.setPosition(at);
                break;
            }
            // Some writers number a table from 1 yet start it with object 0's free entry.
            if (i == 0 && number == 1 && type.isKeyword("f") && generation.integer == 65535) {
                number = 0;
            }
            XrefEntry entry;
            if (type.isKeyword("n") && offset.integer >= 0) {
                entry = {XrefEntry::Kind::kInFile, uint64_t(offset.integer),
                         int32_t(std::clamp<int64_t>(generation.integer, 0, 65535)), 0, 0};
            }
            entries.emplace(int32_t(number), entry);
        }
    }
}

uint64_t field(std::span<const uint8_t> row, size_t& at, int64_t width) {
    uint64_t value = 0;
    for (int64_t k = 0; k < width; ++k) {
        value = value << 8 | row[at++];
    }
    return value;
}

// The entries of a cross-reference stream; false when it is none.
bool readStreamEntries(std::span<const uint8_t> data, const Stream& stream, XrefTable& table) {
    if (!stream.dict.get("Type").isName("XRef")) {
        return false;
    }
    const Array* w = stream.dict.get("W").asArray();
    if (w == nullptr || w->size() < 3) {
        return false;
    }
    int64_t widths[3];
    for (size_t k = 0; k < 3; ++k) {
        widths[k] = (*w)[k].asInt().value_or(-1);
        if (widths[k] < 0 || widths[k] > 8) {
            return false;
        }
    }
    const size_t rowSize = size_t(widths[0] + widths[1] + widths[2]);
    const std::optional<std::vector<uint8_t>> rows = decodeStreamData(data, stream);
    if (!rows || rowSize == 0) {
        return false;
    }
    Array index;
    if (const Array* given = stream.dict.get("Index").asArray()) {
        index = *given;
    } else {
        index = {Object::integer(0), Object::integer(stream.dict.get("Size").asInt().value_or(0))};
    }
    size_t at = 0;
    for (size_t k = 0; k + 1 < index.size(); k += 2) {
        const int64_t first = index[k].asInt().value_or(-1);
        const int64_t count = index[k + 1].asInt().value_or(-1);
        for (int64_t i = 0; first >= 0 && i < count && at + rowSize <= rows->size(); ++i) {
            const uint64_t type = widths[0] == 0 ? 1 : field(*rows, at, widths[0]);
            const uint64_t second = field(*rows, at, widths[1]);
            const uint64_t third = field(*rows, at, widths[2]);
            XrefEntry entry;
            if (type == 1) {
                entry = {XrefEntry::Kind::kInFile, second,
                         int32_t(std::min<uint64_t>(third, 65535)), 0, 0};
            } else if (type == 2 && second <= uint64_t(kMaxObjectNumber) && third <= INT32_MAX) {
                entry = {XrefEntry::Kind::kInStream, 0, 0, int32_t(second), int32_t(third)};
            }
            setIfAbsent(table, first + i, entry);
        }
    }
    return true;
}

// Where the section a startxref names starts: at its offset, or at a table's "xref" a few
// bytes beside it.
std::optional<size_t> sectionStart(std::span<const uint8_t> data, size_t offset) {
    const Token first = Lexer(data, offset).next();
    if (first.isKeyword("xref") || first.kind == Token::Kind::Integer) {
        return offset;
    }
    const std::string_view text = textOf(data);
    const size_t from = offset > kMissReach ? offset - kMissReach : 0;
    for (size_t near = text.find("xref", from);
         near != std::string_view::npos && near < from + 2 * kMissReach;
         near = text.find("xref", near + 1)) {
        if (Lexer(data, near).next().isKeyword("xref") && (near == 0 || text[near - 1] != 't')) {
            return near;  // "startxref" itself is no section
        }
    }
    return std::nullopt;
}

// The section at `offset` (or a few bytes beside it) into `table`; its trailer, or nothing.
std::optional<Dict> readSection(std::span<const uint8_t> data, size_t offset, XrefTable& table,
                                bool& sawTable, bool& sawStream, bool& sawHybrid) {
    const std::optional<size_t> start = sectionStart(data, offset);
    if (!start) {
        return std::nullopt;
    }
    offset = *start;
    Lexer lexer(data, offset);
    const Token first = lexer.next();
    if (first.kind == Token::Kind::Integer) {
        Parser parser(data, offset);
        const std::optional<IndirectObject> object = parser.parseIndirect();
        const Stream* stream = object ? object->object.asStream() : nullptr;
        if (stream == nullptr || !readStreamEntries(data, *stream, table)) {
            return std::nullopt;
        }
        sawStream = true;
        return stream->dict;
    }
    std::map<int32_t, XrefEntry> entries;
    if (!readTableEntries(lexer, entries)) {
        return std::nullopt;
    }
    Parser parser(data, lexer.position());
    const std::optional<Object> trailer = parser.parseObject();
    if (!trailer || trailer->asDict() == nullptr) {
        return std::nullopt;
    }
    sawTable = true;
    // A hybrid file's stream holds the objects its table lists as free: read it first.
    if (const std::optional<int64_t> stm = trailer->asDict()->get("XRefStm").asInt();
        stm && *stm >= 0 && uint64_t(*stm) < data.size()) {
        Parser streamParser(data, size_t(*stm));
        const std::optional<IndirectObject> object = streamParser.parseIndirect();
        if (const Stream* stream = object ? object->object.asStream() : nullptr) {
            sawHybrid = readStreamEntries(data, *stream, table) || sawHybrid;
        }
    }
    for (const auto& [number, entry] : entries) {
        setIfAbsent(table, number, entry);
    }
    return *trailer->asDict();
}

}  // namespace

const XrefEntry* XrefTable::find(int32_t number) const {
    const auto found = entries.find(number);
    return found != entries.end() ? &found->second : nullptr;
}

std::optional<XrefTable> readXref(std::span<const uint8_t> data) {
    std::optional<size_t> offset = lastStartxref(data);
    XrefTable table;
    bool sawTable = false, sawStream = false, sawHybrid = false;
    std::set<size_t> visited;
    bool newest = true;
    while (offset && visited.insert(*offset).second && int(visited.size()) <= kMaxSections) {
        std::optional<Dict> trailer =
            readSection(data, *offset, table, sawTable, sawStream, sawHybrid);
        if (!trailer) {
            if (newest) {
                return std::nullopt;
            }
            break;  // an older section lost: what the newer ones give stands
        }
        for (const auto& [key, value] : trailer->entries()) {
            if (!table.trailer.has(key)) {
                table.trailer.set(key, value);
            }
        }
        newest = false;
        const std::optional<int64_t> prev = trailer->get("Prev").asInt();
        offset.reset();
        if (prev && *prev >= 0 && uint64_t(*prev) < data.size()) {
            offset = size_t(*prev);
        }
    }
    if (newest || table.trailer.get("Root").asRef() == std::nullopt) {
        return std::nullopt;
    }
    table.form = sawHybrid                ? XrefTable::Form::kHybrid
                 : sawStream && !sawTable ? XrefTable::Form::kStream
                                          : XrefTable::Form::kTable;
    return table;
}

}  // namespace reader::pdf
