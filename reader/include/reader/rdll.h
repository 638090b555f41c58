// The reader's flat interface: readers in ten numbered slots, and the library-wide functions.
// A handle is a slot number 0..9; a function given a handle outside that range or of an empty
// slot does nothing and returns the neutral value its comment names.
#pragma once

#include <stdint.h>

#include "reader/creader.h"
#include "reader/reader_export.h"
#include "surface/types.h"

extern "C" {

/// The contents records of the paged-document formats (a 132-byte head whose last 4 bytes
/// count the 308-byte items); the reader handles them as bytes.
struct DirHead;
struct DirItem;

/// A size in pixels, as the size functions return it.
typedef struct RdllSize {
    int32_t cx;
    int32_t cy;
} RdllSize;

/// Builds the installed-font table (first releasing a previous one) and, unless `fontsOnly`,
/// starts the Type 1 rasteriser. Returns 1, or 0 when the rasteriser does not start.
READER_EXPORT int RDLL_Init(int fontsOnly);
/// Releases the font table and, unless `fontsOnly`, the font files the library added, the
/// Type 1 rasteriser and the Type 1 files.
READER_EXPORT void RDLL_Free(int fontsOnly);
/// 1 when a file matches `path` (wild cards * ? [...] allowed), else 0.
READER_EXPORT int RDLL_IsExist(const char* path);
/// The last error of the file functions, and its message.
READER_EXPORT int RDLL_GetLastErrorCode(void);
READER_EXPORT const char* RDLL_GetLastErrorMsg(void);

/// Opens `path` in the first free slot; the slot, or -1 when all ten are taken or the file
/// does not open.
READER_EXPORT int RDLL_OpenPDFFile(const char* path);
/// Destroys the reader of `handle`; returns the handle (-1 for an invalid one).
READER_EXPORT int RDLL_Close(int handle);
READER_EXPORT void RDLL_CloseAll(void);
/// Restarts the Type 1 rasteriser; 1 when it started.
READER_EXPORT int RDLL_ReInitFont(void);
/// 1 or 0 (also for an invalid handle).
READER_EXPORT int RDLL_GetPage(int handle, int page);
READER_EXPORT int RDLL_ReGetPage(int handle, int page);
/// Draws the current page on `surface` (no selection, no text buffer); 1 or 0.
READER_EXPORT int RDLL_Draw(int handle, const surface::Device* window, surface::Surface* surface,
                            int printing);
/// Marks the page for rendering at the next Draw; 1, or 0 for an invalid handle.
READER_EXPORT int RDLL_ReDraw(int handle, int on);
READER_EXPORT int RDLL_GetPageInfo(int handle, tagPAGEINFO* info);
/// The reader's last error code; -1 for an invalid handle.
READER_EXPORT int RDLL_GetErrorCode(int handle);
/// Sizes: (0, 0) for an invalid handle. `device` null: no window.
READER_EXPORT RdllSize RDLL_SetScale(int handle, const surface::Device* device, int percent,
                                     int reRender);
READER_EXPORT RdllSize RDLL_GetScrollRange(int handle);
READER_EXPORT RdllSize RDLL_GetPageSize(int handle);
READER_EXPORT RdllSize RDLL_ResetScroll(int handle, const surface::Device* device);
/// 1, or 0 for an invalid handle.
READER_EXPORT int RDLL_SetOffset(int handle, int x, int y);
READER_EXPORT int RDLL_GetOffset(int handle, surface::Point* offset);
READER_EXPORT void RDLL_SetWindowOrg(int handle, int x, int y);
READER_EXPORT void RDLL_SetRectSelect(int handle, int on);
READER_EXPORT void RDLL_SetColumnSelect(int handle, int on);
READER_EXPORT void RDLL_SetBig5(int handle, int on);
READER_EXPORT void RDLL_ShowType1Font(int handle, int on);
READER_EXPORT int RDLL_SetBkColor(int handle, surface::ColorRef colour);

/// The pages RDLL_ComboPDF takes from a document.
typedef struct PageExtractRequest {
    char path[260];       ///< the PDF or ZOR file, NUL-terminated
    int32_t pages[1000];  ///< page numbers from 1, in the order the new file lists them
    int32_t count;        ///< below 1000; pages[count] is set to -1
} PageExtractRequest;

/// Told how packing goes: first (size of the source, 12000, 1), then (size of the source,
/// bytes just packed, 0) after every block.
typedef void (*RdllPackProgress)(int32_t total, int32_t count, int32_t starting);
/// Packs the PDF file `source` into the ZOR file `destination` (replaced only when packing
/// succeeds); `progress` may be null. 1, or 0 with the last library error set.
READER_EXPORT int RDLL_PackFile(const char* source, const char* destination,
                                RdllPackProgress progress);
/// Writes the PDF inside the ZOR file `source` to `destination` (replaced only when unpacking
/// succeeds); the third argument is ignored. 1, or 0 with the last library error set.
READER_EXPORT int RDLL_UnPackFile(const char* source, const char* destination, int unused);
/// Gives the ZOR file `path` the catalog `head` + the items it counts, replacing any catalog
/// it had. 1, or 0 with the last library error set; a file that is not a ZOR file is refused.
READER_EXPORT int RDLL_PackCatalogToFile(const char* path, const DirHead* head,
                                         const DirItem* items);
/// Fills `head` (132 bytes) with the catalog head of a ZOR 2.00 file: 1, or 0 when the file
/// has no catalog or it cannot be read.
READER_EXPORT int RDLL_GetCatalog(const char* path, DirHead* head);
/// Fills `items`, which must have room for the count of the file's catalog head, with its
/// items: 1, or 0 as RDLL_GetCatalog.
READER_EXPORT int RDLL_GetCatalogItem(const char* path, DirItem* items);
/// Writes to `output` (replaced only when the new file is complete) a PDF file of the
/// requested pages of the request's file; the second argument is ignored. Page numbers
/// outside the document are skipped. 1, or 0 with the last library error set.
READER_EXPORT int RDLL_ComboPDF(PageExtractRequest* request, int unused, const char* output);

}  // extern "C"
