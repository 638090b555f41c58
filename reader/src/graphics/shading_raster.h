// Shadings the surface has no gradient for (function-based and mesh shadings) drawn into
// pixels: a picture of the shading over the device area it covers, to be drawn as an image.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/shading.h"
#include "surface/canvas.h"

namespace reader::pdf {

/// An RGBA picture (rows top-down, colour not multiplied by alpha; transparent where the
/// shading paints nothing) covering `area` of device space.
struct ShadingRaster {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
    surface::canvas::RectF area;

    /// The transform from the unit square onto `area`, the picture's top row at its top.
    surface::canvas::Matrix placement() const;
    surface::canvas::Image image() const;
};

/// Pictures are at most this many pixels a side and in all (fewer for function-based ones,
/// whose function runs once a pixel); a larger area is drawn at a lower resolution and
/// stretched.
constexpr int32_t kMaxRasterSide = 2048;
constexpr size_t kMaxRasterPixels = size_t(1) << 22;
constexpr size_t kMaxFunctionRasterPixels = size_t(1) << 20;
/// Pixels visited while filling triangles, over a whole mesh: past it the rest is not drawn.
constexpr size_t kMaxRasterWork = size_t(1) << 26;
/// A patch is cut into at most this many steps along each side, and the steps of all patches
/// together into at most kMaxPatchCells cells.
constexpr int kMaxPatchSteps = 64;
constexpr size_t kMaxPatchCells = size_t(1) << 22;

/// Draws `shading` (function-based or a mesh), placed on the device by `toDevice`, over the
/// part of its shape (and /BBox) inside `drawable` (device space; the whole shape when
/// absent), at `resolution` pixels a device unit within the bounds above. Nothing when that
/// part is empty or the shading is of another kind.
std::optional<ShadingRaster> rasteriseShading(const Shading& shading,
                                              const surface::canvas::Matrix& toDevice,
                                              const std::optional<surface::canvas::RectF>& drawable,
                                              double resolution = 1);

}  // namespace reader::pdf
