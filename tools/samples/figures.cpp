#include "figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "coded_picture.h"
#include "image/dib_picture.h"
#include "jpeg_writer.h"

namespace samples {

namespace {

// Black pixels on a white one-bit picture, with y counted from the top.
class BilevelCanvas {
  public:
    BilevelCanvas(int width, int height)
        : picture_(vyn::DibPicture::CreateMonochrome(height, width)) {}

    void set(int x, int y) {
        if (x < 0 || y < 0 || x >= picture_->width() || y >= picture_->height()) {
            return;
        }
        const int row = picture_->height() - 1 - y;
        picture_->bits()[size_t(row) * size_t(picture_->stride()) + size_t(x / 8)] |=
            uint8_t(0x80 >> (x % 8));
    }
    void dot(int x, int y, int thickness) {
        for (int dy = 0; dy < thickness; ++dy) {
            for (int dx = 0; dx < thickness; ++dx) {
                set(x + dx - thickness / 2, y + dy - thickness / 2);
            }
        }
    }
    void line(int x1, int y1, int x2, int y2, int thickness) {
        const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        for (int i = 0; i <= steps; ++i) {
            dot(x1 + (x2 - x1) * i / std::max(steps, 1), y1 + (y2 - y1) * i / std::max(steps, 1),
                thickness);
        }
    }
    const vyn::DibPicture& picture() const { return *picture_; }

  private:
    std::unique_ptr<vyn::DibPicture> picture_;
};

}  // namespace

std::vector<uint8_t> codedChart() {
    BilevelCanvas canvas(kChartWidth, kChartHeight);
    const int left = 60, bottom = kChartHeight - 50, right = kChartWidth - 20, top = 20;
    canvas.line(left, bottom, right, bottom, 3);
    canvas.line(left, bottom, left, top, 3);
    for (int x = left; x <= right; x += 60) {
        canvas.line(x, bottom, x, bottom + 12, 2);
    }
    for (int y = bottom; y >= top; y -= 60) {
        canvas.line(left - 12, y, left, y, 2);
    }
    // Five hatched bars.
    const int heights[] = {120, 250, 190, 330, 160};
    for (int bar = 0; bar < 5; ++bar) {
        const int x1 = left + 40 + bar * 120, x2 = x1 + 60, y1 = bottom - heights[bar];
        canvas.line(x1, bottom, x1, y1, 2);
        canvas.line(x1, y1, x2, y1, 2);
        canvas.line(x2, y1, x2, bottom, 2);
        for (int d = 0; d < heights[bar] + 60; d += 10) {
            const int from = std::min(d, heights[bar]);
            const int to = std::max(0, d - 60);
            canvas.line(x1 + (d - from), bottom - from, x1 + (d - to), bottom - to, 1);
        }
    }
    // A damped wave across the chart.
    int previousX = left, previousY = bottom - 200;
    for (int x = left; x <= right; x += 2) {
        const double t = double(x - left) / 80.0;
        const int y = bottom - 200 - int(150.0 * std::exp(-t / 5.0) * std::sin(t * 1.7));
        canvas.line(previousX, previousY, x, y, 4);
        previousX = x;
        previousY = y;
    }
    const uint32_t palette[] = {0xFFFFFF, 0x000000};
    return vyn::fixtures::codedPicture(canvas.picture(), palette);
}

std::vector<uint8_t> landscapeJpeg() {
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(kPhotoWidth) * kPhotoHeight * 3);
    const double sunX = kPhotoWidth * 0.72, sunY = kPhotoHeight * 0.25;
    for (int y = 0; y < kPhotoHeight; ++y) {
        for (int x = 0; x < kPhotoWidth; ++x) {
            const double fx = double(x) / kPhotoWidth;
            const double horizon = kPhotoHeight * 0.62;
            const double far = kPhotoHeight * (0.42 + 0.06 * std::sin(fx * 9.0) +
                                               0.03 * std::sin(fx * 23.0 + 1.0));
            const double near = kPhotoHeight * (0.52 + 0.05 * std::sin(fx * 5.0 + 2.0) +
                                                0.02 * std::sin(fx * 31.0));
            double r, g, b;
            if (y < far) {  // sky, lighter towards the horizon, with the sun
                const double t = y / far;
                r = 90 + 120 * t, g = 140 + 90 * t, b = 220 + 25 * t;
                const double sun = std::hypot(x - sunX, y - sunY);
                if (sun < 40) {
                    r = 255, g = 240, b = 190;
                } else if (sun < 90) {
                    const double glow = (90 - sun) / 50;
                    r += (255 - r) * glow * 0.6, g += (230 - g) * glow * 0.6;
                }
            } else if (y < near) {  // far hills, blue-grey
                r = 95, g = 115, b = 140;
            } else if (y < horizon) {  // near hills, green with texture
                const double shade = 0.8 + 0.2 * std::sin(x * 0.3) * std::sin(y * 0.5);
                r = 50 * shade, g = 120 * shade, b = 60 * shade;
            } else {  // water reflecting the sky, rippled
                const double ripple = std::sin(y * 0.8 + std::sin(x * 0.05) * 3.0);
                const double t = (y - horizon) / (kPhotoHeight - horizon);
                r = 70 + 40 * t + 12 * ripple, g = 110 + 40 * t + 12 * ripple,
                b = 170 + 30 * t + 12 * ripple;
            }
            rgb.push_back(uint8_t(std::clamp(r, 0.0, 255.0)));
            rgb.push_back(uint8_t(std::clamp(g, 0.0, 255.0)));
            rgb.push_back(uint8_t(std::clamp(b, 0.0, 255.0)));
        }
    }
    return vyn::fixtures::encodeJpeg(rgb, kPhotoWidth, kPhotoHeight, 3);
}

}  // namespace samples
