#include "surface/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace surface::canvas {

namespace {

bool finite(PointF p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The parameters in (0, 1) where one coordinate of a cubic Bézier turns.
int turningPoints(double p0, double p1, double p2, double p3, double out[2]) {
    // The derivative divided by 3 is a t² + b t + c.
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    int count = 0;
    auto keep = [&](double t) {
        if (t > 0 && t < 1) {
            out[count++] = t;
        }
    };
    if (std::abs(a) < 1e-12) {
        if (std::abs(b) > 1e-12) {
            keep(-c / b);
        }
        return count;
    }
    const double discriminant = b * b - 4 * a * c;
    if (discriminant < 0) {
        return 0;
    }
    const double root = std::sqrt(discriminant);
    keep((-b + root) / (2 * a));
    keep((-b - root) / (2 * a));
    return count;
}

double cubicAt(double p0, double p1, double p2, double p3, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

}  // namespace

Matrix Matrix::rotation(double degrees) {
    const double r = degrees * std::numbers::pi / 180.0;
    const double cosine = std::cos(r);
    const double sine = std::sin(r);
    return {cosine, sine, -sine, cosine, 0, 0};
}

Matrix Matrix::operator*(const Matrix& t) const {
    return {a * t.a + b * t.c, a * t.b + b * t.d,       c * t.a + d * t.c,
            c * t.b + d * t.d, e * t.a + f * t.c + t.e, e * t.b + f * t.d + t.f};
}

bool Matrix::finite() const {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
           std::isfinite(e) && std::isfinite(f);
}

std::optional<Matrix> Matrix::inverted() const {
    const double det = a * d - b * c;
    if (!finite() || det == 0 || !std::isfinite(1 / det)) {
        return std::nullopt;
    }
    const double inv = 1 / det;
    return Matrix{
        d * inv, -b * inv, -c * inv, a * inv, (c * f - d * e) * inv, (b * e - a * f) * inv};
}

void Path::moveTo(PointF p) {
    verbs_.push_back(Verb::MoveTo);
    points_.push_back(p);
    open_ = true;
    start_ = p;
}

void Path::lineTo(PointF p) {
    if (!open_) {
        // After a close the figure goes on from where the closed one began.
        const bool afterClose = !verbs_.empty() && verbs_.back() == Verb::Close;
        moveTo(afterClose ? start_ : p);
    }
    verbs_.push_back(Verb::LineTo);
    points_.push_back(p);
}

void Path::cubicTo(PointF control1, PointF control2, PointF end) {
    if (!open_) {
        const bool afterClose = !verbs_.empty() && verbs_.back() == Verb::Close;
        moveTo(afterClose ? start_ : control1);
    }
    verbs_.push_back(Verb::CubicTo);
    points_.insert(points_.end(), {control1, control2, end});
}

void Path::close() {
    if (open_) {
        verbs_.push_back(Verb::Close);
        open_ = false;
    }
}

void Path::addRect(double x, double y, double width, double height) {
    moveTo({x, y});
    lineTo({x + width, y});
    lineTo({x + width, y + height});
    lineTo({x, y + height});
    close();
}

std::optional<RectF> Path::bounds() const {
    if (points_.empty()) {
        return std::nullopt;
    }
    RectF r{points_[0].x, points_[0].y, points_[0].x, points_[0].y};
    auto include = [&r](double x, double y) {
        r.left = std::min(r.left, x);
        r.right = std::max(r.right, x);
        r.top = std::min(r.top, y);
        r.bottom = std::max(r.bottom, y);
    };
    size_t at = 0;
    for (const Verb verb : verbs_) {
        switch (verb) {
            case Verb::MoveTo:
            case Verb::LineTo:
                include(points_[at].x, points_[at].y);
                ++at;
                break;
            case Verb::CubicTo: {
                const PointF p0 = points_[at - 1];  // every cubic follows a point
                const PointF p1 = points_[at];
                const PointF p2 = points_[at + 1];
                const PointF p3 = points_[at + 2];
                include(p3.x, p3.y);
                double ts[2];
                for (int i = 0, n = turningPoints(p0.x, p1.x, p2.x, p3.x, ts); i < n; ++i) {
                    include(cubicAt(p0.x, p1.x, p2.x, p3.x, ts[i]), p0.y);
                }
                for (int i = 0, n = turningPoints(p0.y, p1.y, p2.y, p3.y, ts); i < n; ++i) {
                    include(p0.x, cubicAt(p0.y, p1.y, p2.y, p3.y, ts[i]));
                }
                at += 3;
                break;
            }
            case Verb::Close: break;
        }
    }
    return r;
}

Path Path::transformed(const Matrix& m) const {
    Path out = *this;
    for (PointF& p : out.points_) {
        p = m.apply(p);
    }
    out.start_ = m.apply(start_);
    return out;
}

bool Path::finite() const {
    return std::all_of(points_.begin(), points_.end(), [](PointF p) { return canvas::finite(p); });
}

bool Image::valid() const {
    constexpr int32_t kMaxSide = 1 << 16;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || stride < width * 4) {
        return false;
    }
    return pixels.size() >= static_cast<size_t>(stride) * static_cast<size_t>(height - 1) +
                                static_cast<size_t>(width) * 4;
}

}  // namespace surface::canvas
