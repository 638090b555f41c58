#include "graphics/mesh_shading.h"

#include <algorithm>
#include <array>
#include <optional>

namespace reader::pdf {

namespace {

// Reads unsigned values of 1 to 32 bits, most significant bit first.
class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

    std::optional<uint32_t> read(int bits) {
        if (bitPos_ + size_t(bits) > data_.size() * 8) {
            return std::nullopt;
        }
        uint64_t value = 0;
        for (int remaining = bits; remaining > 0;) {
            const uint8_t byte = data_[bitPos_ / 8];
            const int used = int(bitPos_ % 8);
            const int take = std::min(remaining, 8 - used);
            value = (value << take) | ((byte >> (8 - used - take)) & ((1u << take) - 1));
            bitPos_ += size_t(take);
            remaining -= take;
        }
        return uint32_t(value);
    }
    void align() { bitPos_ = (bitPos_ + 7) / 8 * 8; }

  private:
    std::span<const uint8_t> data_;
    size_t bitPos_ = 0;
};

// One value of `bits` bits mapped onto [min, max].
std::optional<double> readDecoded(BitReader& reader, int bits, double min, double max) {
    const std::optional<uint32_t> raw = reader.read(bits);
    if (!raw) {
        return std::nullopt;
    }
    const double top = double((uint64_t(1) << bits) - 1);
    return min + double(*raw) * (max - min) / top;
}

// Reads points and colours as the layout packs them.
class MeshReader {
  public:
    MeshReader(const MeshLayout& layout, std::span<const uint8_t> data)
        : layout_(layout), reader_(data) {}

    std::optional<uint32_t> flag() {
        const std::optional<uint32_t> raw = reader_.read(layout_.bitsPerFlag);
        return raw ? std::optional<uint32_t>(*raw & 3) : std::nullopt;
    }
    std::optional<MeshPoint> point() {
        const auto& d = layout_.decode;
        const std::optional<double> x = readDecoded(reader_, layout_.bitsPerCoordinate, d[0], d[1]);
        const std::optional<double> y = readDecoded(reader_, layout_.bitsPerCoordinate, d[2], d[3]);
        if (!x || !y) {
            return std::nullopt;
        }
        return MeshPoint{*x, *y};
    }
    /// Appends one colour's channels to `out`; false at the end of the data.
    bool colour(std::vector<double>& out) {
        const auto& d = layout_.decode;
        for (size_t k = 0; k < layout_.channels; ++k) {
            const std::optional<double> v =
                readDecoded(reader_, layout_.bitsPerComponent, d[4 + 2 * k], d[5 + 2 * k]);
            if (!v) {
                return false;
            }
            out.push_back(*v);
        }
        return true;
    }
    void align() { reader_.align(); }

  private:
    const MeshLayout& layout_;
    BitReader reader_;
};

struct Vertex {
    MeshPoint point;
    std::vector<double> colour;
};

std::optional<Vertex> readVertex(MeshReader& reader) {
    Vertex v;
    const std::optional<MeshPoint> point = reader.point();
    if (!point || !reader.colour(v.colour)) {
        return std::nullopt;
    }
    v.point = *point;
    return v;
}

void addTriangle(MeshData& mesh, const Vertex& a, const Vertex& b, const Vertex& c) {
    for (const Vertex* v : {&a, &b, &c}) {
        mesh.trianglePoints.push_back(v->point);
        mesh.triangleColours.insert(mesh.triangleColours.end(), v->colour.begin(), v->colour.end());
    }
}

// Edge flag 0 starts a triangle of three new vertices; 1 makes one of the last triangle's
// second and third vertices and a new one, 2 of its first and third and a new one.
void decodeFreeForm(MeshReader& reader, MeshData& mesh, size_t maxElements) {
    std::optional<std::array<Vertex, 3>> last;
    for (size_t read = 0; read < maxElements;) {
        const std::optional<uint32_t> flag = reader.flag();
        if (!flag) {
            return;
        }
        std::optional<Vertex> v = readVertex(reader);
        reader.align();
        ++read;
        if (!v) {
            return;
        }
        if (*flag == 0) {
            std::array<Vertex, 3> triangle{std::move(*v), {}, {}};
            for (size_t k = 1; k < 3; ++k, ++read) {
                if (!reader.flag()) {
                    return;
                }
                std::optional<Vertex> next = readVertex(reader);
                reader.align();
                if (!next) {
                    return;
                }
                triangle[k] = std::move(*next);
            }
            last = std::move(triangle);
        } else if (!last) {
            return;  // nothing to share an edge with
        } else if (*flag == 1) {
            *last = {std::move((*last)[1]), std::move((*last)[2]), std::move(*v)};
        } else {
            *last = {std::move((*last)[0]), std::move((*last)[2]), std::move(*v)};
        }
        addTriangle(mesh, (*last)[0], (*last)[1], (*last)[2]);
    }
}

// Rows of vertices; each square of four neighbours makes two triangles.
void decodeLattice(MeshReader& reader, MeshData& mesh, size_t maxElements, size_t verticesPerRow) {
    std::vector<Vertex> previous;
    std::vector<Vertex> row;
    for (size_t read = 0; read < maxElements; ++read) {
        std::optional<Vertex> v = readVertex(reader);
        reader.align();
        if (!v) {
            return;
        }
        row.push_back(std::move(*v));
        if (row.size() < verticesPerRow) {
            continue;
        }
        if (!previous.empty()) {
            for (size_t k = 0; k + 1 < verticesPerRow; ++k) {
                addTriangle(mesh, previous[k], previous[k + 1], row[k]);
                addTriangle(mesh, previous[k + 1], row[k + 1], row[k]);
            }
        }
        previous = std::move(row);
        row.clear();
    }
}

// The stream gives a patch's boundary from p00 round to p10, then (tensor patches) the
// interior p11 p12 p22 p21; these are their places in the 4 x 4 array.
constexpr std::array<size_t, 12> kBoundary = {0, 1, 2, 3, 7, 11, 15, 14, 13, 12, 8, 4};
constexpr std::array<size_t, 4> kInterior = {5, 6, 10, 9};

// The interior points that make a tensor-product patch draw as the Coons patch of its boundary.
void coonsInterior(std::array<MeshPoint, 16>& p) {
    const auto combine = [&](size_t corner, size_t n1, size_t n2, size_t f1, size_t f2, size_t m1,
                             size_t m2, size_t opposite) {
        const auto axis = [&](double MeshPoint::*c) {
            return (-4 * (p[corner].*c) + 6 * (p[n1].*c + p[n2].*c) - 2 * (p[f1].*c + p[f2].*c) +
                    3 * (p[m1].*c + p[m2].*c) - (p[opposite].*c)) /
                   9;
        };
        return MeshPoint{axis(&MeshPoint::x), axis(&MeshPoint::y)};
    };
    // p11, p12, p21, p22 each from its nearest corner, the boundary points beside it, the far
    // corners of its edges, the far control points and the opposite corner.
    p[5] = combine(0, 1, 4, 3, 12, 13, 7, 15);
    p[6] = combine(3, 2, 7, 0, 15, 14, 4, 12);
    p[9] = combine(12, 13, 8, 15, 0, 1, 11, 3);
    p[10] = combine(15, 14, 11, 12, 3, 2, 8, 0);
}

// Edge flag 0 starts a patch; 1, 2 and 3 share the previous patch's second, third or fourth
// edge (and that edge's two corner colours) as the new patch's first.
void decodePatches(MeshReader& reader, MeshData& mesh, size_t maxElements, bool tensor) {
    std::optional<std::array<MeshPoint, 12>> lastBoundary;
    std::vector<double> lastColours;
    const size_t channels = mesh.channels;
    for (size_t read = 0; read < maxElements; ++read) {
        const std::optional<uint32_t> flag = reader.flag();
        if (!flag) {
            return;
        }
        std::array<MeshPoint, 12> boundary;
        std::vector<double> colours;
        size_t first = 0;
        if (*flag != 0) {
            if (!lastBoundary) {
                return;
            }
            for (size_t k = 0; k < 4; ++k) {
                boundary[k] = (*lastBoundary)[(3 * *flag + k) % 12];
            }
            for (const size_t corner : {size_t(*flag), size_t((*flag + 1) % 4)}) {
                colours.insert(colours.end(), lastColours.begin() + long(corner * channels),
                               lastColours.begin() + long((corner + 1) * channels));
            }
            first = 4;
        }
        for (size_t k = first; k < 12; ++k) {
            const std::optional<MeshPoint> point = reader.point();
            if (!point) {
                return;
            }
            boundary[k] = *point;
        }
        std::array<MeshPoint, 16> p;
        for (size_t k = 0; k < 12; ++k) {
            p[kBoundary[k]] = boundary[k];
        }
        if (tensor) {
            for (const size_t k : kInterior) {
                const std::optional<MeshPoint> point = reader.point();
                if (!point) {
                    return;
                }
                p[k] = *point;
            }
        } else {
            coonsInterior(p);
        }
        while (colours.size() < 4 * channels) {
            if (!reader.colour(colours)) {
                return;
            }
        }
        reader.align();
        mesh.patchPoints.insert(mesh.patchPoints.end(), p.begin(), p.end());
        mesh.patchColours.insert(mesh.patchColours.end(), colours.begin(), colours.end());
        lastBoundary = boundary;
        lastColours = std::move(colours);
    }
}

bool oneOf(int value, std::initializer_list<int> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

}  // namespace

bool MeshLayout::valid() const {
    if (!oneOf(bitsPerCoordinate, {1, 2, 4, 8, 12, 16, 24, 32}) ||
        !oneOf(bitsPerComponent, {1, 2, 4, 8, 12, 16}) || channels == 0 ||
        decode.size() != 4 + 2 * channels) {
        return false;
    }
    if (kind == Kind::kLattice) {
        return verticesPerRow >= 2;
    }
    return oneOf(bitsPerFlag, {2, 4, 8});
}

MeshData decodeMesh(const MeshLayout& layout, std::span<const uint8_t> data, size_t maxElements) {
    MeshData mesh;
    mesh.channels = layout.channels;
    if (!layout.valid()) {
        return mesh;
    }
    // What one vertex or patch read can add to the mesh.
    const size_t corner = sizeof(MeshPoint) + layout.channels * sizeof(double);
    size_t perElement = 3 * corner;
    if (layout.kind == MeshLayout::Kind::kLattice) {
        perElement = 6 * corner;
    } else if (layout.kind != MeshLayout::Kind::kFreeForm) {
        perElement = 16 * sizeof(MeshPoint) + 4 * layout.channels * sizeof(double);
    }
    maxElements = std::min(maxElements, kMaxMeshBytes / perElement);
    MeshReader reader(layout, data);
    switch (layout.kind) {
        case MeshLayout::Kind::kFreeForm: decodeFreeForm(reader, mesh, maxElements); break;
        case MeshLayout::Kind::kLattice:
            decodeLattice(reader, mesh, maxElements, size_t(layout.verticesPerRow));
            break;
        case MeshLayout::Kind::kCoons: decodePatches(reader, mesh, maxElements, false); break;
        case MeshLayout::Kind::kTensor: decodePatches(reader, mesh, maxElements, true); break;
    }
    return mesh;
}

}  // namespace reader::pdf
