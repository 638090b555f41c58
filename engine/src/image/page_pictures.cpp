#include "image/page_pictures.h"

#include "image/bilevel_codec.h"
#include "image/jpeg_picture.h"

namespace vyn {

std::unique_ptr<DibPicture> DecodeCodedPicture(std::vector<uint8_t> data, uint64_t largest) {
    std::unique_ptr<DibPicture> source = DibPicture::AttachPacked(std::move(data));
    if (!source || uint64_t(source->stride()) * uint64_t(source->height()) > largest) {
        return nullptr;
    }
    std::unique_ptr<DibPicture> picture;
    switch (source->bitCount()) {
        case 24:
        case 8:
        case 4: picture = source->CloneHeader(); break;
        case 1: picture = DibPicture::CreateMonochrome(source->height(), source->width()); break;
        default: return nullptr;
    }
    if (!picture) {
        return nullptr;
    }
    picture->CopyResolution(*source);
    // The rows of every depth are coded as one-bit pixels: width x bit count of them.
    BilevelDecoder decoder(source->bits());
    decoder.DecodeRows(picture->bits(), picture->width() * picture->bitCount(), picture->height(),
                       picture->stride());
    return picture;
}

std::unique_ptr<DibPicture> DecodeJpegPicture(std::span<const uint8_t> data) {
    int32_t width = 0;
    int32_t height = 0;
    const std::vector<uint8_t> rgb = DecodeJpeg(data, width, height);
    return DibPicture::FromRgb(rgb.empty() ? nullptr : rgb.data(), width, height);
}

}  // namespace vyn
