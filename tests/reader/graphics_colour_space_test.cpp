// Colour spaces of every family: how each is read (by name, by array, through resources and
// references), its components and initial colour, its colours in sRGB, and image samples
// converted by row.
#include <gtest/gtest.h>
#include <lcms2.h>

#include <cmath>

#include "graphics/colour_space.h"
#include "graphics_test_support.h"
#include "images/image_rows.h"

namespace reader::pdf {
namespace {

using Family = ColourSpace::Family;

void expectRgb(const Rgb& actual, const Rgb& expected, double tolerance) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
}

std::vector<double> defaultOf(const ColourSpace& space) {
    std::vector<double> colour(space.components(), -1);
    space.defaultColour(colour);
    return colour;
}

struct Conversion {
    std::vector<double> in;
    Rgb out;
};

struct SpaceCase {
    std::string text;  // the space's name or array
    Family family;
    size_t components;
    std::vector<double> initial;
    std::vector<Conversion> conversions;
    double tolerance = 1e-12;
};

const std::string kD65 = "/WhitePoint[0.95047 1 1.08883]";

// The families that need no other object, exactly where exact is meant.
TEST(GraphicsColourSpaceTest, SpacesAndTheirColours) {
    const SpaceCase cases[] = {
        {"/DeviceGray",
         Family::kDeviceGray,
         1,
         {0},
         {{{0.5}, {0.5, 0.5, 0.5}},
          {{2}, {1, 1, 1}},
          {{-1}, {0, 0, 0}},
          {{}, {0, 0, 0}},
          {{NAN}, {0, 0, 0}}}},
        {"/G", Family::kDeviceGray, 1, {0}, {{{1}, {1, 1, 1}}}},
        {"/DeviceRGB", Family::kDeviceRgb, 3, {0, 0, 0}, {{{0.1, 0.2, 0.3}, {0.1, 0.2, 0.3}}}},
        {"[/DeviceRGB]", Family::kDeviceRgb, 3, {0, 0, 0}, {{{1, 0, 0.5}, {1, 0, 0.5}}}},
        {"/DeviceCMYK",
         Family::kDeviceCmyk,
         4,
         {0, 0, 0, 1},
         {{{1, 0, 0, 0}, {0, 1, 1}},
          {{0, 0, 0, 1}, {0, 0, 0}},
          {{0, 0, 0, 0}, {1, 1, 1}},
          {{0.5, 0, 0.25, 0.5}, {0.25, 0.5, 0.375}}}},
        {"/CMYK", Family::kDeviceCmyk, 4, {0, 0, 0, 1}, {{{0, 1, 0, 0}, {1, 0, 1}}}},
        // Lab under D65: white, black, and the sRGB primary red.
        {"[/Lab<<" + kD65 + ">>]",
         Family::kLab,
         3,
         {0, 0, 0},
         {{{100, 0, 0}, {1, 1, 1}},
          {{0, 0, 0}, {0, 0, 0}},
          {{53.2408, 80.0925, 67.2032}, {1, 0, 0}},
          {{-5, 0, 0}, {0, 0, 0}}},
         2e-3},
        // The initial colour is black clipped into the ranges.
        {"[/Lab<<" + kD65 + "/Range[10 20 -5 5]>>]", Family::kLab, 3, {0, 10, 0}, {}},
        // Lab under D50 still shows its white as white.
        {"[/Lab<</WhitePoint[0.9642 1 0.8249]>>]",
         Family::kLab,
         3,
         {0, 0, 0},
         {{{100, 0, 0}, {1, 1, 1}}},
         2e-3},
        {"[/CalGray<<" + kD65 + ">>]",
         Family::kCalGray,
         1,
         {0},
         {{{1}, {1, 1, 1}}, {{0}, {0, 0, 0}}},
         2e-3},
        // Gamma 2.2 under sRGB's curve: middle gray stays near middle gray.
        {"[/CalGray<<" + kD65 + "/Gamma 2.2>>]",
         Family::kCalGray,
         1,
         {0},
         {{{0.5}, {0.5, 0.5, 0.5}}},
         0.01},
        // CalRGB with sRGB's primaries and no gamma: linear sRGB.
        {"[/CalRGB<<" + kD65 +
             "/Matrix[0.4124 0.2126 0.0193 0.3576 0.7152 0.1192 0.1805 0.0722 0.9505]>>]",
         Family::kCalRgb,
         3,
         {0, 0, 0},
         {{{1, 0, 0}, {1, 0, 0}},
          {{0, 0, 1}, {0, 0, 1}},
          {{0.5, 0.5, 0.5}, {0.7354, 0.7354, 0.7354}},
          {{1, 1, 1}, {1, 1, 1}}},
         3e-3},
        {"[/Indexed/DeviceRGB 2<FF0000 00FF00 0000FF>]",
         Family::kIndexed,
         1,
         {0},
         {{{0}, {1, 0, 0}},
          {{1}, {0, 1, 0}},
          {{2}, {0, 0, 1}},
          {{5}, {0, 0, 1}},
          {{0.6}, {0, 1, 0}},
          {{-1}, {1, 0, 0}},
          {{NAN}, {1, 0, 0}}}},
        // A lookup shorter than hival asks for: the missing colours are zeros.
        {"[/I/DeviceGray 3(\\377)]",
         Family::kIndexed,
         1,
         {0},
         {{{0}, {1, 1, 1}}, {{3}, {0, 0, 0}}}},
        {"[/Indexed/DeviceCMYK 0<00FF0000>]", Family::kIndexed, 1, {0}, {{{0}, {1, 0, 1}}}},
        {"[/Separation/Spot/DeviceCMYK<</FunctionType 2/Domain[0 1]/C0[0 0 0 0]/C1[0 1 0 0]/N 1>>]",
         Family::kSeparation,
         1,
         {1},
         {{{1}, {1, 0, 1}}, {{0.5}, {1, 0.5, 1}}, {{0}, {1, 1, 1}}, {{3}, {1, 0, 1}}}},
        {"[/Separation/All/DeviceCMYK<</FunctionType 2/Domain[0 1]/N 1>>]",
         Family::kSeparation,
         1,
         {1},
         {{{1}, {0, 0, 0}}, {{0.25}, {0.75, 0.75, 0.75}}}},
        {"/Pattern", Family::kPattern, 0, {}, {}},
        {"[/Pattern/DeviceRGB]", Family::kPattern, 3, {0, 0, 0}, {{{0, 1, 0}, {0, 1, 0}}}},
    };
    for (const SpaceCase& c : cases) {
        SCOPED_TRACE(c.text);
        GraphicsFile file;
        const auto space = ColourSpace::read(file.document(), GraphicsFile::parse(c.text), nullptr);
        ASSERT_NE(space, nullptr);
        EXPECT_EQ(space->family(), c.family);
        EXPECT_EQ(space->components(), c.components);
        const std::vector<double> initial = defaultOf(*space);
        ASSERT_EQ(initial.size(), c.initial.size());
        for (size_t k = 0; k < initial.size(); ++k) {
            EXPECT_NEAR(initial[k], c.initial[k], 1e-12) << "initial component " << k;
        }
        for (const Conversion& conversion : c.conversions) {
            SCOPED_TRACE(::testing::Message()
                         << "colour " << (conversion.in.empty() ? -1 : conversion.in[0]));
            expectRgb(space->toRgb(conversion.in), conversion.out, c.tolerance);
        }
        EXPECT_FALSE(space->paintsNothing());
    }
}

// Lab's a and b are clipped to its Range before they are converted.
TEST(GraphicsColourSpaceTest, LabClipsToItsRange) {
    GraphicsFile file;
    const auto narrow = ColourSpace::read(
        file.document(), GraphicsFile::parse("[/Lab<<" + kD65 + "/Range[10 20 -5 5]>>]"), nullptr);
    const auto wide =
        ColourSpace::read(file.document(), GraphicsFile::parse("[/Lab<<" + kD65 + ">>]"), nullptr);
    ASSERT_NE(narrow, nullptr);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(narrow->componentRange(1), (std::pair{10.0, 20.0}));
    EXPECT_EQ(narrow->toRgb(std::vector<double>{50, 0, -30}),
              wide->toRgb(std::vector<double>{50, 10, -5}));
    EXPECT_EQ(narrow->toRgb(std::vector<double>{150, 30, 30}),
              wide->toRgb(std::vector<double>{100, 20, 5}));
    EXPECT_NE(wide->toRgb(std::vector<double>{50, 0, -30}),
              wide->toRgb(std::vector<double>{50, 10, -5}));
}

TEST(GraphicsColourSpaceTest, PatternKeepsItsUnderlyingSpace) {
    GraphicsFile file;
    const auto plain = ColourSpace::read(file.document(), GraphicsFile::parse("/Pattern"), nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->underlying(), nullptr);
    const auto uncoloured =
        ColourSpace::read(file.document(), GraphicsFile::parse("[/Pattern/DeviceCMYK]"), nullptr);
    ASSERT_NE(uncoloured, nullptr);
    ASSERT_NE(uncoloured->underlying(), nullptr);
    EXPECT_EQ(uncoloured->underlying()->family(), Family::kDeviceCmyk);
    EXPECT_EQ(ColourSpace::deviceRgb()->underlying(), nullptr);
}

TEST(GraphicsColourSpaceTest, NoneColourantsPaintNothing) {
    const char* const spaces[] = {
        "[/Separation/None/DeviceGray<</FunctionType 2/Domain[0 1]/N 1>>]",
        "[/DeviceN[/None/None]/DeviceGray<</FunctionType 2/Domain[0 1]/N 1>>]",
    };
    for (const char* text : spaces) {
        GraphicsFile file;
        const auto space = ColourSpace::read(file.document(), GraphicsFile::parse(text), nullptr);
        ASSERT_NE(space, nullptr) << text;
        EXPECT_TRUE(space->paintsNothing()) << text;
    }
}

// Spaces whose parameters stand in other objects: lookups in strings and streams, tint
// transforms of each kind, bases by reference and by resource name.
TEST(GraphicsColourSpaceTest, SpacesOfSeveralObjects) {
    const std::string cmykToRgbProgram = "{ 0 }";  // (a, b) -> (a, b, 0)
    GraphicsFile file({
        {10, binaryStream("", {255, 255, 255, 0, 0, 0, 128, 128, 128})},
        {11, "[/Indexed/DeviceRGB 2 10 0 R]"},
        {12, fixtures::streamBody("/FunctionType 4/Domain[0 1 0 1]/Range[0 1 0 1 0 1]",
                                  cmykToRgbProgram)},
        {13, "[/DeviceN[/Cyan/Orange]/DeviceRGB 12 0 R]"},
        {14, "/DeviceRGB"},
        {15, "[/Indexed 14 0 R 1<000000FFFFFF>]"},
        {16,
         "<</CS0 11 0 R/Base/DeviceGray/Spot[/Separation/S/DeviceGray<</FunctionType 2"
         "/Domain[0 1]/C0[1]/C1[0]/N 1>>]>>"},
    });
    Document& document = file.document();
    const Object resources = GraphicsFile::parse("<</ColorSpace 16 0 R>>");
    struct Case {
        std::string text;
        Family family;
        std::vector<Conversion> conversions;
    };
    const Case cases[] = {
        {"11 0 R",
         Family::kIndexed,
         {{{0}, {1, 1, 1}}, {{1}, {0, 0, 0}}, {{2}, {128 / 255.0, 128 / 255.0, 128 / 255.0}}}},
        {"13 0 R", Family::kDeviceN, {{{1, 0.5}, {1, 0.5, 0}}, {{0.25, 2}, {0.25, 1, 0}}}},
        {"15 0 R", Family::kIndexed, {{{1}, {1, 1, 1}}}},
        {"/CS0", Family::kIndexed, {{{1}, {0, 0, 0}}}},
        {"[/Indexed/Base 1<00FF>]", Family::kIndexed, {{{1}, {1, 1, 1}}}},
        {"/Spot", Family::kSeparation, {{{1}, {0, 0, 0}}, {{0.25}, {0.75, 0.75, 0.75}}}},
        {"/DeviceGray", Family::kDeviceGray, {{{1}, {1, 1, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto space =
            ColourSpace::read(document, GraphicsFile::parse(c.text), resources.asDict());
        ASSERT_NE(space, nullptr);
        EXPECT_EQ(space->family(), c.family);
        for (const Conversion& conversion : c.conversions) {
            expectRgb(space->toRgb(conversion.in), conversion.out, 1e-12);
        }
    }
    const auto deviceN = ColourSpace::read(document, GraphicsFile::ref(13), nullptr);
    ASSERT_NE(deviceN, nullptr);
    EXPECT_EQ(defaultOf(*deviceN), (std::vector<double>{1, 1}));
}

TEST(GraphicsColourSpaceTest, UnreadableSpaces) {
    GraphicsFile file({
        {10, "[/Indexed 10 0 R 1<0000>]"},  // its own base
        {11, "[/Pattern 11 0 R]"},
        {12, "<</Loop/Loop/Other/Loop2/Loop2/Other/Self[/Indexed/Self 1<0000>]>>"},
    });
    const Object resources = GraphicsFile::parse("<</ColorSpace 12 0 R>>");
    const std::string bad[] = {
        "/DeviceCMY",
        "/Loop",  // a name standing for itself
        "/Other",
        "/Self",
        "/Missing",
        "10 0 R",
        "11 0 R",
        "[]",
        "[/Indexed/DeviceRGB]",
        "[/Indexed/DeviceRGB -1<>]",
        "[/Indexed[/Indexed/DeviceRGB 1<000000FFFFFF>]0<00>]",
        "[/Indexed/Pattern 0<00>]",
        "[/Indexed/DeviceRGB 1 5]",
        "[/Lab<</WhitePoint[0.95 1]>>]",
        "[/Lab<</WhitePoint[0.95 0 1]>>]",
        "[/Lab]",
        "[/Lab<<" + kD65 + "/Range[10 -10 0 1]>>]",
        "[/CalGray<</WhitePoint[1 1 1]/Gamma -2>>]",
        "[/CalRGB<</WhitePoint[1 1 1]/Matrix[1 0 0]>>]",
        "[/Separation/Spot/DeviceRGB]",
        "[/Separation/Spot/DeviceRGB 5]",
        "[/Separation/Spot/Pattern<</FunctionType 2/Domain[0 1]/N 1>>]",
        "[/DeviceN[]/DeviceRGB<</FunctionType 2/Domain[0 1]/N 1>>]",
        "[/DeviceN[/A 1]/DeviceRGB<</FunctionType 2/Domain[0 1]/N 1>>]",
        "[/Pattern/Pattern]",
        "[/ICCBased/DeviceRGB]",
        "42",
    };
    for (const std::string& text : bad) {
        EXPECT_EQ(ColourSpace::read(file.document(), GraphicsFile::parse(text), resources.asDict()),
                  nullptr)
            << text;
    }
    // Without resources a name that is no family's stands for nothing.
    EXPECT_EQ(ColourSpace::read(file.document(), GraphicsFile::parse("/CS0"), nullptr), nullptr);
}

// The bytes of an sRGB profile, made by the colour-management library.
std::vector<uint8_t> srgbProfile() {
    cmsHPROFILE profile = cmsCreate_sRGBProfile();
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    std::vector<uint8_t> bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

TEST(GraphicsColourSpaceTest, IccBasedThroughItsProfileOrItsAlternate) {
    const std::vector<uint8_t> profile = srgbProfile();
    std::vector<uint8_t> truncated(profile.begin(),
                                   profile.begin() + ptrdiff_t(profile.size() / 3));
    // A profile whose header names a colour space no profile has.
    std::vector<uint8_t> unknownSpace = profile;
    const uint8_t signature[] = {0xAE, 0xB8, 0x2E, 0xDE};
    std::copy(std::begin(signature), std::end(signature), unknownSpace.begin() + 16);
    GraphicsFile file({
        {10, binaryStream("/N 3/Alternate/DeviceGray", profile)},
        {11, binaryStream("/N 4/Alternate/DeviceCMYK", {'n', 'o', 't', ' ', 'a', ' ', 'p'})},
        {12, binaryStream("/N 3/Alternate[/Indexed/DeviceRGB 0<00>]", truncated)},
        {13, binaryStream("/N 1", profile)},  // an RGB profile for one component
        {14, binaryStream("/N 1/Alternate[/CalGray<</WhitePoint[0.95047 1 1.08883]>>]", {})},
        {15, binaryStream("/N 5", truncated)},
        {16, binaryStream("/N 3/Alternate/DeviceRGB", unknownSpace)},
    });
    struct Case {
        int object;
        Family family;
        size_t components;
        std::vector<Conversion> conversions;
    };
    const Case cases[] = {
        {10,
         Family::kIccBased,
         3,
         {{{0.2, 0.4, 0.6}, {0.2, 0.4, 0.6}}, {{1, 1, 1}, {1, 1, 1}}, {{0, 0, 0}, {0, 0, 0}}}},
        {11, Family::kDeviceCmyk, 4, {{{0, 0, 0, 1}, {0, 0, 0}}, {{0, 1, 0, 0}, {1, 0, 1}}}},
        // An alternate of another number of components is passed over for the device space.
        {12, Family::kDeviceRgb, 3, {{{0.5, 0, 1}, {0.5, 0, 1}}}},
        {13, Family::kDeviceGray, 1, {{{0.5}, {0.5, 0.5, 0.5}}}},
        {14, Family::kCalGray, 1, {{{1}, {1, 1, 1}}}},
        {16, Family::kDeviceRgb, 3, {{{0.5, 0, 1}, {0.5, 0, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        const auto space = ColourSpace::read(
            file.document(),
            GraphicsFile::parse("[/ICCBased " + std::to_string(c.object) + " 0 R]"), nullptr);
        ASSERT_NE(space, nullptr);
        EXPECT_EQ(space->family(), c.family);
        EXPECT_EQ(space->components(), c.components);
        for (const Conversion& conversion : c.conversions) {
            expectRgb(space->toRgb(conversion.in), conversion.out, 0.01);
        }
    }
    // Five components: no profile, alternate or device space to show them.
    EXPECT_EQ(
        ColourSpace::read(file.document(), GraphicsFile::parse("[/ICCBased 15 0 R]"), nullptr),
        nullptr);

    // Image rows through the profile.
    const auto space =
        ColourSpace::read(file.document(), GraphicsFile::parse("[/ICCBased 10 0 R]"), nullptr);
    ASSERT_NE(space, nullptr);
    const uint8_t samples[] = {255, 0, 0, 0, 128, 255, 10, 20, 30};
    uint8_t rgb[9] = {};
    space->sampleConverter({}, 255)->convert(samples, 3, rgb);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_NEAR(rgb[i], samples[i], 2) << "byte " << i;
    }
    const double invert[] = {1, 0, 1, 0, 1, 0};
    space->sampleConverter(invert, 255)->convert(samples, 3, rgb);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_NEAR(rgb[i], 255 - samples[i], 2) << "inverted byte " << i;
    }
}

// A profile embedded again (in another stream, another document) is not made into a space
// again: its space is shared; another range makes another space.
TEST(GraphicsColourSpaceTest, AProfileReadAgainSharesItsSpace) {
    const std::vector<uint8_t> profile = srgbProfile();
    GraphicsFile file({{10, binaryStream("/N 3", profile)},
                       {11, binaryStream("/N 3", profile)},
                       {12, binaryStream("/N 3/Range[0 1 0 1 0 0.5]", profile)}});
    GraphicsFile other({{20, binaryStream("/N 3", profile)}});
    const auto read = [](GraphicsFile& in, int object) {
        return ColourSpace::read(
            in.document(), GraphicsFile::parse("[/ICCBased " + std::to_string(object) + " 0 R]"),
            nullptr);
    };
    const auto first = read(file, 10);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(read(file, 11), first);
    EXPECT_EQ(read(other, 20), first);
    EXPECT_NE(read(file, 12), first);
}

// Rows of image samples give the bytes of each sample's colour, with the image's Decode.
TEST(GraphicsColourSpaceTest, SampleRows) {
    struct Case {
        std::string space;
        std::vector<double> decode;
        int maxSample;
        std::vector<uint8_t> samples;
        std::vector<uint8_t> rgb;
    };
    const Case cases[] = {
        {"/DeviceGray", {}, 255, {0, 128, 255}, {0, 0, 0, 128, 128, 128, 255, 255, 255}},
        {"/DeviceGray", {}, 1, {0, 1}, {0, 0, 0, 255, 255, 255}},
        {"/DeviceGray", {1, 0}, 1, {0, 1}, {255, 255, 255, 0, 0, 0}},
        {"/DeviceGray", {}, 15, {5}, {85, 85, 85}},
        {"/DeviceRGB", {}, 255, {1, 2, 3, 250, 251, 252}, {1, 2, 3, 250, 251, 252}},
        {"/DeviceRGB", {1, 0, 0, 1, 1, 0}, 255, {0, 0, 255}, {255, 0, 0}},
        {"/DeviceCMYK", {}, 255, {255, 0, 0, 0, 0, 0, 0, 255}, {0, 255, 255, 0, 0, 0}},
        {"/DeviceCMYK", {1, 0, 0, 1, 0, 1, 0, 1}, 255, {255, 0, 0, 0}, {255, 255, 255}},
        // Indexed samples are indices, of their own width.
        {"[/Indexed/DeviceRGB 2<FF0000 00FF00 0000FF>]",
         {},
         3,
         {0, 1, 2, 3},
         {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 255}},
        {"[/Indexed/DeviceRGB 2<FF0000 00FF00 0000FF>]", {}, 255, {2, 0}, {0, 0, 255, 255, 0, 0}},
        {"[/Indexed/DeviceRGB 2<FF0000 00FF00 0000FF>]", {2, 0}, 1, {0, 1}, {0, 0, 255, 255, 0, 0}},
        {"[/Separation/Spot/DeviceCMYK<</FunctionType 2/Domain[0 1]/C0[0 0 0 0]/C1[0 1 0 0]/N 1>>]",
         {},
         255,
         {255, 0},
         {255, 0, 255, 255, 255, 255}},
        {"[/Lab<<" + kD65 + ">>]", {}, 255, {255, 128, 128, 0, 128, 128}, {255, 255, 255, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.space);
        GraphicsFile file;
        const auto space =
            ColourSpace::read(file.document(), GraphicsFile::parse(c.space), nullptr);
        ASSERT_NE(space, nullptr);
        const size_t pixels = c.samples.size() / space->components();
        std::vector<uint8_t> rgb(3 * pixels, 7);
        space->sampleConverter(c.decode, c.maxSample)
            ->convert(c.samples.data(), pixels, rgb.data());
        for (size_t i = 0; i < rgb.size(); ++i) {
            // Lab's middle a and b lie half a step off 0.
            EXPECT_NEAR(rgb[i], c.rgb[i], c.space.find("Lab") != std::string::npos ? 2 : 0)
                << "byte " << i;
        }
    }
}

// Every CMYK sample byte converts as the reader's CMYK images always have.
TEST(GraphicsColourSpaceTest, CmykRowsMatchTheImageConversion) {
    std::vector<uint8_t> samples;
    for (int c = 0; c < 256; c += 5) {
        for (int k = 0; k < 256; k += 3) {
            samples.insert(samples.end(),
                           {uint8_t(c), uint8_t(255 - c), uint8_t(c / 2), uint8_t(k)});
        }
    }
    const size_t pixels = samples.size() / 4;
    std::vector<uint8_t> rgb(3 * pixels);
    ColourSpace::deviceCmyk()->sampleConverter({}, 255)->convert(samples.data(), pixels,
                                                                 rgb.data());
    for (size_t x = 0; x < pixels; ++x) {
        const uint8_t* s = &samples[4 * x];
        ASSERT_EQ(rgb[3 * x], CmykComponent(s[0], s[3]));
        ASSERT_EQ(rgb[3 * x + 1], CmykComponent(s[1], s[3]));
        ASSERT_EQ(rgb[3 * x + 2], CmykComponent(s[2], s[3]));
        // and within rounding of the exact colour
        const Rgb exact = ColourSpace::deviceCmyk()->toRgb(
            std::vector<double>{s[0] / 255.0, s[1] / 255.0, s[2] / 255.0, s[3] / 255.0});
        ASSERT_NEAR(rgb[3 * x], exact.r * 255, 1);
    }
}

}  // namespace
}  // namespace reader::pdf
