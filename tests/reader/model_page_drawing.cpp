#include "model_page_drawing.h"

#include <cmath>
#include <cstdlib>

#include "content/optional_content.h"
#include "devices/page_render.h"
#include "devices/page_transform.h"
#include "devices/surface_device.h"
#include "pages/page_list.h"
#include "surface/qt_surface.h"
#include "xref/document.h"

namespace reader::pdf {

QImage drawWithTheModel(const std::string& file) {
    const auto document =
        Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    if (document == nullptr) {
        return {};
    }
    const PageList list = readPageList(*document);
    if (list.pages.empty()) {
        return {};
    }
    const PageEntry& page = list.pages.front();
    const surface::canvas::PointF size = pageSizeInPixels(page, 72, 72);
    auto surface = surface::QtSurface::createImage(
        {int32_t(std::lround(size.x)), int32_t(std::lround(size.y))}, {72, 72});
    surface::canvas::Path whole;
    whole.addRect(0, 0, size.x, size.y);
    surface->fillPath(whole, surface::canvas::FillRule::NonZero, {1, 1, 1, 1});
    SurfaceDevice device(*surface);
    renderPage(*document, page, device, pageTransform(page, 72, 72), OptionalContent(), false);
    surface->closeCanvas();
    return surface->image()->convertToFormat(QImage::Format_Grayscale8);
}

QImage drawWithTheReference(const std::filesystem::path& pdf) {
    const std::filesystem::path out = pdf.parent_path() / "reference";
    const std::string command =
        "pdftoppm -r 72 -singlefile -png '" + pdf.string() + "' '" + out.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return QImage(QString::fromStdString(out.string() + ".png"))
        .convertToFormat(QImage::Format_Grayscale8);
}

}  // namespace reader::pdf
