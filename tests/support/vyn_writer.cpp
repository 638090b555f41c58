#include "vyn_writer.h"

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace vyn::fixtures {

namespace {

class ByteWriter {
  public:
    std::vector<uint8_t> bytes;

    uint64_t size() const { return bytes.size(); }
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void raw(std::span<const uint8_t> data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    void text(const std::string& s, size_t field) {
        const size_t n = std::min(s.size(), field - 1);
        raw({reinterpret_cast<const uint8_t*>(s.data()), n});
        zeros(field - n);
    }
};

}  // namespace

void putU16(std::vector<uint8_t>& bytes, uint64_t offset, uint16_t value) {
    bytes.at(offset) = uint8_t(value);
    bytes.at(offset + 1) = uint8_t(value >> 8);
}

void putU32(std::vector<uint8_t>& bytes, uint64_t offset, uint32_t value) {
    putU16(bytes, offset, uint16_t(value));
    putU16(bytes, offset + 2, uint16_t(value >> 16));
}

BuiltDocument buildDocument(const DocumentLayout& desc) {
    ByteWriter w;
    BuiltDocument built;
    if (desc.qd) {
        w.raw(std::array<uint8_t, 4>{'D', 'Q', 0, 0});
        w.zeros(132);
    }
    w.u32(desc.version);
    w.u32(0);
    w.u32(uint32_t(desc.pages.size()));
    w.u32(uint32_t(desc.docType));
    w.zeros(12);
    w.u16(desc.originX);
    w.u16(desc.originY);
    w.u16(desc.width);
    w.u16(desc.height);
    w.zeros(44);
    if (desc.version >= 400) {
        w.raw(desc.contentsHead);
        w.u32(uint32_t(desc.contents.size()));
        for (const ContentsItemLayout& item : desc.contents) {
            w.text(item.title, 256);
            w.text(item.secondText, 24);
            w.text(item.pageNumber, 24);
            w.u32(uint32_t(item.level));
        }
    }

    built.pageTableOffset = w.size();
    built.pageEntrySize = desc.version >= 200 ? 20 : 12;
    w.zeros(desc.pages.size() * built.pageEntrySize);

    for (size_t p = 0; p < desc.pages.size(); ++p) {
        const PageLayout& page = desc.pages[p];
        const uint64_t dataOffset = w.size();
        built.pageDataOffsets.push_back(dataOffset);
        for (uint16_t word : page.words) {
            w.u16(word);
        }
        for (const PictureLayout& picture : page.pictures) {
            w.u32(picture.type);
            w.u32(picture.data.empty() ? 0 : uint32_t(w.size() + 8));
            w.u32(uint32_t(picture.data.size()));
            w.raw(picture.data);
        }
        uint64_t glyphTable = 0;
        if (desc.version >= 200 && !page.glyphs.empty()) {
            glyphTable = w.size();
            uint64_t bitmapOffset = glyphTable + 16 * page.glyphs.size();
            for (const GlyphLayout& glyph : page.glyphs) {
                w.u32(glyph.code);
                w.u32(uint32_t(glyph.bitmap.size()));
                w.u32(uint32_t(bitmapOffset));
                w.u16(glyph.height);
                w.u16(glyph.width);
                bitmapOffset += glyph.bitmap.size();
            }
            for (const GlyphLayout& glyph : page.glyphs) {
                w.raw(glyph.bitmap);
            }
        }
        built.glyphTableOffsets.push_back(glyphTable);

        std::vector<uint8_t>& b = w.bytes;
        putU32(b, built.pageEntryField(p, 0), uint32_t(dataOffset));
        putU32(b, built.pageEntryField(p, 4), uint32_t(page.words.size() * 2));
        putU16(b, built.pageEntryField(p, 8), uint16_t(page.pictures.size()));
        putU16(b, built.pageEntryField(p, 10), page.printedNumber);
        if (built.pageEntrySize == 20) {
            putU32(b, built.pageEntryField(p, 12), uint32_t(page.glyphs.size()));
            putU32(b, built.pageEntryField(p, 16), uint32_t(glyphTable));
        }
    }
    built.bytes = std::move(w.bytes);
    return built;
}

void writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brindle-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& name,
                                     std::span<const uint8_t> bytes) const {
    const std::filesystem::path file = path_ / name;
    writeFile(file, bytes);
    return file;
}

}  // namespace vyn::fixtures
