// Builds VYN and QD files from a description, for tests, benchmarks and samples.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vyn::fixtures {

struct PictureLayout {
    uint32_t type = 0;          ///< 0 coded bitmap, 1 JPEG, anything else skipped
    std::vector<uint8_t> data;  ///< empty: an entry of length 0
};

struct GlyphLayout {
    uint32_t code = 0;  ///< first byte * 256 + second byte
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint8_t> bitmap;  ///< bottom-up rows padded to 4 bytes
};

struct PageLayout {
    std::vector<uint16_t> words;
    uint16_t printedNumber = 0;
    std::vector<PictureLayout> pictures;
    std::vector<GlyphLayout> glyphs;  ///< written for versions 200 and above
};

struct ContentsItemLayout {
    std::string title;  ///< bytes as stored (GB2312)
    std::string secondText;
    std::string pageNumber;  ///< decimal text, 1-based
    int32_t level = 1;
};

struct DocumentLayout {
    bool qd = false;
    uint32_t version = 400;
    int32_t docType = 0;
    uint16_t originX = 0;
    uint16_t originY = 0;
    uint16_t width = 6000;
    uint16_t height = 8500;
    std::array<uint8_t, 128> contentsHead{};
    std::vector<ContentsItemLayout> contents;  ///< written for versions 400 and above
    std::vector<PageLayout> pages;
};

/// A built file and where its parts landed, for tests that damage it on purpose.
struct BuiltDocument {
    std::vector<uint8_t> bytes;
    uint64_t pageTableOffset = 0;
    uint32_t pageEntrySize = 0;
    std::vector<uint64_t> pageDataOffsets;
    std::vector<uint64_t> glyphTableOffsets;

    /// Offset of field `fieldOffset` of page entry `page`.
    uint64_t pageEntryField(size_t page, uint32_t fieldOffset) const {
        return pageTableOffset + page * pageEntrySize + fieldOffset;
    }
};

BuiltDocument buildDocument(const DocumentLayout& desc);

void putU16(std::vector<uint8_t>& bytes, uint64_t offset, uint16_t value);
void putU32(std::vector<uint8_t>& bytes, uint64_t offset, uint32_t value);
void writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

/// A folder under the temporary folder, removed with everything in it on destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    /// Writes `bytes` to `name` inside the folder and returns the file's path.
    std::filesystem::path write(const std::string& name, std::span<const uint8_t> bytes) const;

  private:
    std::filesystem::path path_;
};

}  // namespace vyn::fixtures
