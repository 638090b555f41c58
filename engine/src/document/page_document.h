// The page state every document kind shares: the loaded page's words, geometry, display ratio
// and resolution, and the page-to-device scale.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/drawing_state.h"
#include "document/file_stream.h"
#include "render/symbol_codes.h"
#include "stream/page_stream.h"
#include "surface/surface.h"
#include "text/mark_record.h"
#include "vyn/records.h"

namespace vyn {

class DibPicture;

/// Page units per inch.
inline constexpr int32_t kPageUnitsPerInch = 742;
/// The page buffer: the longest word stream a page may have, in bytes.
inline constexpr uint32_t kPageBufferBytes = 409600;

/// ⌊resolution × ratio⌋ as the integer scale of every page-to-device conversion; 0 for a
/// ratio that is not a number, clamped to the 32-bit range.
int32_t scaleOf(int32_t resolution, float ratio);

/// A page length in page units converted to device pixels at `scale`.
int32_t pageUnitsToPixels(int32_t length, int32_t scale);

/// Picture elements one drawing keeps records of.
inline constexpr int32_t kMaxPictureRecords = 128;

struct PageSize {
    int32_t cx = 0;
    int32_t cy = 0;
};

class PageDocument {
  public:
    virtual ~PageDocument() = default;
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    /// Releases the file and every page resource and puts the view settings back.
    virtual void Close();
    /// Loads page `page` (0-based); false for a bad index or a damaged page.
    virtual bool LoadPage(int32_t page) = 0;

    PageSize GetPageSize() const;
    /// A ratio of 0 or below, or one that is not finite, is refused: the ratio stays.
    void SetDisplayRatio(float ratio) {
        if (std::isfinite(ratio) && ratio > 0.0f) {
            displayRatio_ = ratio;
        }
    }
    float GetDisplayRatio() const { return displayRatio_; }
    int32_t CurPage() const { return currentPage_; }
    void EnablePicture(bool enable) { picturesEnabled_ = enable; }

    void SetResolution(int32_t dpiX, int32_t dpiY) {
        resolutionX_ = dpiX;
        resolutionY_ = dpiY;
    }
    int32_t pageCount() const { return pageCount_; }
    int32_t docType() const { return docType_; }
    bool picturesEnabled() const { return picturesEnabled_; }
    const PageGeometry& geometry() const { return geometry_; }
    /// The loaded page's word stream (empty before the first load).
    std::span<const uint16_t> pageWords() const {
        return std::span(pageWords_).first(pageLength_ / 2);
    }
    /// Byte length of the loaded page's word stream.
    uint32_t pageLength() const { return pageLength_; }

    // --- drawing ---
    /// Draws the loaded page: `visible` is the device rectangle the page is shown in and
    /// (scrollX, scrollY) the page pixel at its top-left corner. The surface's resolution is
    /// used for the drawing; the stored one is put back afterwards.
    void Show(surface::Surface& surface, const surface::Rect& visible, int32_t scrollX,
              int32_t scrollY);
    /// Draws the loaded page onto a white off-screen page of GetPageSize() pixels, made
    /// compatible with `target`, and copies that to `target` at its origin; `visible`, x and y
    /// as for Show. A page size that is not positive or too large to allocate draws nothing.
    /// Returns 0.
    int32_t PrintPage(surface::Surface& target, const surface::Rect& visible, int32_t x, int32_t y);
    void DrawPageFirstDialect(surface::Surface& surface, const surface::Rect& visible,
                              int32_t scrollX, int32_t scrollY);
    virtual void DrawPageSecondDialect(surface::Surface& surface, const surface::Rect& visible,
                                       int32_t scrollX, int32_t scrollY);
    /// Draws one character string (1 or 2 bytes and a 0) at page position (x, y).
    void DrawChar(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s);
    void DrawCharPlain(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s);
    void DrawCharCulled(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s);
    /// Draws a user-defined character from the loaded page's glyph bitmap.
    void DrawUserGlyph(surface::Surface& surface, int32_t x, int32_t y, const uint8_t* s);
    /// The loaded page's bitmap of a user-defined character, or null.
    virtual DibPicture* FindGlyph(const uint8_t* code) = 0;
    /// Paints the marked characters again at the end of a drawing.
    void DrawMarks(surface::Surface& surface);
    static bool IsUserDefinedCode(const uint8_t* s);

    // --- scanning ---
    /// Starts a scan of the loaded page's characters from a zeroed drawing state.
    void BeginScan();
    /// The next character of the scan from word `index` (0 to start): its string in `s`
    /// (2 bytes and a 0), its position in characterX()/characterY(). Returns the word index
    /// after the character's code word, which is the word before it, or 0 at the end.
    size_t NextCharacter(size_t index, uint8_t s[3]);
    /// Page position of the last character the scan returned.
    int32_t characterX() const { return currentX_; }
    int32_t characterY() const { return characterY_; }

    // --- text and marks ---
    /// The text of the characters whose centres lie in `rect` (pixels of the scaled page),
    /// in stream order, zero-terminated in `buffer` of `size` bytes. Returns its length; it
    /// stops at the first character that would not fit.
    int32_t GetTextInRect(const surface::Rect& rect, char* buffer, int32_t size);
    /// The text from the character under (x1, y1) to the one under (x2, y2), in device pixels
    /// of the last drawing, with spaces and line breaks between; the characters are marked.
    /// Returns its length, 0 when no character lies under the start point, and only the first
    /// two bytes when the end point is not reached.
    int32_t GetTextBetweenPoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2, char* buffer,
                                 int32_t size);
    /// Marks every occurrence of `text` (spaces in it skipped) on the loaded page and returns
    /// how many; a null or empty text only clears the marks.
    int32_t MarkString(const char* text);
    /// The colour painted behind marked characters.
    void SetMarkColour(surface::ColorRef colour) { markColour_ = colour; }
    surface::ColorRef markColour() const { return markColour_; }
    const std::vector<MarkRecord>& marks() const { return marks_; }
    void ClearMarks() { marks_.clear(); }

    // --- page to device ---
    /// Where the page lands on the device: the visible rectangle and the scroll position.
    void SetView(const surface::Rect& visible, int32_t scrollX, int32_t scrollY) {
        visible_ = visible;
        scrollX_ = scrollX;
        scrollY_ = scrollY;
    }
    /// In place: page units to device pixels, through origin, offsets, scale, scroll and the
    /// visible rectangle's corner.
    void PageToDeviceRect(int32_t rect[4]) const;
    void PageToDevicePoint(int32_t point[2]) const;
    /// In place: device pixels (scroll and corner already removed) back to page units.
    void DeviceToPageRect(int32_t rect[4]) const;

    /// The integer scales of the current resolution and display ratio.
    int32_t scaleX() const { return scaleOf(resolutionX_, displayRatio_); }
    int32_t scaleY() const { return scaleOf(resolutionY_, displayRatio_); }
    /// In place: a character size in 1/289 inch to device pixels (kept as 16-bit values).
    void ScaleToDevice(int16_t& width, int16_t& height) const;

    // --- elements ---
    // Each takes the element's operand words as the stream reader gives them (words past the
    // end of a cut element read as 0) and draws with line operations in black.
    void DrawRule(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawArrowRule(surface::Surface& surface, std::span<const uint16_t> operand);
    /// These two return the operand length in words.
    int32_t DrawHeavyRule(surface::Surface& surface, std::span<const uint16_t> operand);
    int32_t DrawHeavyRuleAlt(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawArrowhead(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawFrame(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawSizedFrame(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawLegacyFrame(surface::Surface& surface, std::span<const uint16_t> operand);
    /// The second dialect's legacy frame: nothing is drawn.
    void SkipLegacyFrame(surface::Surface& surface, std::span<const uint16_t> operand);
    /// Returns the operand length in words.
    int32_t DrawCornerFrame(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawBracket(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawRadical(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawCheckMark(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawSymbolMark(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawEllipse(surface::Surface& surface, std::span<const uint16_t> operand);
    void DrawWidePolyline(surface::Surface& surface, std::span<const uint16_t> operand);
    /// Returns the operand length in words.
    int32_t DrawTypedPolyline(surface::Surface& surface, std::span<const uint16_t> operand);
    /// The colour of text and rules: always black.
    static surface::ColorRef ColourToRGB(uint16_t colourCode);

    // --- picture elements ---
    /// Draws one picture element: its record becomes the next of the drawing's records.
    /// Elements past the 128th are ignored.
    void DrawPictureElement(surface::Surface& surface, const PictureRecord& record);
    /// Starts a drawing's count of picture elements.
    void ResetPictureElements() { picturesSeen_ = 0; }
    /// The index of the first of the drawing's records, among the page's picture count, equal
    /// to `record`; the picture count when none is.
    int32_t FindPictureSlot(const PictureRecord& record) const;
    /// Draws the picture of a picture element, or its placeholder when pictures are off.
    virtual void DrawPicture(surface::Surface& surface, const PictureRecord& record) = 0;

    const StateBlock& state() const { return state_; }
    StateBlock& state() { return state_; }

    // --- fonts ---
    /// The 1-based position of `faceName` (UTF-8) in the engine's installed-font table, read
    /// from the last record to the first, skipping vertical faces; 0 when missing.
    static int32_t FindInstalledFont(std::string_view faceName);
    /// The face of `fontNumber` in the code page's table (or the base font), `width` and
    /// `height` device pixels, turned and slanted as the drawing state says. The font is
    /// selected into the surface and becomes the current font; none when no face is installed.
    std::optional<surface::LogFont> SelectTextFont(surface::Surface& surface, int32_t fontNumber,
                                                   int32_t width, int32_t height);
    /// A slanted face for Latin text; the text face when the state has no slant.
    std::optional<surface::LogFont> SelectSlantFont(surface::Surface& surface, int32_t fontNumber,
                                                    int32_t width, int32_t height);
    /// The symbol face of the state's symbol face index.
    std::optional<surface::LogFont> SelectSymbolFont(surface::Surface& surface, int32_t fontNumber,
                                                     int32_t width, int32_t height);
    /// The font the last selection made, if any.
    const std::optional<surface::LogFont>& currentFont() const { return currentFont_; }

  protected:
    PageDocument() = default;

    bool picturesEnabled_ = false;
    int32_t docType_ = 0;
    std::string path_;
    std::unique_ptr<FileStream> stream_;
    std::vector<uint16_t> pageWords_;
    uint32_t pageLength_ = 0;
    PageGeometry geometry_{};
    float displayRatio_ = 1.0f;
    int32_t currentPage_ = 0;
    int32_t pageCount_ = 0;
    int32_t pictureCount_ = 0;
    int32_t resolutionX_ = 72;
    int32_t resolutionY_ = 72;

    /// Makes the font of installed record `position` with the size, angle, weight and italic
    /// of `settings` (and `charSet` when given), selects it and keeps it as current.
    std::optional<surface::LogFont> makeFont(surface::Surface& surface, int32_t position,
                                             const surface::LogFont& settings,
                                             std::optional<uint8_t> charSet);

    StateBlock state_{};
    std::optional<surface::LogFont> currentFont_;
    /// One origin offset pushed by the page, page units.
    struct Offset {
        int32_t dx = 0;
        int32_t dy = 0;
    };
    static constexpr size_t kOffsetDepth = 12;

    void resetDrawing(const surface::Rect& visible, int32_t scrollX, int32_t scrollY);
    void drawPage(surface::Surface& surface, const surface::Rect& visible, int32_t scrollX,
                  int32_t scrollY, Dialect dialect);
    /// Carries out a command that changes only the drawing state; false for any other.
    bool applyStateCommand(const StreamItem& item, Dialect dialect, bool scanning);
    void pushOffset(int32_t dx, int32_t dy, Dialect dialect);
    void popOffset(Dialect dialect);
    void drawElement(surface::Surface& surface, const StreamItem& item, Dialect dialect);
    void drawCharacterSecondDialect(surface::Surface& surface, uint16_t code);
    void drawCharacterFirstDialect(surface::Surface& surface, uint16_t code);
    void drawCharacter(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s, bool culled);
    void rememberRuleEnd(std::span<const uint16_t> operand, int32_t x1, int32_t y1, int32_t x2,
                         int32_t y2);
    int32_t drawHeavy(surface::Surface& surface, std::span<const uint16_t> operand, bool alternate);
    /// Outlines the device rectangle of page corners (x1, y1)-(x2, y2) with a 2-pixel pen.
    void drawFrameOutline(surface::Surface& surface, int32_t x1, int32_t y1, int32_t x2,
                          int32_t y2);
    /// The glyph and symbol face a special code draws with, written into `s`.
    void specialCodeToGlyph(uint8_t* s);
    /// The scanned character `s` as text: special codes become their text, others stay.
    CharString scannedText(const uint8_t* s) const;
    /// The scanned character's mark record at the current position.
    MarkRecord markOfScanned(const uint8_t* s) const;
    /// The device box of the scanned character and its scaled width.
    surface::Rect scannedBox(const uint8_t* s, int32_t& width, int32_t& height) const;

    StateBlock fontCache_{};
    int32_t currentX_ = 0;  ///< page units
    int32_t currentY_ = 0;
    int32_t characterY_ = 0;  ///< the scanned character's y: line position and raise
    int16_t raise_ = 0;       ///< one-shot raise of the next character
    std::array<Offset, kOffsetDepth> offsetStack_{};
    int32_t offsetDepth_ = 0;
    int32_t offsetOverflow_ = 0;  ///< pushes past the stack, ignored, popped first
    uint16_t colourCode_ = 0xB000;
    int32_t lastRuleEndX_ = 0;  ///< unmasked x2, y2 of the last rule, page units
    int32_t lastRuleEndY_ = 0;
    double lastRuleAngle_ = 0.0;  ///< radians
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
    std::vector<MarkRecord> marks_;
    surface::ColorRef markColour_ = 0x0000FF;
    surface::ColorRef markTextColour_ = 0x00FF00;
    int32_t scrollX_ = 0;
    int32_t scrollY_ = 0;
    surface::Rect visible_{};
    std::array<PictureRecord, kMaxPictureRecords> pictureRecords_{};
    int32_t picturesSeen_ = 0;
};

}  // namespace vyn
