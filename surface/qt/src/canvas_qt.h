// Canvas values as their Qt counterparts.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QTransform>

#include "surface/canvas.h"

namespace surface {

inline QTransform qtTransform(const canvas::Matrix& m) {
    return QTransform(m.a, m.b, m.c, m.d, m.e, m.f);
}

inline QColor qtColor(const canvas::Paint& p) {
    return QColor::fromRgbF(static_cast<float>(p.red), static_cast<float>(p.green),
                            static_cast<float>(p.blue), static_cast<float>(p.alpha));
}

QPainterPath qtPath(const canvas::Path& path, canvas::FillRule rule);

}  // namespace surface
