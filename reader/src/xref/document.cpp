#include "xref/document.h"

#include <algorithm>
#include <tuple>

#include "crypt/decrypt_strings.h"
#include "object/parser.h"
#include "xref/stream_data.h"

namespace reader::pdf {

namespace {

constexpr int kMaxReferenceChain = 16;
constexpr size_t kMaxNestedFetches = 32;

}  // namespace

std::unique_ptr<Document> Document::open(std::span<const uint8_t> data, std::string_view password,
                                         OpenError* error) {
    std::optional<XrefTable> table = readXref(data);
    bool repaired = false;
    if (!table) {
        table = repairXref(data);
        repaired = true;
    }
    std::unique_ptr<Document> document(new Document(data, std::move(*table)));
    document->repaired_ = repaired;
    OpenError failure = document->unlock(password);
    if (failure == OpenError::kNone && document->catalog() == nullptr && !repaired) {
        document->repair();
        // The rebuilt trailer may name the /Encrypt dictionary the sections lost.
        if (document->security_ == nullptr) {
            failure = document->unlock(password);
        }
    }
    if (failure == OpenError::kNone && document->catalog() == nullptr) {
        failure = OpenError::kDamaged;
    }
    if (error != nullptr) {
        *error = failure;
    }
    return failure == OpenError::kNone ? std::move(document) : nullptr;
}

OpenError Document::unlock(std::string_view password) {
    // Copies: looking the dictionary up may repair the table, and the trailer with it.
    const Object entry = table_.trailer.get("Encrypt");
    if (entry.isNull()) {
        return OpenError::kNone;
    }
    const Object encrypt = resolve(entry);
    const Dict* dict = encrypt.asDict();
    if (dict == nullptr) {
        // Naming no dictionary, it leaves nothing to decrypt with: the file is read as it
        // stands.
        return OpenError::kNone;
    }
    encryptRef_ = entry.asRef();
    OpenError error = OpenError::kNone;
    const Resolver resolver = [this](const Object& object) { return resolve(object); };
    const Dict trailer = table_.trailer;
    security_ = SecurityHandler::open(*dict, trailer, resolver, password, error);
    if (security_ == nullptr) {
        return error;
    }
    // Objects (and object streams) read so far were read without decryption; only the
    // dictionary's own stay.
    for (auto it = cache_.begin(); it != cache_.end();) {
        it = it->first == encryptRef_ ? std::next(it) : cache_.erase(it);
    }
    catalog_ = Object();
    objectStreams_.clear();
    return OpenError::kNone;
}

const Dict* Document::catalog() {
    if (catalog_.isNull()) {
        catalog_ = resolve(table_.trailer.get("Root"));
    }
    return catalog_.asStream() == nullptr ? catalog_.asDict() : nullptr;
}

std::optional<std::vector<uint8_t>> Document::decodeStream(const Stream& stream, size_t limit) {
    const ValueResolver resolver = [this](const Object& value) { return resolve(value); };
    // A stream the parameters name (JBIG2 globals) is decoded without naming others in turn.
    const StreamDecoder other = [&](const Stream& named) {
        return decodeStreamData(storedStream(named), named.dict, resolver);
    };
    if (security_ == nullptr) {
        // In the clear the stored bytes are decoded where they lie, without a copy.
        if (!readableWithoutKey(stream)) {
            return std::nullopt;
        }
        return decodeStreamData(rawStream(stream), stream.dict, resolver, limit, other);
    }
    const std::optional<std::vector<uint8_t>> clear = clearStream(stream);
    if (!clear) {
        return std::nullopt;
    }
    return decodeStreamData(*clear, stream.dict, resolver, limit, other);
}

std::vector<uint8_t> Document::storedStream(const Stream& stream) const {
    return clearStream(stream).value_or(std::vector<uint8_t>{});
}

std::span<const uint8_t> Document::rawStream(const Stream& stream) const {
    const size_t start = std::min(stream.offset, data_.size());
    return data_.subspan(start, std::min(stream.length, data_.size() - start));
}

bool Document::readableWithoutKey(const Stream& stream) const {
    // Without encryption only the Identity crypt filter leaves data readable.
    const std::optional<std::string> crypt = cryptFilterOf(stream.dict);
    return !crypt || *crypt == "Identity";
}

std::optional<std::vector<uint8_t>> Document::clearStream(const Stream& stream) const {
    const std::span<const uint8_t> raw = rawStream(stream);
    if (security_ != nullptr) {
        return security_->decryptStream(stream, raw);
    }
    if (!readableWithoutKey(stream)) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(raw.begin(), raw.end());
}

std::optional<Ref> Document::refOf(int32_t num) const {
    const XrefEntry* listed = table_.find(num);
    if (listed == nullptr || listed->kind == XrefEntry::Kind::kFree) {
        return std::nullopt;
    }
    return Ref{num, listed->kind == XrefEntry::Kind::kInFile ? listed->generation : 0};
}

std::vector<Ref> Document::objectsInFileOrder() const {
    // (offset of the object or of its stream, place in the stream, reference)
    std::vector<std::tuple<uint64_t, int32_t, Ref>> placed;
    for (const auto& [number, entry] : table_.entries) {
        if (entry.kind == XrefEntry::Kind::kInFile) {
            placed.emplace_back(entry.offset, -1, Ref{number, entry.generation});
        } else if (entry.kind == XrefEntry::Kind::kInStream) {
            const XrefEntry* stream = table_.find(entry.streamNumber);
            const uint64_t at = stream != nullptr && stream->kind == XrefEntry::Kind::kInFile
                                    ? stream->offset
                                    : UINT64_MAX;
            placed.emplace_back(at, entry.index, Ref{number, 0});
        }
    }
    std::sort(placed.begin(), placed.end());
    std::vector<Ref> refs;
    refs.reserve(placed.size());
    for (const auto& item : placed) {
        refs.push_back(std::get<2>(item));
    }
    return refs;
}

Object Document::resolve(const Object& object) {
    Object at = object;
    for (int step = 0; step < kMaxReferenceChain; ++step) {
        const std::optional<Ref> ref = at.asRef();
        if (!ref) {
            return at;
        }
        at = fetch(*ref);
    }
    return Object();
}

Object Document::fetch(Ref ref) {
    if (const auto cached = cache_.find(ref); cached != cache_.end()) {
        return cached->second;
    }
    // A reference cycle, or lengths and object streams nested past reason, read as null.
    if (loading_.size() >= kMaxNestedFetches || !loading_.insert(ref).second) {
        return Object();
    }
    // Entries are copied: reading an object may repair the table under them.
    std::optional<Object> object;
    const XrefEntry* listed = table_.find(ref.num);
    const std::optional<XrefEntry> entry =
        listed != nullptr ? std::optional<XrefEntry>(*listed) : std::nullopt;
    if (entry) {
        object = load(ref, *entry);
    }
    if (!object && entry && entry->kind == XrefEntry::Kind::kInFile && !repaired_) {
        // The table points at the wrong bytes: a scan of the file finds the object.
        repair();
        if (const XrefEntry* found = table_.find(ref.num)) {
            const XrefEntry rebuilt = *found;
            object = load(ref, rebuilt);
        }
    }
    loading_.erase(ref);
    Object result = object.value_or(Object());
    cache_.emplace(ref, result);
    return result;
}

std::optional<Object> Document::load(Ref ref, const XrefEntry& entry) {
    switch (entry.kind) {
        case XrefEntry::Kind::kInFile:
            return entry.generation == ref.gen ? loadFromFile(ref, entry.offset) : std::nullopt;
        case XrefEntry::Kind::kInStream:
            return ref.gen == 0 ? loadFromStream(ref, entry) : std::nullopt;
        case XrefEntry::Kind::kFree: return Object();
    }
    return std::nullopt;
}

std::optional<Object> Document::loadFromFile(Ref ref, uint64_t offset) {
    if (offset >= data_.size()) {
        return std::nullopt;
    }
    Parser parser(data_, size_t(offset));
    const auto length = [this](Ref lengthRef) { return fetch(lengthRef).asInt(); };
    std::optional<IndirectObject> object = parser.parseIndirect(length);
    if (!object || object->ref != ref) {
        return std::nullopt;
    }
    // Strings are encrypted except in the /Encrypt dictionary and cross-reference streams.
    const Stream* stream = object->object.asStream();
    if (security_ != nullptr && ref != encryptRef_ &&
        (stream == nullptr || !stream->dict.get("Type").isName("XRef"))) {
        return decryptStrings(object->object, *security_, ref);
    }
    return std::move(object->object);
}

std::optional<Object> Document::loadFromStream(Ref ref, const XrefEntry& entry) {
    const ObjectStream* stream = objectStream(entry.streamNumber);
    if (stream == nullptr) {
        return std::nullopt;
    }
    // The entry's index names the place; a stream listing the object elsewhere is believed.
    size_t place = size_t(entry.index);
    if (place >= stream->objects.size() || stream->objects[place].first != ref.num) {
        place = stream->objects.size();
        for (size_t i = 0; i < stream->objects.size(); ++i) {
            if (stream->objects[i].first == ref.num) {
                place = i;
                break;
            }
        }
    }
    if (place >= stream->objects.size()) {
        return std::nullopt;
    }
    Parser parser(stream->data, stream->objects[place].second);
    return parser.parseObject().value_or(Object());
}

const Document::ObjectStream* Document::objectStream(int32_t number) {
    if (const auto found = objectStreams_.find(number); found != objectStreams_.end()) {
        return found->second.get();
    }
    objectStreams_[number] = nullptr;  // also while it is read: no stream inside itself
    const Object object = fetch({number, 0});
    const Stream* stream = object.asStream();
    if (stream == nullptr || !stream->dict.get("Type").isName("ObjStm")) {
        return nullptr;
    }
    std::optional<std::vector<uint8_t>> decoded = decodeStream(*stream);
    const int64_t count = stream->dict.get("N").asInt().value_or(0);
    const int64_t first = stream->dict.get("First").asInt().value_or(-1);
    if (!decoded || count < 0 || first < 0 || uint64_t(first) > decoded->size()) {
        return nullptr;
    }
    auto contents = std::make_unique<ObjectStream>();
    Lexer lexer(*decoded);
    for (int64_t i = 0; i < count && i <= kMaxObjectNumber; ++i) {
        const Token objectNumber = lexer.next();
        const Token offset = lexer.next();
        if (objectNumber.kind != Token::Kind::Integer || offset.kind != Token::Kind::Integer ||
            offset.integer < 0 || uint64_t(first + offset.integer) > decoded->size()) {
            break;
        }
        contents->objects.emplace_back(
            int32_t(std::clamp<int64_t>(objectNumber.integer, -1, kMaxObjectNumber)),
            size_t(first + offset.integer));
    }
    contents->data = std::move(*decoded);
    return (objectStreams_[number] = std::move(contents)).get();
}

void Document::repair() {
    repaired_ = true;
    XrefTable rebuilt = repairXref(data_);
    // Objects the sections gave and the scan did not find keep their entries.
    for (const auto& [number, entry] : table_.entries) {
        rebuilt.entries.emplace(number, entry);
    }
    if (!rebuilt.trailer.has("Root")) {
        rebuilt.trailer = table_.trailer;
    }
    table_ = std::move(rebuilt);
    catalog_ = Object();
    // Objects that read as missing are read again from the new table.
    for (auto it = cache_.begin(); it != cache_.end();) {
        it = it->second.isNull() ? cache_.erase(it) : std::next(it);
    }
}

}  // namespace reader::pdf
