// The low-resolution copy of a document: every one-bit picture reduced to 200 dots per inch
// and coded again, everything else carried over byte for byte in the writer's layout (header,
// geometry, contents block, page table, then each page's words, pictures and glyphs).
#include <algorithm>
#include <cstring>

#include "document/vyn_document.h"
#include "files/partial_file.h"
#include "image/bilevel_codec.h"
#include "image/page_pictures.h"

namespace vyn {

namespace {

constexpr uint32_t kContentsVersion = 400;
constexpr uint32_t kWideEntryVersion = 200;
constexpr uint32_t kNarrowEntrySize = 12;
constexpr uint32_t kCodedPicture = 0;
constexpr int32_t kLowResolutionDpi = 200;
constexpr uint64_t kCopyChunk = 256 * 1024;

// Streams `length` bytes of the source from `offset` to the end of the copy; false when they
// are not all in the source or a read or write fails.
bool copyBytes(FileStream& source, uint64_t offset, uint64_t length, PartialFile& copy) {
    if (!source.contains(offset, length)) {
        return false;
    }
    std::vector<uint8_t> chunk(std::min(length, kCopyChunk));
    while (length > 0) {
        const auto part = std::span(chunk).first(size_t(std::min<uint64_t>(length, chunk.size())));
        if (!source.readAt(offset, part) || !copy.append(part)) {
            return false;
        }
        offset += part.size();
        length -= part.size();
    }
    return true;
}

// Type-0 data of a one-bit picture: its header, its colour table and its coded rows.
std::vector<uint8_t> codePicture(const DibPicture& picture) {
    const std::span<const uint32_t> palette = picture.palette();
    const size_t prefix = DibPicture::kHeaderSize + palette.size_bytes();
    std::vector<uint8_t> data(prefix);
    std::memcpy(data.data(), &picture.header(), DibPicture::kHeaderSize);
    std::memcpy(data.data() + DibPicture::kHeaderSize, palette.data(), palette.size_bytes());
    // Scans code far below their raw size; only noise needs a second, larger try.
    for (size_t room = picture.bits().size() + 1024;; room *= 2) {
        data.resize(prefix + room);
        BilevelEncoder encoder{std::span(data).subspan(prefix)};
        encoder.EncodeRows(picture.bits(), picture.width(), picture.height(), picture.stride());
        encoder.EncodeFlush();
        if (!encoder.overflowed()) {
            data.resize(prefix + encoder.EncodedSize());
            return data;
        }
    }
}

// The picture of a type-0 entry reduced to 200 dots per inch and coded again. Empty when the
// data is no usable one-bit picture or too small to reduce: it is then carried as it is.
std::vector<uint8_t> reducedPicture(FileStream& source, const PictureEntry& stored) {
    BitmapInfoHeader header{};
    if (stored.dataLength < sizeof header || !source.readRecord(stored.dataOffset, header) ||
        header.bitCount != 1) {
        return {};
    }
    std::vector<uint8_t> data(stored.dataLength);
    if (!source.readAt(stored.dataOffset, data)) {
        return {};
    }
    // Decoded one-bit pictures are taken to be 300 dots per inch, whatever their header says.
    const std::unique_ptr<DibPicture> picture = DecodeCodedPicture(std::move(data));
    if (!picture || picture->bitCount() != 1) {
        return {};
    }
    const int32_t width = picture->width();
    const int32_t height = picture->height();
    picture->ResampleBilevel(kLowResolutionDpi);
    if (picture->width() == width && picture->height() == height) {
        return {};
    }
    return codePicture(*picture);
}

// Appends one picture entry and its data directly after it.
bool copyPicture(FileStream& source, const PictureEntry& stored, PartialFile& copy) {
    PictureEntry entry = stored;
    entry.dataOffset = uint32_t(copy.size() + sizeof entry);
    if (stored.dataLength == 0) {
        return copy.appendRecord(entry);
    }
    if (!source.contains(stored.dataOffset, stored.dataLength)) {
        return false;
    }
    const std::vector<uint8_t> reduced =
        stored.type == kCodedPicture ? reducedPicture(source, stored) : std::vector<uint8_t>{};
    if (!reduced.empty()) {
        entry.dataLength = uint32_t(reduced.size());
        return copy.appendRecord(entry) && copy.append(reduced);
    }
    return copy.appendRecord(entry) &&
           copyBytes(source, stored.dataOffset, stored.dataLength, copy);
}

// Appends the page's glyph table followed by the bitmaps, one after the other, and points
// `entry` at the new table. Glyphs past the 128th, which no reader takes, are left out.
bool copyGlyphs(FileStream& source, PageEntry& entry, PartialFile& copy) {
    std::vector<GlyphEntry> glyphs(std::min<uint32_t>(entry.glyphCount, kMaxGlyphs));
    const auto table =
        std::span(reinterpret_cast<uint8_t*>(glyphs.data()), glyphs.size() * sizeof(GlyphEntry));
    if (!source.readAt(entry.glyphTableOffset, table)) {
        return false;
    }
    std::vector<GlyphEntry> copied = glyphs;
    uint64_t bitmapOffset = copy.size() + table.size();
    for (GlyphEntry& glyph : copied) {
        glyph.bitmapOffset = uint32_t(bitmapOffset);
        bitmapOffset += glyph.bitmapLength;
    }
    entry.glyphCount = uint32_t(glyphs.size());
    entry.glyphTableOffset = uint32_t(copy.size());
    if (!copy.append(std::span(reinterpret_cast<const uint8_t*>(copied.data()), table.size()))) {
        return false;
    }
    for (const GlyphEntry& glyph : glyphs) {
        if (!copyBytes(source, glyph.bitmapOffset, glyph.bitmapLength, copy)) {
            return false;
        }
    }
    return true;
}

// Appends one page: its word stream, its picture chain walked as page loading walks it, and
// its glyphs. `entry` comes in as the source's and leaves addressing the copy.
bool copyPage(FileStream& source, PageEntry& entry, bool withGlyphs, PartialFile& copy) {
    const uint64_t words = entry.dataOffset;
    entry.dataOffset = uint32_t(copy.size());
    if (!copyBytes(source, words, entry.dataLength, copy)) {
        return false;
    }
    entry.pictureCount = uint16_t(std::min<int32_t>(entry.pictureCount, kMaxPictures));
    uint64_t next = words + entry.dataLength;
    for (uint16_t i = 0; i < entry.pictureCount; ++i) {
        PictureEntry picture{};
        if (!source.readRecord(next, picture) || !copyPicture(source, picture, copy)) {
            return false;
        }
        next = picture.dataLength == 0 ? next + sizeof picture
                                       : uint64_t{picture.dataOffset} + picture.dataLength;
    }
    return !withGlyphs || entry.glyphCount == 0 || copyGlyphs(source, entry, copy);
}

}  // namespace

int32_t VynDocument::SaveAsLowResolution(const std::string& outputPath) {
    if (!stream_) {
        return -1;
    }
    PartialFile copy(outputPath);
    if (!copy.isOpen()) {
        return -1;
    }
    // Everything is read before the copy takes its name, which may be the document's own.
    return writeLowResolution(copy) && copy.commit() ? 0 : -1;
}

// The header, geometry and contents come from the file, not from memory, where page loading
// and drawing change the page size. Entries are read again too: page loading clears the glyph
// counts of versions other than 200 in memory, and the copy keeps them.
bool VynDocument::writeLowResolution(PartialFile& copy) {
    FileStream& source = *stream_;
    uint64_t tableOffset = contentsOffset();
    if (!copyBytes(source, prefixSize_, tableOffset - prefixSize_, copy)) {
        return false;
    }
    if (header_.version >= kContentsVersion) {
        DirHead head{};
        if (!source.readRecord(tableOffset, head)) {
            return false;
        }
        const uint64_t length =
            sizeof head + uint64_t(std::max(head.itemCount, 0)) * sizeof(DirItem);
        if (!copyBytes(source, tableOffset, length, copy)) {
            return false;
        }
        tableOffset += length;
    }

    const bool wide = header_.version >= kWideEntryVersion;
    const uint32_t entrySize = wide ? sizeof(PageEntry) : kNarrowEntrySize;
    std::vector<uint8_t> table(size_t(pageCount_) * entrySize);
    if (!source.readAt(tableOffset, table)) {
        return false;
    }
    // Written twice: as a placeholder here, with the copy's offsets once the pages are in.
    const uint64_t copiedTableOffset = copy.size();
    if (!copy.append(table)) {
        return false;
    }

    // Pages are loaded to check them and to leave the last one loaded. Only that one decodes
    // its pictures for display; the copy decodes the pictures it reduces by itself.
    struct RestoreSwitch {
        bool& flag;
        bool value;
        ~RestoreSwitch() { flag = value; }
    } restore{picturesEnabled_, picturesEnabled_};
    for (int32_t page = 0; page < pageCount_; ++page) {
        picturesEnabled_ = restore.value && page == pageCount_ - 1;
        if (!LoadPage(page)) {
            return false;
        }
        PageEntry entry{};
        uint8_t* stored = table.data() + size_t(page) * entrySize;
        std::memcpy(&entry, stored, entrySize);
        if (!copyPage(source, entry, wide, copy)) {
            return false;
        }
        std::memcpy(stored, &entry, entrySize);
    }
    // Offsets are 32-bit: every one of them is below the copy's size when that fits.
    return copy.size() <= UINT32_MAX && copy.writeAt(copiedTableOffset, table);
}

}  // namespace vyn
