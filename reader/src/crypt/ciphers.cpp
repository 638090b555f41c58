#include "crypt/ciphers.h"

#include <nettle/aes.h>
#include <nettle/arcfour.h>
#include <nettle/cbc.h>

#include <array>

namespace reader::pdf {

namespace {

constexpr size_t kBlock = AES_BLOCK_SIZE;

// The block functions in the form the CBC mode takes them.
void aes128Decrypt(const void* context, size_t length, uint8_t* dst, const uint8_t* src) {
    aes128_decrypt(static_cast<const aes128_ctx*>(context), length, dst, src);
}

void aes256Decrypt(const void* context, size_t length, uint8_t* dst, const uint8_t* src) {
    aes256_decrypt(static_cast<const aes256_ctx*>(context), length, dst, src);
}

}  // namespace

Bytes rc4(std::span<const uint8_t> key, std::span<const uint8_t> data) {
    Bytes out(data.size());
    if (key.empty() || key.size() > ARCFOUR_MAX_KEY_SIZE) {
        return out;
    }
    arcfour_ctx context;
    arcfour_set_key(&context, key.size(), key.data());
    arcfour_crypt(&context, data.size(), out.data(), data.data());
    return out;
}

Bytes aesCbcDecrypt(std::span<const uint8_t> key, std::span<const uint8_t, 16> iv,
                    std::span<const uint8_t> data) {
    const size_t length = data.size() - data.size() % kBlock;
    Bytes out(length);
    std::array<uint8_t, kBlock> chain{};
    std::copy(iv.begin(), iv.end(), chain.begin());
    if (key.size() == AES128_KEY_SIZE) {
        aes128_ctx context;
        aes128_set_decrypt_key(&context, key.data());
        cbc_decrypt(&context, aes128Decrypt, kBlock, chain.data(), length, out.data(), data.data());
    } else if (key.size() == AES256_KEY_SIZE) {
        aes256_ctx context;
        aes256_set_decrypt_key(&context, key.data());
        cbc_decrypt(&context, aes256Decrypt, kBlock, chain.data(), length, out.data(), data.data());
    } else {
        out.clear();
    }
    return out;
}

Bytes aesDecryptWithIv(std::span<const uint8_t> key, std::span<const uint8_t> data) {
    if (data.size() < 2 * kBlock) {
        // An IV alone holds no text; an IV cut short holds nothing either.
        return {};
    }
    Bytes out = aesCbcDecrypt(key, data.first<kBlock>(), data.subspan(kBlock));
    if (!out.empty() && out.back() >= 1 && out.back() <= kBlock) {
        out.resize(out.size() - out.back());
    }
    return out;
}

Bytes aes128CbcEncrypt(std::span<const uint8_t, 16> key, std::span<const uint8_t, 16> iv,
                       std::span<const uint8_t> data) {
    const size_t length = data.size() - data.size() % kBlock;
    Bytes out(length);
    std::array<uint8_t, kBlock> chain{};
    std::copy(iv.begin(), iv.end(), chain.begin());
    aes128_ctx context;
    aes128_set_encrypt_key(&context, key.data());
    cbc_aes128_encrypt(&context, chain.data(), length, out.data(), data.data());
    return out;
}

}  // namespace reader::pdf
