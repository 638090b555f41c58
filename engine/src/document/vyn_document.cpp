#include "document/vyn_document.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine_state.h"
#include "image/page_pictures.h"

namespace vyn {

namespace {

constexpr uint32_t kContentsVersion = 400;
constexpr uint32_t kGlyphVersion = 200;
constexpr uint32_t kWideEntryVersion = 200;
constexpr uint32_t kNarrowEntrySize = 12;

bool hasQdName(const std::string& path) {
    return path.find(".qd") != std::string::npos || path.find(".QD") != std::string::npos;
}

}  // namespace

std::unique_ptr<VynDocument> VynDocument::Open(const std::string& path) {
    std::unique_ptr<VynDocument> document(new VynDocument());
    document->path_ = path;
    if (!document->readFixedPart(FileStream::open(path), hasQdName(path))) {
        return nullptr;
    }
    return document;
}

std::unique_ptr<VynDocument> VynDocument::OpenMemory(std::span<const uint8_t> bytes, bool qd) {
    std::unique_ptr<VynDocument> document(new VynDocument());
    if (!document->readFixedPart(FileStream::openMemory(bytes), qd)) {
        return nullptr;
    }
    return document;
}

// Refuses the open when the file is shorter than its header, geometry, contents block or page
// table: a page count that the file cannot hold is damage, not a document.
bool VynDocument::readFixedPart(std::unique_ptr<FileStream> stream, bool qd) {
    stream_ = std::move(stream);
    if (!stream_) {
        return false;
    }
    if (qd) {
        uint32_t magic = 0;
        if (!stream_->readRecord(0, magic) || magic != VYN_QD_MAGIC) {
            return false;
        }
        prefixSize_ = VYN_QD_PREFIX_SIZE;
    }
    if (!stream_->readRecord(prefixSize_, header_) ||
        !stream_->readRecord(prefixSize_ + sizeof header_, geometry_)) {
        return false;
    }

    uint64_t tableOffset = contentsOffset();
    if (header_.version >= kContentsVersion) {
        DirHead head{};
        if (!stream_->readRecord(tableOffset, head)) {
            return false;
        }
        tableOffset += sizeof head + uint64_t(std::max(head.itemCount, 0)) * sizeof(DirItem);
    }

    const uint32_t entrySize =
        header_.version >= kWideEntryVersion ? sizeof(PageEntry) : kNarrowEntrySize;
    if (header_.pageCount < 0 ||
        !stream_->contains(tableOffset, uint64_t(header_.pageCount) * entrySize)) {
        return false;
    }
    std::vector<uint8_t> table(size_t(header_.pageCount) * entrySize);
    if (!stream_->readAt(tableOffset, table)) {
        return false;
    }
    pageTable_.assign(size_t(header_.pageCount), PageEntry{});
    for (size_t i = 0; i < pageTable_.size(); ++i) {
        // A narrow entry has no glyph fields: they stay 0.
        std::memcpy(&pageTable_[i], table.data() + i * entrySize, entrySize);
    }

    pageCount_ = header_.pageCount;
    docType_ = header_.docType;
    pageWords_.assign(kPageBufferBytes / 2, 0);
    picturesEnabled_ = true;
    return true;
}

void VynDocument::Close() {
    PageDocument::Close();
    for (auto& slot : pictures_) {
        slot.reset();
    }
    for (auto& slot : glyphBitmaps_) {
        slot.reset();
    }
    glyphCount_ = 0;
    pageTable_.clear();
    pictureEntries_.clear();
}

// A page whose word stream lies outside the file is refused, as a bad index is: the marks of
// the page shown before go, nothing else changes. A stream longer than the page buffer is cut to
// the buffer; its pictures are still found after the whole stream.
bool VynDocument::LoadPage(int32_t page) {
    marks_.clear();
    if (page < 0 || page >= pageCount_ || !stream_) {
        return false;
    }
    PageEntry& entry = pageTable_[size_t(page)];
    if (!stream_->contains(entry.dataOffset, entry.dataLength)) {
        return false;
    }
    const uint32_t kept = std::min(entry.dataLength, kPageBufferBytes) & ~1u;
    if (!stream_->readAt(entry.dataOffset,
                         std::span(reinterpret_cast<uint8_t*>(pageWords_.data()), kept))) {
        return false;
    }
    currentPage_ = page;
    pageLength_ = kept;

    pictureCount_ = std::min<int32_t>(entry.pictureCount, kMaxPictures);
    loadPictures(uint64_t{entry.dataOffset} + entry.dataLength);

    // A scanned page is as large as its own first picture at the picture's resolution: 300
    // dots per inch as scanned, 200 in a low-resolution copy.
    if (docType_ == kScannedPages && pictureCount_ > 0 && pictures_[0] &&
        entry.printedNumber == 0) {
        auto toPageUnits = [](int32_t pixels, int32_t dpi) {
            return uint16_t(
                std::min<int64_t>(int64_t{pixels} * kPageUnitsPerInch / dpi, UINT16_MAX));
        };
        geometry_.width = toPageUnits(pictures_[0]->width(), pictures_[0]->dpiX());
        geometry_.height = toPageUnits(pictures_[0]->height(), pictures_[0]->dpiY());
    }

    loadGlyphs(entry);
    return true;
}

// Walks the picture chain: each entry is followed by its data, and an entry without data by
// the next entry. A chain that runs off the file, or steps back or stays in place, ends there;
// the remaining places stay empty. The page's pictures share kPagePictureBytes of decoded
// rows: a picture past that is left out.
void VynDocument::loadPictures(uint64_t chainStart) {
    pictureEntries_.assign(size_t(pictureCount_), PictureEntry{});
    uint64_t next = chainStart;
    bool chainIntact = true;
    uint64_t decoded = 0;
    bool leftOut = false;  // a picture did not fit the page's memory
    for (int32_t i = 0; i < pictureCount_; ++i) {
        pictures_[size_t(i)].reset();
        PictureEntry& pictureEntry = pictureEntries_[size_t(i)];
        if (!chainIntact || !stream_->readRecord(next, pictureEntry)) {
            chainIntact = false;
            pictureEntry = {};
            continue;
        }
        if (pictureEntry.dataLength == 0) {
            next += sizeof pictureEntry;
            continue;
        }
        if (picturesEnabled_) {
            try {
                pictures_[size_t(i)] =
                    decodePicture(pictureEntry, kPagePictureBytes - decoded, leftOut);
            } catch (const std::bad_alloc&) {
                leftOut = true;
            }
            if (pictures_[size_t(i)]) {
                decoded += pictures_[size_t(i)]->bits().size();
            }
        }
        const uint64_t after = uint64_t{pictureEntry.dataOffset} + pictureEntry.dataLength;
        chainIntact = after > next;
        next = after;
    }
    if (leftOut) {
        reportError(kPictureLeftOutTitle,
                    "The page needs more memory for its pictures than a page may take: it is "
                    "shown without some of them.");
    }
}

// Data outside the file, an unknown type, an unusable picture or one larger than `largest`
// bytes of rows (which sets `tooLarge`) leave the slot empty.
std::unique_ptr<DibPicture> VynDocument::decodePicture(const PictureEntry& entry, uint64_t largest,
                                                       bool& tooLarge) {
    constexpr uint32_t kCodedBitmap = 0;
    constexpr uint32_t kJpeg = 1;
    if (entry.type != kCodedBitmap && entry.type != kJpeg) {
        return nullptr;
    }
    if (!stream_->contains(entry.dataOffset, entry.dataLength)) {
        return nullptr;
    }
    std::vector<uint8_t> data(entry.dataLength);
    if (!stream_->readAt(entry.dataOffset, data)) {
        return nullptr;
    }
    if (entry.type == kCodedBitmap) {
        BitmapInfoHeader header{};
        if (data.size() >= sizeof header) {
            std::memcpy(&header, data.data(), sizeof header);
            tooLarge = tooLarge || (header.width > 0 && header.height > 0 &&
                                    uint64_t(DibPicture::strideOf(header.width, header.bitCount)) *
                                            uint64_t(header.height) >
                                        largest);
        }
        return DecodeCodedPicture(std::move(data), largest);
    }
    std::unique_ptr<DibPicture> picture = DecodeJpegPicture(data);
    if (picture && picture->bits().size() > largest) {
        tooLarge = true;
        return nullptr;
    }
    return picture;
}

std::string VynDocument::PictureLabel(const PictureRecord& record) {
    std::string label;
    for (uint16_t word : record.name) {
        const char c = char(word & 0xFF);
        if (c == '\0' || c == '.') {
            break;
        }
        label += c;
    }
    return label + ".TIF";
}

void VynDocument::DrawPicture(surface::Surface& surface, const PictureRecord& record) {
    const int32_t left = record.x & 0x3FFF;
    const int32_t top = record.y & 0x3FFF;
    int32_t rect[4] = {left, top, left + (record.width & 0x3FFF), top + (record.height & 0x3FFF)};
    PageToDeviceRect(rect);

    if (!picturesEnabled_) {
        surface.moveTo({rect[0], rect[1]});
        surface.lineTo({rect[2], rect[1]});
        surface.lineTo({rect[2], rect[3]});
        surface.lineTo({rect[0], rect[3]});
        surface.lineTo({rect[0], rect[1]});
        // The label is drawn as a picture label of 12 pixels; the next character selects its
        // own font again because the state changed.
        state_.charClass = 1;
        state_.fontNumber = 0;
        state_.charWidth = 12;
        state_.charHeight = 12;
        SelectSlantFont(surface, 0, 12, 12);
        surface.textOut({rect[0], rect[1]}, PictureLabel(record));
        return;
    }
    const int32_t slot = FindPictureSlot(record);
    if (slot >= 0 && slot < kMaxPictures && pictures_[size_t(slot)]) {
        pictures_[size_t(slot)]->DrawInto(surface, rect[0], rect[1], rect[2], rect[3]);
    }
}

// Only version-200 files carry user-defined characters. More than 128 are cut to 128; a glyph
// table or bitmap outside the file gives no glyph.
void VynDocument::loadGlyphs(PageEntry& entry) {
    for (auto& slot : glyphBitmaps_) {
        slot.reset();
    }
    glyphCount_ = 0;
    if (header_.version != kGlyphVersion) {
        entry.glyphCount = 0;
        return;
    }
    const int32_t count = int32_t(std::min<uint32_t>(entry.glyphCount, kMaxGlyphs));
    const auto tableBytes = std::span(reinterpret_cast<uint8_t*>(glyphEntries_.data()),
                                      size_t(count) * sizeof(GlyphEntry));
    if (!stream_->readAt(entry.glyphTableOffset, tableBytes)) {
        return;
    }
    glyphCount_ = count;
    for (int32_t i = 0; i < count; ++i) {
        const GlyphEntry& glyph = glyphEntries_[size_t(i)];
        if (glyph.height > kMaxGlyphSide || glyph.width > kMaxGlyphSide) {
            continue;
        }
        auto bitmap = DibPicture::CreateMonochrome(glyph.height, glyph.width);
        if (!bitmap) {
            continue;
        }
        std::span<uint8_t> rows = bitmap->bits();
        const auto stored = rows.first(std::min<size_t>(glyph.bitmapLength, rows.size()));
        if (stream_->readAt(glyph.bitmapOffset, stored)) {
            glyphBitmaps_[size_t(i)] = std::move(bitmap);
        }
    }
}

DibPicture* VynDocument::FindGlyph(const uint8_t* code) {
    if (code == nullptr) {
        return nullptr;
    }
    const uint32_t key = uint32_t{code[0]} * 256 + code[1];
    for (int32_t i = 0; i < glyphCount_; ++i) {
        if (glyphEntries_[size_t(i)].code == key) {
            return glyphBitmaps_[size_t(i)].get();
        }
    }
    return nullptr;
}

int32_t VynDocument::PrintPagetoSeqPage(int32_t printedNumber) const {
    if (pageTable_.empty() || pageTable_[size_t(currentPage_)].printedNumber == 0) {
        return printedNumber;
    }
    for (size_t i = 0; i < pageTable_.size(); ++i) {
        if (int32_t{pageTable_[i].printedNumber} == printedNumber) {
            return int32_t(i);
        }
    }
    return 0;
}

// The contents block follows the geometry: at offset 80 in a VYN file, 216 in a QD file.
bool VynDocument::GetDirHead(DirHead& head) {
    if (header_.version < kContentsVersion || !stream_) {
        return false;
    }
    return stream_->readRecord(contentsOffset(), head);
}

bool VynDocument::GetDirItem(int32_t count, DirItem* items) {
    if (header_.version < kContentsVersion || !stream_ || count < 0 ||
        (count > 0 && items == nullptr)) {
        return false;
    }
    const uint64_t offset = contentsOffset() + sizeof(DirHead);
    return stream_->readAt(
        offset, std::span(reinterpret_cast<uint8_t*>(items), size_t(count) * sizeof(DirItem)));
}

}  // namespace vyn
