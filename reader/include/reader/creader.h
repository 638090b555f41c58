// The PDF and ZOR reader: one open document, its page list and the current page's resources
// and content streams.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "reader/content_state.h"
#include "reader/navigation.h"
#include "reader/page_text.h"
#include "reader/reader_export.h"
#include "surface/surface.h"

namespace files {
class PartialFile;
}

namespace reader {
namespace pdf {
class Document;
class Dict;
class Object;
class DisplayList;
class FontCache;
class OptionalContent;
struct PageEntry;
}  // namespace pdf
using files::PartialFile;
struct GlyphMatrix;
struct ImageContext;
struct ImageRecord;
struct ContentItem;
struct FontResource;
struct XObjectResource;

/// A zero-filled byte buffer whose memory is taken from the system only as it is used, so a
/// large buffer costs nothing until it is written.
class ZeroedBuffer {
  public:
    explicit ZeroedBuffer(size_t size);
    ~ZeroedBuffer();
    ZeroedBuffer(const ZeroedBuffer&) = delete;
    ZeroedBuffer& operator=(const ZeroedBuffer&) = delete;
    char* data() { return bytes_; }
    size_t size() const { return size_; }

  private:
    char* bytes_;
    size_t size_;
};
}  // namespace reader

/// The page information GetPageInfo fills: page count, MediaBox, CropBox (points).
struct tagPAGEINFO {
    int32_t pageCount;
    int32_t mediaBox[4];  ///< x0, y0, x1, y1
    int32_t cropBox[4];
};

class READER_EXPORT CReader {
  public:
    CReader();
    virtual ~CReader();
    CReader(const CReader&) = delete;
    CReader& operator=(const CReader&) = delete;

    /// Opens a PDF or ZOR file and reads its structure and page tree; 1 or 0.
    int Open(const char* path);
    /// Opens a PDF or ZOR file held in memory, as Open does; `bytes` must outlive the reader's
    /// use of them (until the next Open or Close).
    int OpenMemory(std::span<const uint8_t> bytes);
    /// Releases the file and everything read from it, and forgets the password; buffers and
    /// settings stay.
    void Close();
    /// The password Open tries on an encrypted file, as its user and then its owner password
    /// (a file whose user password is empty needs none); kept until Close. 1.
    int SetPassword(const char* password);
    /// Destroys a reader made with new.
    void Free();
    /// Makes page `page` (from 1) current: its resources and content streams; 1 or 0.
    int GetPage(int page);
    /// Rewinds the interpreter on the current page `page`; 1, or 0 for another page.
    int ReGetPage(int page);
    /// Runs the current page's content to its next drawable object: 1 with `type` filled, 0
    /// at the end. Strings, arrays and images go to `*buffer` of `bufferSize` bytes (the data
    /// buffer, which an image may replace by a larger one).
    int GetObjectA(char** buffer, int& bufferSize, tagOBJECT_TYPE* type);
    /// Renders the current page on `dc` (in twips, through a cached page bitmap on screen,
    /// directly when printing); `window` gives the screen resolution. With `selecting`, the
    /// selection rectangle (device pixels) is taken and its text collected into `text`, which
    /// must hold 51,200 bytes; the page is then rendered again only when it is marked so.
    int Draw(const surface::Device* window, surface::Surface* dc, int selecting,
             surface::Rect& selection, char* text, int printing);
    /// Marks the page for rendering at the next Draw (1), or not (0).
    void ReDraw(int on) { reDraw_ = on; }
    void GetPageInfo(tagPAGEINFO* info) const;
    surface::Size GetPageSize() const { return pageSize_; }
    /// The page size plus 50 pixels each way.
    surface::Size GetScrollRange() const { return {pageSize_.cx + 50, pageSize_.cy + 50}; }
    /// Sizes the page for the stored scale at the device's resolution (none: nothing
    /// changes); returns the scroll range.
    surface::Size ResetScroll(const surface::Device* device);
    /// Stores the zoom in percent and sizes the page for it at the device's resolution
    /// (none: only the zoom is stored); returns the scroll range.
    surface::Size SetScale(const surface::Device* device, int percent, int reRender);
    void SetOffset(surface::Point offset) { offset_ = offset; }
    surface::Point GetOffset() const { return offset_; }
    void SetWindowOrg(surface::Point origin) { windowOrg_ = origin; }
    void SetRectSelect(int on) { rectSelect_ = on; }
    void SetColumnSelect(int on) { columnSelect_ = on; }
    /// Shows GB2312 page text in Big5 (Traditional characters); the page is drawn anew.
    void SetBig5(int on);
    void ShowType1Font(int on) { showType1_ = on; }
    void ShowPicture(int on) { showPicture_ = on; }
    void ShowGraph(int on) { showGraph_ = on; }
    void SetBkColor(surface::ColorRef colour) { background_ = colour; }
    surface::ColorRef GetBkColor() const { return background_; }
    /// The first error recorded since the last Open or GetPage, and its message.
    int GetLastErrorCode() const { return lastError_; }
    const char* GetLastErrorMsg() const;

    // --- structure access ---
    bool isPacked() const { return packed_ != 0; }
    /// The header copy of a ZOR file (254 bytes), all zero for a PDF.
    const std::vector<uint8_t>& header() const { return header_; }
    int pageCount() const { return pageCount_; }
    int currentPage() const { return currentPage_; }
    int rootId() const { return rootId_; }
    int infoId() const { return infoId_; }
    /// Object numbers of the pages in page order.
    const std::vector<int32_t>& pageIds() const { return pageIds_; }
    /// The current page's rotation: 0, 90, 180 or 270 degrees clockwise (0 before GetPage).
    int pageRotation() const;
    /// The current page's size of its unit of default user space, in points (1 before GetPage).
    double userUnit() const;
    /// How the file's objects were found: "table", "stream", "hybrid" or "repaired"; empty
    /// when no file is open.
    const char* xrefForm() const;
    /// Whether the file is laid out for reading page by page as it arrives.
    bool isLinearized() const;
    /// Whether the open file is encrypted (and was decrypted).
    bool isEncrypted() const;
    /// What an encrypted file's permissions allow: printing, copying its text and graphics,
    /// modifying it; all true for a file in the clear. Reported only: nothing enforces them.
    bool mayPrint() const;
    bool mayCopy() const;
    bool mayModify() const;
    /// The offset in the file of object `n`'s header, or -1 (also for an object kept in an
    /// object stream).
    int32_t GetObjOffset(int32_t n) const;
    /// Object `n` written out from its header through "endobj" (a stream's data as stored).
    std::optional<std::string> ReadObjToBufferByID(int32_t n);
    /// The decoded data of stream object `n`; none when it is not a stream or does not
    /// decode.
    std::optional<std::vector<uint8_t>> ReadStreamByID(int32_t n);
    /// The current page's content streams, decoded, in order.
    std::vector<std::string_view> pageContents() const;
    /// The current page's text in reading order, each character with its box in points of the
    /// page as shown; empty before GetPage. Read once per page.
    const reader::PageText& pageText();
    /// The current page's font and XObject resource names.
    std::vector<std::string> fontNames() const;
    /// The details of the current page's font resource `name`, or null.
    const reader::TFont* fontOf(std::string_view name) const;
    std::vector<std::pair<std::string, int32_t>> xobjects() const;

    // --- navigation ---
    /// The document's outline in reading order, each entry followed by those below it (its
    /// `level` one more); empty when it has none or nothing is open.
    std::vector<reader::OutlineItem> GetOutline();
    /// The label the document gives page `page` (from 1), UTF-8: "iv", "A-3"; empty when it
    /// gives none (the page is then known by its number).
    std::string GetPageLabel(int page);
    /// The link annotations of page `page` (from 1) that lead to a place in the document or
    /// to a URI, their rectangles in the page's default user space.
    std::vector<reader::Link> GetLinks(int page);

    /// Writes to `output`, after its header, the pages listed in `pages` (numbers from 1, the
    /// list ending with -1; others skipped) with every object they lead to, a new page tree,
    /// catalog, information dictionary, cross-reference section and trailer. 1, or 0 with the
    /// last library error set.
    int ComboPDF(reader::PartialFile& output, const int32_t* pages);
    /// Writes the file `output` of the pages listed in `pages` (as ComboPDF takes them), under
    /// a temporary name until it is complete: 1, or 0 with the last library error set.
    int ExtractPages(const int32_t* pages, const char* output);

  private:
    // file access
    int exceptionMet(bool close) noexcept;
    /// Close, for an Open that is to use the password set before it.
    void closeKeepingPassword();
    int openBytes(std::span<const uint8_t> bytes, const char* name);
    bool readBytes(std::span<const uint8_t> bytes, const char* name);
    bool openDocument();
    bool CheckFileVersion();
    int64_t pdfSize() const;
    // page tree and the current page
    bool GetPages();
    void readPageBoxes(const reader::pdf::PageEntry& page);
    bool GetPageContent();
    void GetResources(const reader::pdf::Dict& resources);
    void GetFont(const reader::pdf::Dict& fonts);
    void GetXObject(const reader::pdf::Dict& xobjects);
    /// Adds the content streams `contents` names (a stream, or an array of them) to the page's.
    void GetContents(const reader::pdf::Object& contents);
    void ClearContent();
    void ClearFont();

    // content interpreter
    void Push(std::string_view word);
    /// The top operand as a number, or 0 (code 22) when the stack is empty.
    float PopNumber();
    std::string Pop();
    void ClearStack() { operands_.clear(); }
    void PushGS();
    void PopGS();
    void ClearGSStack() {
        gsStack_.clear();
        unsavedStates_ = 0;
    }
    /// A point of user space on the page, through the whole transformation matrix.
    void CalcPoint(reader::PathPoint& point) const;
    /// A size or direction through the matrix's linear part.
    void scaleVector(reader::PathPoint& vector) const;
    /// a b c d of the text matrix times the transformation matrix.
    std::array<float, 4> textLinear() const;
    void rewind();
    bool nextItem();
    /// Acts on operator `word`; true when it produced a drawable object of `kind`.
    bool runOperator(std::string_view word, int& kind);
    /// The image XObject named `name` made ready for drawing; false when there is none.
    bool imageObject(const std::string& name);
    reader::ImageContext imageContext();
    bool pathObject(int op, int popped);
    // fonts and text
    /// Reads the font dictionary `dict`, its descriptor and descendant font into `font`.
    bool GetFontDetail(reader::TFont& font, const reader::pdf::Dict& dict, int depth);
    void GetFontWidths(reader::TFont& font, const reader::pdf::Object& widths);
    bool GetFontFile2(const reader::pdf::Object& file, const std::string& fontName);
    bool GetFontFile(reader::TFont& font, const reader::pdf::Object& file,
                     const std::string& fontName);
    /// The index of the installed face named `name` (spaces ignored), or -1.
    int FindFont(std::string_view name);
    surface::LogFont GetDefaultFont() const;
    surface::LogFont CreateTextFont();
    float charWidth(uint8_t code) const;
    surface::Size GetStringWidth(std::string_view text, float wordSpacing, float charSpacing) const;
    /// The width of the character starting at `i`, moving `i` to its last byte.
    float CharacterWidth(std::string_view text, size_t& i) const;
    /// For every length L of `text`, GetStringWidth(first L bytes).cx, in one pass.
    std::vector<float> PrefixWidths(std::string_view text, float wordSpacing,
                                    float charSpacing) const;
    surface::Size GetMultiTextExtent(std::string_view array, float wordSpacing,
                                     float charSpacing) const;
    void forEachArrayElement(std::string_view array,
                             const std::function<void(std::string_view, float, bool)>& visit) const;
    /// Takes what the selection rectangle holds of the current text object.
    void SelectTextObject(surface::Surface& dc, float pageTop);
    /// What the selection takes of one text object: all of it, or the bytes [first, last).
    struct Selection {
        bool selected = false;
        bool split = false;
        size_t first = 0;
        size_t last = 0;
        float splitPoint = 0;
    };
    /// Tests a text object at (x, y) against the selection and collects what it takes.
    Selection SelectText(surface::Surface& dc, float x, float y, std::string_view text,
                         float wordSpacing, float charSpacing);
    void appendSelected(std::string_view text);
    /// Takes what the selection rectangle holds of `text` set at (x, y), and shows it.
    void selectString(surface::Surface& dc, float x, float y, std::string_view text,
                      float wordSpacing, float charSpacing);
    void highlight(surface::Surface& dc, float x, float y, std::string_view text,
                   float wordSpacing, float charSpacing);
    void selectArray(surface::Surface& dc, float x, float y, std::string_view array,
                     float wordSpacing, float charSpacing);
    /// The current page's size in pixels at `dpiX` x `dpiY`: its visible box, turned.
    surface::Size pagePixels(double dpiX, double dpiY) const;
    /// Draws the current page on `dc` at the reader's resolution.
    void drawPage(surface::Surface& dc, bool printing);
    /// The document's fonts for drawing, made on first use for the display the reader is in.
    reader::pdf::FontCache& pageFonts();
    /// Collects into `text` the text `selection` (pixels of the page) holds, and shows it.
    void selectText(surface::Surface& dc, const surface::Rect& selection, char* text);

    void SetErrorCode(int code) {
        if (lastError_ == 0) {
            lastError_ = code;
        }
    }
    void sizePage(const surface::Device& device);

    int showPicture_ = 1;
    int showGraph_ = 1;
    /// The file's bytes when the reader holds them (opened by path, or a ZOR file's PDF
    /// unmasked); `pdf_` views the PDF's bytes, in them or in the caller's buffer.
    std::vector<uint8_t> ownBytes_;
    std::span<const uint8_t> pdf_;
    std::string password_;
    int64_t fileSize_ = 0;
    std::unique_ptr<reader::pdf::Document> document_;
    std::vector<reader::pdf::PageEntry> pages_;
    int packed_ = 0;
    reader::ZeroedBuffer data_;
    std::vector<char> glyphBuffer_;
    std::vector<char> selectedText1_;
    int32_t rootId_ = -1;
    int32_t infoId_ = -1;
    int32_t pageCount_ = 0;
    int32_t docMediaBox_[4] = {0, 0, 596, 842};
    std::vector<int32_t> pageIds_;
    int32_t mediaBox_[4] = {};
    int32_t cropBox_[4] = {};
    int32_t currentPage_ = 0;
    std::vector<reader::ContentItem> items_;
    std::vector<reader::FontResource> fonts_;
    std::vector<reader::XObjectResource> xobjects_;
    surface::Point offset_{0, 0};
    surface::Size pageSize_{0, 0};
    int scale_ = 100;
    int showType1_ = 1;
    int big5_ = 0;
    int rectSelect_ = 0;
    int columnSelect_ = 0;
    int reDraw_ = 1;
    surface::ColorRef fillColour_ = 0;
    surface::ColorRef background_ = 0xFFFFFF;
    surface::Point windowOrg_{0, 0};
    int lastError_ = 0;
    std::vector<uint8_t> header_;

    // interpreter state
    std::vector<std::string> operands_;
    std::vector<reader::GraphicsStateNode> gsStack_;
    size_t unsavedStates_ = 0;  ///< "q"s past the deepest state kept
    float ctm_[6] = {1, 0, 0, 1, 0, 0};
    surface::ColorRef strokeColour_ = 0;
    reader::TextState text_;
    reader::PathRecord path_;
    reader::TFont* currentFont_ = nullptr;
    float fontSize_ = 0;
    float advanceX_ = 0;
    float advanceY_ = 0;
    size_t curItem_ = 0;
    size_t cursor_ = 0;
    std::unique_ptr<surface::Surface> pageBitmap_;
    /// What the current page draws, recorded once and replayed at each zoom and repaint.
    std::unique_ptr<reader::pdf::DisplayList> displayList_;
    /// The current page's text, read when first asked.
    std::optional<reader::PageText> pageText_;
    /// The fonts of the document's pages, loaded once as pages are drawn; they go with it.
    std::unique_ptr<reader::pdf::FontCache> pageFonts_;
    /// The document's default optional-content configuration.
    std::unique_ptr<reader::pdf::OptionalContent> optionalContent_;
    std::unique_ptr<reader::ImageRecord> image_;  ///< the image handed to the drawer
    surface::Size pageTwips_{0, 0};
    float dpiX_ = 0;
    float dpiY_ = 0;
    surface::Rect selectRect_{};
    /// From the pixels the text renderer selects in to the page's pixels.
    surface::canvas::Matrix selectionToPage_;
    surface::LogFont lfText_{};
    /// The last text font measured while the page is drawn, and its average character width:
    /// text objects in one font in a row measure it once.
    std::optional<std::pair<surface::LogFont, int32_t>> measuredFont_;
    int direction_ = 1;     ///< 1 horizontal text, 2 vertical
    float textHeight_ = 0;  ///< twips
    float textWidth_ = 0;
};
