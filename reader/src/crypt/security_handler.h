// The standard security handler of an encrypted PDF file: the file key found from a password,
// and the per-object keys that decrypt each object's strings and streams.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "crypt/encrypt_dictionary.h"

namespace reader::pdf {

/// What the file's /P allows. Reported only: the reader enforces none of it.
struct Permissions {
    uint32_t bits = 0xFFFF'FFFFu;
    bool print() const { return (bits & (1u << 2)) != 0; }
    bool modify() const { return (bits & (1u << 3)) != 0; }
    bool copy() const { return (bits & (1u << 4)) != 0; }
};

class SecurityHandler {
  public:
    /// The handler for the file whose /Encrypt dictionary is `encrypt` and whose trailer is
    /// `trailer`, unlocked by `password` as the user or the owner password, else by the empty
    /// user password. Null on failure, with `error` saying why.
    static std::unique_ptr<SecurityHandler> open(const Dict& encrypt, const Dict& trailer,
                                                 const Resolver& resolve, std::string_view password,
                                                 OpenError& error);

    /// `bytes`, a string of the object `ref`, decrypted.
    std::string decryptString(Ref ref, std::string_view bytes) const;
    /// The data of `stream`, an object's stream read from the file as `raw`, decrypted as its
    /// dictionary asks: cross-reference streams and, when the file says so, metadata stay
    /// clear; a leading /Crypt filter names its own method. Nothing for a crypt filter the file
    /// does not define.
    std::optional<Bytes> decryptStream(const Stream& stream, std::span<const uint8_t> raw) const;

    int revision() const { return parameters_.revision; }
    /// The cipher and key size, as "RC4 40", "RC4 128", "AES-128", "AES-256", or "none" when
    /// the file's crypt filters leave streams and strings clear.
    std::string method() const;
    Permissions permissions() const { return {parameters_.permissions}; }
    /// Whether the password given was the owner password.
    bool ownerAuthenticated() const { return owner_; }

  private:
    SecurityHandler(EncryptParameters parameters, Bytes fileKey, bool owner)
        : parameters_(std::move(parameters)), fileKey_(std::move(fileKey)), owner_(owner) {}
    Bytes decrypt(CryptMethod method, Ref ref, std::span<const uint8_t> data) const;
    Bytes objectKey(CryptMethod method, Ref ref) const;

    EncryptParameters parameters_;
    Bytes fileKey_;
    bool owner_ = false;
};

/// The name of the crypt filter a stream's /Filter starts with, "Identity" when its
/// /DecodeParms name none; nothing when its first filter is not /Crypt.
std::optional<std::string> cryptFilterOf(const Dict& streamDict);

}  // namespace reader::pdf
