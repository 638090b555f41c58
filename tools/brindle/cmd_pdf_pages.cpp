// brindle render and text for PDF and ZOR pages: the reader draws onto an off-screen image,
// as the viewer's page view does.
#include <QImage>
#include <QJsonObject>
#include <cstdio>

#include "documents.h"
#include "gui_application.h"
#include "page_images.h"
#include "page_list.h"
#include "pdf_documents.h"
#include "reader/rdll.h"
#include "surface/qt_surface.h"
#include "surface/text_decode.h"

namespace brindle {

namespace {

// The library-wide part of the reader: installed faces and the glyph rasteriser.
struct ReaderSession {
    ReaderSession() { RDLL_Init(0); }
    ~ReaderSession() { RDLL_Free(0); }
};

// Opens the file and makes `page` current, or throws with the reader's error.
std::unique_ptr<CReader> openPage(Arguments& args, const std::string& path, int page) {
    std::unique_ptr<CReader> reader = openPdf(path, args.json(), args.password());
    if (reader->GetPage(page) == 0) {
        throw ReaderFailure(path, reader->GetLastErrorCode(),
                            "page " + std::to_string(page) + ": " + reader->GetLastErrorMsg());
    }
    return reader;
}

std::unique_ptr<surface::QtSurface> pageImage(const std::string& path, surface::Size size,
                                              surface::Device device) {
    if (size.cx <= 0 || size.cy <= 0 || int64_t{size.cx} * size.cy > (int64_t{1} << 28)) {
        throw Failure(path, "page size " + std::to_string(size.cx) + " x " +
                                std::to_string(size.cy) + " cannot be drawn");
    }
    return surface::QtSurface::createImage(size, device);
}

}  // namespace

int renderPdfPages(Arguments& args, const std::string& path, const PageSelection& selection,
                   const std::string& output, const PdfRenderOptions& options) {
    ensureGuiApplication();
    ReaderSession session;
    std::unique_ptr<CReader> reader = openPdf(path, args.json(), args.password());
    const std::vector<int32_t> pages = selectedPages(selection, reader->pageCount(), path);
    PageImages images(output, pages, selection.listed, args.json());
    reader->SetBig5(options.big5 ? 1 : 0);
    reader->ShowPicture(options.pictures ? 1 : 0);
    reader->ShowGraph(options.graphics ? 1 : 0);
    for (const int32_t page : pages) {
        if (reader->GetPage(page) == 0) {
            throw ReaderFailure(path, reader->GetLastErrorCode(),
                                "page " + std::to_string(page) + ": " + reader->GetLastErrorMsg());
        }
        int dpi = options.dpi;
        if (options.fit) {
            const surface::Device points{72, 72};
            reader->SetScale(&points, options.scale, 0);
            const surface::Size size72 = reader->GetPageSize();
            dpi = fittingDpi(options.fit, size72.cx, size72.cy);
        }
        const surface::Device device{dpi, dpi};
        reader->SetScale(&device, options.scale, 1);
        const surface::Size size = reader->GetPageSize();
        auto surface = pageImage(path, size, device);
        surface->setAntialias(options.antialias);
        surface::Rect none{};
        if (reader->Draw(&device, surface.get(), 0, none, nullptr, 0) == 0) {
            throw Failure(path, "page " + std::to_string(page) + " cannot be drawn");
        }
        images.write(page, *surface->image());
    }
    images.report();
    return kSuccess;
}

int pdfPageText(Arguments& args, const std::string& path, int page, int dpi,
                const std::optional<std::array<int32_t, 4>>& rect, bool rectangleMode) {
    ensureGuiApplication();
    ReaderSession session;
    std::unique_ptr<CReader> reader = openPage(args, path, page);
    reader->SetRectSelect(rectangleMode ? 1 : 0);
    const surface::Device device{dpi, dpi};
    reader->SetScale(&device, 100, 1);
    const surface::Size size = reader->GetPageSize();
    auto surface = pageImage(path, size, device);
    surface::Rect selection = rect ? surface::Rect{(*rect)[0], (*rect)[1], (*rect)[2], (*rect)[3]}
                                   : surface::Rect{0, 0, size.cx, size.cy};
    std::vector<char> text(51200, '\0');
    reader->ReDraw(1);
    reader->Draw(&device, surface.get(), 1, selection, text.data(), 0);
    const std::string raw(text.data());
    const std::string utf8 = surface::decodeTextUtf8(raw, surface::kGb2312CharSet);
    if (args.json()) {
        printJson(QJsonObject{
            {"page", page}, {"length", int(raw.size())}, {"text", QString::fromStdString(utf8)}});
    } else {
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        std::fputc('\n', stdout);
    }
    return kSuccess;
}

}  // namespace brindle
