// The page tree walked into a flat list of page objects, and the default MediaBox.
#include <algorithm>

#include "reader/creader.h"
#include "reader_records.h"
#include "structure/pdf_lexer.h"
#include "support/debug_log.h"
#include "support/error_codes.h"

using namespace reader;

namespace {

// Nodes nested deeper than this are not followed.
constexpr int kMaxTreeDepth = 64;
// A Count above this is not believed: the page list never grows past it.
constexpr int32_t kMaxPages = 1 << 20;

}  // namespace

void CReader::GetMediaBox(std::string_view text) {
    const size_t at = text.find("MediaBox");
    const size_t open = at == std::string_view::npos ? at : text.find('[', at);
    if (open == std::string_view::npos) {
        WriteLog(kLogError, "%s\r\n", "CReader::GetPages--Not found MediaBox, use default.");
        std::copy_n(std::begin({0, 0, 596, 842}), 4, docMediaBox_);
        return;
    }
    TextCursor cursor(text, open + 1);
    for (int32_t& value : docMediaBox_) {
        value = cursor.GetInt();
    }
}

bool CReader::GetPages() {
    WriteLog(kLogTrace, "%s\r\n", "CReader::GetPages--function in.");
    const std::optional<std::string> pages = ReadObjToBufferByID(pagesId_);
    if (!pages) {
        return false;
    }
    const size_t typeAt = FindString(*pages, "Type");
    if (typeAt == std::string::npos) {
        SetErrorCode(kNoString);
        WriteLog(kLogError, "%s(%s)\r\n", "CReader::GetPages--Not find String.", "Type");
        return false;
    }
    TextCursor type(*pages, typeAt + 4);
    if (type.GetString(64) != "/Pages") {
        SetErrorCode(kNoPages);
        WriteLog(kLogError, "%s\r\n", "CReader::GetPages--Not found pages.");
        return false;
    }
    GetMediaBox(*pages);
    const int32_t count = LookupInt(*pages, "Count");
    if (count == -1) {
        SetErrorCode(kNoString);
        WriteLog(kLogError, "%s(%s)\r\n", "CReader::GetPages--Not find String.", "Count");
        return false;
    }
    if (count < 0 || count > kMaxPages) {
        SetErrorCode(kAllocError);
        WriteLog(kLogError, "%s\r\n", "CReader::GetPages--Alloc memory bError.");
        return false;
    }
    pageIds_.clear();
    pageIds_.reserve(size_t(count));
    pageLimit_ = count;
    pageCount_ = 0;
    std::unordered_set<int32_t> visited;
    if (GetKids(pagesId_, 0, visited) == 0) {
        WriteLog(kLogTrace, "%s\r\n", "CReader::GetPages--function out(failed).");
        return false;
    }
    // Pages past Count are found but not kept.
    const int32_t found = pageCount_;
    pageCount_ = int32_t(pageIds_.size());
    if (found != count) {
        // Reported over the code every leaf leaves behind, so that it can be seen.
        lastError_ = kPageCountError;
        WriteLog(kLogWarning, "%s\r\n", "CReader::GetPages--Page's nCount not match.");
    }
    WriteLog(kLogTrace, "%s\r\n", "CReader::GetPages--function out(success).");
    return true;
}

// Returns 0 for a page (its number is appended by the caller), 1 for any other node. A node
// met again (a loop in the tree) or nested too deep is not followed and is no page.
int CReader::GetKids(int32_t n, int depth, std::unordered_set<int32_t>& visited) {
    if (depth > kMaxTreeDepth || visited.contains(n)) {
        WriteLog(kLogWarning, "%s(%d)\r\n", "CReader::GetKids--Node met again, not followed.", n);
        return 1;
    }
    visited.insert(n);
    const std::optional<std::string> node = ReadObjToBufferByID(n);
    if (!node) {
        return 0;
    }
    const size_t kids = node->find("Kids");
    if (kids == std::string::npos) {
        SetErrorCode(kNoKids);
        WriteLog(kLogWarning, "%s\r\n", "CReader::GetKids--Not find kids.");
        return node->find("/Content") != std::string::npos ? 0 : 1;
    }
    TextCursor cursor(*node, kids + 4);
    cursor.SkipWhite();
    const bool array = cursor.peek() == '[';
    if (array) {
        cursor.advance();
    }
    while (true) {
        cursor.SkipWhite();
        if (cursor.atEnd() || cursor.peek() == ']') {
            break;
        }
        const size_t before = cursor.position();
        const int32_t child = cursor.GetInt();
        if (cursor.position() == before) {
            break;
        }
        if (GetKids(child, depth + 1, visited) == 0) {
            if (pageCount_ < pageLimit_) {
                pageIds_.push_back(child);
            }
            ++pageCount_;
        }
        cursor.GetString(32);  // the generation
        cursor.GetString(32);  // "R"
        if (!array) {
            break;
        }
    }
    return 1;
}
