// Plain values the drawing surface speaks: geometry, colours, fonts, pens, brushes, bitmaps.
#pragma once

#include <cstdint>
#include <span>

namespace surface {

/// A colour as 0x00BBGGRR.
using ColorRef = uint32_t;

constexpr ColorRef rgb(uint8_t r, uint8_t g, uint8_t b) {
    return ColorRef{r} | (ColorRef{g} << 8) | (ColorRef{b} << 16);
}
constexpr uint8_t redOf(ColorRef c) { return static_cast<uint8_t>(c); }
constexpr uint8_t greenOf(ColorRef c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t blueOf(ColorRef c) { return static_cast<uint8_t>(c >> 16); }

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

/// A rectangle whose left and top edges are inside and right and bottom edges outside.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

/// Character sets a font may name; text bytes are read in the selected font's set.
enum CharSet : uint8_t {
    kAnsiCharSet = 0,
    kDefaultCharSet = 1,
    kSymbolCharSet = 2,
    kGb2312CharSet = 134,
    kBig5CharSet = 136,
};

enum PitchAndFamily : uint8_t {
    kDefaultPitch = 0,
    kFixedPitch = 1,
    kVariablePitch = 2,
};

/// A font request with the fields of the classic logical-font record. `faceName` holds UTF-8.
struct LogFont {
    int32_t height = 0;       ///< < 0: character height in logical units; > 0: cell height
    int32_t width = 0;        ///< average character width, 0 = natural
    int32_t escapement = 0;   ///< tenths of a degree, counter-clockwise
    int32_t orientation = 0;  ///< tenths of a degree
    int32_t weight = 0;       ///< 0 = default, 400 normal, 700 bold
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = kDefaultCharSet;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = kDefaultPitch;
    char faceName[32] = {};

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

struct TextMetrics {
    int32_t height = 0;  ///< ascent + descent
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t averageCharWidth = 0;
    int32_t maxCharWidth = 0;
};

enum class PenStyle : uint8_t { Solid, Dot, Null };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 0;  ///< logical units; 0 and 1 draw one device pixel
    ColorRef color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle : uint8_t { Solid, Null };

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    ColorRef color = rgb(255, 255, 255);
    friend bool operator==(const Brush&, const Brush&) = default;
};

enum class BackgroundMode : uint8_t { Transparent = 1, Opaque = 2 };
enum class PolyFillMode : uint8_t { Alternate = 1, Winding = 2 };
enum class MapMode : uint8_t { Text = 1, Anisotropic = 8 };

/// How a bitmap's pixels combine with the pixels under them.
enum class RasterOp : uint8_t {
    SrcCopy,   ///< replace
    SrcAnd,    ///< keep the darker: black source pixels darken, white ones leave the page alone
    SrcPaint,  ///< keep the lighter
};

/// Text alignment flags; the reference point is the cell's top-left corner by default.
namespace text_align {
inline constexpr uint32_t kTop = 0;
inline constexpr uint32_t kLeft = 0;
inline constexpr uint32_t kRight = 2;
inline constexpr uint32_t kCenter = 6;
inline constexpr uint32_t kBottom = 8;
inline constexpr uint32_t kBaseline = 24;
inline constexpr uint32_t kHorizontalMask = 6;
inline constexpr uint32_t kVerticalMask = 24;
}  // namespace text_align

/// A device-independent bitmap viewed in place: 1, 4, 8 or 24 bits per pixel, rows padded to
/// 4 bytes, bottom-up when `height` > 0 and top-down when it is negative. The palette holds
/// 0x00RRGGBB entries (blue in the low byte, as stored in the file); up to 8 bits it may be
/// shorter than the depth allows, and pixel values past its end draw black.
struct Dib {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    std::span<const uint32_t> palette;
    std::span<const uint8_t> bits;

    int32_t rowBytes() const { return ((width * bitCount + 31) / 32) * 4; }
    int32_t rows() const { return height < 0 ? -height : height; }
    /// Whether the header is usable and `bits` holds every row.
    bool valid() const;
};

/// Resolution of a device, the only thing a window handle was ever asked for.
struct Device {
    int32_t dpiX = 96;
    int32_t dpiY = 96;
};

}  // namespace surface
