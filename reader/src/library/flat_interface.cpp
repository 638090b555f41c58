// The flat interface over the ten reader slots, and the library-wide functions.
#include <glob.h>

#include <system_error>

#include "library/export_guard.h"
#include "library/library_state.h"
#include "library/type1_rasteriser.h"
#include "reader/rdll.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "surface/font_service.h"
#include "text/font_files.h"

using namespace reader;

namespace {

RdllSize sizeOf(surface::Size size) { return {size.cx, size.cy}; }

}  // namespace

extern "C" {

int RDLL_Init(int fontsOnly) {
    return guarded(0, [&] {
        LibraryState& state = libraryState();
        if (state.installedFonts) {
            RDLL_Free(fontsOnly);
        }
        state.installedFonts = surface::FontService::instance().faces();
        if (fontsOnly != 0) {
            return 1;
        }
        static const bool cleared = (removeStaleFontFolders(), true);
        (void)cleared;
        return Type1Rasteriser::instance().init() ? 1 : 0;
    });
}

void RDLL_Free(int fontsOnly) {
    guarded(0, [&] {
        LibraryState& state = libraryState();
        state.installedFonts.reset();
        state.installedFaceIndex.clear();
        if (fontsOnly != 0) {
            return 0;
        }
        std::error_code ignored;
        for (const std::filesystem::path& file : state.addedFontFiles) {
            surface::FontService::instance().removeFontFile(file);
            std::filesystem::remove(file, ignored);
        }
        state.addedFontFiles.clear();
        Type1Rasteriser::instance().close();
        for (const std::filesystem::path& file : state.type1Files) {
            std::filesystem::remove(file, ignored);
        }
        state.type1Files.clear();
        if (!state.fontFolder.empty()) {
            std::filesystem::remove(state.fontFolder, ignored);  // only when nothing else is in it
        }
        state.fontFolder.clear();
        return 0;
    });
}

int RDLL_IsExist(const char* path) {
    if (path == nullptr || *path == '\0') {
        return 0;
    }
    glob_t found{};
    const int result = glob(path, GLOB_NOSORT, nullptr, &found);
    const bool any = result == 0 && found.gl_pathc > 0;
    globfree(&found);
    return any ? 1 : 0;
}

int RDLL_GetLastErrorCode(void) { return libraryState().lastLibraryError; }

const char* RDLL_GetLastErrorMsg(void) { return ErrorMessage(libraryState().lastLibraryError); }

int RDLL_OpenPDFFile(const char* path) {
    return guarded(-1, [&] {
        LibraryState& state = libraryState();
        for (int slot = 0; slot < kReaderSlots; ++slot) {
            if (state.readers[size_t(slot)]) {
                continue;
            }
            // The slot takes the reader only once it is open, so a failure leaves it free.
            auto reader = std::make_unique<CReader>();
            if (reader->Open(path) == 0) {
                return -1;
            }
            state.readers[size_t(slot)] = std::move(reader);
            return slot;
        }
        return -1;
    });
}

int RDLL_Close(int handle) {
    if (readerAt(handle) == nullptr) {
        return -1;
    }
    libraryState().readers[size_t(handle)].reset();
    return handle;
}

void RDLL_CloseAll(void) {
    guarded(0, [&] {
        for (std::unique_ptr<CReader>& reader : libraryState().readers) {
            reader.reset();
        }
        return 0;
    });
}

int RDLL_ReInitFont(void) {
    return guarded(0, [&] {
        Type1Rasteriser::instance().close();
        return Type1Rasteriser::instance().init() ? 1 : 0;
    });
}

int RDLL_ReGetPage(int handle, int page) {
    return guarded(0, [&] {
        CReader* reader = readerAt(handle);
        return reader != nullptr ? reader->ReGetPage(page) : 0;
    });
}

int RDLL_Draw(int handle, const surface::Device* window, surface::Surface* surface, int printing) {
    return guarded(0, [&] {
        CReader* reader = readerAt(handle);
        if (reader == nullptr) {
            return 0;
        }
        surface::Rect none{};
        return reader->Draw(window, surface, 0, none, nullptr, printing);
    });
}

int RDLL_ReDraw(int handle, int on) {
    CReader* reader = readerAt(handle);
    if (reader == nullptr) {
        return 0;
    }
    reader->ReDraw(on);
    return 1;
}

int RDLL_GetPage(int handle, int page) {
    return guarded(0, [&] {
        CReader* reader = readerAt(handle);
        return reader != nullptr ? reader->GetPage(page) : 0;
    });
}

int RDLL_GetPageInfo(int handle, tagPAGEINFO* info) {
    return guarded(0, [&] {
        CReader* reader = readerAt(handle);
        if (reader == nullptr) {
            return 0;
        }
        reader->GetPageInfo(info);
        return 1;
    });
}

int RDLL_GetErrorCode(int handle) {
    CReader* reader = readerAt(handle);
    return reader != nullptr ? reader->GetLastErrorCode() : -1;
}

RdllSize RDLL_SetScale(int handle, const surface::Device* device, int percent, int reRender) {
    return guarded(RdllSize{}, [&] {
        CReader* reader = readerAt(handle);
        return reader != nullptr ? sizeOf(reader->SetScale(device, percent, reRender)) : RdllSize{};
    });
}

RdllSize RDLL_GetScrollRange(int handle) {
    CReader* reader = readerAt(handle);
    return reader != nullptr ? sizeOf(reader->GetScrollRange()) : RdllSize{};
}

RdllSize RDLL_GetPageSize(int handle) {
    CReader* reader = readerAt(handle);
    return reader != nullptr ? sizeOf(reader->GetPageSize()) : RdllSize{};
}

RdllSize RDLL_ResetScroll(int handle, const surface::Device* device) {
    return guarded(RdllSize{}, [&] {
        CReader* reader = readerAt(handle);
        return reader != nullptr ? sizeOf(reader->ResetScroll(device)) : RdllSize{};
    });
}

int RDLL_SetOffset(int handle, int x, int y) {
    CReader* reader = readerAt(handle);
    if (reader == nullptr) {
        return 0;
    }
    reader->SetOffset({x, y});
    return 1;
}

int RDLL_GetOffset(int handle, surface::Point* offset) {
    CReader* reader = readerAt(handle);
    if (reader == nullptr || offset == nullptr) {
        return 0;
    }
    *offset = reader->GetOffset();
    return 1;
}

void RDLL_SetWindowOrg(int handle, int x, int y) {
    if (CReader* reader = readerAt(handle)) {
        reader->SetWindowOrg({x, y});
    }
}

void RDLL_SetRectSelect(int handle, int on) {
    if (CReader* reader = readerAt(handle)) {
        reader->SetRectSelect(on);
    }
}

void RDLL_SetColumnSelect(int handle, int on) {
    if (CReader* reader = readerAt(handle)) {
        reader->SetColumnSelect(on);
    }
}

void RDLL_SetBig5(int handle, int on) {
    guarded(0, [&] {
        if (CReader* reader = readerAt(handle)) {
            reader->SetBig5(on);
        }
        return 0;
    });
}

void RDLL_ShowType1Font(int handle, int on) {
    guarded(0, [&] {
        if (CReader* reader = readerAt(handle)) {
            reader->ShowType1Font(on);
        }
        return 0;
    });
}

int RDLL_SetBkColor(int handle, surface::ColorRef colour) {
    CReader* reader = readerAt(handle);
    if (reader == nullptr) {
        return 0;
    }
    reader->SetBkColor(colour);
    return 1;
}

}  // extern "C"
