// A PDF file's objects, fetched by reference through its cross-reference table and kept once
// read. A table that points at the wrong bytes is rebuilt by scanning the file, once.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <span>
#include <vector>

#include "filters/byte_source.h"
#include "object/object.h"
#include "xref/xref_table.h"

namespace reader::pdf {

class Document {
  public:
    /// The document in `data`, which the caller keeps while it lives; null when neither the
    /// file's cross-reference sections nor a scan of it find a catalog.
    static std::unique_ptr<Document> open(std::span<const uint8_t> data);

    const Dict& trailer() const { return table_.trailer; }
    XrefTable::Form xrefForm() const { return table_.form; }
    size_t objectCount() const { return table_.entries.size(); }

    /// The object `ref` names; null when the file lacks it or it cannot be read.
    Object fetch(Ref ref);
    /// `object`, or what it refers to when it is a reference.
    Object resolve(const Object& object);
    /// The catalog's dictionary; null when the root is not a dictionary.
    const Dict* catalog();
    /// The data of `stream`, one of this document's, through its filters, as far as `limit`
    /// bytes; nothing when it names a filter the reader lacks or does not decode.
    std::optional<std::vector<uint8_t>> decodeStream(const Stream& stream,
                                                     size_t limit = kMaxDecodedBytes);
    /// The data of `stream` as stored, before its filters (what a copy of it writes).
    std::vector<uint8_t> storedStream(const Stream& stream) const;
    /// The table's entry for object number `num`, or null.
    const XrefEntry* entry(int32_t num) const { return table_.find(num); }
    /// The reference the table gives object number `num` (its generation), or nothing for a
    /// free or unlisted number.
    std::optional<Ref> refOf(int32_t num) const;
    /// Every object the table lists, in the order they stand in the file (objects of an object
    /// stream where that stream stands, in its order).
    std::vector<Ref> objectsInFileOrder() const;
    /// The bytes of the file the document was opened from.
    std::span<const uint8_t> data() const { return data_; }

  private:
    /// The decoded data and object places of one object stream.
    struct ObjectStream {
        std::vector<uint8_t> data;
        std::vector<std::pair<int32_t, size_t>> objects;  // number, offset in data
    };

    explicit Document(std::span<const uint8_t> data, XrefTable table)
        : data_(data), table_(std::move(table)) {}
    std::optional<Object> load(Ref ref, const XrefEntry& entry);
    std::optional<Object> loadFromFile(Ref ref, uint64_t offset);
    std::optional<Object> loadFromStream(Ref ref, const XrefEntry& entry);
    const ObjectStream* objectStream(int32_t number);
    void repair();

    std::span<const uint8_t> data_;
    XrefTable table_;
    bool repaired_ = false;
    Object catalog_;
    std::map<Ref, Object> cache_;
    std::set<Ref> loading_;  // the objects being read, so that a cycle reads as null
    std::map<int32_t, std::unique_ptr<ObjectStream>> objectStreams_;
};

}  // namespace reader::pdf
