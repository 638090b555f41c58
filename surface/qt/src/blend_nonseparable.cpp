#include "blend_nonseparable.h"

#include <algorithm>
#include <cmath>

namespace surface {

namespace {

double lum(Rgb c) { return 0.3 * c.r + 0.59 * c.g + 0.11 * c.b; }

Rgb clipColor(Rgb c) {
    const double l = lum(c);
    const double n = std::min({c.r, c.g, c.b});
    const double x = std::max({c.r, c.g, c.b});
    auto scale = [&](double k) { c = {l + (c.r - l) * k, l + (c.g - l) * k, l + (c.b - l) * k}; };
    if (n < 0 && l - n > 0) {
        scale(l / (l - n));
    }
    if (x > 1 && x - l > 0) {
        scale((1 - l) / (x - l));
    }
    return c;
}

Rgb setLum(Rgb c, double l) {
    const double d = l - lum(c);
    return clipColor({c.r + d, c.g + d, c.b + d});
}

double sat(Rgb c) { return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}); }

// The colour with the hue of `c` and saturation `s`: its smallest channel 0, its largest `s`.
Rgb setSat(Rgb c, double s) {
    double* channels[] = {&c.r, &c.g, &c.b};
    std::sort(std::begin(channels), std::end(channels),
              [](const double* x, const double* y) { return *x < *y; });
    double& low = *channels[0];
    double& mid = *channels[1];
    double& high = *channels[2];
    if (high > low) {
        mid = (mid - low) * s / (high - low);
        high = s;
    } else {
        mid = high = 0;
    }
    low = 0;
    return c;
}

uint8_t to8(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

}  // namespace

bool isNonSeparable(canvas::BlendMode mode) {
    using enum canvas::BlendMode;
    return mode == Hue || mode == Saturation || mode == Color || mode == Luminosity;
}

Rgb blendNonSeparable(canvas::BlendMode mode, Rgb b, Rgb s) {
    switch (mode) {
        case canvas::BlendMode::Hue: return setLum(setSat(s, sat(b)), lum(b));
        case canvas::BlendMode::Saturation: return setLum(setSat(b, sat(s)), lum(b));
        case canvas::BlendMode::Color: return setLum(s, lum(b));
        case canvas::BlendMode::Luminosity: return setLum(b, lum(s));
        default: return s;
    }
}

// With the backdrop's coverage ab, the colour composited normally is (1 - ab) Cs + ab B(Cb, Cs),
// which is the general compositing formula of a blend mode.
void blendOntoBackdrop(canvas::BlendMode mode, QImage& source, const QImage& backdrop,
                       QPoint offset) {
    const QRect inside = backdrop.rect();
    for (int y = 0; y < source.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QPoint under(x + offset.x(), y + offset.y());
            const int as = qAlpha(row[x]);
            if (as == 0 || !inside.contains(under)) {
                continue;
            }
            const QRgb cs = qUnpremultiply(row[x]);
            const QRgb cb = backdrop.pixel(under);
            const double ab = qAlpha(cb) / 255.0;
            const Rgb s{qRed(cs) / 255.0, qGreen(cs) / 255.0, qBlue(cs) / 255.0};
            const Rgb b{qRed(cb) / 255.0, qGreen(cb) / 255.0, qBlue(cb) / 255.0};
            const Rgb mixed = blendNonSeparable(mode, b, s);
            row[x] = qPremultiply(qRgba(to8((1 - ab) * s.r + ab * mixed.r),
                                        to8((1 - ab) * s.g + ab * mixed.g),
                                        to8((1 - ab) * s.b + ab * mixed.b), as));
        }
    }
}

}  // namespace surface
