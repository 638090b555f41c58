// Revisions 2 to 4: the key is an MD5 digest of the padded password, /O, /P and the document's
// first identifier; the password is right when /U decrypts to what it should.
#include <algorithm>
#include <array>

#include "crypt/ciphers.h"
#include "crypt/file_key.h"

namespace reader::pdf {

namespace {

constexpr size_t kPasswordLength = 32;
// What every password is padded with to 32 bytes.
constexpr std::array<uint8_t, kPasswordLength> kPadding = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};
// Revisions 3 and 4 hash 50 times more and encrypt 19 times more, with keys varied per pass.
constexpr int kExtraHashes = 50;
constexpr int kExtraPasses = 19;

std::array<uint8_t, kPasswordLength> padded(std::span<const uint8_t> password) {
    std::array<uint8_t, kPasswordLength> out = kPadding;
    const size_t n = std::min(password.size(), kPasswordLength);
    std::copy_n(password.begin(), n, out.begin());
    std::copy_n(kPadding.begin(), kPasswordLength - n, out.begin() + ptrdiff_t(n));
    return out;
}

Bytes keyXor(std::span<const uint8_t> key, uint8_t value) {
    Bytes out(key.begin(), key.end());
    for (uint8_t& b : out) {
        b ^= value;
    }
    return out;
}

Bytes fileKeyOf(const EncryptParameters& p, std::span<const uint8_t> password) {
    const std::array<uint8_t, kPasswordLength> pw = padded(password);
    const std::array<uint8_t, 4> permissions = {uint8_t(p.permissions), uint8_t(p.permissions >> 8),
                                                uint8_t(p.permissions >> 16),
                                                uint8_t(p.permissions >> 24)};
    static constexpr std::array<uint8_t, 4> kMetadataClear = {0xFF, 0xFF, 0xFF, 0xFF};
    const std::span<const uint8_t> metadata = p.revision >= 4 && !p.encryptMetadata
                                                  ? std::span<const uint8_t>(kMetadataClear)
                                                  : std::span<const uint8_t>();
    std::array<uint8_t, 16> digest = md5({pw, p.owner, permissions, p.documentId, metadata});
    const size_t n = std::min(p.keyLength, digest.size());
    if (p.revision >= 3) {
        for (int i = 0; i < kExtraHashes; ++i) {
            digest = md5({std::span<const uint8_t>(digest).first(n)});
        }
    }
    return Bytes(digest.begin(), digest.begin() + ptrdiff_t(n));
}

// What /U holds for `key` (revision 2: all 32 bytes; later: the first 16 that count).
Bytes userEntryOf(const EncryptParameters& p, std::span<const uint8_t> key) {
    if (p.revision == 2) {
        return rc4(key, kPadding);
    }
    const std::array<uint8_t, 16> digest = md5({kPadding, p.documentId});
    Bytes out = rc4(key, digest);
    for (int i = 1; i <= kExtraPasses; ++i) {
        out = rc4(keyXor(key, uint8_t(i)), out);
    }
    return out;
}

}  // namespace

std::optional<Bytes> fileKeyFromUserPassword(const EncryptParameters& p,
                                             std::span<const uint8_t> password) {
    Bytes key = fileKeyOf(p, password);
    const Bytes expected = userEntryOf(p, key);
    if (!std::equal(expected.begin(), expected.end(), p.user.begin())) {
        return std::nullopt;
    }
    return key;
}

std::optional<Bytes> fileKeyFromOwnerPassword(const EncryptParameters& p,
                                              std::span<const uint8_t> password) {
    std::array<uint8_t, 16> digest = md5({padded(password)});
    if (p.revision >= 3) {
        for (int i = 0; i < kExtraHashes; ++i) {
            digest = md5({digest});
        }
    }
    const std::span<const uint8_t> key =
        std::span<const uint8_t>(digest).first(std::min(p.keyLength, digest.size()));
    Bytes user;
    if (p.revision == 2) {
        user = rc4(key, p.owner);
    } else {
        user.assign(p.owner.begin(), p.owner.end());
        for (int i = kExtraPasses; i >= 0; --i) {
            user = rc4(keyXor(key, uint8_t(i)), user);
        }
    }
    return fileKeyFromUserPassword(p, user);
}

}  // namespace reader::pdf
