// brindle render and text for PDF and ZOR pages: the reader draws onto an off-screen image,
// as the viewer's page view does, with no application of the window system: its pages are
// drawn as outlines and pictures, which need no font database.
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>
#include <cstdio>

#include "documents.h"
#include "page_images.h"
#include "page_list.h"
#include "pdf_documents.h"
#include "surface/qt_surface.h"

namespace brindle {

namespace {

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

namespace {

// What --json counts as a text's length: its bytes in the Chinese national encoding, which
// is GB2312's for GB2312 text, as the selection buffer has always counted.
int nativeLength(const std::string& utf8) {
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(QString::fromStdString(utf8));
    return int(bytes.size());
}

// A page's text in JSON, without the line break that ends its last line.
QJsonObject pageJson(int page, std::string text) {
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return {{"page", page}, {"length", nativeLength(text)}, {"text", QString::fromStdString(text)}};
}

std::string pageTextOf(CReader& reader, const PdfTextOptions& options) {
    const reader::PageText& page = reader.pageText();
    if (options.layout) {
        return reader::layoutText(page);
    }
    if (!options.rect) {
        return reader::plainText(page);
    }
    // The rectangle's pixels at the resolution given, as points of the page.
    const double scale = 72.0 / options.dpi;
    const std::array<int32_t, 4>& r = *options.rect;
    const reader::TextBox area{std::min(r[0], r[2]) * scale, std::min(r[1], r[3]) * scale,
                               std::max(r[0], r[2]) * scale, std::max(r[1], r[3]) * scale};
    if (options.rectangleMode) {
        return reader::textInArea(page, area);
    }
    reader::TextPosition from;
    reader::TextPosition to;
    return reader::dragBounds(page, area.left, area.top, area.right, area.bottom, from, to)
               ? reader::textBetween(page, from, to)
               : "";
}

}  // namespace

int pdfText(Arguments& args, const std::string& path, const PdfTextOptions& options) {
    std::unique_ptr<CReader> reader = openPdf(path, args.json(), args.password());
    if (options.page) {
        if (reader->GetPage(*options.page) == 0) {
            throw ReaderFailure(path, reader->GetLastErrorCode(),
                                "page " + std::to_string(*options.page) + ": " +
                                    reader->GetLastErrorMsg());
        }
        std::string text = pageTextOf(*reader, options);
        if (args.json()) {
            printJson(pageJson(*options.page, std::move(text)));
        } else {
            std::fwrite(text.data(), 1, text.size(), stdout);
            if (text.empty() || text.back() != '\n') {
                std::fputc('\n', stdout);
            }
        }
        return kSuccess;
    }
    QJsonArray pages;
    for (int page = 1; page <= reader->pageCount(); ++page) {
        std::string text;
        if (reader->GetPage(page) != 0) {
            text = pageTextOf(*reader, options);
        } else {
            std::fprintf(stderr, "brindle text: %s: page %d: %s\n", path.c_str(), page,
                         reader->GetLastErrorMsg());
        }
        if (args.json()) {
            pages.append(pageJson(page, std::move(text)));
        } else {
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fputc('\f', stdout);
        }
    }
    if (args.json()) {
        printJson(QJsonObject{{"pages", pages}});
    }
    return kSuccess;
}

}  // namespace brindle
