// The file key of the standard security handler, found from a password: by MD5 and RC4 in
// revisions 2 to 4, by SHA-2 and AES in revisions 5 and 6. Each function gives the key when
// the password is the one it checks, and nothing otherwise.
#pragma once

#include <optional>
#include <span>

#include "crypt/encrypt_dictionary.h"

namespace reader::pdf {

/// Revisions 2 to 4: `password` (its first 32 bytes) as the user password.
std::optional<Bytes> fileKeyFromUserPassword(const EncryptParameters& p,
                                             std::span<const uint8_t> password);
/// Revisions 2 to 4: `password` as the owner password, which unlocks the user password.
std::optional<Bytes> fileKeyFromOwnerPassword(const EncryptParameters& p,
                                              std::span<const uint8_t> password);

/// Revisions 5 and 6: `password` (UTF-8, its first 127 bytes) as the user password.
std::optional<Bytes> aes256FileKeyFromUserPassword(const EncryptParameters& p,
                                                   std::span<const uint8_t> password);
/// Revisions 5 and 6: `password` as the owner password.
std::optional<Bytes> aes256FileKeyFromOwnerPassword(const EncryptParameters& p,
                                                    std::span<const uint8_t> password);

/// The revision-6 password hash of `password` with `salt` and, for the owner, the 48 bytes of
/// /U as `userData` (empty for the user); revision 5 hashes once with SHA-256.
Bytes passwordHash(int revision, std::span<const uint8_t> password, std::span<const uint8_t> salt,
                   std::span<const uint8_t> userData);

}  // namespace reader::pdf
