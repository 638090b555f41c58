// The on-disk records of VYN and QD files. All integers are little-endian.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/// Size of the prefix in front of the layout of a QD file, and its magic.
#define VYN_QD_PREFIX_SIZE 136
#define VYN_QD_MAGIC 0x5144u

/// The file header (16 bytes).
typedef struct VynHeader {
    uint32_t version;  ///< 200 and 400 change the layout
    uint32_t reserved;
    int32_t pageCount;
    int32_t docType;  ///< 0 first dialect, other values second; 23112 scanned pages
} VynHeader;

/// Page geometry in page units, 742 to the inch (64 bytes).
typedef struct PageGeometry {
    uint8_t reserved[12];
    uint16_t originX;
    uint16_t originY;
    uint16_t width;
    uint16_t height;
    uint8_t reserved2[44];
} PageGeometry;

/// Head of the table of contents (132 bytes).
typedef struct DirHead {
    uint8_t data[128];
    int32_t itemCount;
} DirHead;

/// One table-of-contents entry (308 bytes); texts are zero-terminated.
typedef struct DirItem {
    char title[256];
    char secondText[24];
    char pageNumber[24];  ///< 1-based page number as decimal text
    int32_t level;        ///< 1 = top level
} DirItem;

/// One page of the page table; files below version 200 store only the first 12 bytes.
typedef struct PageEntry {
    uint32_t dataOffset;
    uint32_t dataLength;  ///< bytes of the page's word stream
    uint16_t pictureCount;
    uint16_t printedNumber;  ///< 0 when the page bears none
    uint32_t glyphCount;
    uint32_t glyphTableOffset;
} PageEntry;

/// One embedded picture in the chain after a page's word stream (12 bytes).
typedef struct PictureEntry {
    uint32_t type;  ///< 0 coded bitmap, 1 JPEG, other values skipped
    uint32_t dataOffset;
    uint32_t dataLength;  ///< 0: no picture in this place
} PictureEntry;

/// A user-defined character's bitmap (16 bytes).
typedef struct GlyphEntry {
    uint32_t code;  ///< first byte * 256 + second byte
    uint32_t bitmapLength;
    uint32_t bitmapOffset;
    uint16_t height;
    uint16_t width;
} GlyphEntry;

#ifdef __cplusplus
}  // extern "C"

static_assert(sizeof(VynHeader) == 16);
static_assert(sizeof(PageGeometry) == 64);
static_assert(sizeof(DirHead) == 132);
static_assert(sizeof(DirItem) == 308);
static_assert(sizeof(PageEntry) == 20);
static_assert(sizeof(PictureEntry) == 12);
static_assert(sizeof(GlyphEntry) == 16);
#endif
