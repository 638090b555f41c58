// Rebuilding the cross-reference table of a damaged file by scanning it, as readers of real
// files must: every "N G obj" found, the objects of its object streams, its trailers.
#include <algorithm>
#include <string_view>

#include "object/parser.h"
#include "xref/stream_data.h"
#include "xref/xref_table.h"

namespace reader::pdf {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isRegularChar(char c) { return !isPdfWhite(uint8_t(c)) && !isPdfDelimiter(uint8_t(c)); }

// The start of "N G" before the "obj" at `at`, or nothing.
std::optional<size_t> objectHeaderBefore(std::string_view text, size_t at) {
    size_t p = at;
    const auto skipWhite = [&] {
        size_t n = 0;
        while (p > 0 && isPdfWhite(uint8_t(text[p - 1]))) {
            --p;
            ++n;
        }
        return n;
    };
    const auto skipDigits = [&] {
        size_t n = 0;
        while (p > 0 && isDigit(text[p - 1]) && n < 10) {
            --p;
            ++n;
        }
        return n;
    };
    skipWhite();
    if (skipDigits() == 0 || skipWhite() == 0 || skipDigits() == 0) {
        return std::nullopt;
    }
    if (p > 0 && isRegularChar(text[p - 1])) {
        return std::nullopt;
    }
    return p;
}

// The objects an object stream holds, entered where no object of the file has their number;
// a catalog among them is noted.
void enterObjectStream(std::span<const uint8_t> data, int32_t number, const Stream& stream,
                       XrefTable& table, std::map<int32_t, XrefEntry>& inStreams,
                       std::optional<Ref>& catalog) {
    const std::optional<std::vector<uint8_t>> decoded = decodeStreamData(data, stream);
    const int64_t count = stream.dict.get("N").asInt().value_or(0);
    const int64_t first = stream.dict.get("First").asInt().value_or(-1);
    if (!decoded || count <= 0 || first < 0 || uint64_t(first) > decoded->size()) {
        return;
    }
    Lexer lexer(*decoded);
    for (int64_t i = 0; i < count && i <= kMaxObjectNumber; ++i) {
        const Token object = lexer.next();
        const Token offset = lexer.next();
        if (object.kind != Token::Kind::Integer || offset.kind != Token::Kind::Integer ||
            object.integer < 0 || object.integer > kMaxObjectNumber) {
            break;
        }
        if (table.find(int32_t(object.integer)) == nullptr) {
            inStreams[int32_t(object.integer)] = {XrefEntry::Kind::kInStream, 0, 0, number,
                                                  int32_t(i)};
            const uint64_t at = uint64_t(first) + uint64_t(std::max<int64_t>(offset.integer, 0));
            Parser parser(*decoded, size_t(std::min<uint64_t>(at, decoded->size())));
            const std::optional<Object> value = parser.parseObject();
            if (!catalog && value && value->asDict() != nullptr &&
                value->asDict()->get("Type").isName("Catalog")) {
                catalog = Ref{int32_t(object.integer), 0};
            }
        }
    }
}

}  // namespace

XrefTable repairXref(std::span<const uint8_t> data) {
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    XrefTable table;
    table.form = XrefTable::Form::kRepaired;
    std::vector<std::pair<int32_t, Stream>> objectStreams;
    std::optional<Ref> catalog;
    Dict trailer;

    for (size_t at = text.find("obj"); at != std::string_view::npos;
         at = text.find("obj", at + 3)) {
        const bool ends = at + 3 >= text.size() || !isRegularChar(text[at + 3]);
        const std::optional<size_t> header = ends ? objectHeaderBefore(text, at) : std::nullopt;
        if (!header) {
            continue;
        }
        Parser parser(data, *header);
        const std::optional<IndirectObject> object = parser.parseIndirect();
        if (!object || object->ref.num > kMaxObjectNumber) {
            continue;
        }
        table.entries[object->ref.num] = {XrefEntry::Kind::kInFile, *header, object->ref.gen, 0, 0};
        if (const Dict* dict = object->object.asDict()) {
            if (dict->get("Type").isName("Catalog")) {
                catalog = object->ref;
            }
            const Stream* stream = object->object.asStream();
            if (stream != nullptr && dict->get("Type").isName("ObjStm")) {
                objectStreams.emplace_back(object->ref.num, *stream);
            }
            if (stream != nullptr && dict->get("Type").isName("XRef") && dict->has("Root")) {
                trailer = *dict;
            }
        }
        // The scan goes on after the object; but a stream whose data holds "endobj" ran on
        // into the objects after it (its endstream lost), so they are looked for inside it.
        size_t next = parser.position();
        if (const Stream* stream = object->object.asStream();
            stream != nullptr &&
            text.substr(stream->offset, stream->length).find("endobj") != std::string_view::npos) {
            next = stream->offset;
        }
        at = std::max(at, next > 3 ? next - 3 : at);
    }
    for (size_t at = text.find("trailer"); at != std::string_view::npos;
         at = text.find("trailer", at + 7)) {
        Parser parser(data, at + 7);
        const std::optional<Object> dict = parser.parseObject();
        if (dict && dict->asDict() != nullptr && dict->asDict()->has("Root")) {
            trailer = *dict->asDict();
        }
    }

    std::map<int32_t, XrefEntry> inStreams;
    for (const auto& [number, stream] : objectStreams) {
        enterObjectStream(data, number, stream, table, inStreams, catalog);
    }
    table.entries.merge(inStreams);

    // The trailer of the last section found; without one, or without a usable root, the
    // catalog found stands as root.
    trailer.set("Prev", Object());
    const std::optional<Ref> root = trailer.get("Root").asRef();
    if ((!root || table.find(root->num) == nullptr) && catalog) {
        trailer.set("Root", Object::ref(*catalog));
    }
    table.trailer = Dict();
    for (const auto& [key, value] : trailer.entries()) {
        if (!value.isNull() && key != "Prev" && key != "XRefStm") {
            table.trailer.set(key, value);
        }
    }
    return table;
}

}  // namespace reader::pdf
