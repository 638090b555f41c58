#include "scanned.h"

#include <vyn/vynfile.h>

#include <QImage>
#include <stdexcept>

#include "article.h"
#include "coded_picture.h"
#include "image/dib_picture.h"
#include "page_composer.h"
#include "surface/qt_surface.h"

namespace samples {

namespace {

constexpr int kScanDpi = 300;
constexpr int32_t kScannedType = 23112;

// Ordered dithering, as a scanner's halftone mode does it: text stays crisp and photographs
// keep their shades as dot patterns.
constexpr uint8_t kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

std::unique_ptr<vyn::DibPicture> halftone(const QImage& page) {
    const QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
    auto picture = vyn::DibPicture::CreateMonochrome(grey.height(), grey.width());
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* line = grey.constScanLine(y);
        uint8_t* row =
            picture->bits().data() + size_t(grey.height() - 1 - y) * size_t(picture->stride());
        for (int x = 0; x < grey.width(); ++x) {
            if (line[x] * 16 < (kBayer4[y % 4][x % 4] + 1) * 255) {
                row[x / 8] |= uint8_t(0x80 >> (x % 8));
            }
        }
    }
    return picture;
}

}  // namespace

vyn::fixtures::DocumentLayout scannedCopy(const std::filesystem::path& source) {
    VynHandle handle = VYNFile_Open(source.c_str());
    if (handle == nullptr) {
        throw std::runtime_error("cannot open " + source.string());
    }
    vyn::fixtures::DocumentLayout desc;
    desc.version = 400;
    desc.docType = kScannedType;
    desc.width = kPageWidth;
    desc.height = kPageHeight;
    VYNFile_SetResolution(handle, kScanDpi, kScanDpi);
    for (int page = 0; page < VYNFile_GetPageCount(handle); ++page) {
        if (VYNFile_LoadPage(handle, page) == 0) {
            VYNFile_Close(handle);
            throw std::runtime_error("cannot load page " + std::to_string(page + 1));
        }
        const VynSize size = VYNFile_GetPageSize(handle);
        auto surface = surface::QtSurface::createImage({size.cx, size.cy}, {kScanDpi, kScanDpi});
        VYNFile_Show(handle, surface.get(), VynRect{0, 0, size.cx, size.cy}, 0, 0);
        const auto picture = halftone(*surface->image());

        PageComposer composer;
        composer.picture(0, 0, kPageWidth, kPageHeight, "SCAN" + std::to_string(page + 1));
        vyn::fixtures::PageLayout layout;
        layout.words = composer.finish();
        layout.printedNumber = uint16_t(page + 1);
        const uint32_t palette[] = {0xFFFFFF, 0x000000};
        layout.pictures = {{0, vyn::fixtures::codedPicture(*picture, palette)}};
        desc.pages.push_back(std::move(layout));
    }
    VYNFile_Close(handle);
    return desc;
}

}  // namespace samples
