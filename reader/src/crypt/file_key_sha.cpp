// Revisions 5 and 6: /U and /O hold a hash of the password with a validation salt, then a key
// salt; hashing the password with the key salt gives the key that decrypts /UE or /OE, which
// hold the file key.
#include <algorithm>
#include <array>

#include "crypt/ciphers.h"
#include "crypt/file_key.h"

namespace reader::pdf {

namespace {

constexpr size_t kMaxPassword = 127;
constexpr size_t kHashLength = 32;
constexpr size_t kSaltLength = 8;
constexpr size_t kUserDataLength = 48;
// Revision 6 repeats at least 64 rounds, and more while the last byte asks for them.
constexpr int kMinRounds = 64;
constexpr int kRoundsPast = 32;
constexpr int kRepeats = 64;

std::span<const uint8_t> truncated(std::span<const uint8_t> password) {
    return password.first(std::min(password.size(), kMaxPassword));
}

std::span<const uint8_t> validationSalt(const Bytes& entry) {
    return std::span<const uint8_t>(entry).subspan(kHashLength, kSaltLength);
}

std::span<const uint8_t> keySalt(const Bytes& entry) {
    return std::span<const uint8_t>(entry).subspan(kHashLength + kSaltLength, kSaltLength);
}

std::optional<Bytes> unwrapFileKey(const EncryptParameters& p, std::span<const uint8_t> password,
                                   const Bytes& entry, const Bytes& wrapped,
                                   std::span<const uint8_t> userData) {
    const Bytes hash = passwordHash(p.revision, password, validationSalt(entry), userData);
    if (!std::equal(hash.begin(), hash.end(), entry.begin())) {
        return std::nullopt;
    }
    const Bytes key = passwordHash(p.revision, password, keySalt(entry), userData);
    static constexpr std::array<uint8_t, 16> kZeroIv{};
    return aesCbcDecrypt(key, kZeroIv, wrapped);
}

}  // namespace

Bytes passwordHash(int revision, std::span<const uint8_t> password, std::span<const uint8_t> salt,
                   std::span<const uint8_t> userData) {
    Bytes k = sha256({password, salt, userData});
    if (revision < 6) {
        return k;
    }
    Bytes repeated;
    for (int round = 0;; ++round) {
        const size_t part = password.size() + k.size() + userData.size();
        repeated.clear();
        repeated.reserve(part * kRepeats);
        for (int i = 0; i < kRepeats; ++i) {
            repeated.insert(repeated.end(), password.begin(), password.end());
            repeated.insert(repeated.end(), k.begin(), k.end());
            repeated.insert(repeated.end(), userData.begin(), userData.end());
        }
        const std::span<const uint8_t> hashed(k);
        const Bytes e = aes128CbcEncrypt(hashed.first<16>(), hashed.subspan<16, 16>(), repeated);
        // The first 16 bytes taken as a number modulo 3 choose the next hash; 256 is 1
        // modulo 3, so the sum of the bytes serves.
        unsigned sum = 0;
        for (size_t i = 0; i < 16; ++i) {
            sum += e[i];
        }
        switch (sum % 3) {
            case 0: k = sha256({e}); break;
            case 1: k = sha384(e); break;
            default: k = sha512(e); break;
        }
        if (round + 1 >= kMinRounds && int(e.back()) <= round + 1 - kRoundsPast) {
            break;
        }
    }
    k.resize(kHashLength);
    return k;
}

std::optional<Bytes> aes256FileKeyFromUserPassword(const EncryptParameters& p,
                                                   std::span<const uint8_t> password) {
    return unwrapFileKey(p, truncated(password), p.user, p.userKey, {});
}

std::optional<Bytes> aes256FileKeyFromOwnerPassword(const EncryptParameters& p,
                                                    std::span<const uint8_t> password) {
    return unwrapFileKey(p, truncated(password), p.owner, p.ownerKey,
                         std::span<const uint8_t>(p.user).first(kUserDataLength));
}

}  // namespace reader::pdf
