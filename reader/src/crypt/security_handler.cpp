#include "crypt/security_handler.h"

#include <algorithm>
#include <array>
#include <vector>

#include "crypt/ciphers.h"
#include "crypt/file_key.h"

namespace reader::pdf {

namespace {

std::span<const uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// `utf8` in PDFDocEncoding, as revisions 2 to 4 take passwords, when it is valid UTF-8 of
// Latin-1 letters beyond ASCII (which PDFDocEncoding shares); nothing otherwise.
std::optional<std::string> latin1Of(std::string_view utf8) {
    std::string out;
    bool beyondAscii = false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = uint8_t(utf8[i]);
        if (lead < 0x80) {
            out += char(lead);
            continue;
        }
        // Two-byte sequences from C2 80 to C3 BF are the code points 0x80 to 0xFF.
        if ((lead != 0xC2 && lead != 0xC3) || i + 1 >= utf8.size() ||
            (uint8_t(utf8[i + 1]) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        out += char(((lead & 0x03) << 6) | (uint8_t(utf8[++i]) & 0x3F));
        beyondAscii = true;
    }
    return beyondAscii ? std::optional<std::string>(std::move(out)) : std::nullopt;
}

std::optional<Bytes> fileKey(const EncryptParameters& p, std::span<const uint8_t> password,
                             bool owner) {
    if (p.revision >= 5) {
        return owner ? aes256FileKeyFromOwnerPassword(p, password)
                     : aes256FileKeyFromUserPassword(p, password);
    }
    return owner ? fileKeyFromOwnerPassword(p, password) : fileKeyFromUserPassword(p, password);
}

}  // namespace

std::unique_ptr<SecurityHandler> SecurityHandler::open(const Dict& encrypt, const Dict& trailer,
                                                       const Resolver& resolve,
                                                       std::string_view password,
                                                       OpenError& error) {
    std::optional<EncryptParameters> p = readEncryptDictionary(encrypt, trailer, resolve, error);
    if (!p) {
        return nullptr;
    }
    // The password as the user's, then the owner's (before revision 5, also in PDFDocEncoding);
    // a file whose user password is empty opens whatever was given.
    struct Attempt {
        std::string_view password;
        bool owner;
    };
    const std::optional<std::string> latin1 = p->revision < 5 ? latin1Of(password) : std::nullopt;
    std::vector<Attempt> attempts = {{password, false}, {password, true}};
    if (latin1) {
        attempts.insert(attempts.end(), {{*latin1, false}, {*latin1, true}});
    }
    attempts.push_back({{}, false});
    for (const Attempt& attempt : attempts) {
        if (std::optional<Bytes> key = fileKey(*p, bytesOf(attempt.password), attempt.owner)) {
            return std::unique_ptr<SecurityHandler>(
                new SecurityHandler(std::move(*p), std::move(*key), attempt.owner));
        }
    }
    error = OpenError::kPassword;
    return nullptr;
}

Bytes SecurityHandler::objectKey(CryptMethod method, Ref ref) const {
    if (method == CryptMethod::kAes256) {
        return fileKey_;
    }
    // The file key, the object's number and generation, and for AES a salt, hashed.
    static constexpr std::array<uint8_t, 4> kAesSalt = {'s', 'A', 'l', 'T'};
    const std::array<uint8_t, 5> object = {uint8_t(ref.num), uint8_t(ref.num >> 8),
                                           uint8_t(ref.num >> 16), uint8_t(ref.gen),
                                           uint8_t(ref.gen >> 8)};
    const std::span<const uint8_t> salt = method == CryptMethod::kAes128
                                              ? std::span<const uint8_t>(kAesSalt)
                                              : std::span<const uint8_t>();
    const std::array<uint8_t, 16> digest = md5({fileKey_, object, salt});
    const size_t n = std::min(fileKey_.size() + 5, digest.size());
    return Bytes(digest.begin(), digest.begin() + ptrdiff_t(n));
}

Bytes SecurityHandler::decrypt(CryptMethod method, Ref ref, std::span<const uint8_t> data) const {
    switch (method) {
        case CryptMethod::kIdentity: return Bytes(data.begin(), data.end());
        case CryptMethod::kRc4: return rc4(objectKey(method, ref), data);
        case CryptMethod::kAes128:
        case CryptMethod::kAes256: return aesDecryptWithIv(objectKey(method, ref), data);
    }
    return {};
}

std::string SecurityHandler::decryptString(Ref ref, std::string_view bytes) const {
    const Bytes clear = decrypt(parameters_.strings, ref, bytesOf(bytes));
    return std::string(clear.begin(), clear.end());
}

std::optional<Bytes> SecurityHandler::decryptStream(const Stream& stream,
                                                    std::span<const uint8_t> raw) const {
    const Object& type = stream.dict.get("Type");
    if (!stream.ref || type.isName("XRef") ||
        (type.isName("Metadata") && !parameters_.encryptMetadata)) {
        return Bytes(raw.begin(), raw.end());
    }
    CryptMethod method = parameters_.streams;
    if (const std::optional<std::string> name = cryptFilterOf(stream.dict)) {
        const auto found = parameters_.filters.find(*name);
        if (found == parameters_.filters.end()) {
            return std::nullopt;
        }
        method = found->second;
    }
    return decrypt(method, *stream.ref, raw);
}

std::string SecurityHandler::method() const {
    CryptMethod method = parameters_.streams;
    if (method == CryptMethod::kIdentity) {
        method = parameters_.strings;
    }
    switch (method) {
        case CryptMethod::kIdentity: return "none";
        case CryptMethod::kRc4: return "RC4 " + std::to_string(parameters_.keyLength * 8);
        case CryptMethod::kAes128: return "AES-128";
        case CryptMethod::kAes256: return "AES-256";
    }
    return "none";
}

std::optional<std::string> cryptFilterOf(const Dict& streamDict) {
    const Object& filter = streamDict.get("Filter");
    const Array* filters = filter.asArray();
    const Object& first = filters != nullptr && !filters->empty() ? filters->front() : filter;
    if (!first.isName("Crypt")) {
        return std::nullopt;
    }
    const Object& parms = streamDict.get("DecodeParms");
    const Array* list = parms.asArray();
    static const Object kNone;
    const Object& own = list != nullptr ? (list->empty() ? kNone : list->front()) : parms;
    const Dict* dict = own.asDict();
    const std::optional<std::string_view> name =
        dict != nullptr ? dict->get("Name").asName() : std::nullopt;
    return std::string(name.value_or("Identity"));
}

}  // namespace reader::pdf
