// Runs arbitrary bytes as the parts of fonts: byte 0 chooses what the rest is. 0: a CMap
// program (using itself by name), each code of the rest split and mapped, and the same
// program as a ToUnicode CMap giving the text of those codes; 1: a font program
// loaded from memory, its glyphs' outlines, advances and vertical forms read, and the bytes
// read as a glyph substitution table too; 2: a page whose fonts take
// the rest as an embedded CMap, a TrueType and a CFF program and a Type 3 glyph procedure
// that shows itself, shown through the interpreter, the rest also each font's ToUnicode CMap,
// and the text of every code of the rest in each font.
#include <string>

#include "content/interpreter.h"
#include "devices/surface_device.h"
#include "font/cmap.h"
#include "font/font_cache.h"
#include "font/font_program.h"
#include "font/pdf_font.h"
#include "font/to_unicode.h"
#include "font/vertical_forms.h"
#include "pdf_builder.h"
#include "surface/recording_surface.h"
#include "xref/document.h"

namespace {

// Glyphs read from one program at most, so that each input runs quickly.
constexpr uint32_t kGlyphsRead = 64;

void runCMap(std::span<const uint8_t> text) {
    reader::pdf::CMap::Resolver resolver;
    resolver = [&](std::string_view, int depth) -> std::shared_ptr<const reader::pdf::CMap> {
        return reader::pdf::CMap::parse(text, resolver, depth);
    };
    const std::shared_ptr<reader::pdf::CMap> cmap = reader::pdf::CMap::parse(text, resolver);
    const std::shared_ptr<const reader::pdf::ToUnicode> toUnicode =
        reader::pdf::ToUnicode::parse(text);
    for (size_t at = 0; at < text.size();) {
        const reader::pdf::CharCode code = cmap->nextCode(text.subspan(at));
        if (code.bytes == 0 || code.bytes > 4) {
            __builtin_trap();
        }
        at += code.bytes;
        (void)cmap->cidOf(code);
        (void)toUnicode->textOf(code);
    }
}

void runProgram(std::span<const uint8_t> bytes) {
    const std::shared_ptr<reader::pdf::FontLibrary> library = reader::pdf::FontLibrary::create();
    std::unique_ptr<reader::pdf::FontProgram> program =
        reader::pdf::FontProgram::load(library, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    if (program == nullptr) {
        return;
    }
    for (uint32_t glyph = 0; glyph < std::min(program->glyphCount(), kGlyphsRead); ++glyph) {
        (void)program->outline(glyph);
        (void)program->advance(glyph);
    }
    (void)program->glyphNamed("A");
    (void)program->glyphOfBuiltInCode('A');
    (void)program->glyphOfUnicode(U'中');
    (void)program->glyphInCmap(3, 0, 0xF041);
    (void)program->glyphOfCid(1);
    (void)program->verticalForm(1);
    (void)reader::pdf::readVerticalForms(bytes);
}

void runPage(const std::string& input) {
    using reader::fixtures::streamBody;
    const std::string content = "BT /F1 12 Tf 10 10 Td (" + input.substr(0, 64) +
                                ") Tj /F2 12 Tf (" + input.substr(0, 64) +
                                ") Tj /F3 12 Tf (ABC) Tj /F4 12 Tf 7 Tr (AB) Tj 2 Tr (AB) Tj ET";
    reader::fixtures::PdfLayout layout = reader::fixtures::pagesPdf({content}, "0 0 200 300");
    layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Resources 43 0 R /Contents 4 0 R >>";
    layout.objects.push_back({43, "<< /Font << /F1 40 0 R /F2 44 0 R /F3 46 0 R /F4 48 0 R >> >>"});
    layout.objects.push_back(
        {40,
         "<< /Type /Font /Subtype /Type0 /BaseFont /Fuzz /Encoding 41 0 R /ToUnicode 41 0 R "
         "/DescendantFonts [<< /Type /Font /Subtype /CIDFontType2 /CIDToGIDMap 41 0 R "
         "/W [1 [500 600] 2 9 700] /W2 [1 [-900 400 800]] /FontDescriptor << /Flags 4 "
         "/FontFile2 42 0 R >> >>] >>"});
    layout.objects.push_back({41, streamBody("/Type /CMap", input)});
    layout.objects.push_back({42, streamBody("", input)});
    layout.objects.push_back(
        {44,
         "<< /Type /Font /Subtype /Type0 /BaseFont /FuzzCff /Encoding /Identity-V "
         "/DescendantFonts [<< /Type /Font /Subtype /CIDFontType0 /FontDescriptor << "
         "/Flags 4 /FontFile3 45 0 R >> >>] >>"});
    layout.objects.push_back({45, streamBody("/Subtype /CIDFontType0C", input)});
    layout.objects.push_back(
        {46,
         "<< /Type /Font /Subtype /Type3 /ToUnicode 41 0 R /FontMatrix [0.001 0 0 0.001 0 0] "
         "/CharProcs << "
         "/a 47 0 R >> /Encoding << /Differences [65 /a /a /a] >> /FirstChar 65 "
         "/Widths [500 500 500] /Resources 43 0 R >>"});
    layout.objects.push_back({47, streamBody("", input + " BT /F3 1000 Tf (A) Tj ET")});
    layout.objects.push_back(
        {48,
         "<< /Type /Font /Subtype /Type1 /BaseFont /FuzzType1 /Encoding << /Differences "
         "[65 /A /uni0042] >> /FontDescriptor << /Flags 32 /FontFile3 49 0 R >> >>"});
    layout.objects.push_back({49, streamBody("/Subtype /Type1C", input)});
    const std::string bytes = reader::fixtures::buildPdf(layout);
    const auto file = std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const std::unique_ptr<reader::pdf::Document> document = reader::pdf::Document::open(file);
    if (document == nullptr) {
        return;
    }
    const reader::pdf::Object resources = document->fetch({43, 0});
    surface::RecordingSurface canvas({96, 96}, {400, 600});
    reader::pdf::SurfaceDevice device(canvas);
    reader::pdf::FontCache fonts(*document);
    reader::pdf::Interpreter interpreter(*document, device, resources.asDict(),
                                         surface::canvas::Matrix::scaling(2, -2));
    interpreter.useFonts(fonts);
    interpreter.run(std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    const auto text = std::span(reinterpret_cast<const uint8_t*>(input.data()),
                                std::min<size_t>(input.size(), 256));
    for (const int32_t number : {40, 44, 46, 48}) {
        const std::shared_ptr<reader::pdf::Font> font =
            fonts.load(reader::pdf::Object::ref({number, 0}));
        for (size_t at = 0; font != nullptr && at < text.size();) {
            const reader::pdf::CharCode code = font->nextCode(text.subspan(at));
            (void)font->unicodeOf(code);
            at += code.bytes;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> rest(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0: runCMap(rest); break;
        case 1: runProgram(rest); break;
        default: runPage(std::string(reinterpret_cast<const char*>(rest.data()), rest.size()));
    }
    return 0;
}
