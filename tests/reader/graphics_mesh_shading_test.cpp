// Mesh shading streams: free-form triangles with their edge flags, lattices, Coons and
// tensor-product patches with shared edges, bit widths and Decode ranges, data that ends early
// and layouts that cannot be read; and mesh shadings read from a file and drawn into pixels.
#include <gtest/gtest.h>

#include <sstream>

#include "graphics/mesh_shading.h"
#include "graphics/shading.h"
#include "graphics/shading_raster.h"
#include "graphics_test_support.h"

namespace reader::pdf {
namespace {

using Kind = MeshLayout::Kind;

std::string describe(const std::vector<MeshPoint>& points, const std::vector<double>& colours,
                     size_t per, size_t coloursPer, size_t channels) {
    std::ostringstream out;
    for (size_t n = 0; n * per < points.size(); ++n) {
        out << (n ? " | " : "");
        for (size_t k = 0; k < per; ++k) {
            out << (k ? " " : "") << points[n * per + k].x << "," << points[n * per + k].y;
        }
        out << " :";
        for (size_t k = 0; k < coloursPer * channels; ++k) {
            out << " " << colours[n * coloursPer * channels + k];
        }
    }
    return out.str();
}

std::string triangles(const MeshData& mesh) {
    return describe(mesh.trianglePoints, mesh.triangleColours, 3, 3, mesh.channels);
}

MeshLayout layout(Kind kind, int coordinateBits, int componentBits, int flagBits,
                  std::vector<double> decode) {
    MeshLayout l;
    l.kind = kind;
    l.bitsPerCoordinate = coordinateBits;
    l.bitsPerComponent = componentBits;
    l.bitsPerFlag = flagBits;
    l.channels = (decode.size() - 4) / 2;
    l.decode = std::move(decode);
    return l;
}

MeshData decode(const MeshLayout& l, std::vector<uint8_t> bytes, size_t max = kMaxMeshElements) {
    return decodeMesh(l, bytes, max);
}

TEST(MeshShadingTest, FreeFormTrianglesShareEdgesByTheirFlags) {
    const MeshLayout bytes = layout(Kind::kFreeForm, 8, 8, 8, {0, 255, 0, 255, 0, 255});
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
        const char* triangles;
    };
    const Case cases[] = {
        {"one triangle", {0, 1, 2, 10, 0, 3, 4, 20, 0, 5, 6, 30}, "1,2 3,4 5,6 : 10 20 30"},
        {"flag 1 keeps the second and third vertices",
         {0, 1, 2, 10, 0, 3, 4, 20, 0, 5, 6, 30, 1, 7, 8, 40},
         "1,2 3,4 5,6 : 10 20 30 | 3,4 5,6 7,8 : 20 30 40"},
        {"flag 2 keeps the first and third",
         {0, 1, 2, 10, 0, 3, 4, 20, 0, 5, 6, 30, 2, 7, 8, 40, 1, 9, 9, 50},
         "1,2 3,4 5,6 : 10 20 30 | 1,2 5,6 7,8 : 10 30 40 | 5,6 7,8 9,9 : 30 40 50"},
        {"a flag with no triangle before it ends the mesh", {1, 1, 2, 10, 0, 3, 4, 20}, ""},
        {"a triangle cut short is dropped", {0, 1, 2, 10, 0, 3, 4, 20, 0, 5, 6}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(triangles(decode(bytes, c.data)), c.triangles) << c.name;
    }
}

TEST(MeshShadingTest, BitWidthsAndDecodeRangesMapTheRawValues) {
    // Four-bit coordinates and components after a two-bit flag; each vertex starts on a byte:
    // flag 00, x 1111, y 0000, colour 1000 and 6 bits of padding.
    const std::vector<uint8_t> fourBits = {0x3C, 0x20, 0, 0, 0, 0};
    const MeshData mesh =
        decode(layout(Kind::kFreeForm, 4, 4, 2, {0, 30, 10, 20, 0, 1.5}), fourBits);
    EXPECT_EQ(triangles(mesh), "30,10 0,10 0,10 : 0.8 0 0")
        << "15 of 15 is the top of x's range, 8 of 15 of the colour's";
    // 16- and 32-bit values across bytes, with reversed ranges.
    MeshLayout lattice = layout(Kind::kLattice, 32, 16, 0, {100, 0, 0, 1, 1, 0});
    lattice.verticesPerRow = 2;
    std::vector<uint8_t> data;
    for (int v = 0; v < 4; ++v) {
        const uint8_t x = v % 2 ? 0xFF : 0x00;
        const uint8_t y = v / 2 ? 0xFF : 0x00;
        data.insert(data.end(), {x, x, x, x, y, y, y, y, 0xFF, 0xFF});
    }
    EXPECT_EQ(triangles(decode(lattice, data)), "100,0 0,0 100,1 : 0 0 0 | 0,0 0,1 100,1 : 0 0 0");
}

TEST(MeshShadingTest, LatticesMakeTwoTrianglesOfEachSquare) {
    MeshLayout l = layout(Kind::kLattice, 8, 8, 0, {0, 255, 0, 255, 0, 255});
    l.verticesPerRow = 3;
    const std::vector<uint8_t> rows = {0, 0, 1, 5, 0, 2, 9, 0, 3, 0, 5,
                                       4, 5, 5, 5, 9, 5, 6, 0, 9, 7};
    const MeshData mesh = decode(l, rows);
    EXPECT_EQ(triangles(mesh),
              "0,0 5,0 0,5 : 1 2 4 | 5,0 5,5 0,5 : 2 5 4 | 5,0 9,0 5,5 : 2 3 5 | "
              "9,0 9,5 5,5 : 3 6 5")
        << "a row left unfinished adds nothing";
    EXPECT_EQ(decode(l, rows, 5).triangles(), 0u) << "vertices past the bound are not read";
}

// A patch's boundary in the stream's order, p00 round to p10, for a square of side 3 whose
// control points lie at its thirds.
std::vector<uint8_t> squareBoundary() {
    return {0, 0, 0, 1, 0, 2, 0, 3, 1, 3, 2, 3, 3, 3, 3, 2, 3, 1, 3, 0, 2, 0, 1, 0};
}

TEST(MeshShadingTest, CoonsPatchesGetTheInteriorOfTheirBoundary) {
    const MeshLayout l = layout(Kind::kCoons, 8, 8, 8, {0, 255, 0, 255, 0, 255});
    std::vector<uint8_t> data = {0};
    const std::vector<uint8_t> boundary = squareBoundary();
    data.insert(data.end(), boundary.begin(), boundary.end());
    data.insert(data.end(), {10, 20, 30, 40});
    const MeshData mesh = decode(l, data);
    ASSERT_EQ(mesh.patches(), 1u);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(mesh.patchPoints[size_t(4 * i + j)].x, i, 1e-9) << i << j;
            EXPECT_NEAR(mesh.patchPoints[size_t(4 * i + j)].y, j, 1e-9) << i << j;
        }
    }
    EXPECT_EQ(mesh.patchColours, (std::vector<double>{10, 20, 30, 40}));
}

TEST(MeshShadingTest, PatchesShareAnEdgeOfThePreviousPatch) {
    const MeshLayout l = layout(Kind::kTensor, 8, 8, 8, {0, 255, 0, 255, 0, 255});
    std::vector<uint8_t> first = {0};
    for (uint8_t k = 0; k < 16; ++k) {
        first.insert(first.end(), {k, uint8_t(100 + k)});
    }
    first.insert(first.end(), {10, 20, 30, 40});
    // Which previous stream points (of the boundary, p00 round to p10) and corner colours make
    // the new patch's first edge, for each flag.
    struct Case {
        uint8_t flag;
        std::vector<uint8_t> points;
        std::vector<double> colours;
    };
    const Case cases[] = {
        {1, {3, 4, 5, 6}, {20, 30}},
        {2, {6, 7, 8, 9}, {30, 40}},
        {3, {9, 10, 11, 0}, {40, 10}},
    };
    // The stream's order of a patch's points in the 4 x 4 array.
    const size_t order[16] = {0, 1, 2, 3, 7, 11, 15, 14, 13, 12, 8, 4, 5, 6, 10, 9};
    for (const Case& c : cases) {
        std::vector<uint8_t> data = first;
        data.push_back(c.flag);
        for (uint8_t k = 0; k < 12; ++k) {
            data.insert(data.end(), {uint8_t(200 + k), uint8_t(200 + k)});
        }
        data.insert(data.end(), {50, 60});
        const MeshData mesh = decode(l, data);
        ASSERT_EQ(mesh.patches(), 2u) << int(c.flag);
        // The first patch's points in stream order were (k, 100 + k).
        for (size_t k = 0; k < 4; ++k) {
            const MeshPoint& shared = mesh.patchPoints[16 + order[k]];
            EXPECT_EQ(shared, (MeshPoint{double(c.points[k]), 100.0 + c.points[k]}))
                << int(c.flag) << " " << k;
        }
        // Then the eight other boundary points and the four interior ones, as read.
        for (size_t k = 4; k < 16; ++k) {
            EXPECT_EQ(mesh.patchPoints[16 + order[k]], (MeshPoint{196.0 + k, 196.0 + k}))
                << int(c.flag) << " " << k;
        }
        EXPECT_EQ(std::vector<double>(mesh.patchColours.begin() + 4, mesh.patchColours.end()),
                  (std::vector<double>{c.colours[0], c.colours[1], 50, 60}))
            << int(c.flag);
    }
    std::vector<uint8_t> cut = first;
    cut.resize(cut.size() - 1);
    EXPECT_EQ(decode(l, cut).patches(), 0u) << "a patch missing a colour is dropped";
}

TEST(MeshShadingTest, UnusableLayoutsReadNothing) {
    const std::vector<uint8_t> data(64, 0);
    MeshLayout shortRows = layout(Kind::kLattice, 8, 8, 0, {0, 1, 0, 1, 0, 1});
    shortRows.verticesPerRow = 1;
    const MeshLayout cases[] = {
        shortRows,
        layout(Kind::kFreeForm, 7, 8, 8, {0, 1, 0, 1, 0, 1}),
        layout(Kind::kFreeForm, 8, 32, 8, {0, 1, 0, 1, 0, 1}),
        layout(Kind::kFreeForm, 8, 8, 1, {0, 1, 0, 1, 0, 1}),
        layout(Kind::kCoons, 8, 8, 8, {0, 1, 0, 1, 0, 1, 0}),
    };
    for (const MeshLayout& l : cases) {
        EXPECT_FALSE(l.valid());
        const MeshData mesh = decode(l, data);
        EXPECT_EQ(mesh.triangles() + mesh.patches(), 0u);
    }
}

// A mesh read from a file through its function, and drawn: a triangle over the left half of a
// 4 x 2 pixel area, from t = 0 (red) to t = 1 (blue).
TEST(MeshShadingTest, ShadingsReadTheirMeshAndDrawItIntoPixels) {
    GraphicsFile file(
        {{20, fixtures::streamBody("/ShadingType 4 /ColorSpace /DeviceRGB /BitsPerCoordinate 8 "
                                   "/BitsPerComponent 8 /BitsPerFlag 8 /Decode [0 4 0 2 0 1] "
                                   "/Function << /FunctionType 2 /Domain [0 1] /C0 [1 0 0] "
                                   "/C1 [0 0 1] /N 1 >>",
                                   std::string("\x00\x00\x00\x00"
                                               "\x00\xFF\x00\x00"
                                               "\x00\x00\xFF\xFF",
                                               12))}});
    const auto shading = Shading::read(file.document(), GraphicsFile::ref(20), nullptr);
    ASSERT_NE(shading, nullptr);
    EXPECT_TRUE(shading->isMesh());
    EXPECT_EQ(shading->mesh().triangles(), 1u);
    EXPECT_EQ(shading->mesh().channels, 1u);
    const std::optional<ShadingRaster> raster =
        rasteriseShading(*shading, surface::canvas::Matrix{}, std::nullopt);
    ASSERT_TRUE(raster);
    EXPECT_EQ(raster->area, (surface::canvas::RectF{0, 0, 4, 2}));
    ASSERT_EQ(raster->width, 4);
    ASSERT_EQ(raster->height, 2);
    // Rows top-down in device space: y = 0 is the triangle's base, from (0,0) to (0,2).
    const auto pixel = [&](int x, int y) {
        const uint8_t* p = &raster->pixels[size_t(y * 4 + x) * 4];
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ(pixel(0, 0)[3], 255);
    EXPECT_GT(pixel(0, 0)[0], pixel(0, 0)[2]) << "near the red corner";
    EXPECT_GT(pixel(0, 1)[2], pixel(0, 1)[0]) << "near the blue corner";
    EXPECT_EQ(pixel(3, 1)[3], 0) << "outside the triangle";
    const auto clipped = rasteriseShading(*shading, surface::canvas::Matrix{},
                                          surface::canvas::RectF{10, 10, 20, 20});
    EXPECT_FALSE(clipped) << "nothing of the mesh is drawable";
    EXPECT_EQ(Shading::read(file.document(),
                            GraphicsFile::parse("<< /ShadingType 4 /ColorSpace /DeviceRGB "
                                                "/BitsPerCoordinate 8 /BitsPerComponent 8 "
                                                "/BitsPerFlag 8 /Decode [0 1 0 1 0 1 0 1 0 1] >>"),
                            nullptr),
              nullptr)
        << "a mesh shading needs a stream";
}

}  // namespace
}  // namespace reader::pdf
