#include "object/object.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace reader::pdf {

namespace {

const Object kNull;

}  // namespace

Object Object::dict(Dict entries) {
    return Object(std::make_shared<const Dict>(std::move(entries)));
}

Object Object::stream(Stream stream) {
    return Object(std::make_shared<const Stream>(std::move(stream)));
}

std::optional<bool> Object::asBool() const {
    if (const bool* b = std::get_if<bool>(&value_)) {
        return *b;
    }
    return std::nullopt;
}

std::optional<int64_t> Object::asInt() const {
    if (const int64_t* i = std::get_if<int64_t>(&value_)) {
        return *i;
    }
    // Writers put reals where integers belong (lengths, counts, widths): they count by their
    // integer part when they have one.
    if (const double* d = std::get_if<double>(&value_)) {
        constexpr double kLimit = 9.0e18;
        if (std::isfinite(*d) && std::abs(*d) < kLimit) {
            return static_cast<int64_t>(*d);
        }
    }
    return std::nullopt;
}

std::optional<double> Object::asNumber() const {
    if (const int64_t* i = std::get_if<int64_t>(&value_)) {
        return static_cast<double>(*i);
    }
    if (const double* d = std::get_if<double>(&value_)) {
        return *d;
    }
    return std::nullopt;
}

std::optional<std::string_view> Object::asName() const {
    if (const Name* n = std::get_if<Name>(&value_)) {
        return std::string_view(n->text);
    }
    return std::nullopt;
}

const Array* Object::asArray() const {
    const auto* a = std::get_if<std::shared_ptr<const Array>>(&value_);
    return a != nullptr ? a->get() : nullptr;
}

const Dict* Object::asDict() const {
    if (const auto* d = std::get_if<std::shared_ptr<const Dict>>(&value_)) {
        return d->get();
    }
    const Stream* s = asStream();
    return s != nullptr ? &s->dict : nullptr;
}

const Stream* Object::asStream() const {
    const auto* s = std::get_if<std::shared_ptr<const Stream>>(&value_);
    return s != nullptr ? s->get() : nullptr;
}

std::optional<Ref> Object::asRef() const {
    if (const Ref* r = std::get_if<Ref>(&value_)) {
        return *r;
    }
    return std::nullopt;
}

void Dict::set(std::string key, Object value) {
    for (auto& entry : entries_) {
        if (entry.first == key) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::move(key), std::move(value));
}

const Object& Dict::get(std::string_view key) const {
    for (const auto& entry : entries_) {
        if (entry.first == key) {
            return entry.second;
        }
    }
    return kNull;
}

bool Dict::has(std::string_view key) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const auto& entry) { return entry.first == key; });
}

}  // namespace reader::pdf
