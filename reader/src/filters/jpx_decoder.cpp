#include "filters/jpx_decoder.h"

#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "support/debug_log.h"

namespace reader {

namespace {

struct Reading {
    std::span<const uint8_t> data;
    size_t position = 0;
};

OPJ_SIZE_T readBytes(void* buffer, OPJ_SIZE_T count, void* user) {
    Reading& r = *static_cast<Reading*>(user);
    const size_t n = std::min<size_t>(count, r.data.size() - r.position);
    if (n == 0) {
        return OPJ_SIZE_T(-1);
    }
    std::memcpy(buffer, r.data.data() + r.position, n);
    r.position += n;
    return n;
}

OPJ_OFF_T skipBytes(OPJ_OFF_T count, void* user) {
    Reading& r = *static_cast<Reading*>(user);
    const OPJ_OFF_T room = OPJ_OFF_T(r.data.size() - r.position);
    const OPJ_OFF_T n = std::clamp<OPJ_OFF_T>(count, -OPJ_OFF_T(r.position), room);
    r.position = size_t(OPJ_OFF_T(r.position) + n);
    return n;
}

OPJ_BOOL seekBytes(OPJ_OFF_T to, void* user) {
    Reading& r = *static_cast<Reading*>(user);
    if (to < 0 || uint64_t(to) > r.data.size()) {
        return OPJ_FALSE;
    }
    r.position = size_t(to);
    return OPJ_TRUE;
}

void logError(const char* message, void* /*data*/) {
    WriteLog(kLogError, "%s(%s)\r\n", "JPEG 2000 data cannot be decoded", message);
}
void ignore(const char* /*message*/, void* /*data*/) {}

bool isJp2File(std::span<const uint8_t> data) {
    static constexpr uint8_t kSignature[] = {0, 0, 0, 12, 'j', 'P', ' ', ' '};
    return data.size() >= sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), data.begin());
}

// A component's sample at (x, y) of the full image, as 8 bits.
uint8_t sampleAt(const opj_image_comp_t& c, uint32_t x, uint32_t y) {
    const uint32_t cx = std::min(x / std::max(c.dx, 1u), c.w - 1);
    const uint32_t cy = std::min(y / std::max(c.dy, 1u), c.h - 1);
    int64_t v = c.data[size_t(cy) * c.w + cx];
    if (c.sgnd != 0) {
        v += int64_t(1) << (c.prec - 1);
    }
    v = c.prec > 8 ? v >> (c.prec - 8) : v << (8 - c.prec);
    return uint8_t(std::clamp<int64_t>(v, 0, 255));
}

uint8_t clampByte(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

// The image's colour components in interleaved 8-bit samples, and its opacity after them when
// `withAlpha` asks (255 without an alpha component); nothing for an image that the
// decoded-size bound does not allow.
void interleave(const opj_image_t& image, bool withAlpha, std::vector<uint8_t>& out) {
    std::vector<const opj_image_comp_t*> colours;
    const opj_image_comp_t* alpha = nullptr;
    for (uint32_t i = 0; i < image.numcomps; ++i) {
        const opj_image_comp_t& c = image.comps[i];
        if (c.data != nullptr && c.w > 0 && c.h > 0 && c.prec >= 1 && c.prec <= 31) {
            if (c.alpha == 0) {
                colours.push_back(&c);
            } else if (alpha == nullptr) {
                alpha = &c;
            }
        }
    }
    if (colours.empty() || colours.size() > 4) {
        return;
    }
    const uint32_t width = colours[0]->w * std::max(colours[0]->dx, 1u);
    const uint32_t height = colours[0]->h * std::max(colours[0]->dy, 1u);
    const size_t perPixel = colours.size() + (withAlpha ? 1 : 0);
    if (uint64_t(width) * height * perPixel > kMaxDecodedBytes) {
        return;
    }
    const bool ycc = image.color_space == OPJ_CLRSPC_SYCC && colours.size() == 3;
    out.resize(size_t(width) * height * perPixel);
    uint8_t* to = out.data();
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (ycc) {
                const double luma = sampleAt(*colours[0], x, y);
                const double cb = sampleAt(*colours[1], x, y) - 128.0;
                const double cr = sampleAt(*colours[2], x, y) - 128.0;
                *to++ = clampByte(luma + 1.402 * cr);
                *to++ = clampByte(luma - 0.344136 * cb - 0.714136 * cr);
                *to++ = clampByte(luma + 1.772 * cb);
            } else {
                for (const opj_image_comp_t* c : colours) {
                    *to++ = sampleAt(*c, x, y);
                }
            }
            if (withAlpha) {
                *to++ = alpha != nullptr ? sampleAt(*alpha, x, y) : 255;
            }
        }
    }
}

}  // namespace

JpxDecoder::JpxDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param)
    : input_(std::move(input)), alpha_(param.jpxAlpha) {}

size_t JpxDecoder::read(std::span<uint8_t> out) {
    if (!decoded_) {
        decode();
    }
    const size_t n = std::min(out.size(), samples_.size() - position_);
    std::copy_n(samples_.begin() + ptrdiff_t(position_), n, out.begin());
    position_ += n;
    return n;
}

void JpxDecoder::decode() {
    decoded_ = true;
    std::vector<uint8_t> data;
    input_->readAll(data);
    Reading reading{data};
    opj_codec_t* codec = opj_create_decompress(isJp2File(data) ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    opj_stream_t* stream = opj_stream_create(1 << 16, OPJ_TRUE);
    if (codec == nullptr || stream == nullptr) {
        opj_stream_destroy(stream);
        opj_destroy_codec(codec);
        return;
    }
    opj_set_error_handler(codec, logError, nullptr);
    opj_set_warning_handler(codec, ignore, nullptr);
    opj_set_info_handler(codec, ignore, nullptr);
    opj_stream_set_user_data(stream, &reading, nullptr);
    opj_stream_set_user_data_length(stream, data.size());
    opj_stream_set_read_function(stream, readBytes);
    opj_stream_set_skip_function(stream, skipBytes);
    opj_stream_set_seek_function(stream, seekBytes);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_image_t* image = nullptr;
    // The header gives the size, which is checked before anything of that size is allocated.
    if (opj_setup_decoder(codec, &parameters) && opj_read_header(stream, codec, &image) &&
        image->x1 > image->x0 && image->y1 > image->y0 &&
        uint64_t(image->x1 - image->x0) * (image->y1 - image->y0) * image->numcomps <=
            kMaxDecodedBytes &&
        opj_decode(codec, stream, image)) {
        opj_end_decompress(codec, stream);
        interleave(*image, alpha_, samples_);
    }
    opj_image_destroy(image);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
}

}  // namespace reader
