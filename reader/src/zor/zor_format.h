// The ZOR layout: a 254-byte header, the PDF masked with a repeating 6-byte key, and in a
// version 2.00 file an optional catalog of contents records after the PDF.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

namespace reader::zor {

inline constexpr int64_t kHeaderSize = 254;
inline constexpr char kPackingKey[] = "QJVKTU";
inline constexpr int64_t kKeySize = 6;

// Header fields: offsets into the 254 bytes.
inline constexpr size_t kVersionDigitAt = 4;
inline constexpr size_t kCatalogFlagAt = 40;
inline constexpr size_t kCatalogSizeAt = 44;
inline constexpr size_t kCatalogOffsetAt = 48;

// The contents records (a head of 132 bytes whose last 4 bytes count the items, then the
// items of 308 bytes each), handled here as bytes.
inline constexpr int64_t kDirHeadSize = 132;
inline constexpr int64_t kDirItemSize = 308;
inline constexpr size_t kItemCountAt = 128;

/// XORs `bytes`, which start `position` bytes into the masked PDF, with the packing key.
inline void maskBytes(std::span<uint8_t> bytes, int64_t position) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = uint8_t(bytes[i] ^ uint8_t(kPackingKey[(position + int64_t(i)) % kKeySize]));
    }
}

inline int32_t readInt32(const uint8_t* at) {
    int32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline void writeInt32(uint8_t* at, int32_t value) { std::memcpy(at, &value, sizeof value); }

/// The length of the PDF inside a ZOR file of `fileSize` bytes whose header is `header`: up to
/// where its catalog starts, also when a catalog write was left half-done and more bytes than
/// the catalog's follow; all after the header when there is no catalog (version 1.00 files
/// carry none).
inline int64_t packedPdfSize(const uint8_t* header, int64_t fileSize) {
    const bool versionOne = std::memcmp(header, "ZOR 1.00", 8) == 0;
    const int32_t size = versionOne ? 0 : readInt32(header + kCatalogSizeAt);
    const int64_t offset = readInt32(header + kCatalogOffsetAt);
    if (size > 0 && offset >= kHeaderSize && offset <= fileSize - size) {
        return offset - kHeaderSize;
    }
    return fileSize - kHeaderSize - (size > 0 ? size : 0) > 0
               ? fileSize - kHeaderSize - (size > 0 ? size : 0)
               : 0;
}

/// The size of a catalog of `count` items.
inline constexpr int64_t catalogBytes(int64_t count) { return kDirHeadSize + kDirItemSize * count; }

}  // namespace reader::zor
