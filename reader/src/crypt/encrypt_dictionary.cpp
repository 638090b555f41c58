#include "crypt/encrypt_dictionary.h"

#include <algorithm>

namespace reader::pdf {

namespace {

constexpr size_t kMinKeyLength = 5;   // 40 bits
constexpr size_t kMaxKeyLength = 16;  // 128 bits
constexpr size_t kAes128KeyLength = 16;
constexpr size_t kAes256KeyLength = 32;

struct Reading {
    const Dict& dict;
    const Resolver& resolve;
    OpenError& error;

    Object value(std::string_view key) const { return resolve(dict.get(key)); }

    std::optional<Bytes> bytes(std::string_view key, size_t least) const {
        const Object object = value(key);
        const String* s = object.asString();
        if (s == nullptr || s->bytes.size() < least) {
            error = OpenError::kDamaged;
            return std::nullopt;
        }
        return Bytes(s->bytes.begin(), s->bytes.end());
    }
};

std::optional<CryptMethod> methodOf(std::string_view cfm) {
    if (cfm == "V2") {
        return CryptMethod::kRc4;
    }
    if (cfm == "AESV2") {
        return CryptMethod::kAes128;
    }
    if (cfm == "AESV3") {
        return CryptMethod::kAes256;
    }
    if (cfm == "None") {
        return CryptMethod::kIdentity;
    }
    return std::nullopt;
}

// The key length, in bytes, a crypt filter's /Length gives: writers put bits or bytes there.
std::optional<size_t> filterKeyLength(const Object& length) {
    const std::optional<int64_t> n = length.asInt();
    if (!n || *n <= 0) {
        return std::nullopt;
    }
    return size_t(*n <= int64_t(kMaxKeyLength) ? *n : *n / 8);
}

// The crypt filters of a version 4 or 5 dictionary, and the key length they ask for.
bool readCryptFilters(const Reading& r, EncryptParameters& p) {
    p.filters.emplace("Identity", CryptMethod::kIdentity);
    std::optional<size_t> keyLength;
    const Object filters = r.value("CF");
    if (const Dict* cf = filters.asDict()) {
        for (const auto& [name, entry] : cf->entries()) {
            const Object resolved = r.resolve(entry);
            const Dict* filter = resolved.asDict();
            if (filter == nullptr || name == "Identity") {
                continue;
            }
            const Object cfm = r.resolve(filter->get("CFM"));
            const std::optional<CryptMethod> method = methodOf(cfm.asName().value_or("None"));
            if (!method) {
                r.error = OpenError::kUnsupportedEncryption;
                return false;
            }
            p.filters.emplace(name, *method);
            if (*method == CryptMethod::kRc4 && !keyLength) {
                keyLength = filterKeyLength(r.resolve(filter->get("Length")));
            }
        }
    }
    const auto methodNamed = [&](std::string_view key) -> std::optional<CryptMethod> {
        const Object name = r.value(key);
        const auto found = p.filters.find(name.asName().value_or("Identity"));
        if (found == p.filters.end()) {
            r.error = OpenError::kUnsupportedEncryption;
            return std::nullopt;
        }
        return found->second;
    };
    const std::optional<CryptMethod> streams = methodNamed("StmF");
    const std::optional<CryptMethod> strings = methodNamed("StrF");
    if (!streams || !strings) {
        return false;
    }
    p.streams = *streams;
    p.strings = *strings;
    if (p.version == 5) {
        p.keyLength = kAes256KeyLength;
        return true;
    }
    // Version 4: AES-128 takes a 128-bit key; RC4 filters say their length, as may /Length.
    const std::optional<int64_t> bits = r.value("Length").asInt();
    const bool aes = p.streams == CryptMethod::kAes128 || p.strings == CryptMethod::kAes128;
    if (aes) {
        p.keyLength = kAes128KeyLength;
    } else if (keyLength) {
        p.keyLength = *keyLength;
    } else {
        p.keyLength = bits ? size_t(std::max<int64_t>(*bits, 0) / 8) : kMaxKeyLength;
    }
    return true;
}

int versionOfRevision(int revision) {
    switch (revision) {
        case 2: return 1;
        case 3: return 2;
        case 4: return 4;
        default: return 5;
    }
}

}  // namespace

std::optional<EncryptParameters> readEncryptDictionary(const Dict& encrypt, const Dict& trailer,
                                                       const Resolver& resolve, OpenError& error) {
    const Reading r{encrypt, resolve, error};
    EncryptParameters p;
    if (!r.value("Filter").isName("Standard")) {
        error = OpenError::kUnsupportedEncryption;
        return std::nullopt;
    }
    p.revision = int(std::clamp<int64_t>(r.value("R").asInt().value_or(0), 0, 99));
    if (p.revision < 2 || p.revision > 6) {
        error = OpenError::kUnsupportedEncryption;
        return std::nullopt;
    }
    p.version = int(
        std::clamp<int64_t>(r.value("V").asInt().value_or(versionOfRevision(p.revision)), 0, 99));
    // Version 0 is the first version's undocumented twin; version 3 was never published.
    if (p.version == 0) {
        p.version = 1;
    }
    const bool aes256 = p.revision >= 5;
    if ((p.version != 1 && p.version != 2 && p.version != 4 && p.version != 5) ||
        (p.version == 5) != aes256) {
        error = OpenError::kUnsupportedEncryption;
        return std::nullopt;
    }

    const size_t hashLength = aes256 ? 48 : 32;
    std::optional<Bytes> owner = r.bytes("O", hashLength);
    std::optional<Bytes> user = owner ? r.bytes("U", hashLength) : std::nullopt;
    if (!user) {
        return std::nullopt;
    }
    p.owner.assign(owner->begin(), owner->begin() + ptrdiff_t(hashLength));
    p.user.assign(user->begin(), user->begin() + ptrdiff_t(hashLength));
    if (aes256) {
        std::optional<Bytes> ownerKey = r.bytes("OE", 32);
        std::optional<Bytes> userKey = ownerKey ? r.bytes("UE", 32) : std::nullopt;
        if (!userKey) {
            return std::nullopt;
        }
        p.ownerKey.assign(ownerKey->begin(), ownerKey->begin() + 32);
        p.userKey.assign(userKey->begin(), userKey->begin() + 32);
    }
    const std::optional<int64_t> permissions = r.value("P").asInt();
    if (!permissions) {
        error = OpenError::kDamaged;
        return std::nullopt;
    }
    // Writers give the 32 bits signed or unsigned.
    p.permissions = uint32_t(uint64_t(*permissions) & 0xFFFF'FFFFu);

    const Object id = resolve(trailer.get("ID"));
    if (const Array* ids = id.asArray(); ids != nullptr && !ids->empty()) {
        const Object first = resolve(ids->front());
        if (const String* s = first.asString()) {
            p.documentId.assign(s->bytes.begin(), s->bytes.end());
        }
    }

    if (p.version >= 4) {
        p.encryptMetadata = r.value("EncryptMetadata").asBool().value_or(true);
        if (!readCryptFilters(r, p)) {
            return std::nullopt;
        }
    } else {
        p.streams = p.strings = CryptMethod::kRc4;
        p.keyLength =
            p.version == 1
                ? kMinKeyLength
                : size_t(std::max<int64_t>(r.value("Length").asInt().value_or(40), 0)) / 8;
    }
    if (!aes256 && (p.keyLength < kMinKeyLength || p.keyLength > kMaxKeyLength)) {
        error = OpenError::kUnsupportedEncryption;
        return std::nullopt;
    }
    return p;
}

}  // namespace reader::pdf
