// The objects of a PDF file as the parser gives them: null, boolean, integer, real, string, name,
// array, dictionary, stream and indirect reference. Arrays, dictionaries and streams are shared
// and immutable once built, so objects copy cheaply and a document's cache can hand them out.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace reader::pdf {

/// An indirect reference: object number and generation.
struct Ref {
    int32_t num = 0;
    int32_t gen = 0;
    friend auto operator<=>(const Ref&, const Ref&) = default;
};

/// A string's bytes, as decoded from its literal or hexadecimal form.
struct String {
    std::string bytes;
    bool hex = false;
};

/// A name without its slash, its #xx escapes decoded.
struct Name {
    std::string text;
};

class Object;
class Dict;
using Array = std::vector<Object>;

/// A stream: its dictionary and where its data lies in the file, before any filter.
struct Stream;

class Object {
  public:
    enum class Kind : uint8_t {
        kNull,
        kBool,
        kInt,
        kReal,
        kString,
        kName,
        kArray,
        kDict,
        kStream,
        kRef
    };

    Object() = default;
    static Object boolean(bool value) { return Object(value); }
    static Object integer(int64_t value) { return Object(value); }
    static Object real(double value) { return Object(value); }
    static Object string(std::string bytes, bool hex = false) {
        return Object(String{std::move(bytes), hex});
    }
    static Object name(std::string text) { return Object(Name{std::move(text)}); }
    static Object array(Array items) {
        return Object(std::make_shared<const Array>(std::move(items)));
    }
    static Object dict(Dict entries);
    static Object stream(Stream stream);
    static Object ref(Ref r) { return Object(r); }

    Kind kind() const { return Kind(value_.index()); }
    bool isNull() const { return kind() == Kind::kNull; }
    bool isNumber() const { return kind() == Kind::kInt || kind() == Kind::kReal; }

    std::optional<bool> asBool() const;
    std::optional<int64_t> asInt() const;
    /// Integers and reals alike.
    std::optional<double> asNumber() const;
    /// The name's text; nothing for another kind.
    std::optional<std::string_view> asName() const;
    bool isName(std::string_view text) const { return asName() == text; }
    const String* asString() const { return std::get_if<String>(&value_); }
    const Array* asArray() const;
    /// A dictionary's entries, or a stream's dictionary.
    const Dict* asDict() const;
    const Stream* asStream() const;
    std::optional<Ref> asRef() const;

  private:
    using Value = std::variant<std::monostate, bool, int64_t, double, String, Name,
                               std::shared_ptr<const Array>, std::shared_ptr<const Dict>,
                               std::shared_ptr<const Stream>, Ref>;
    template <typename T>
    explicit Object(T value) : value_(std::move(value)) {}

    Value value_;
};

/// A dictionary: its entries in file order, each key once (a repeated key keeps its last
/// value, as the file's writer meant it to replace the first).
class Dict {
  public:
    /// Sets `key`, replacing a value it had.
    void set(std::string key, Object value);
    /// The value of `key`, or null when the dictionary lacks it.
    const Object& get(std::string_view key) const;
    bool has(std::string_view key) const;
    size_t size() const { return entries_.size(); }
    const std::vector<std::pair<std::string, Object>>& entries() const { return entries_; }

  private:
    std::vector<std::pair<std::string, Object>> entries_;
};

struct Stream {
    Dict dict;
    size_t offset = 0;  ///< of the data's first byte in the file
    size_t length = 0;  ///< of the data, as stored
    /// The indirect object holding the stream, whose key decrypts the data of an encrypted
    /// file; nothing for a stream not read from a file.
    std::optional<Ref> ref;
};

}  // namespace reader::pdf
