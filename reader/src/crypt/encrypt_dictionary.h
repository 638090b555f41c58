// The standard security handler's parameters as an /Encrypt dictionary gives them, checked for
// what the key derivations need.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "crypt/hashes.h"
#include "object/object.h"
#include "xref/open_error.h"

namespace reader::pdf {

/// How a crypt filter encrypts the strings or streams it serves.
enum class CryptMethod : uint8_t { kIdentity, kRc4, kAes128, kAes256 };

struct EncryptParameters {
    int version = 0;           ///< /V: 1, 2, 4 or 5
    int revision = 0;          ///< /R: 2 to 6
    size_t keyLength = 5;      ///< of the file key, in bytes
    Bytes owner;               ///< /O: 32 bytes (revisions 2 to 4) or 48 (5 and 6)
    Bytes user;                ///< /U, as long as /O
    Bytes ownerKey;            ///< /OE: 32 bytes, revisions 5 and 6
    Bytes userKey;             ///< /UE: 32 bytes, revisions 5 and 6
    uint32_t permissions = 0;  ///< /P, as its 32 bits
    bool encryptMetadata = true;
    Bytes documentId;  ///< the first string of the trailer's /ID, or empty
    CryptMethod streams = CryptMethod::kRc4;
    CryptMethod strings = CryptMethod::kRc4;
    /// The crypt filters by name, for streams whose /Filter names one; Identity among them.
    std::map<std::string, CryptMethod, std::less<>> filters;
};

/// Looks an indirect value up; the document's resolve.
using Resolver = std::function<Object(const Object&)>;

/// The parameters of `encrypt`, the file's /Encrypt dictionary, with `trailer` giving the
/// document's /ID. On failure, `error` says why: kUnsupportedEncryption for a handler other than
/// /Standard or a version, revision or method the reader lacks; kDamaged for missing or short
/// entries.
std::optional<EncryptParameters> readEncryptDictionary(const Dict& encrypt, const Dict& trailer,
                                                       const Resolver& resolve, OpenError& error);

}  // namespace reader::pdf
