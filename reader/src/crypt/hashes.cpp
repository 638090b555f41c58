#include "crypt/hashes.h"

#include <nettle/md5.h>
#include <nettle/sha2.h>

namespace reader::pdf {

std::array<uint8_t, 16> md5(std::initializer_list<std::span<const uint8_t>> parts) {
    md5_ctx context;
    md5_init(&context);
    for (const std::span<const uint8_t> part : parts) {
        md5_update(&context, part.size(), part.data());
    }
    std::array<uint8_t, 16> digest{};
    md5_digest(&context, digest.size(), digest.data());
    return digest;
}

Bytes sha256(std::initializer_list<std::span<const uint8_t>> parts) {
    sha256_ctx context;
    sha256_init(&context);
    for (const std::span<const uint8_t> part : parts) {
        sha256_update(&context, part.size(), part.data());
    }
    Bytes digest(SHA256_DIGEST_SIZE);
    sha256_digest(&context, digest.size(), digest.data());
    return digest;
}

Bytes sha384(std::span<const uint8_t> data) {
    sha384_ctx context;
    sha384_init(&context);
    sha384_update(&context, data.size(), data.data());
    Bytes digest(SHA384_DIGEST_SIZE);
    sha384_digest(&context, digest.size(), digest.data());
    return digest;
}

Bytes sha512(std::span<const uint8_t> data) {
    sha512_ctx context;
    sha512_init(&context);
    sha512_update(&context, data.size(), data.data());
    Bytes digest(SHA512_DIGEST_SIZE);
    sha512_digest(&context, digest.size(), digest.data());
    return digest;
}

}  // namespace reader::pdf
