// Runs arbitrary bytes as a page's content stream, with a font dictionary, images with masks,
// graphics states with a blend mode and a soft mask, and a form (a knockout group, and the soft
// mask's form) drawing the content again taken from the input too: reads its operators, runs the
// interpreter on the object model onto a recording surface's Canvas, and draws the page through
// the reader on a recording surface, selecting and not. The file is read from memory.
// Byte 0 chooses where the input splits: the first part is the font dictionary's body, the rest
// the content.
#include <string>

#include "content/content_parser.h"
#include "content/interpreter.h"
#include "devices/surface_device.h"
#include "library/library_state.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "surface/recording_surface.h"
#include "xref/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // An empty table of installed faces: font lookups are exercised without the system's
    // font configuration, whose process-wide caches the leak checker would report.
    if (!reader::libraryState().installedFonts) {
        reader::libraryState().installedFonts.emplace();
    }
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = std::min<size_t>(input.size(), data[0]);
    // The content as the operator reader sees it: every operator's operands within bounds.
    const std::string content = input.substr(split);
    reader::pdf::ContentParser parser(
        std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    while (const std::optional<reader::pdf::ContentInstruction> instruction = parser.next()) {
        if (instruction->operands.size() > reader::pdf::ContentParser::kMaxOperands ||
            instruction->offset >= content.size()) {
            __builtin_trap();
        }
    }
    reader::fixtures::PdfLayout layout =
        reader::fixtures::pagesPdf({input.substr(split)}, "0 0 200 300");
    layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Resources 43 0 R /Contents 4 0 R >>";
    layout.objects.push_back(
        {43,
         "<< /Font << /F1 40 0 R >> /XObject << /Im1 41 0 R /Fm1 42 0 R /Im2 45 0 R >> "
         "/ExtGState << /G1 << /BM /Multiply /SMask << /S /Luminosity /G 42 0 R /BC [0.5] "
         "/TR << /FunctionType 2 /Domain [0 1] /C0 [1] /C1 [0] /N 1 >> >> >> "
         "/G2 << /SMask /None /BM /Hue /ca 0.5 >> >> >>"});
    // A form that draws the content again, with the page's resources: itself among them.
    layout.objects.push_back(
        {42, reader::fixtures::streamBody("/Type /XObject /Subtype /Form /BBox [0 0 100 100] "
                                          "/Matrix [0.5 0 0 0.5 10 10] /Resources 43 0 R "
                                          "/Group << /S /Transparency /I true /K true >>",
                                          input.substr(split))});
    layout.objects.push_back({40, "<< /Type /Font " + input.substr(0, split) + " >>"});
    layout.objects.push_back(
        {41, reader::fixtures::streamBody("/Type /XObject /Subtype /Image /Width 2 /Height 2 "
                                          "/ColorSpace /DeviceRGB /BitsPerComponent 8 "
                                          "/SMask 44 0 R",
                                          std::string(12, '\x80'))});
    layout.objects.push_back(
        {44, reader::fixtures::streamBody("/Type /XObject /Subtype /Image /Width 3 /Height 1 "
                                          "/ColorSpace /DeviceGray /BitsPerComponent 8 "
                                          "/Matte [0 0.5 1]",
                                          "\x10\x80\xF0")});
    layout.objects.push_back(
        {45, reader::fixtures::streamBody("/Type /XObject /Subtype /Image /Width 2 /Height 1 "
                                          "/ColorSpace /DeviceGray /BitsPerComponent 8 "
                                          "/Mask [0 127]",
                                          "\x10\x80")});
    layout.objects.push_back({90, "(" + std::string(1100, 'x') + ")"});
    const std::string bytes = reader::fixtures::buildPdf(layout);
    const auto file = std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());

    // The interpreter on the object model, drawing on a recording surface's Canvas.
    if (const std::unique_ptr<reader::pdf::Document> document = reader::pdf::Document::open(file)) {
        const reader::pdf::Object resources = document->fetch({43, 0});
        surface::RecordingSurface canvas({96, 96}, {400, 600});
        reader::pdf::SurfaceDevice device(canvas);
        reader::pdf::Interpreter interpreter(*document, device, resources.asDict(),
                                             surface::canvas::Matrix::scaling(2, -2));
        interpreter.run(
            std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    }

    CReader reader;
    if (reader.OpenMemory(file) == 0 || reader.GetPage(1) == 0) {
        return 0;
    }
    surface::RecordingSurface surface({96, 96}, {400, 600});
    surface::Rect selection{10, 10, 300, 500};
    std::vector<char> text(51200);
    reader.Draw(nullptr, &surface, 0, selection, nullptr, 1);
    reader.ReDraw(1);
    reader.Draw(nullptr, &surface, 1, selection, text.data(), 1);
    reader.SetRectSelect(1);
    reader.ReDraw(1);
    reader.Draw(nullptr, &surface, 1, selection, text.data(), 1);
    return 0;
}
