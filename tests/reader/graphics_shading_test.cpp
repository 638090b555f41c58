// Function-based, axial and radial shadings: their geometry and extents, colours along the
// function, gradient stops, and dictionaries that make no shading.
#include <gtest/gtest.h>

#include "graphics/shading.h"
#include "object/parser.h"
#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

class ShadingTest : public testing::Test {
  protected:
    // A document whose object 20 is `shading`, 21 a red-to-blue type 2 function and 22 a
    // calculator function giving the grey of its first input.
    std::unique_ptr<Shading> read(const std::string& shading) {
        fixtures::PdfLayout layout = fixtures::pagesPdf({"BT ET"});
        layout.objects.push_back({20, shading});
        layout.objects.push_back(
            {21, "<< /FunctionType 2 /Domain [0 1] /C0 [1 0 0] /C1 [0 0 1] /N 1 >>"});
        layout.objects.push_back(
            {22, fixtures::streamBody("/FunctionType 4 /Domain [0 1 0 1] /Range [0 1 0 1 0 1]",
                                      "{ pop dup dup }")});
        file_ = fixtures::buildPdf(layout);
        document_ =
            Document::open(std::span(reinterpret_cast<const uint8_t*>(file_.data()), file_.size()));
        EXPECT_NE(document_, nullptr);
        return document_ ? Shading::read(*document_, Object::ref({20, 0}), nullptr) : nullptr;
    }

    std::string file_;
    std::unique_ptr<Document> document_;
};

TEST_F(ShadingTest, AxialShadingsFollowTheirFunction) {
    const auto shading = read(
        "<< /ShadingType 2 /ColorSpace /DeviceRGB /Coords [0 0 100 0] /Function 21 0 R "
        "/Extend [true false] /Background [0 1 0] /BBox [100 50 0 0] >>");
    ASSERT_NE(shading, nullptr);
    EXPECT_EQ(shading->kind(), Shading::Kind::kAxial);
    EXPECT_EQ(std::vector<double>(shading->coords().begin(), shading->coords().end()),
              (std::vector<double>{0, 0, 100, 0}));
    EXPECT_EQ(shading->extend(), (std::array<bool, 2>{true, false}));
    const double mid = 0.5;
    EXPECT_EQ(shading->colourAt(std::span(&mid, 1)), (Rgb{0.5, 0, 0.5}));
    const auto stops = shading->stops(3);
    ASSERT_EQ(stops.size(), 3u);
    EXPECT_EQ(stops[0], (std::pair<double, Rgb>{0, Rgb{1, 0, 0}}));
    EXPECT_EQ(stops[2], (std::pair<double, Rgb>{1, Rgb{0, 0, 1}}));
    EXPECT_EQ(shading->background(), (Rgb{0, 1, 0}));
    EXPECT_EQ(shading->bbox(), (std::array<double, 4>{0, 0, 100, 50}));
}

TEST_F(ShadingTest, RadialShadingsTakeTheirDomain) {
    const auto shading = read(
        "<< /ShadingType 3 /ColorSpace /DeviceRGB /Coords [10 10 0 10 10 50] /Domain [0 2] "
        "/Function 21 0 R >>");
    ASSERT_NE(shading, nullptr);
    EXPECT_EQ(shading->coords().size(), 6u);
    EXPECT_EQ(shading->domain(), (std::array<double, 2>{0, 2}));
    const auto stops = shading->stops(2);
    EXPECT_EQ(stops[0].second, (Rgb{1, 0, 0}));
    EXPECT_EQ(stops[1].second, (Rgb{0, 0, 1})) << "t = 2 is clipped to the function's domain";
}

TEST_F(ShadingTest, FunctionBasedShadingsGiveAColourForEachPoint) {
    const auto shading = read(
        "<< /ShadingType 1 /ColorSpace /DeviceRGB /Domain [0 1 0 1] /Matrix [100 0 0 100 0 0] "
        "/Function 22 0 R >>");
    ASSERT_NE(shading, nullptr);
    EXPECT_EQ(shading->matrix(), (std::array<double, 6>{100, 0, 0, 100, 0, 0}));
    const double point[2] = {0.25, 0.9};
    EXPECT_EQ(shading->colourAt(point), (Rgb{0.25, 0.25, 0.25}));
}

TEST_F(ShadingTest, DictionariesThatMakeNoShading) {
    const char* cases[] = {
        "<< /ShadingType 2 /ColorSpace /Pattern /Coords [0 0 1 0] /Function 21 0 R >>",
        "<< /ShadingType 2 /ColorSpace /DeviceRGB /Coords [0 0 1 0] >>",
        "<< /ShadingType 2 /ColorSpace /DeviceRGB /Coords [0 0 1] /Function 21 0 R >>",
        "<< /ShadingType 3 /ColorSpace /DeviceRGB /Coords [0 0 -1 0 0 5] /Function 21 0 R >>",
        "<< /ShadingType 2 /ColorSpace /DeviceCMYK /Coords [0 0 1 0] /Function 21 0 R >>",
        "<< /ShadingType 1 /ColorSpace /DeviceRGB /Function 21 0 R >>",
        "<< /ShadingType 4 /ColorSpace /DeviceRGB >>",
        "<< /ColorSpace /DeviceRGB /Coords [0 0 1 0] /Function 21 0 R >>",
        "(not a shading)",
    };
    for (const char* shading : cases) {
        EXPECT_EQ(read(shading), nullptr) << shading;
    }
}

}  // namespace
}  // namespace reader::pdf
