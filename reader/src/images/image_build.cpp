#include "images/image_build.h"

#include <algorithm>

#include "images/image_rows.h"

namespace reader {

namespace {

constexpr uint32_t kBlack = PaletteEntry(0, 0, 0);
constexpr uint32_t kWhite = PaletteEntry(255, 255, 255);

bool isSubByteDepth(int32_t bits) { return bits == 1 || bits == 2 || bits == 4; }

std::optional<ImageRecord> buildGrey(const ImageDictionary& d, std::span<const uint8_t> samples) {
    // 2 and 4-bit grey is widened to 8-bit levels, which then go through the Decode ramp as
    // 8-bit grey does.
    if (d.bits != 8 && d.bits != 2 && d.bits != 4) {
        return std::nullopt;
    }
    std::optional<ImageRecord> record = CreateBitmap(d.width, d.height, 8);
    if (!record) {
        return std::nullopt;
    }
    SetGreyRamp(*record, d.decode[0], d.decode[1]);
    if (d.bits == 8) {
        CopyPackedRows(*record, samples, size_t(d.width));
    } else {
        WidenRows(*record, samples, d.bits, true);
    }
    return record;
}

std::optional<ImageRecord> buildRgb(const ImageDictionary& d, std::span<const uint8_t> samples) {
    // RGB of 1, 2 or 4 bits per component is widened to 24 bits; Decode is not applied to
    // colour samples.
    if (d.bits != 8 && !isSubByteDepth(d.bits)) {
        return std::nullopt;
    }
    std::optional<ImageRecord> record = CreateBitmap(d.width, d.height, 24);
    if (record) {
        StoreRgbRows(*record, samples, d.bits);
    }
    return record;
}

std::optional<ImageRecord> buildCmyk(const ImageDictionary& d, std::span<const uint8_t> samples) {
    // Only 8-bit CMYK is converted, pixel by pixel, to 24-bit RGB; Decode is not applied.
    if (d.bits != 8) {
        return std::nullopt;
    }
    std::optional<ImageRecord> record = CreateBitmap(d.width, d.height, 24);
    if (record) {
        StoreCmykRows(*record, samples);
    }
    return record;
}

std::optional<ImageRecord> buildIndexed(const ImageDictionary& d,
                                        std::span<const uint8_t> samples) {
    // A 16-entry table of 4-bit indexes stays a 4-bit bitmap; every other table and index
    // depth (1, 2, 4, 8 bits) becomes an 8-bit bitmap with the 256-entry palette.
    const bool fourBit = d.bits == 4 && d.colour.hival == 15;
    if (d.bits != 8 && !isSubByteDepth(d.bits)) {
        return std::nullopt;
    }
    std::optional<ImageRecord> record = CreateBitmap(d.width, d.height, fourBit ? 4 : 8);
    if (!record) {
        return std::nullopt;
    }
    std::span<uint32_t> palette = record->palette();
    std::copy_n(d.colour.lookup.begin(), std::min(palette.size(), d.colour.lookup.size()),
                palette.begin());
    if (fourBit) {
        CopyPackedRows(*record, samples, (size_t(d.width) + 1) / 2);
    } else if (d.bits == 8) {
        CopyPackedRows(*record, samples, size_t(d.width));
    } else {
        WidenRows(*record, samples, d.bits, false);
    }
    return record;
}

}  // namespace

std::optional<ImageRecord> BuildOneBitImage(int32_t width, int32_t height, int32_t decode0,
                                            bool mask, surface::ColorRef fill,
                                            std::span<const uint8_t> samples) {
    std::optional<ImageRecord> record = CreateBitmap(width, height, 1);
    if (!record) {
        return std::nullopt;
    }
    const size_t painted = decode0 == 0 ? 0 : 1;
    std::span<uint32_t> palette = record->palette();
    if (mask) {
        palette[painted] =
            PaletteEntry(surface::redOf(fill), surface::greenOf(fill), surface::blueOf(fill));
        palette[1 - painted] = kBlack;
        std::copy_n(record->data.begin(), 10, record->maskHeader.begin());
        record->maskHeader[10 + painted] = kBlack;
        record->maskHeader[11 - painted] = kWhite;
        record->imageMask = 1;
    } else {
        palette[painted] = kBlack;
        palette[1 - painted] = kWhite;
    }
    CopyPackedRows(*record, samples, (size_t(width) + 7) / 8);
    return record;
}

std::optional<ImageRecord> BuildImage(const ImageDictionary& d, std::span<const uint8_t> samples,
                                      surface::ColorRef fill) {
    // An image mask is 1 bit per sample whatever BitsPerComponent says, and may leave it out.
    if (d.imageMask != 0) {
        return BuildOneBitImage(d.width, d.height, d.decode[0], true, fill, samples);
    }
    switch (d.colour.kind) {
        case ColourKind::kNone:
            if (d.bits == 1) {
                return BuildOneBitImage(d.width, d.height, d.decode[0], false, fill, samples);
            }
            return buildRgb(d, samples);
        case ColourKind::kGrey:
            if (d.bits == 1) {
                return BuildOneBitImage(d.width, d.height, d.decode[0], false, fill, samples);
            }
            return buildGrey(d, samples);
        case ColourKind::kRgb: return buildRgb(d, samples);
        case ColourKind::kCmyk: return buildCmyk(d, samples);
        case ColourKind::kIndexed: return buildIndexed(d, samples);
        case ColourKind::kUnsupported: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace reader
