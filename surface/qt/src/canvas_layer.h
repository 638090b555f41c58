// The off-screen pictures the Qt surface draws transparency groups and soft masks on.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QTransform>
#include <memory>

#include "surface/canvas.h"

namespace surface {

/// A finished soft mask: one value per surface pixel from `origin`, `outside` elsewhere.
struct SoftMaskPicture {
    QImage values;  // Grayscale8
    QPoint origin;
    uint8_t outside = 0;
};

/// An open group or soft mask: its picture, in surface pixels from `origin`, and the painter
/// that drew before it began.
struct CanvasLayer {
    enum class Kind : uint8_t {
        Group,        ///< composited at its end
        PassThrough,  ///< a group that changes nothing, drawn straight on the painter below
        SoftMask,     ///< made into a mask at its end
    };
    Kind kind = Kind::Group;
    canvas::Group group;
    std::unique_ptr<SoftMaskPicture> softMask;  // applied to the group at its end
    canvas::SoftMask mask;
    QImage picture;
    std::unique_ptr<QPainter> painter;
    QPoint origin;
    QPainter* parentPainter = nullptr;
    QTransform parentBase;
};

}  // namespace surface
