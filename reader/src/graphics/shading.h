// Smooth shadings: the function-based, axial and radial kinds with their geometry, and the mesh
// kinds with their triangles or patches; their colour space and the function that gives a
// colour for each point or parameter.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "graphics/colour_space.h"
#include "graphics/function.h"
#include "graphics/mesh_shading.h"
#include "object/object.h"

namespace reader::pdf {

class Document;

class Shading {
  public:
    enum class Kind : uint8_t {
        kFunctionBased = 1,
        kAxial = 2,
        kRadial = 3,
        kFreeForm = 4,
        kLattice = 5,
        kCoons = 6,
        kTensor = 7,
    };

    /// The shading `object` (a dictionary, a stream or a reference to one) describes, its named
    /// colour space looked up in `resources`; null for a kind not read here or entries that do
    /// not make a shading.
    static std::unique_ptr<Shading> read(Document& document, const Object& object,
                                         const Dict* resources);

    Kind kind() const { return kind_; }
    const ColourSpace& space() const { return *space_; }
    /// Axial: x0 y0 x1 y1. Radial: x0 y0 r0 x1 y1 r1.
    std::span<const double> coords() const {
        return {coords_.data(), kind_ == Kind::kAxial ? 4u : 6u};
    }
    /// The parameter's range (axial and radial), t0 t1.
    std::array<double, 2> domain() const { return domain_; }
    /// Whether the shading goes on before its start and past its end (axial and radial).
    std::array<bool, 2> extend() const { return extend_; }
    /// Function-based: x0 x1 y0 y1 of the function's domain, and the matrix from it to the
    /// shading's space [a b c d e f].
    std::array<double, 4> functionDomain() const { return functionDomain_; }
    std::array<double, 6> matrix() const { return matrix_; }
    /// The colour painted outside the shape where the shading is used as a pattern, if any.
    const std::optional<Rgb>& background() const { return background_; }
    /// x0 y0 x1 y1 in the shading's space, outside which nothing is painted, if given.
    const std::optional<std::array<double, 4>>& bbox() const { return bbox_; }

    /// Whether the shading is a mesh (free-form, lattice, Coons or tensor-product).
    bool isMesh() const { return kind_ >= Kind::kFreeForm; }
    /// Whether a mesh's colours are parameters of its function rather than components.
    bool parametric() const { return isMesh() && function_ != nullptr; }
    /// A mesh's triangles and patches, their corners' colour values in mesh().channels.
    const MeshData& mesh() const { return mesh_; }

    /// The colour at `in`: the parameter t (axial, radial) or the point x y (function-based).
    Rgb colourAt(std::span<const double> in) const;
    /// The colour of a mesh's colour values: through the function when there is one (the one
    /// value a parameter), else components of the space.
    Rgb meshColour(std::span<const double> values) const;
    /// `count` (at least 2) colours at evenly spaced parameters from t0 to t1, for the stops
    /// of a gradient; each with its place from 0 to 1.
    std::vector<std::pair<double, Rgb>> stops(size_t count) const;

  private:
    Shading() = default;
    /// Reads a mesh's packing and data from the shading's stream; false when it has none or
    /// the packing is unusable.
    bool readMesh(Document& document, const Object& object);

    Kind kind_ = Kind::kAxial;
    std::shared_ptr<const ColourSpace> space_;
    std::unique_ptr<Function> function_;
    std::array<double, 6> coords_{};
    std::array<double, 2> domain_{0, 1};
    std::array<bool, 2> extend_{false, false};
    std::array<double, 4> functionDomain_{0, 1, 0, 1};
    std::array<double, 6> matrix_{1, 0, 0, 1, 0, 0};
    std::optional<Rgb> background_;
    std::optional<std::array<double, 4>> bbox_;
    MeshData mesh_;
};

}  // namespace reader::pdf
