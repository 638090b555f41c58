// The current page: its dictionary, font and XObject resources and content streams.
#include <algorithm>

#include "devices/display_list.h"
#include "pages/page_list.h"
#include "reader/creader.h"
#include "reader_records.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "xref/document.h"

using namespace reader;

namespace {

// More resources than this on one page are not read.
constexpr size_t kMaxEntries = 65536;

}  // namespace

void CReader::ClearContent() { items_.clear(); }

// The fonts go, and every pointer to one with them: the current font and the saved states.
void CReader::ClearFont() {
    fonts_.clear();
    currentFont_ = nullptr;
    ClearGSStack();
}

int CReader::GetPage(int page) {
    try {
        WriteLog(kLogTrace, "%s\r\n", "CReader::GetPage--function in.");
        lastError_ = 0;
        if (page < 1 || page > pageCount_) {
            SetErrorCode(kPageRangeError);
            WriteLog(kLogError, "%s\r\n", "CReader::GetPage--Page range error.");
            return 0;
        }
        ClearStack();
        fillColour_ = 0;
        text_ = TextState{};
        std::fill(std::begin(mediaBox_), std::end(mediaBox_), 0);
        std::fill(std::begin(cropBox_), std::end(cropBox_), 0);
        currentPage_ = page;
        if (!Traced("CReader::GetPageContent", [this] { return GetPageContent(); })) {
            WriteLog(kLogTrace, "%s\r\n", "CReader::GetPage--function out(failed).");
            return 0;
        }
        rewind();
        reDraw_ = 1;
        pageBitmap_.reset();
        displayList_.reset();
        pageText_.reset();
        WriteLog(kLogTrace, "%s\r\n", "CReader::GetPage--function out(success).");
        return 1;
    } catch (...) {
        return exceptionMet(false);
    }
}

bool CReader::GetPageContent() {
    xobjects_.clear();
    ClearContent();
    ClearFont();
    const pdf::PageEntry& page = pages_[size_t(currentPage_ - 1)];
    readPageBoxes(page);
    if (const pdf::Dict* resources = page.resources.asDict()) {
        GetResources(*resources);
    }
    GetContents(page.page.asDict()->get("Contents"));
    return true;
}

void CReader::GetResources(const pdf::Dict& resources) {
    if (const pdf::Dict* fonts = document_->resolve(resources.get("Font")).asDict()) {
        GetFont(*fonts);
    }
    if (const pdf::Dict* xobjects = document_->resolve(resources.get("XObject")).asDict()) {
        GetXObject(*xobjects);
    }
}

void CReader::GetFont(const pdf::Dict& fonts) {
    for (const auto& [name, value] : fonts.entries()) {
        if (fonts_.size() == kMaxEntries) {
            break;
        }
        // A font whose dictionary cannot be read still names a font, of default details.
        FontResource& resource = fonts_.emplace_back();
        resource.name = name;
        resource.font = std::make_unique<TFont>();
        resource.font->objectNumber = value.asRef().value_or(pdf::Ref{}).num;
        const pdf::Object font = document_->resolve(value);
        if (const pdf::Dict* dict = font.asDict()) {
            GetFontDetail(*resource.font, *dict, 0);
        }
    }
}

void CReader::GetXObject(const pdf::Dict& xobjects) {
    for (const auto& [name, value] : xobjects.entries()) {
        if (xobjects_.size() == kMaxEntries) {
            break;
        }
        if (const std::optional<pdf::Ref> ref = value.asRef()) {
            xobjects_.push_back({name, ref->num});
        }
    }
}

void CReader::GetContents(const pdf::Object& contents) {
    for (const pdf::Stream& stream : pdf::contentStreams(*document_, contents)) {
        ContentItem& item = items_.emplace_back();
        std::optional<std::vector<uint8_t>> data = document_->decodeStream(stream);
        if (data) {
            DumpStream(std::span(reinterpret_cast<const char*>(data->data()), data->size()));
            item.buffer.assign(data->begin(), data->end());
        }
        item.size = item.buffer.size();
        item.length = int32_t(std::min<size_t>(item.buffer.size(), INT32_MAX));
        item.decoded = data.has_value();
    }
}

std::vector<std::string_view> CReader::pageContents() const {
    std::vector<std::string_view> contents;
    for (const ContentItem& item : items_) {
        contents.push_back(std::string_view(item.buffer).substr(std::min(item.data, item.size)));
    }
    return contents;
}

std::vector<std::string> CReader::fontNames() const {
    std::vector<std::string> names;
    for (const FontResource& font : fonts_) {
        names.emplace_back(font.name);
    }
    return names;
}

const TFont* CReader::fontOf(std::string_view name) const {
    for (const FontResource& font : fonts_) {
        if (name == font.name) {
            return font.font.get();
        }
    }
    return nullptr;
}

std::vector<std::pair<std::string, int32_t>> CReader::xobjects() const {
    std::vector<std::pair<std::string, int32_t>> list;
    for (const XObjectResource& x : xobjects_) {
        list.emplace_back(x.name, x.objectNumber);
    }
    return list;
}
