// The text of a page collected by running its content on a device that takes text: each
// glyph's characters with their cells on the shown page, in the order the page shows them.
#pragma once

#include <span>
#include <vector>

#include "content/optional_content.h"
#include "devices/device.h"
#include "pages/page_list.h"
#include "reader/page_text.h"

namespace reader::pdf {

class Document;
class FontCache;

/// One character as the page shows it: a glyph standing for several characters (a ligature)
/// gives each an equal part of its cell.
struct PlacedChar {
    char32_t c = 0;
    surface::canvas::Matrix cell;  ///< as ShownGlyph's, in points of the shown page
    double baseline = 0.5;         ///< as ShownGlyph's
};

/// Takes the glyphs the interpreter shows and draws nothing.
class TextCollector final : public Device {
  public:
    /// Characters kept at most; a page showing more keeps its first ones.
    static constexpr size_t kMaxChars = size_t(1) << 21;

    const std::vector<PlacedChar>& chars() const { return chars_; }

    bool takesText() const override { return true; }
    void showGlyph(const ShownGlyph& glyph) override;

    void save() override {}
    void restore() override {}
    void fillPath(const surface::canvas::Path&, surface::canvas::FillRule,
                  const surface::canvas::Matrix&, const surface::canvas::Paint&) override {}
    void strokePath(const surface::canvas::Path&, const surface::canvas::StrokeStyle&,
                    const surface::canvas::Matrix&, const surface::canvas::Paint&) override {}
    void drawImage(const surface::canvas::Image&, const surface::canvas::Matrix&, double,
                   bool) override {}
    void fillGradient(const surface::canvas::Gradient&, const surface::canvas::Matrix&,
                      double) override {}
    void clipPath(const surface::canvas::Path&, surface::canvas::FillRule,
                  const surface::canvas::Matrix&) override {}
    void beginGroup(const surface::canvas::Group&, const surface::canvas::Matrix&) override {}
    void endGroup() override {}
    void beginSoftMask(const surface::canvas::SoftMask&, const surface::canvas::Matrix&) override {}
    void endSoftMask() override {}
    void clipStroke(const surface::canvas::Path&, const surface::canvas::StrokeStyle&,
                    const surface::canvas::Matrix&) override {}

  private:
    std::vector<PlacedChar> chars_;
};

/// The text of `page` (its content `content` as pageContent gives it, run with the fonts of
/// `fonts`), read into lines and blocks. Content that `optionalContent` hides is left out;
/// annotations are not the page's text.
PageText collectPageText(Document& document, const PageEntry& page,
                         std::span<const uint8_t> content, const OptionalContent& optionalContent,
                         FontCache& fonts);

}  // namespace reader::pdf
