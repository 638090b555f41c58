// Runs arbitrary bytes as a shading or a tiling pattern and draws it every way a page can: by
// sh, as the fill and stroke of a shading pattern over it, as a coloured and an uncoloured
// tiling pattern whose cell may use both patterns again, through the interpreter onto a
// recording surface's Canvas. Byte 0 chooses where the input splits: the first part is the
// entries of object 10's dictionary (a shading's or a pattern's), the rest its stream data.
#include <string>

#include "content/interpreter.h"
#include "devices/surface_device.h"
#include "pdf_builder.h"
#include "surface/recording_surface.h"
#include "xref/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = std::min<size_t>(input.size(), data[0]);
    reader::fixtures::PdfLayout layout = reader::fixtures::pagesPdf({"BT ET"}, "0 0 200 300");
    layout.objects.push_back({30,
                              "<< /Shading << /S 10 0 R >> /Pattern << /P 10 0 R /Q 11 0 R >> "
                              "/ColorSpace << /CsP [/Pattern /DeviceRGB] >> >>"});
    layout.objects.push_back(
        {10, reader::fixtures::streamBody(input.substr(0, split), input.substr(split))});
    layout.objects.push_back(
        {11, "<< /PatternType 2 /Matrix [0.5 0 0 0.5 10 10] /Shading 10 0 R >>"});
    const std::string bytes = reader::fixtures::buildPdf(layout);
    const auto document = reader::pdf::Document::open(
        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    if (document == nullptr) {
        return 0;
    }
    const std::string content =
        "q 0 0 150 150 re W n /S sh Q /Pattern cs /P scn 0 0 100 100 re f "
        "/Pattern CS /Q SCN 5 w 0 0 m 100 100 l S /Q scn 10 10 80 80 re f "
        "/CsP cs 1 0 0 /P scn 0 0 50 50 re f 1 0 0 1 30 30 cm /CsP CS 0 1 0 /P SCN 0 0 m 60 0 l S";
    const reader::pdf::Object resources = document->fetch({30, 0});
    surface::RecordingSurface canvas({96, 96}, {400, 600});
    reader::pdf::SurfaceDevice device(canvas);
    reader::pdf::Interpreter interpreter(*document, device, resources.asDict(),
                                         surface::canvas::Matrix{2, 0, 0, -2, 0, 600});
    interpreter.run(std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    return 0;
}
