#include "graphics/shading_raster.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace reader::pdf {

using surface::canvas::Matrix;
using surface::canvas::PointF;
using surface::canvas::RectF;

Matrix ShadingRaster::placement() const {
    return {area.right - area.left, 0, 0, area.top - area.bottom, area.left, area.bottom};
}

surface::canvas::Image ShadingRaster::image() const {
    return {width, height, width * 4, surface::canvas::Image::Format::Rgba8, pixels};
}

namespace {

// Grows `box` (empty when unset) to hold `p`.
void include(std::optional<RectF>& box, PointF p) {
    if (!box) {
        box = RectF{p.x, p.y, p.x, p.y};
        return;
    }
    box->left = std::min(box->left, p.x);
    box->top = std::min(box->top, p.y);
    box->right = std::max(box->right, p.x);
    box->bottom = std::max(box->bottom, p.y);
}

std::optional<RectF> intersect(const std::optional<RectF>& a, const RectF& b) {
    if (!a) {
        return b;
    }
    return RectF{std::max(a->left, b.left), std::max(a->top, b.top), std::min(a->right, b.right),
                 std::min(a->bottom, b.bottom)};
}

// The device bounds of the shading's shape: the function's domain, or every mesh point (a
// patch lies within its control points).
std::optional<RectF> shapeBounds(const Shading& shading, const Matrix& toDevice) {
    std::optional<RectF> box;
    if (shading.kind() == Shading::Kind::kFunctionBased) {
        const std::array<double, 4> d = shading.functionDomain();
        const std::array<double, 6> m = shading.matrix();
        const Matrix toShading{m[0], m[1], m[2], m[3], m[4], m[5]};
        for (const PointF corner :
             {PointF{d[0], d[2]}, PointF{d[1], d[2]}, PointF{d[0], d[3]}, PointF{d[1], d[3]}}) {
            include(box, (toShading * toDevice).apply(corner));
        }
        return box;
    }
    for (const auto* points : {&shading.mesh().trianglePoints, &shading.mesh().patchPoints}) {
        for (const MeshPoint& p : *points) {
            include(box, toDevice.apply({p.x, p.y}));
        }
    }
    return box;
}

// Colours of a parameter looked up in a table over the parameters the mesh uses, so that the
// function runs a fixed number of times however many pixels there are.
class ParameterColours {
  public:
    static constexpr size_t kEntries = 1024;

    explicit ParameterColours(const Shading& shading) {
        const MeshData& mesh = shading.mesh();
        for (const auto* values : {&mesh.triangleColours, &mesh.patchColours}) {
            for (const double t : *values) {
                min_ = std::min(min_, t);
                max_ = std::max(max_, t);
            }
        }
        if (!(max_ >= min_)) {
            min_ = max_ = 0;
        }
        for (size_t i = 0; i < kEntries; ++i) {
            const double t = min_ + (max_ - min_) * double(i) / double(kEntries - 1);
            table_[i] = shading.meshColour(std::span(&t, 1));
        }
    }
    Rgb at(double t) const {
        const double place = max_ > min_ ? (t - min_) / (max_ - min_) : 0;
        const long i = std::lround(std::clamp(place, 0.0, 1.0) * double(kEntries - 1));
        return table_[size_t(i)];
    }

  private:
    double min_ = INFINITY;
    double max_ = -INFINITY;
    std::array<Rgb, kEntries> table_;
};

// Fills triangles into the picture. A parameter is interpolated between the corners and looked
// up; colours given as components are converted at the corners and interpolated in RGB, so
// that a pixel costs the same in any space.
class TriangleFiller {
  public:
    TriangleFiller(const Shading& shading, ShadingRaster& raster)
        : shading_(shading), raster_(raster), channels_(shading.mesh().channels) {
        if (shading.parametric()) {
            parameters_.emplace(shading);
        }
    }

    bool exhausted() const { return work_ >= kMaxRasterWork; }

    /// `p` in picture pixels; `v` channels values per corner.
    void fill(const std::array<PointF, 3>& p, const std::array<const double*, 3>& v) {
        const double area =
            (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
        if (!std::isfinite(area) || std::abs(area) < 1e-12 || exhausted()) {
            return;
        }
        const double minX = std::min({p[0].x, p[1].x, p[2].x});
        const double maxX = std::max({p[0].x, p[1].x, p[2].x});
        const double minY = std::min({p[0].y, p[1].y, p[2].y});
        const double maxY = std::max({p[0].y, p[1].y, p[2].y});
        const int x0 = std::max(0, int(std::floor(std::max(minX - 0.5, -1.0))));
        const int x1 = std::min(raster_.width - 1, int(std::ceil(std::min(maxX, 1e9))));
        const int y0 = std::max(0, int(std::floor(std::max(minY - 0.5, -1.0))));
        const int y1 = std::min(raster_.height - 1, int(std::ceil(std::min(maxY, 1e9))));
        if (x0 > x1 || y0 > y1) {
            return;
        }
        work_ += size_t(x1 - x0 + 1) * size_t(y1 - y0 + 1);
        std::array<Rgb, 3> corners;
        if (!parameters_) {
            for (size_t k = 0; k < 3; ++k) {
                corners[k] = shading_.meshColour(std::span(v[k], channels_));
            }
        }
        // A small tolerance so that neighbouring triangles leave no gaps between them.
        constexpr double kSlack = -1e-6;
        for (int y = y0; y <= y1; ++y) {
            const double cy = y + 0.5;
            for (int x = x0; x <= x1; ++x) {
                const double cx = x + 0.5;
                const double w0 =
                    ((p[1].x - cx) * (p[2].y - cy) - (p[2].x - cx) * (p[1].y - cy)) / area;
                const double w1 =
                    ((p[2].x - cx) * (p[0].y - cy) - (p[0].x - cx) * (p[2].y - cy)) / area;
                const double w2 = 1 - w0 - w1;
                if (w0 < kSlack || w1 < kSlack || w2 < kSlack) {
                    continue;
                }
                if (parameters_) {
                    put(x, y, parameters_->at(w0 * v[0][0] + w1 * v[1][0] + w2 * v[2][0]));
                } else {
                    put(x, y,
                        {w0 * corners[0].r + w1 * corners[1].r + w2 * corners[2].r,
                         w0 * corners[0].g + w1 * corners[1].g + w2 * corners[2].g,
                         w0 * corners[0].b + w1 * corners[1].b + w2 * corners[2].b});
                }
            }
        }
    }

  private:
    void put(int x, int y, const Rgb& rgb) {
        uint8_t* pixel = &raster_.pixels[(size_t(y) * size_t(raster_.width) + size_t(x)) * 4];
        pixel[0] = toByte(rgb.r);
        pixel[1] = toByte(rgb.g);
        pixel[2] = toByte(rgb.b);
        pixel[3] = 255;
    }

    const Shading& shading_;
    ShadingRaster& raster_;
    size_t channels_;
    std::optional<ParameterColours> parameters_;
    size_t work_ = 0;
};

double bernstein(int i, double t) {
    const double s = 1 - t;
    switch (i) {
        case 0: return s * s * s;
        case 1: return 3 * t * s * s;
        case 2: return 3 * t * t * s;
        default: return t * t * t;
    }
}

// Each patch as a grid of points on its surface, fine enough that a cell spans a few pixels,
// cut into triangles whose corners take the colours interpolated between the patch's corners.
void fillPatches(const MeshData& mesh, const Matrix& toPixels, TriangleFiller& filler) {
    constexpr double kCellPixels = 3;
    const size_t patches = mesh.patches();
    const int budgetSteps =
        std::max(1, int(std::sqrt(double(kMaxPatchCells) / double(std::max<size_t>(patches, 1)))));
    const size_t channels = mesh.channels;
    std::vector<PointF> grid;
    std::vector<double> colours;
    for (size_t n = 0; n < patches && !filler.exhausted(); ++n) {
        std::array<PointF, 16> p;
        std::optional<RectF> box;
        for (size_t k = 0; k < 16; ++k) {
            const MeshPoint& m = mesh.patchPoints[16 * n + k];
            p[k] = toPixels.apply({m.x, m.y});
            include(box, p[k]);
        }
        const double extent = std::max(box->right - box->left, box->bottom - box->top);
        if (!std::isfinite(extent)) {
            continue;
        }
        const int steps = std::clamp(int(std::ceil(extent / kCellPixels)), 1,
                                     std::min(kMaxPatchSteps, budgetSteps));
        const double* c = &mesh.patchColours[4 * channels * n];
        grid.assign(size_t(steps + 1) * size_t(steps + 1), {});
        colours.assign(grid.size() * channels, 0);
        for (int a = 0; a <= steps; ++a) {
            const double u = double(a) / steps;
            for (int b = 0; b <= steps; ++b) {
                const double v = double(b) / steps;
                PointF s;
                for (int i = 0; i < 4; ++i) {
                    for (int j = 0; j < 4; ++j) {
                        const double w = bernstein(i, u) * bernstein(j, v);
                        s.x += w * p[size_t(4 * i + j)].x;
                        s.y += w * p[size_t(4 * i + j)].y;
                    }
                }
                const size_t at = size_t(a) * size_t(steps + 1) + size_t(b);
                grid[at] = s;
                // Corners (0,0), (0,1), (1,1), (1,0) in u, v.
                for (size_t k = 0; k < channels; ++k) {
                    colours[at * channels + k] =
                        (1 - u) * (1 - v) * c[k] + (1 - u) * v * c[channels + k] +
                        u * v * c[2 * channels + k] + u * (1 - v) * c[3 * channels + k];
                }
            }
        }
        const auto at = [&](int a, int b) { return size_t(a) * size_t(steps + 1) + size_t(b); };
        for (int a = 0; a < steps; ++a) {
            for (int b = 0; b < steps; ++b) {
                const size_t q[4] = {at(a, b), at(a + 1, b), at(a + 1, b + 1), at(a, b + 1)};
                filler.fill({grid[q[0]], grid[q[1]], grid[q[2]]},
                            {&colours[q[0] * channels], &colours[q[1] * channels],
                             &colours[q[2] * channels]});
                filler.fill({grid[q[0]], grid[q[2]], grid[q[3]]},
                            {&colours[q[0] * channels], &colours[q[2] * channels],
                             &colours[q[3] * channels]});
            }
        }
    }
}

// The function at each pixel's point of its domain, inside the domain only.
void fillFunction(const Shading& shading, const Matrix& toPixels, ShadingRaster& raster) {
    const std::array<double, 6> m = shading.matrix();
    const std::optional<Matrix> fromPixels =
        (Matrix{m[0], m[1], m[2], m[3], m[4], m[5]} * toPixels).inverted();
    if (!fromPixels) {
        return;
    }
    const std::array<double, 4> d = shading.functionDomain();
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            const PointF at = fromPixels->apply({x + 0.5, y + 0.5});
            if (at.x < std::min(d[0], d[1]) || at.x > std::max(d[0], d[1]) ||
                at.y < std::min(d[2], d[3]) || at.y > std::max(d[2], d[3])) {
                continue;
            }
            const double in[2] = {at.x, at.y};
            const Rgb rgb = shading.colourAt(in);
            uint8_t* pixel = &raster.pixels[(size_t(y) * size_t(raster.width) + size_t(x)) * 4];
            pixel[0] = toByte(rgb.r);
            pixel[1] = toByte(rgb.g);
            pixel[2] = toByte(rgb.b);
            pixel[3] = 255;
        }
    }
}

}  // namespace

std::optional<ShadingRaster> rasteriseShading(const Shading& shading, const Matrix& toDevice,
                                              const std::optional<RectF>& drawable,
                                              double resolution) {
    if (shading.kind() != Shading::Kind::kFunctionBased && !shading.isMesh()) {
        return std::nullopt;
    }
    std::optional<RectF> area = shapeBounds(shading, toDevice);
    if (!area) {
        return std::nullopt;
    }
    if (const std::optional<std::array<double, 4>>& b = shading.bbox()) {
        std::optional<RectF> box;
        for (const PointF corner : {PointF{(*b)[0], (*b)[1]}, PointF{(*b)[2], (*b)[1]},
                                    PointF{(*b)[0], (*b)[3]}, PointF{(*b)[2], (*b)[3]}}) {
            include(box, toDevice.apply(corner));
        }
        area = intersect(area, *box);
    }
    if (drawable) {
        area = intersect(area, *drawable);
    }
    if (!std::isfinite(area->left) || !std::isfinite(area->top) || !std::isfinite(area->right) ||
        !std::isfinite(area->bottom)) {
        return std::nullopt;
    }
    ShadingRaster raster;
    raster.area = {std::floor(area->left), std::floor(area->top), std::ceil(area->right),
                   std::ceil(area->bottom)};
    if (raster.area.empty()) {
        return std::nullopt;
    }
    const double width = raster.area.right - raster.area.left;
    const double height = raster.area.bottom - raster.area.top;
    const size_t budget = shading.isMesh() ? kMaxRasterPixels : kMaxFunctionRasterPixels;
    const double wanted = std::isfinite(resolution) && resolution > 0 ? resolution : 1;
    const double scale = std::min({wanted, kMaxRasterSide / width, kMaxRasterSide / height,
                                   std::sqrt(double(budget) / (width * height))});
    raster.width = std::max(1, int(std::ceil(width * scale)));
    raster.height = std::max(1, int(std::ceil(height * scale)));
    raster.pixels.assign(size_t(raster.width) * size_t(raster.height) * 4, 0);
    const Matrix toPixels = toDevice * Matrix::translation(-raster.area.left, -raster.area.top) *
                            Matrix::scaling(raster.width / width, raster.height / height);
    if (shading.kind() == Shading::Kind::kFunctionBased) {
        fillFunction(shading, toPixels, raster);
        return raster;
    }
    TriangleFiller filler(shading, raster);
    const MeshData& mesh = shading.mesh();
    const size_t channels = mesh.channels;
    for (size_t n = 0; n < mesh.triangles() && !filler.exhausted(); ++n) {
        std::array<PointF, 3> p;
        for (size_t k = 0; k < 3; ++k) {
            const MeshPoint& m = mesh.trianglePoints[3 * n + k];
            p[k] = toPixels.apply({m.x, m.y});
        }
        const double* c = &mesh.triangleColours[3 * channels * n];
        filler.fill(p, {c, c + channels, c + 2 * channels});
    }
    fillPatches(mesh, toPixels, filler);
    return raster;
}

}  // namespace reader::pdf
