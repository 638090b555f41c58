// Opens arbitrary bytes as a PDF file and runs the content interpreter over the first pages,
// each with its own resources and the transform of its box and rotation, onto a device that
// draws nothing and traps on any input that is not finite or not whole: paths, transforms,
// paints, stroke styles, images and gradients; and on saves, groups and soft masks that do not
// nest. Then collects each page's text and writes it out, selects from it and searches it for
// a piece of itself, trapping on positions and boxes that lie outside the text.
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "content/interpreter.h"
#include "content/optional_content.h"
#include "devices/device.h"
#include "devices/page_transform.h"
#include "library/library_state.h"
#include "font/font_cache.h"
#include "pages/page_list.h"
#include "reader/page_text.h"
#include "text/text_collector.h"
#include "xref/document.h"

namespace {

namespace canvas = surface::canvas;

// Pages run per input at most, and the content bytes of one page at most.
constexpr size_t kMaxPagesRun = 3;
constexpr size_t kMaxContentBytes = size_t{4} << 20;

void expect(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool unit(double value) { return value >= 0 && value <= 1; }

void expectPaint(const canvas::Paint& paint) {
    expect(unit(paint.red) && unit(paint.green) && unit(paint.blue) && unit(paint.alpha));
}

class CheckingDevice final : public reader::pdf::Device {
  public:
    void save() override { frames_.push_back(Frame::Save); }
    void restore() override { end(Frame::Save); }
    void fillPath(const canvas::Path& path, canvas::FillRule, const canvas::Matrix& ctm,
                  const canvas::Paint& paint) override {
        expectPath(path, ctm);
        expectPaint(paint);
    }
    void strokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                    const canvas::Matrix& ctm, const canvas::Paint& paint) override {
        expectPath(path, ctm);
        expectPaint(paint);
        expect(std::isfinite(style.width) && style.width >= 0);
        expect(std::isfinite(style.miterLimit) && std::isfinite(style.dashPhase));
        for (const double dash : style.dashes) {
            expect(std::isfinite(dash) && dash >= 0);
        }
    }
    void drawImage(const canvas::Image& image, const canvas::Matrix& ctm, double alpha,
                   bool) override {
        expect(image.valid() && ctm.finite() && unit(alpha));
        // Every byte of every row is there to be read.
        const size_t last =
            size_t(image.height - 1) * size_t(image.stride) + size_t(image.width) * 4;
        expect(image.pixels.size() >= last);
        volatile uint8_t sum = 0;
        for (size_t i = 0; i < last; i += 61) {
            sum = uint8_t(sum + image.pixels[i]);
        }
        (void)sum;
    }
    void fillGradient(const canvas::Gradient& gradient, const canvas::Matrix& ctm,
                      double alpha) override {
        expect(ctm.finite() && unit(alpha));
        expect(std::isfinite(gradient.start.x) && std::isfinite(gradient.start.y) &&
               std::isfinite(gradient.end.x) && std::isfinite(gradient.end.y) &&
               std::isfinite(gradient.startRadius) && std::isfinite(gradient.endRadius));
        double previous = 0;
        for (const canvas::ColorStop& stop : gradient.stops) {
            expect(unit(stop.offset) && stop.offset >= previous);
            expectPaint(stop.color);
            previous = stop.offset;
        }
    }
    void clipPath(const canvas::Path& path, canvas::FillRule, const canvas::Matrix& ctm) override {
        expectPath(path, ctm);
    }
    void beginGroup(const canvas::Group& group, const canvas::Matrix& ctm) override {
        expect(ctm.finite() && unit(group.opacity));
        frames_.push_back(Frame::Group);
    }
    void endGroup() override { end(Frame::Group); }
    void beginSoftMask(const canvas::SoftMask& mask, const canvas::Matrix& ctm) override {
        expect(ctm.finite() && (mask.transfer.empty() || mask.transfer.size() == 256));
        expectPaint(mask.backdrop);
        frames_.push_back(Frame::SoftMask);
    }
    void endSoftMask() override { end(Frame::SoftMask); }
    void clipStroke(const canvas::Path& path, const canvas::StrokeStyle& style,
                    const canvas::Matrix& ctm) override {
        expectPath(path, ctm);
        expect(std::isfinite(style.width) && style.width >= 0);
    }

    /// Saves, groups and soft masks not ended when the interpreter is done.
    size_t depth() const { return frames_.size(); }

  private:
    enum class Frame : uint8_t { Save, Group, SoftMask };

    void end(Frame kind) {
        expect(!frames_.empty() && frames_.back() == kind);
        frames_.pop_back();
    }

    static void expectPath(const canvas::Path& path, const canvas::Matrix& ctm) {
        expect(path.finite() && ctm.finite());
        size_t points = 0;
        for (const canvas::Path::Verb verb : path.verbs()) {
            points += verb == canvas::Path::Verb::CubicTo ? 3
                      : verb == canvas::Path::Verb::Close ? 0
                                                          : 1;
        }
        expect(points == path.points().size());
    }

    std::vector<Frame> frames_;
};

// The page's content: its stream, or the streams of its array one after another.
std::vector<uint8_t> contentOf(reader::pdf::Document& document,
                               const reader::pdf::PageEntry& page) {
    std::vector<uint8_t> content;
    const reader::pdf::Dict* dict = page.page.asDict();
    if (dict == nullptr) {
        return content;
    }
    const reader::pdf::Object contents = document.resolve(dict->get("Contents"));
    std::vector<reader::pdf::Object> parts;
    if (const reader::pdf::Array* array = contents.asArray()) {
        for (const reader::pdf::Object& part : *array) {
            parts.push_back(document.resolve(part));
        }
    } else {
        parts.push_back(contents);
    }
    for (const reader::pdf::Object& part : parts) {
        const reader::pdf::Stream* stream = part.asStream();
        if (stream == nullptr || content.size() >= kMaxContentBytes) {
            continue;
        }
        if (const std::optional<std::vector<uint8_t>> data =
                document.decodeStream(*stream, kMaxContentBytes - content.size())) {
            content.insert(content.end(), data->begin(), data->end());
            content.push_back('\n');
        }
    }
    return content;
}

bool within(const reader::PageText& text, const reader::TextPosition& at) {
    return at.block < text.blocks.size() && at.line < text.blocks[at.block].lines.size() &&
           at.index < text.blocks[at.block].lines[at.line].chars.size();
}

// The page's text through every way out of it: plain, laid out, by area, by flow and by search
// for up to four characters standing `offset` bytes into its plain text.
void readText(const reader::PageText& text, size_t offset) {
    const std::string plain = reader::plainText(text);
    (void)reader::layoutText(text);
    const reader::TextBox half{0, 0, text.width / 2, text.height};
    (void)reader::textInArea(text, half);
    reader::TextPosition from;
    reader::TextPosition to;
    if (reader::flowBounds(text, half, from, to)) {
        expect(within(text, from) && within(text, to) && from <= to);
        (void)reader::textBetween(text, to, from);
    }
    if (plain.empty()) {
        return;
    }
    size_t start = offset % plain.size();
    while (start > 0 && (uint8_t(plain[start]) & 0xC0) == 0x80) {
        --start;  // the start of a character
    }
    size_t end = start;
    for (int characters = 0; end < plain.size() && characters < 4; ++characters) {
        ++end;
        while (end < plain.size() && (uint8_t(plain[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    for (const reader::TextMatch& match : reader::findText(text, plain.substr(start, end - start))) {
        expect(within(text, match.from) && within(text, match.to) && match.from <= match.to &&
               !match.boxes.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An empty table of installed faces: no lookup reaches the system's font configuration,
    // whose process-wide caches the leak checker would report.
    if (!reader::libraryState().installedFonts) {
        reader::libraryState().installedFonts.emplace();
    }
    const std::unique_ptr<reader::pdf::Document> document =
        reader::pdf::Document::open(std::span(data, size));
    if (document == nullptr) {
        return 0;
    }
    const reader::pdf::PageList list = reader::pdf::readPageList(*document);
    for (size_t i = 0; i < list.pages.size() && i < kMaxPagesRun; ++i) {
        const reader::pdf::PageEntry& page = list.pages[i];
        const canvas::Matrix ctm = reader::pdf::pageTransform(page, 72, 72);
        expect(ctm.finite());
        CheckingDevice device;
        reader::pdf::Interpreter interpreter(*document, device, page.resources.asDict(), ctm);
        interpreter.run(contentOf(*document, page));
        expect(device.depth() == 0);
    }
    const reader::pdf::OptionalContent optionalContent =
        reader::pdf::OptionalContent::read(*document);
    reader::pdf::FontCache fonts(*document);
    for (size_t i = 0; i < list.pages.size() && i < kMaxPagesRun; ++i) {
        const reader::pdf::PageEntry& page = list.pages[i];
        const std::vector<uint8_t> content = contentOf(*document, page);
        readText(reader::pdf::collectPageText(*document, page, content, optionalContent, fonts),
                 size + i);
    }
    return 0;
}
