// A PDF file's objects, fetched by reference through its cross-reference table and kept once
// read. A table that points at the wrong bytes is rebuilt by scanning the file, once.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <span>
#include <string_view>
#include <vector>

#include "crypt/security_handler.h"
#include "filters/byte_source.h"
#include "object/object.h"
#include "xref/open_error.h"
#include "xref/xref_table.h"

namespace reader::pdf {

class Document {
  public:
    /// The document in `data`, which the caller keeps while it lives. An encrypted file opens
    /// with its empty user password, or with `password` as its user or owner password. Null
    /// when neither the file's cross-reference sections nor a scan of it find a catalog, or
    /// when the file cannot be decrypted; `error`, when given, then says why.
    static std::unique_ptr<Document> open(std::span<const uint8_t> data,
                                          std::string_view password = {},
                                          OpenError* error = nullptr);

    const Dict& trailer() const { return table_.trailer; }
    XrefTable::Form xrefForm() const { return table_.form; }
    size_t objectCount() const { return table_.entries.size(); }

    /// Whether the file is encrypted (and, being open, was decrypted).
    bool encrypted() const { return security_ != nullptr; }
    /// The security handler of an encrypted file (revision, method, how it was unlocked);
    /// null for a file in the clear.
    const SecurityHandler* security() const { return security_.get(); }
    /// What the file allows; everything for a file in the clear.
    Permissions permissions() const {
        return security_ != nullptr ? security_->permissions() : Permissions{};
    }

    /// The object `ref` names; null when the file lacks it or it cannot be read.
    Object fetch(Ref ref);
    /// `object`, or what it refers to when it is a reference.
    Object resolve(const Object& object);
    /// The catalog's dictionary; null when the root is not a dictionary.
    const Dict* catalog();
    /// The data of `stream`, one of this document's, decrypted and through its filters, as far
    /// as `limit` bytes; nothing when it names a filter the reader lacks or does not decode.
    std::optional<std::vector<uint8_t>> decodeStream(const Stream& stream,
                                                     size_t limit = kMaxDecodedBytes);
    /// The data of `stream` as stored, decrypted, before its filters (what a copy of it
    /// writes); empty when the crypt filter it names is not the file's.
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
    /// Sets up the security handler when the trailer names an /Encrypt dictionary.
    OpenError unlock(std::string_view password);
    /// The stored data of `stream`, decrypted; nothing when it cannot be.
    std::optional<std::vector<uint8_t>> clearStream(const Stream& stream) const;
    /// The stream's bytes as the file holds them.
    std::span<const uint8_t> rawStream(const Stream& stream) const;
    /// Whether a file without encryption can read the stream (no crypt filter but Identity).
    bool readableWithoutKey(const Stream& stream) const;

    std::span<const uint8_t> data_;
    XrefTable table_;
    bool repaired_ = false;
    std::unique_ptr<SecurityHandler> security_;
    std::optional<Ref> encryptRef_;  // the /Encrypt dictionary's object, whose strings are clear
    Object catalog_;
    std::map<Ref, Object> cache_;
    std::set<Ref> loading_;  // the objects being read, so that a cycle reads as null
    std::map<int32_t, std::unique_ptr<ObjectStream>> objectStreams_;
};

}  // namespace reader::pdf
