// brindle render: pages drawn on white page images through the engine's interface, as the viewer
// draws them.
#include <vyn/vynfile.h>

#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "command_line.h"
#include "documents.h"
#include "engine_session.h"
#include "gui_application.h"
#include "page_images.h"
#include "page_list.h"
#include "pdf_documents.h"
#include "surface/qt_surface.h"

namespace brindle {

namespace {

double parseNumber(const std::string& text, const char* what) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0) || value > 1e6) {
        throw UsageError(std::string(what) + " must be a positive number, not '" + text + "'");
    }
    return value;
}

// More pages than any journal article has; a bound on what a typed range may ask for.
constexpr size_t kMostPages = 100000;

std::optional<int32_t> takePixels(Arguments& args, const char* name) {
    const std::optional<std::string> text = args.takeOption(name);
    if (!text) {
        return std::nullopt;
    }
    const double pixels = parseNumber(*text, (std::string("--") + name).c_str());
    if (pixels != std::floor(pixels)) {
        throw UsageError(std::string("--") + name + " must be a whole number of pixels, not '" +
                         *text + "'");
    }
    return int32_t(pixels);
}


}  // namespace

int fittingDpi(const PageFit& fit, double width72, double height72) {
    double dpi = 1e6;
    if (fit.width && width72 > 0) {
        dpi = std::min(dpi, 72.0 * *fit.width / width72);
    }
    if (fit.height && height72 > 0) {
        dpi = std::min(dpi, 72.0 * *fit.height / height72);
    }
    return std::max(1, int(std::floor(dpi)));
}

int runRender(Arguments& args) {
    const PageSelection selection = parsePageSelection(args.requireOption("p"), kMostPages);
    const std::string output = args.requireOption("o");
    const std::optional<std::string> dpiText = args.takeOption("dpi");
    const int dpi = int(parseNumber(dpiText.value_or("72"), "--dpi"));
    PageFit fit;
    fit.width = takePixels(args, "width");
    fit.height = takePixels(args, "height");
    if (dpiText && fit) {
        throw UsageError("--dpi and --width or --height do not go together");
    }
    const bool antialias = !args.takeFlag("no-antialias");
    const double ratio = parseNumber(args.takeOption("ratio").value_or("1"), "--ratio");
    const std::string codePage = args.takeOption("codepage").value_or("936");
    const std::optional<std::string> face = args.takeOption("font");
    const bool pictures = !args.takeFlag("no-pictures");
    const std::optional<std::string> scale = args.takeOption("scale");
    const bool big5 = args.takeFlag("big5");
    const bool graphics = !args.takeFlag("no-graphics");
    const std::string path = args.takePositional("FILE");
    args.expectNoMore();
    expectPageNumber(output, selection.pages.size());  // before any work; "all" is checked later
    if (isPdfOrZor(path)) {
        if (ratio != 1 || codePage != "936" || face) {
            throw UsageError("--ratio, --codepage and --font are for VYN and QD documents");
        }
        PdfRenderOptions options;
        options.dpi = dpi;
        options.scale = int(parseNumber(scale.value_or("100"), "--scale"));
        options.big5 = big5;
        options.pictures = pictures;
        options.graphics = graphics;
        options.antialias = antialias;
        options.fit = fit;
        return renderPdfPages(args, path, selection, output, options);
    }
    if (scale || big5 || !graphics || !antialias) {
        throw UsageError(
            "--scale, --big5, --no-graphics and --no-antialias are for PDF and ZOR files");
    }
    if (codePage != "936" && codePage != "950") {
        throw UsageError("--codepage must be 936 or 950");
    }

    openVyn(path);  // the reason when the file is not a document
    ensureGuiApplication();
    EngineSession engine;
    VYNFile_SetCodePage(std::stoi(codePage));
    OpenDocument document(path);
    if (document.handle == nullptr) {
        throw Failure(path, "not a VYN or QD document, or damaged");
    }
    const std::vector<int32_t> pages =
        selectedPages(selection, VYNFile_GetPageCount(document.handle), path);
    PageImages images(output, pages, selection.listed, args.json());
    VYNFile_SetResolution(document.handle, dpi, dpi);
    VYNFile_SetDisplayRatio(document.handle, float(ratio));
    VYNFile_SetBaseFontName(face ? face->c_str() : "");
    VYNFile_EnablePicture(document.handle, pictures);
    for (const int32_t page : pages) {
        if (VYNFile_LoadPage(document.handle, page - 1) == 0) {
            throw Failure(path, "page " + std::to_string(page) + " is damaged");
        }
        int pageDpi = dpi;
        if (fit) {
            VYNFile_SetResolution(document.handle, 72, 72);
            const VynSize size72 = VYNFile_GetPageSize(document.handle);
            pageDpi = fittingDpi(fit, size72.cx, size72.cy);
            VYNFile_SetResolution(document.handle, pageDpi, pageDpi);
        }
        const VynSize size = VYNFile_GetPageSize(document.handle);
        if (size.cx <= 0 || size.cy <= 0 || int64_t{size.cx} * size.cy > (int64_t{1} << 28)) {
            throw Failure(path, "page size " + std::to_string(size.cx) + " x " +
                                    std::to_string(size.cy) + " cannot be drawn");
        }
        auto surface = surface::QtSurface::createImage({size.cx, size.cy}, {pageDpi, pageDpi});
        VYNFile_Show(document.handle, surface.get(), VynRect{0, 0, size.cx, size.cy}, 0, 0);
        images.write(page, *surface->image());
    }
    images.report();
    return kSuccess;
}

}  // namespace brindle
