// The data of mesh shadings (free-form and lattice triangle meshes, Coons and tensor-product
// patch meshes): bit-packed vertices and patches read into triangles and 16-point patches, each
// corner with its colour values (the components of the shading's space, or the one parameter of
// its function).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace reader::pdf {

struct MeshPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const MeshPoint&, const MeshPoint&) = default;
};

/// How a mesh shading's stream is packed.
struct MeshLayout {
    enum class Kind : uint8_t { kFreeForm = 4, kLattice = 5, kCoons = 6, kTensor = 7 };
    Kind kind = Kind::kFreeForm;
    int bitsPerCoordinate = 8;  ///< 1, 2, 4, 8, 12, 16, 24 or 32
    int bitsPerComponent = 8;   ///< 1, 2, 4, 8, 12 or 16
    int bitsPerFlag = 8;        ///< 2, 4 or 8; the lattice has none
    int verticesPerRow = 2;     ///< the lattice's, at least 2
    size_t channels = 1;        ///< colour values per vertex
    /// xmin xmax ymin ymax, then a min and max per channel: the range raw values map onto.
    std::vector<double> decode;

    /// Whether the bit widths, the row length and the Decode array's size are usable.
    bool valid() const;
};

/// Triangles, three corners each, and patches, sixteen points each (p[i][j] at 4 i + j, i along
/// u and j along v) with the colours of their corners (0,0), (0,1), (1,1), (1,0) in that order.
struct MeshData {
    size_t channels = 1;
    std::vector<MeshPoint> trianglePoints;  ///< 3 per triangle
    std::vector<double> triangleColours;    ///< 3 channels per triangle
    std::vector<MeshPoint> patchPoints;     ///< 16 per patch
    std::vector<double> patchColours;       ///< 4 channels per patch

    size_t triangles() const { return trianglePoints.size() / 3; }
    size_t patches() const { return patchPoints.size() / 16; }
};

/// Vertices (triangle meshes) or patches read from one stream at most; fewer when what they
/// make would take more than kMaxMeshBytes (many colour channels, or a lattice's two triangles
/// a vertex).
constexpr size_t kMaxMeshElements = size_t(1) << 20;
constexpr size_t kMaxMeshBytes = size_t(64) << 20;

/// Reads `data` packed as `layout` says, at most `maxElements` vertices or patches (and
/// within kMaxMeshBytes). Each vertex
/// of a triangle mesh and each patch starts on a byte boundary. Reading stops at the end of the
/// data or at an edge flag that names a missing previous triangle or patch; what was read
/// before is kept. Nothing is read for an invalid layout.
MeshData decodeMesh(const MeshLayout& layout, std::span<const uint8_t> data,
                    size_t maxElements = kMaxMeshElements);

}  // namespace reader::pdf
