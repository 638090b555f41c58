// The C interface over the document classes. No exception crosses it: a failure becomes the
// function's neutral result.
#include <algorithm>

#include "document/vyn_document.h"
#include "engine_state.h"
#include "vyn/vynfile.h"

namespace {

vyn::VynDocument* documentOf(VynHandle handle) { return static_cast<vyn::VynDocument*>(handle); }

// Runs an export's body; an exception (memory exhausted, a file system error) becomes the
// export's failure result.
template <typename Result, typename Body>
Result guarded(Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

template <typename Body>
void guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

}  // namespace

extern "C" {

int32_t VYNFile_Init(void) {
    return guarded(0, [] {
        vyn::initEngine();
        return 1;
    });
}

void VYNFile_Exit(void) {
    guarded([] { vyn::exitEngine(); });
}

int32_t VYNFile_SetCodePage(int32_t codePage) {
    vyn::engineState().codePage = codePage;
    return 0;
}

void VYNFile_SetErrorCallback(VynErrorCallback callback) {
    vyn::engineState().errorCallback = callback != nullptr ? callback : vyn::writeErrorToStderr;
}

int32_t VYNFile_SetBaseFontName(const char* faceName) {
    guarded([faceName] { vyn::setBaseFontName(faceName); });
    return 0;
}

VynHandle VYNFile_Open(const char* path) {
    if (path == nullptr) {
        return nullptr;
    }
    return guarded(VynHandle{nullptr}, [path]() -> VynHandle {
        std::unique_ptr<vyn::VynDocument> document = vyn::VynDocument::Open(path);
        if (!document) {
            return nullptr;
        }
        vyn::setBaseFontName(nullptr);  // every new document starts from the numbered faces
        return document.release();
    });
}

void VYNFile_Close(VynHandle document) {
    if (vyn::VynDocument* d = documentOf(document)) {
        guarded([d] { d->Close(); });
        delete d;
    }
}

int32_t VYNFile_LoadPage(VynHandle document, int32_t page) {
    vyn::VynDocument* d = documentOf(document);
    return d != nullptr && guarded(false, [&] { return d->LoadPage(page); }) ? 1 : 0;
}

void VYNFile_Show(VynHandle document, surface::Surface* surface, VynRect visible, int32_t x,
                  int32_t y) {
    if (vyn::VynDocument* d = documentOf(document); d != nullptr && surface != nullptr) {
        guarded([&] {
            d->Show(*surface, {visible.left, visible.top, visible.right, visible.bottom}, x, y);
        });
    }
}

int32_t VYNFile_ReplaceFZWithGBK(VynHandle document, const char* code, const char* replacement) {
    vyn::VynDocument* d = documentOf(document);
    return d != nullptr
               ? guarded(0, [&] { return std::max(0, d->ReplaceFZWithGBK(code, replacement)); })
               : 0;
}

int32_t VYNFile_GetTextInRect(VynHandle document, VynRect rect, char* buffer, int32_t size) {
    vyn::VynDocument* d = documentOf(document);
    return d != nullptr
               ? guarded(0,
                         [&] {
                             return d->GetTextInRect({rect.left, rect.top, rect.right, rect.bottom},
                                                     buffer, size);
                         })
               : 0;
}

int32_t VYNFile_GetTextBetweenPoints(VynHandle document, int32_t x1, int32_t y1, int32_t x2,
                                     int32_t y2, char* buffer, int32_t size) {
    vyn::VynDocument* d = documentOf(document);
    return d != nullptr
               ? guarded(0, [&] { return d->GetTextBetweenPoints(x1, y1, x2, y2, buffer, size); })
               : 0;
}

int32_t VYNFile_MarkString(VynHandle document, const char* text) {
    vyn::VynDocument* d = documentOf(document);
    return d != nullptr ? guarded(0, [&] { return d->MarkString(text); }) : 0;
}

void VYNFile_SetMarkColor(VynHandle document, uint32_t color) {
    if (vyn::VynDocument* d = documentOf(document)) {
        d->SetMarkColour(color);
    }
}

void VYNFile_SetMarkBkColor(VynHandle document, uint32_t color) {
    VYNFile_SetMarkColor(document, color);
}

VynSize VYNFile_GetPageSize(VynHandle document) {
    const vyn::VynDocument* d = documentOf(document);
    if (d == nullptr) {
        return {0, 0};
    }
    const vyn::PageSize size = d->GetPageSize();
    return {size.cx, size.cy};
}

int32_t VYNFile_CurPage(VynHandle document) {
    const vyn::VynDocument* d = documentOf(document);
    return d != nullptr ? d->CurPage() : 0;
}

int32_t VYNFile_GetPageCount(VynHandle document) {
    const vyn::VynDocument* d = documentOf(document);
    return d != nullptr ? d->pageCount() : 0;
}

float VYNFile_GetDisplayRatio(VynHandle document) {
    const vyn::VynDocument* d = documentOf(document);
    return d != nullptr ? d->GetDisplayRatio() : 0.0f;
}

void VYNFile_SetDisplayRatio(VynHandle document, float ratio) {
    if (vyn::VynDocument* d = documentOf(document)) {
        guarded([&] { d->SetDisplayRatio(ratio); });
    }
}

void VYNFile_SetResolution(VynHandle document, int32_t dpiX, int32_t dpiY) {
    if (vyn::VynDocument* d = documentOf(document)) {
        guarded([&] { d->SetResolution(dpiX, dpiY); });
    }
}

void VYNFile_EnablePicture(VynHandle document, bool enable) {
    if (vyn::VynDocument* d = documentOf(document)) {
        guarded([&] { d->EnablePicture(enable); });
    }
}

int32_t VYNFile_GetDocType(VynHandle document) {
    const vyn::VynDocument* d = documentOf(document);
    return d != nullptr ? d->docType() : 0;
}

int32_t VYNFile_GetDirHead(VynHandle document, DirHead* head) {
    vyn::VynDocument* d = documentOf(document);
    return d != nullptr && head != nullptr && guarded(false, [&] { return d->GetDirHead(*head); })
               ? 0
               : -1;
}

int32_t VYNFile_GetDirItem(VynHandle document, int32_t count, DirItem* items) {
    vyn::VynDocument* d = documentOf(document);
    return d != nullptr && guarded(false, [&] { return d->GetDirItem(count, items); }) ? 0 : -1;
}

int32_t VYNFile_PrintPagetoSeqPage(VynHandle document, int32_t printedNumber) {
    const vyn::VynDocument* d = documentOf(document);
    return d != nullptr ? d->PrintPagetoSeqPage(printedNumber) : 0;
}

int32_t VYNFile_PrintPage(VynHandle document, surface::Surface* surface, VynRect visible, int32_t x,
                          int32_t y) {
    vyn::VynDocument* d = documentOf(document);
    if (d == nullptr || surface == nullptr) {
        return 0;
    }
    return guarded(0, [&] {
        return d->PrintPage(*surface, {visible.left, visible.top, visible.right, visible.bottom}, x,
                            y);
    });
}

int32_t VYNFile_SaveAsLowResolution(VynHandle document, const char* outputPath,
                                    int32_t /*unused*/) {
    vyn::VynDocument* d = documentOf(document);
    if (d == nullptr || outputPath == nullptr) {
        return -1;
    }
    return guarded(-1, [&] { return d->SaveAsLowResolution(outputPath); });
}

}  // extern "C"
