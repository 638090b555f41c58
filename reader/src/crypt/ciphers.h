// The ciphers of PDF encryption: RC4, and AES in CBC mode as the file stores it (the IV in the
// first 16 bytes, PKCS#5 padding at the end).
#pragma once

#include <cstdint>
#include <span>

#include "crypt/hashes.h"

namespace reader::pdf {

/// `data` through RC4 under `key` (1 to 256 bytes); the same call encrypts and decrypts.
Bytes rc4(std::span<const uint8_t> key, std::span<const uint8_t> data);

/// `data` as a file stores AES-encrypted strings and streams, decrypted under `key` (16 or 32
/// bytes): the first block is the IV, a last partial block is dropped, and the padding is
/// removed when its last byte counts 1 to 16. Empty for data shorter than one block.
Bytes aesDecryptWithIv(std::span<const uint8_t> key, std::span<const uint8_t> data);

/// Whole blocks of `data` through AES-CBC under `key` (16 or 32 bytes) and `iv` (16 bytes),
/// without padding; the key derivations of 256-bit encryption use these.
Bytes aesCbcDecrypt(std::span<const uint8_t> key, std::span<const uint8_t, 16> iv,
                    std::span<const uint8_t> data);
Bytes aes128CbcEncrypt(std::span<const uint8_t, 16> key, std::span<const uint8_t, 16> iv,
                       std::span<const uint8_t> data);

}  // namespace reader::pdf
