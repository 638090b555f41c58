// What a document offers for moving through it: its outline, its page labels and the links of
// its pages, as CReader reads them from a PDF (or the PDF inside a ZOR file).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace reader {

/// How a destination shows its page: at a point and zoom (XYZ), the whole page (Fit), its
/// width from a top (FitH), its height from a left (FitV), a rectangle (FitR), or the same
/// for the page's bounding box of content (FitB, FitBH, FitBV).
enum class DestinationFit : uint8_t { kXyz, kFit, kFitH, kFitV, kFitR, kFitB, kFitBH, kFitBV };

/// A place in the document: a page and, when the destination gives them, coordinates in the
/// page's default user space (PDF points, y upwards).
struct Destination {
    int pageIndex = -1;  ///< from 0; -1 when the page is not known
    DestinationFit fit = DestinationFit::kXyz;
    std::optional<double> left;
    std::optional<double> top;
    std::optional<double> right;   ///< FitR only
    std::optional<double> bottom;  ///< FitR only
    std::optional<double> zoom;    ///< XYZ only: a factor (1 = 100%); none keeps the zoom
};

/// One entry of the outline. The outline is listed in reading order, each entry followed by
/// the entries below it, so that `level` alone gives the tree.
struct OutlineItem {
    std::string title;  ///< UTF-8
    int level = 1;      ///< 1 for the entries at the top
    bool open = false;  ///< whether the document shows the entries below it at first
    Destination destination;
};

/// A rectangle in a page's default user space, its corners ordered (x0 <= x1, y0 <= y1).
struct UserRect {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;
};

/// A link annotation of a page: where it lies and where it leads.
struct Link {
    enum class Kind : uint8_t { kDestination, kUri };
    Kind kind = Kind::kDestination;
    UserRect rect;
    Destination destination;  ///< for kDestination
    std::string uri;          ///< for kUri, as the file writes it
};

}  // namespace reader
