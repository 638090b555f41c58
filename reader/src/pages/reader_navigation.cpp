// CReader's outline, page labels and links, read from the open document when asked for.
#include "pages/destination.h"
#include "pages/links.h"
#include "pages/outline.h"
#include "pages/page_labels.h"
#include "pages/page_list.h"
#include "reader/creader.h"
#include "support/debug_log.h"
#include "xref/document.h"

using namespace reader;

// A file that breaks one of these (or memory that runs out) gives nothing rather than an
// exception through the library's interface.
std::vector<OutlineItem> CReader::GetOutline() {
    try {
        return document_ != nullptr ? pdf::readOutline(*document_, pages_)
                                    : std::vector<OutlineItem>();
    } catch (...) {
        WriteLog(kLogError, "%s\r\n", "CReader::GetOutline--the outline could not be read.");
        return {};
    }
}

std::string CReader::GetPageLabel(int page) {
    try {
        if (document_ == nullptr || page < 1 || size_t(page) > pages_.size()) {
            return {};
        }
        return pdf::pageLabel(pdf::readPageLabels(*document_), page - 1);
    } catch (...) {
        WriteLog(kLogError, "%s\r\n", "CReader::GetPageLabel--the labels could not be read.");
        return {};
    }
}

std::vector<Link> CReader::GetLinks(int page) {
    try {
        if (document_ == nullptr || page < 1 || size_t(page) > pages_.size()) {
            return {};
        }
        const pdf::Dict* dict = pages_[size_t(page - 1)].page.asDict();
        if (dict == nullptr) {
            return {};
        }
        pdf::DestinationReader destinations(*document_, pages_);
        return pdf::readLinks(*document_, destinations, *dict);
    } catch (...) {
        WriteLog(kLogError, "%s\r\n", "CReader::GetLinks--the links could not be read.");
        return {};
    }
}
