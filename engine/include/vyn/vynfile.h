// The page engine's C interface. A document is an opaque handle from VYNFile_Open, released
// by VYNFile_Close; every per-document function accepts a null handle and then does nothing.
#pragma once

#include <stdbool.h>
#include <stdint.h>

#include "vyn/records.h"
#include "vyn/vynvwdll_export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void* VynHandle;

/// A device rectangle: left and top inside, right and bottom outside.
typedef struct VynRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} VynRect;

typedef struct VynSize {
    int32_t cx;
    int32_t cy;
} VynSize;

/// Prepares the process-wide state (code page from the locale, installed-font table).
/// Returns 1 when ready.
VYNVWDLL_EXPORT int32_t VYNFile_Init(void);
/// Frees the process-wide state.
VYNVWDLL_EXPORT void VYNFile_Exit(void);
/// 936 GB2312 text, 950 Big5 text; any other value selects the third face table. Returns 0.
VYNVWDLL_EXPORT int32_t VYNFile_SetCodePage(int32_t codePage);
/// Receives errors the engine cannot return, such as a JPEG picture the library refuses: a
/// title ("JPEG Fatal Error") and the message. Null restores the default, which writes them to
/// standard error.
typedef void (*VynErrorCallback)(const char* title, const char* message);
VYNVWDLL_EXPORT void VYNFile_SetErrorCallback(VynErrorCallback callback);

/// Replaces every font number's face by `faceName` (at most 31 bytes kept). Returns 0.
VYNVWDLL_EXPORT int32_t VYNFile_SetBaseFontName(const char* faceName);

/// Opens a VYN or QD file (a path containing ".qd" or ".QD" must start with the QD magic).
/// Returns null when the file cannot be opened or is damaged.
VYNVWDLL_EXPORT VynHandle VYNFile_Open(const char* path);
VYNVWDLL_EXPORT void VYNFile_Close(VynHandle document);

/// Loads page `page` (0-based). Returns 1 when loaded, 0 for a bad index or a damaged page.
VYNVWDLL_EXPORT int32_t VYNFile_LoadPage(VynHandle document, int32_t page);
#ifdef __cplusplus
}  // extern "C"
namespace surface {
class Surface;
}
extern "C" {
/// Draws the loaded page on `surface`: `visible` is the device rectangle it is shown in and
/// (x, y) the page pixel at that rectangle's corner. Nothing for a null surface.
VYNVWDLL_EXPORT void VYNFile_Show(VynHandle document, surface::Surface* surface, VynRect visible,
                                  int32_t x, int32_t y);
#endif

/// Rewrites in the file every character whose code is the first two bytes of the hexadecimal
/// `code` (e.g. "b0a1") with the two bytes of `replacement`. Returns how many it rewrote.
VYNVWDLL_EXPORT int32_t VYNFile_ReplaceFZWithGBK(VynHandle document, const char* code,
                                                 const char* replacement);

/// The text of the loaded page's characters whose centres lie in `rect` (pixels of the scaled
/// page), zero-terminated in `buffer` of `size` bytes (Big5 under code page 950). Returns its
/// length; characters that would not fit are left out, from the first of them on.
VYNVWDLL_EXPORT int32_t VYNFile_GetTextInRect(VynHandle document, VynRect rect, char* buffer,
                                              int32_t size);
/// The selection from the character under (x1, y1) to the one under (x2, y2), in pixels of the
/// last Show, zero-terminated in `buffer`; its characters become the marks. Returns its length,
/// 0 when no character lies under the start point, 2 (the first two bytes) when the end point
/// is not reached.
VYNVWDLL_EXPORT int32_t VYNFile_GetTextBetweenPoints(VynHandle document, int32_t x1, int32_t y1,
                                                     int32_t x2, int32_t y2, char* buffer,
                                                     int32_t size);
/// Marks every occurrence of `text` (GB2312, or Big5 under code page 950; its spaces skipped)
/// on the loaded page; the marks are painted at the end of every Show until the next page
/// load, search or selection. Returns the number of occurrences; null or "" clears the marks.
VYNVWDLL_EXPORT int32_t VYNFile_MarkString(VynHandle document, const char* text);
/// Both set the colour (0x00BBGGRR) painted behind marked characters; the later call wins.
VYNVWDLL_EXPORT void VYNFile_SetMarkColor(VynHandle document, uint32_t color);
VYNVWDLL_EXPORT void VYNFile_SetMarkBkColor(VynHandle document, uint32_t color);

/// The page size in device pixels at the stored resolution and display ratio.
VYNVWDLL_EXPORT VynSize VYNFile_GetPageSize(VynHandle document);
VYNVWDLL_EXPORT int32_t VYNFile_CurPage(VynHandle document);
VYNVWDLL_EXPORT int32_t VYNFile_GetPageCount(VynHandle document);
VYNVWDLL_EXPORT float VYNFile_GetDisplayRatio(VynHandle document);
VYNVWDLL_EXPORT void VYNFile_SetDisplayRatio(VynHandle document, float ratio);
VYNVWDLL_EXPORT void VYNFile_SetResolution(VynHandle document, int32_t dpiX, int32_t dpiY);
/// Pictures are decoded on the next page load and drawn on the next Show while enabled.
VYNVWDLL_EXPORT void VYNFile_EnablePicture(VynHandle document, bool enable);
VYNVWDLL_EXPORT int32_t VYNFile_GetDocType(VynHandle document);

/// Fills 132 bytes with the contents head. Returns 0, or -1 when the file has no contents.
VYNVWDLL_EXPORT int32_t VYNFile_GetDirHead(VynHandle document, DirHead* head);
/// Fills `count` contents items (count x 308 bytes). Returns 0, or -1 when the file has no
/// contents or holds fewer than `count` items.
VYNVWDLL_EXPORT int32_t VYNFile_GetDirItem(VynHandle document, int32_t count, DirItem* items);
/// The index of the page that bears the printed number, the number itself when the loaded page
/// bears none, 0 when no page does.
VYNVWDLL_EXPORT int32_t VYNFile_PrintPagetoSeqPage(VynHandle document, int32_t printedNumber);

#ifdef __cplusplus
/// Draws the loaded page onto a white off-screen page of VYNFile_GetPageSize pixels and copies
/// it to `surface` at (0, 0); `visible`, x and y as for VYNFile_Show. Set the resolution to the
/// surface's beforehand. Returns 0; nothing is drawn for a null surface or a page size that is
/// not positive or too large.
VYNVWDLL_EXPORT int32_t VYNFile_PrintPage(VynHandle document, surface::Surface* surface,
                                          VynRect visible, int32_t x, int32_t y);
#endif
/// Writes a VYN copy of the document to `outputPath` with every one-bit picture reduced to 200
/// dots per inch. Returns 0 when written; -1 when the copy cannot be written completely or a
/// page is damaged, and then a file already under `outputPath` stays as it was and no new one
/// is left. The last page is left loaded. The third argument is not used.
VYNVWDLL_EXPORT int32_t VYNFile_SaveAsLowResolution(VynHandle document, const char* outputPath,
                                                    int32_t unused);

#ifdef __cplusplus
}  // extern "C"
#endif
