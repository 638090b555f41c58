// Where the surface is expected to put a string's character cell, worked out from the faces' own
// figures rather than from the surface's code: the Noto CJK faces' em box runs from 120 below the
// baseline to 880 above it, of 1000 units; other faces' em boxes are their ascent and descent
// scaled to the em. Symbol faces fill a cell of 10/9 of their em, placed a quarter of the cell
// to the left.
#pragma once

#include <QFontMetricsF>
#include <QRawFont>
#include <cmath>

#include "surface/font_service.h"
#include "surface/qt_surface.h"

namespace surface {

struct ExpectedCell {
    int ascent = 0;   // from the top of the cell down to the baseline
    int descent = 0;  // from the baseline down to the bottom of the cell
    int shift = 0;    // of the string's origin, to the right
};

inline ExpectedCell expectedCell(const LogFont& font) {
    const QFont qfont = QtSurface::qtFont(font);
    const QString family = QRawFont::fromFont(qfont).familyName();
    const QFontMetricsF metrics(qfont);
    const double share = family.startsWith(QLatin1String("Noto Serif CJK")) ||
                                 family.startsWith(QLatin1String("Noto Sans CJK"))
                             ? 0.88
                             : metrics.ascent() / (metrics.ascent() + metrics.descent());
    double cell = qfont.pixelSize();
    ExpectedCell expected;
    if (FontService::instance().virtualFace(font.faceName) != nullptr) {
        cell = cell * 10 / 9;
        expected.shift = -int(std::lround(cell / 4));
    }
    expected.ascent = int(std::lround(share * cell));
    expected.descent = int(std::lround(cell)) - expected.ascent;
    return expected;
}

}  // namespace surface
