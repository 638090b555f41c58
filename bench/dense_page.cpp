#include "dense_page.h"

#include "stream_builder.h"
#include "vyn_writer.h"

namespace bench {

using namespace vyn::fixtures;

std::vector<uint16_t> densePageWords() {
    StreamBuilder stream;
    stream.command(0x8016, {0, 5000, 7600, 400, 400});
    stream.font(4, 5, 5);
    for (uint16_t line = 0; line < 40; ++line) {
        const auto y = uint16_t(600 + line * 180);
        if (line == 10) {
            stream.font(3, 5, 5);
        } else if (line == 25) {
            stream.font(2, 5, 5);
        }
        stream.lineAt(y);
        for (uint16_t column = 0; column < 50; ++column) {
            // Walks through the GB2312 hanzi rows so the fonts meet many glyphs.
            const uint16_t n = uint16_t(line * 50 + column);
            stream.character(uint16_t(500 + column * 96),
                             uint16_t((0xB0 + n / 94) << 8 | (0xA1 + n % 94)));
        }
        if (line % 10 == 9) {
            stream.command(0x8006, {0xA384, 500, uint16_t(y + 150), 5300, uint16_t(y + 150)});
        }
    }
    stream.command(0x8006, {0xA1AD, 500, 8100, 3000, 8100});
    stream.endOfPage();
    return stream.words();
}

std::vector<uint8_t> densePageDocument() {
    DocumentLayout desc;
    desc.docType = 2;
    PageLayout page;
    page.words = densePageWords();
    desc.pages = {page};
    return buildDocument(desc).bytes;
}

}  // namespace bench
