// Opening the PDF and ZOR files a subcommand names, with the reader's error code and message
// when one does not open.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "command_line.h"
#include "reader/creader.h"

namespace brindle {

/// Whether the file starts as a PDF ("%PDF-") or a ZOR file ("ZOR") does.
bool isPdfOrZor(const std::string& path);

/// The reader's failure: its code and message, printed as JSON too with --json.
struct ReaderFailure : Failure {
    ReaderFailure(std::string fileName, int errorCode, const std::string& message);
    int code;
};

/// Opens a PDF or ZOR file, an encrypted one with `password` when it needs one; throws
/// ReaderFailure when it does not open.
std::unique_ptr<CReader> openPdf(const std::string& path, bool json,
                                 const std::string& password);

struct PageSelection;

/// A box in pixels a drawn page must fit, by width, height or both.
struct PageFit {
    std::optional<int32_t> width;
    std::optional<int32_t> height;
    explicit operator bool() const { return width || height; }
};

/// The largest whole resolution at which a page `width72` x `height72` pixels at 72 dpi fits.
int fittingDpi(const PageFit& fit, double width72, double height72);

struct PdfRenderOptions {
    int dpi = 72;
    PageFit fit;  ///< when set, the resolution of each page is the one that fits it
    int scale = 100;  ///< percent
    bool big5 = false;
    bool pictures = true;
    bool graphics = true;
    bool antialias = true;
};

/// brindle render of PDF or ZOR pages: each page drawn through the reader onto an image, written
/// to the file `output` names for it.
int renderPdfPages(Arguments& args, const std::string& path, const PageSelection& selection,
                   const std::string& output, const PdfRenderOptions& options);

struct PdfTextOptions {
    std::optional<int> page;  ///< none: every page, each ended by a form feed
    int dpi = 72;             ///< of the pixels `rect` is given in
    /// L, T, R, B: the text a selection from the top left to the bottom right takes, or with
    /// `rectangleMode` the characters inside; none: the whole page.
    std::optional<std::array<int32_t, 4>> rect;
    bool rectangleMode = false;
    bool layout = false;  ///< the text laid out in rows and columns as on the page
};

/// brindle text of PDF and ZOR pages, in UTF-8, in reading order.
int pdfText(Arguments& args, const std::string& path, const PdfTextOptions& options);

}  // namespace brindle
