#include "image_reduction.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace surface {

namespace {

// A box holds at most this many pixels, so that sums of 8-bit channels fit in 32 bits.
constexpr int kMaxBoxPixels = 1 << 24;

int factorFor(double devicePerPixel, int pixels) {
    if (!(devicePerPixel < 0.5)) {
        return 1;  // also for a length that is not a number
    }
    const double factor = devicePerPixel > 0 ? std::floor(1 / devicePerPixel) : pixels;
    return static_cast<int>(std::clamp(factor, 1.0, static_cast<double>(std::max(pixels, 1))));
}

}  // namespace

std::pair<int, int> reductionFactors(const QTransform& placement, int width, int height) {
    // The device lengths of one pixel step along a row and down a column.
    int fx = factorFor(std::hypot(placement.m11(), placement.m12()), width);
    int fy = factorFor(std::hypot(placement.m21(), placement.m22()), height);
    while (int64_t{fx} * fy > kMaxBoxPixels) {
        fx = std::max(1, fx / 2);
        fy = std::max(1, fy / 2);
    }
    return {fx, fy};
}

QImage boxReduced(const QImage& picture, int fx, int fy) {
    // Pictures come straight from the caller's pixels: unpremultiplied RGBA bytes, or native
    // premultiplied ARGB words; anything else is converted first.
    const bool rgba = picture.format() == QImage::Format_RGBA8888;
    const QImage source = rgba || picture.format() == QImage::Format_ARGB32_Premultiplied
                              ? picture
                              : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = (source.width() + fx - 1) / fx;
    const int height = (source.height() + fy - 1) / fy;
    QImage reduced(width, height, QImage::Format_ARGB32_Premultiplied);
    if (source.isNull() || reduced.isNull()) {
        return {};
    }
    // Sums of alpha, red, green and blue, premultiplied, per box of the row being made.
    std::vector<uint32_t> sums(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int top = y * fy;
        const int rows = std::min(fy, source.height() - top);
        for (int r = 0; r < rows; ++r) {
            const uchar* line = source.constScanLine(top + r);
            for (int x = 0, box = 0; box < width; ++box) {
                uint32_t* sum = sums.data() + static_cast<size_t>(box) * 4;
                const int end = std::min(x + fx, source.width());
                if (rgba) {
                    for (const uchar* p = line + 4 * x; x < end; ++x, p += 4) {
                        const uint32_t a = p[3];
                        sum[0] += a;
                        if (a == 255) {
                            sum[1] += p[0];
                            sum[2] += p[1];
                            sum[3] += p[2];
                        } else {
                            sum[1] += (p[0] * a + 127) / 255;
                            sum[2] += (p[1] * a + 127) / 255;
                            sum[3] += (p[2] * a + 127) / 255;
                        }
                    }
                } else {
                    const auto* words = reinterpret_cast<const QRgb*>(line);
                    for (; x < end; ++x) {
                        const QRgb p = words[x];
                        sum[0] += qAlpha(p);
                        sum[1] += qRed(p);
                        sum[2] += qGreen(p);
                        sum[3] += qBlue(p);
                    }
                }
            }
        }
        auto* out = reinterpret_cast<QRgb*>(reduced.scanLine(y));
        for (int box = 0; box < width; ++box) {
            const uint32_t count =
                static_cast<uint32_t>(rows * std::min(fx, source.width() - box * fx));
            const uint32_t* sum = sums.data() + static_cast<size_t>(box) * 4;
            const auto mean = [&](int k) { return static_cast<int>((sum[k] + count / 2) / count); };
            out[box] = qRgba(mean(1), mean(2), mean(3), mean(0));
        }
    }
    return reduced;
}

}  // namespace surface
