// A document read from a VYN or QD file: header, page table, and the loaded page's pictures
// and user-defined character bitmaps.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "document/page_document.h"
#include "image/dib_picture.h"

namespace files {
class PartialFile;
}

namespace vyn {

/// The most pictures and user-defined characters one page may have.
inline constexpr int32_t kMaxPictures = 128;
inline constexpr int32_t kMaxGlyphs = 128;
/// The largest side of a user-defined character's bitmap, in pixels: a character cell far
/// larger than any page prints.
inline constexpr int32_t kMaxGlyphSide = 2048;
/// The document type of scanned pages, whose pages take their size from their first picture.
inline constexpr int32_t kScannedPages = 23112;
/// The most bytes of decoded rows the pictures of one page may take together: more than a
/// page shows at any scanning resolution.
inline constexpr uint64_t kPagePictureBytes = uint64_t{512} << 20;
/// The title of the report that a page is shown without pictures that did not fit its memory.
inline constexpr const char* kPictureLeftOutTitle = "Picture left out";

using files::PartialFile;

class VynDocument : public PageDocument {
  public:
    /// Opens and reads the fixed part of a file; null when it cannot be opened or is damaged.
    static std::unique_ptr<VynDocument> Open(const std::string& path);
    /// The same for a file held in memory (`qd`: the QD form, which a file's name tells), which
    /// must outlive the document. Such a document cannot be rewritten.
    static std::unique_ptr<VynDocument> OpenMemory(std::span<const uint8_t> bytes, bool qd);

    void Close() override;
    bool LoadPage(int32_t page) override;
    void DrawPicture(surface::Surface& surface, const PictureRecord& record) override;

    /// The loaded page's bitmap of the user-defined character whose two bytes are `code`.
    DibPicture* FindGlyph(const uint8_t* code) override;
    /// The index of the page that bears `printedNumber`; see the interface for the rules.
    int32_t PrintPagetoSeqPage(int32_t printedNumber) const;
    /// Rewrites in the file every stored character whose code is the first two bytes of
    /// `codeText` (hexadecimal) with the two bytes of `replacement`; returns how many, or
    /// kReplaceFailed when the file could not be rewritten (it is then as it was). The file
    /// keeps its permissions. The loaded page in memory stays as it was; the last page is left
    /// loaded.
    int32_t ReplaceFZWithGBK(const char* codeText, const char* replacement);
    static constexpr int32_t kReplaceFailed = -1;
    /// The contents head; false when the file has none.
    bool GetDirHead(DirHead& head);
    /// `count` contents items; false when the file has none or they run past its end.
    bool GetDirItem(int32_t count, DirItem* items);
    /// Writes a VYN copy of the document to `outputPath` in which every one-bit picture is
    /// reduced to 200 dots per inch and coded again; everything else is carried over as the
    /// file holds it. 0 when the copy was written; -1 when it could not be written completely
    /// or a page is damaged, and then nothing is left under `outputPath` that was not there
    /// before. The last page is left loaded.
    int32_t SaveAsLowResolution(const std::string& outputPath);

    const VynHeader& header() const { return header_; }
    bool isQd() const { return prefixSize_ != 0; }
    const std::vector<PageEntry>& pageTable() const { return pageTable_; }
    /// The loaded page's picture entries in chain order.
    std::span<const PictureEntry> pictureEntries() const { return pictureEntries_; }
    /// Picture slot `i` (0-127): the decoded picture, or null.
    const DibPicture* picture(int32_t i) const { return pictures_.at(i).get(); }
    /// The loaded page's glyph entries.
    std::span<const GlyphEntry> glyphEntries() const {
        return std::span(glyphEntries_).first(glyphCount_);
    }

    /// The placeholder text of a picture element: its name up to the first ".", then ".TIF".
    static std::string PictureLabel(const PictureRecord& record);

  private:
    VynDocument() = default;
    bool readFixedPart(std::unique_ptr<FileStream> stream, bool qd);
    void loadPictures(uint64_t chainStart);
    std::unique_ptr<DibPicture> decodePicture(const PictureEntry& entry, uint64_t largest,
                                              bool& tooLarge);
    void loadGlyphs(PageEntry& entry);
    bool writeLowResolution(PartialFile& copy);
    uint64_t contentsOffset() const {
        return prefixSize_ + sizeof(VynHeader) + sizeof(PageGeometry);
    }

    uint32_t prefixSize_ = 0;
    VynHeader header_{};
    std::vector<PageEntry> pageTable_;
    std::vector<PictureEntry> pictureEntries_;
    std::array<std::unique_ptr<DibPicture>, kMaxPictures> pictures_;
    std::array<std::unique_ptr<DibPicture>, kMaxGlyphs> glyphBitmaps_;
    std::array<GlyphEntry, kMaxGlyphs> glyphEntries_{};
    int32_t glyphCount_ = 0;
};

}  // namespace vyn
