// The content interpreter on the object model, through a recording device: saved states and
// transforms, paths and their painting, clips, colours in every way they are set, graphics
// state dictionaries, forms, optional content, and operators that are malformed or unbalanced.
#include "content/interpreter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

using namespace surface::canvas;

std::string describe(const Path& path) {
    std::ostringstream out;
    size_t point = 0;
    for (const Path::Verb verb : path.verbs()) {
        const auto p = [&] {
            const PointF at = path.points()[point++];
            out << at.x << "," << at.y;
        };
        switch (verb) {
            case Path::Verb::MoveTo:
                out << " M";
                p();
                break;
            case Path::Verb::LineTo:
                out << " L";
                p();
                break;
            case Path::Verb::CubicTo:
                out << " C";
                p();
                out << " ";
                p();
                out << " ";
                p();
                break;
            case Path::Verb::Close: out << " Z"; break;
        }
    }
    return out.str();
}

std::string describe(const Matrix& m) {
    std::ostringstream out;
    out << "[" << m.a << " " << m.b << " " << m.c << " " << m.d << " " << m.e << " " << m.f << "]";
    return out.str();
}

std::string describe(const Paint& p) {
    std::ostringstream out;
    out << "rgba(" << p.red << "," << p.green << "," << p.blue << "," << p.alpha << ")";
    return out.str();
}

class RecordingDevice final : public Device {
  public:
    std::vector<std::string> lines;

    void save() override { lines.push_back("save"); }
    void restore() override { lines.push_back("restore"); }
    void fillPath(const Path& path, FillRule rule, const Matrix& ctm, const Paint& paint) override {
        lines.push_back("fill " + std::string(rule == FillRule::EvenOdd ? "evenodd " : "") +
                        describe(ctm) + " " + describe(paint) + describe(path));
    }
    void strokePath(const Path& path, const StrokeStyle& style, const Matrix& ctm,
                    const Paint& paint) override {
        std::ostringstream out;
        out << "stroke w" << style.width << " cap" << int(style.cap) << " join" << int(style.join);
        for (const double dash : style.dashes) {
            out << " d" << dash;
        }
        lines.push_back(out.str() + " " + describe(ctm) + " " + describe(paint) + describe(path));
    }
    void drawImage(const Image& image, const Matrix& ctm, double alpha, bool smooth) override {
        std::ostringstream out;
        out << "image " << image.width << "x" << image.height << " " << describe(ctm) << " alpha"
            << alpha << (smooth ? " smooth" : "");
        for (size_t i = 0; i < image.pixels.size(); i += 4) {
            out << " " << int(image.pixels[i]) << "," << int(image.pixels[i + 1]) << ","
                << int(image.pixels[i + 2]) << "," << int(image.pixels[i + 3]);
        }
        lines.push_back(out.str());
    }
    void fillGradient(const Gradient& gradient, const Matrix& ctm, double alpha) override {
        std::ostringstream out;
        out << "gradient " << (gradient.kind == Gradient::Kind::Axial ? "axial " : "radial ")
            << gradient.start.x << "," << gradient.start.y << " " << gradient.end.x << ","
            << gradient.end.y << " r" << gradient.startRadius << "," << gradient.endRadius
            << (gradient.extendStart ? " extend0" : "") << (gradient.extendEnd ? " extend1" : "")
            << " " << gradient.stops.size() << " stops " << describe(gradient.stops.front().color)
            << " " << describe(gradient.stops.back().color) << " " << describe(ctm) << " alpha"
            << alpha;
        lines.push_back(out.str());
    }
    void clipPath(const Path& path, FillRule rule, const Matrix& ctm) override {
        lines.push_back("clip " + std::string(rule == FillRule::EvenOdd ? "evenodd " : "") +
                        describe(ctm) + describe(path));
    }
    void beginGroup(const Group& group, const Matrix& ctm) override {
        std::ostringstream out;
        out << "group opacity" << group.opacity << " blend" << int(group.blend)
            << (group.isolated ? " isolated" : "") << (group.knockout ? " knockout" : "") << " "
            << describe(ctm);
        lines.push_back(out.str());
    }
    void endGroup() override { lines.push_back("end group"); }
    void beginSoftMask(const SoftMask& mask, const Matrix& ctm) override {
        std::ostringstream out;
        out << "mask " << (mask.kind == SoftMask::Kind::Alpha ? "alpha" : "luminosity") << " "
            << describe(mask.backdrop) << " " << describe(ctm);
        if (mask.transfer.size() == 256) {
            out << " transfer " << int(mask.transfer[0]) << "," << int(mask.transfer[128]) << ","
                << int(mask.transfer[255]);
        }
        lines.push_back(out.str());
    }
    void endSoftMask() override { lines.push_back("end mask"); }
    void clipStroke(const Path& path, const StrokeStyle& style, const Matrix& ctm) override {
        std::ostringstream out;
        out << "clip stroke w" << style.width << " " << describe(ctm) << describe(path);
        lines.push_back(out.str());
    }
};

class InterpreterTest : public testing::Test {
  protected:
    std::vector<std::string> run(const std::string& content) {
        fixtures::PdfLayout layout = fixtures::pagesPdf({"BT ET"});
        // Group 33 is off; form 31 draws a red square, 32 draws itself, 34 is in group 33.
        layout.objects[0].body =
            "<< /Type /Catalog /Pages 2 0 R /OCProperties << /OCGs [33 0 R] /D << /OFF [33 0 R] "
            ">> >> >>";
        layout.objects.push_back(
            {30,
             "<< /ColorSpace << /CS0 [/Indexed /DeviceRGB 1 <FF000000FF00>] >> "
             "/ExtGState << /GS0 << /LW 4 /LC 1 /CA 0.5 /ca 0.25 /D [[2 1] 0] >> >> "
             "/XObject << /Fm0 31 0 R /Fm1 32 0 R /Fm2 34 0 R /Im0 35 0 R /Im1 36 0 R "
             "/Im2 37 0 R >> "
             "/Properties << /MC0 << /Type /OCG >> /MC1 33 0 R >> "
             "/Shading << /Sh0 << /ShadingType 2 /ColorSpace /DeviceRGB /Coords [0 0 100 0] "
             "/Extend [false true] /Function << /FunctionType 2 /Domain [0 1] /C0 [1 0 0] "
             "/C1 [0 0 1] /N 1 >> >> /Sh1 << /ShadingType 3 /ColorSpace /DeviceGray "
             "/Coords [5 5 0 5 5 10] /BBox [0 0 8 8] /Function << /FunctionType 2 "
             "/Domain [0 1] /C0 [0] /C1 [1] /N 1 >> >> >> >>"});
        layout.objects.push_back(
            {31, fixtures::streamBody("/Type /XObject /Subtype /Form /BBox [0 0 10 10] "
                                      "/Matrix [2 0 0 2 5 5] /Resources << >>",
                                      "q 1 0 0 rg 0 0 4 4 re f")});
        layout.objects.push_back(
            {32, fixtures::streamBody("/Subtype /Form /BBox [0 0 1 1] "
                                      "/Resources << /XObject << /Again 32 0 R >> >>",
                                      "0 0 1 1 re f /Again Do")});
        layout.objects.push_back({33, "<< /Type /OCG /Name (hidden) >>"});
        layout.objects.push_back(
            {34,
             fixtures::streamBody("/Subtype /Form /BBox [0 0 1 1] /OC 33 0 R", "0 0 1 1 re f")});
        layout.objects.push_back(
            {35, fixtures::streamBody("/Subtype /Image /Width 2 /Height 1 /BitsPerComponent 8 "
                                      "/ColorSpace /DeviceRGB /Interpolate true",
                                      std::string("\xFF\x00\x00\x00\x80\xFF", 6))});
        layout.objects.push_back(
            {36, fixtures::streamBody("/Subtype /Image /Width 3 /Height 1 /ImageMask true",
                                      std::string("\x40", 1))});
        layout.objects.push_back(
            {37, fixtures::streamBody("/Subtype /Image /Width 2 /Height 2 /BitsPerComponent 4 "
                                      "/ColorSpace /CS0 /Decode [1 0]",
                                      std::string("\xF0\x00", 2))});
        layout.objects.insert(layout.objects.end(), extraObjects_.begin(), extraObjects_.end());
        file_ = fixtures::buildPdf(layout);
        document_ =
            Document::open(std::span(reinterpret_cast<const uint8_t*>(file_.data()), file_.size()));
        EXPECT_NE(document_, nullptr);
        const Object resources = document_->fetch({resourcesNumber_, 0});
        RecordingDevice device;
        Interpreter interpreter(*document_, device, resources.asDict(), Matrix{},
                                OptionalContent::read(*document_));
        interpreter.run(
            std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
        return device.lines;
    }

    std::string file_;
    std::unique_ptr<Document> document_;
    /// Objects a test adds to the file, and the number of the resources it draws with.
    std::vector<fixtures::PdfObject> extraObjects_;
    int32_t resourcesNumber_ = 30;
};

TEST_F(InterpreterTest, StatesTransformsAndPainting) {
    EXPECT_EQ(run("q 2 0 0 2 10 20 cm 1 0 0 rg 0 0 10 10 re f Q 0 0 m 5 5 l S"),
              (std::vector<std::string>{
                  "save",
                  "fill [2 0 0 2 10 20] rgba(1,0,0,1) M0,0 L10,0 L10,10 L0,10 Z",
                  "restore",
                  "stroke w1 cap0 join0 [1 0 0 1 0 0] rgba(0,0,0,1) M0,0 L5,5",
              }));
    EXPECT_EQ(run("1 0 0 1 5 0 cm 2 0 0 2 0 0 cm 0 0 m 1 0 l 1 1 2 2 v 3 3 4 4 y b*"),
              (std::vector<std::string>{
                  "fill evenodd [2 0 0 2 5 0] rgba(0,0,0,1) M0,0 L1,0 C1,0 1,1 2,2 C3,3 4,4 4,4 Z",
                  "stroke w1 cap0 join0 [2 0 0 2 5 0] rgba(0,0,0,1) M0,0 L1,0 C1,0 1,1 2,2 C3,3 "
                  "4,4 4,4 Z",
              }))
        << "a later cm applies first";
}

TEST_F(InterpreterTest, ClipsComeAfterThePaintingTheyEnd) {
    EXPECT_EQ(run("0 0 50 50 re W n 0.5 g 0 0 100 100 re W* f"),
              (std::vector<std::string>{
                  "clip [1 0 0 1 0 0] M0,0 L50,0 L50,50 L0,50 Z",
                  "fill [1 0 0 1 0 0] rgba(0.5,0.5,0.5,1) M0,0 L100,0 L100,100 L0,100 Z",
                  "clip evenodd [1 0 0 1 0 0] M0,0 L100,0 L100,100 L0,100 Z",
              }));
}

TEST_F(InterpreterTest, ColoursAndGraphicsStateDictionaries) {
    struct Case {
        const char* content;
        const char* line;
    };
    const Case cases[] = {
        {"0 0 0 1 k 0 0 1 1 re f", "fill [1 0 0 1 0 0] rgba(0,0,0,1) M0,0 L1,0 L1,1 L0,1 Z"},
        {"/DeviceRGB cs 0 0 1 sc 0 0 1 1 re f",
         "fill [1 0 0 1 0 0] rgba(0,0,1,1) M0,0 L1,0 L1,1 L0,1 Z"},
        {"/CS0 cs 1 scn 0 0 1 1 re f", "fill [1 0 0 1 0 0] rgba(0,1,0,1) M0,0 L1,0 L1,1 L0,1 Z"},
        {"/CS0 cs 0 0 1 1 re f", "fill [1 0 0 1 0 0] rgba(1,0,0,1) M0,0 L1,0 L1,1 L0,1 Z"},
        {"/GS0 gs 0 0 1 1 re f", "fill [1 0 0 1 0 0] rgba(0,0,0,0.25) M0,0 L1,0 L1,1 L0,1 Z"},
        {"/GS0 gs 1 0 0 RG 0 0 m 1 1 l S",
         "stroke w4 cap1 join0 d2 d1 [1 0 0 1 0 0] rgba(1,0,0,0.5) M0,0 L1,1"},
        {"3 w 2 J 1 j [4] 0 d 0.5 G 0 0 m 1 1 l S",
         "stroke w3 cap2 join1 d4 [1 0 0 1 0 0] rgba(0.5,0.5,0.5,1) M0,0 L1,1"},
        {"/NoSuchSpace cs 0 1 0 rg 0 0 1 1 re f",
         "fill [1 0 0 1 0 0] rgba(0,1,0,1) M0,0 L1,0 L1,1 L0,1 Z"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = run(c.content);
        ASSERT_EQ(lines.size(), 1u) << c.content;
        EXPECT_EQ(lines[0], c.line) << c.content;
    }
}

TEST_F(InterpreterTest, MalformedAndUnbalancedOperatorsArePassedOver) {
    EXPECT_EQ(run("Q Q 1 0 0 rg 5 l (x) 0 0 m 1 0 l /N 2 w q q 1 1 l S"),
              (std::vector<std::string>{
                  "save",
                  "save",
                  "stroke w2 cap0 join0 [1 0 0 1 0 0] rgba(0,0,0,1) M0,0 L1,0 L1,1",
                  "restore",
                  "restore",
              }))
        << "a Q too many and operators short of operands do nothing, operands before an "
           "operator's own are passed over, and the end restores";
    std::string deep;
    for (size_t i = 0; i < Interpreter::kMaxSavedStates + 5; ++i) {
        deep += "q ";
    }
    const std::vector<std::string> lines = run(deep);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "save"),
              ptrdiff_t(Interpreter::kMaxSavedStates));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "restore"),
              ptrdiff_t(Interpreter::kMaxSavedStates));
}

TEST_F(InterpreterTest, FormsDrawUnderTheirMatrixWithinTheirBox) {
    EXPECT_EQ(run("0 0 1 rg /Fm0 Do 0 0 1 1 re f"),
              (std::vector<std::string>{
                  "save",
                  "clip [2 0 0 2 5 5] M0,0 L10,0 L10,10 L0,10 Z",
                  "save",
                  "fill [2 0 0 2 5 5] rgba(1,0,0,1) M0,0 L4,0 L4,4 L0,4 Z",
                  "restore",
                  "restore",
                  "fill [1 0 0 1 0 0] rgba(0,0,1,1) M0,0 L1,0 L1,1 L0,1 Z",
              }))
        << "the form's unbalanced q is restored and its colour does not leak out";
    const std::vector<std::string> itself = run("/Fm1 Do");
    EXPECT_EQ(std::count_if(itself.begin(), itself.end(),
                            [](const std::string& line) { return line.starts_with("fill"); }),
              1)
        << "a form inside itself is not drawn again";
    EXPECT_EQ(run("/NoSuchForm Do"), std::vector<std::string>{}) << "a missing name draws nothing";
}

// Images through their colour space and Decode array; a stencil mask in the fill colour.
TEST_F(InterpreterTest, ImagesDrawTheirPixels) {
    EXPECT_EQ(run("q 20 0 0 10 5 5 cm /Im0 Do Q"),
              (std::vector<std::string>{"save",
                                        "image 2x1 [20 0 0 10 5 5] alpha1 smooth 255,0,0,255 "
                                        "0,128,255,255",
                                        "restore"}));
    EXPECT_EQ(run("/GS0 gs 0 1 0 rg /Im1 Do"),
              (std::vector<std::string>{"image 3x1 [1 0 0 1 0 0] alpha1 0,255,0,64 0,0,0,0 "
                                        "0,255,0,64"}))
        << "0 bits paint, in the fill colour and its alpha";
    EXPECT_EQ(run("/Im2 Do"),
              (std::vector<std::string>{"image 2x2 [1 0 0 1 0 0] alpha1 255,0,0,255 0,255,0,255 "
                                        "0,255,0,255 0,255,0,255"}))
        << "four-bit indices of an indexed space, turned round by /Decode [1 0]";
    EXPECT_EQ(run("BI /W 2 /H 1 /BPC 8 /CS /RGB /F /AHx ID FF0000 0000FF> EI "
                  "BI /IM true /W 2 /H 1 /D [1 0] /I true ID \x40 EI"),
              (std::vector<std::string>{
                  "image 2x1 [1 0 0 1 0 0] alpha1 255,0,0,255 0,0,255,255",
                  "image 2x1 [1 0 0 1 0 0] alpha1 smooth 0,0,0,0 0,0,0,255",
              }))
        << "inline images with abbreviations, filtered and as a turned-round stencil";
}

TEST_F(InterpreterTest, ShadingsPaintGradientsOverTheClip) {
    EXPECT_EQ(run("2 0 0 2 0 0 cm /Sh0 sh /Sh1 sh /NoSuch sh"),
              (std::vector<std::string>{
                  "save",
                  "gradient axial 0,0 100,0 r0,0 extend1 64 stops rgba(1,0,0,1) rgba(0,0,1,1) "
                  "[2 0 0 2 0 0] alpha1",
                  "restore",
                  "save",
                  "clip [2 0 0 2 0 0] M0,0 L8,0 L8,8 L0,8 Z",
                  "gradient radial 5,5 5,5 r0,10 64 stops rgba(0,0,0,1) rgba(1,1,1,1) "
                  "[2 0 0 2 0 0] alpha1",
                  "restore",
              }));
}

TEST_F(InterpreterTest, OptionalContentThatIsOffIsNotPainted) {
    EXPECT_EQ(run("/Fm2 Do"), std::vector<std::string>{}) << "a form in a group that is off";
    EXPECT_EQ(run("/OC /MC1 BDC 0 0 1 1 re f /Span << >> BDC 0 0 2 2 re W n EMC EMC "
                  "/OC /MC0 BDC 0 0 3 3 re f EMC EMC 0 0 4 4 re f"),
              (std::vector<std::string>{
                  "clip [1 0 0 1 0 0] M0,0 L2,0 L2,2 L0,2 Z",
                  "fill [1 0 0 1 0 0] rgba(0,0,0,1) M0,0 L3,0 L3,3 L0,3 Z",
                  "fill [1 0 0 1 0 0] rgba(0,0,0,1) M0,0 L4,0 L4,4 L0,4 Z",
              }))
        << "hidden content still clips; an EMC too many is passed over";
}

// Blend modes, soft masks and transparency groups, with resources of their own: 51 is a mask
// form whose group is in DeviceRGB, 52 a form that is an isolated knockout group, 53 a form
// that is no group, 54 a form that sets a mask of its own, 55 a red pixel.
class InterpreterTransparencyTest : public InterpreterTest {
  protected:
    InterpreterTransparencyTest() {
        resourcesNumber_ = 50;
        extraObjects_ = {
            {50,
             "<< /ExtGState << /Mul << /BM /Multiply >> /Hue << /BM [/NoSuchMode /Hue] >> "
             "/Back << /BM /Compatible >> /Half << /ca 0.5 /CA 0.75 >> "
             "/Lum << /SMask << /S /Luminosity /G 51 0 R /BC [0 0 1] /TR << /FunctionType 2 "
             "/Domain [0 1] /C0 [1] /C1 [0] /N 1 >> >> >> "
             "/Alp << /SMask << /S /Alpha /G 51 0 R >> >> /NoMask << /SMask /None >> "
             "/Bad << /SMask << /S /Luminosity >> >> /Shape << /AIS true /TK false >> >> "
             "/XObject << /Grp 52 0 R /Plain 53 0 R /Own 54 0 R /Im0 55 0 R >> "
             "/Shading << /Sh0 << /ShadingType 2 /ColorSpace /DeviceGray /Coords [0 0 1 0] "
             "/Function << /FunctionType 2 /Domain [0 1] /C0 [0] /C1 [1] /N 1 >> >> >> >>"},
            {51, fixtures::streamBody("/Subtype /Form /BBox [0 0 10 10] "
                                      "/Group << /S /Transparency /CS /DeviceRGB >>",
                                      "1 g 0 0 5 5 re f")},
            {52, fixtures::streamBody("/Subtype /Form /BBox [0 0 10 10] "
                                      "/Group << /S /Transparency /I true /K true >>",
                                      "1 0 0 rg 0 0 1 1 re f")},
            {53, fixtures::streamBody("/Subtype /Form /BBox [0 0 10 10]", "0 0 2 2 re f")},
            {54, fixtures::streamBody("/Subtype /Form /BBox [0 0 10 10] /Resources 50 0 R",
                                      "/Alp gs 0 0 3 3 re f")},
            {55, fixtures::streamBody("/Subtype /Image /Width 1 /Height 1 /BitsPerComponent 8 "
                                      "/ColorSpace /DeviceRGB",
                                      std::string("\xFF\x00\x00", 3))},
        };
    }
};

const char* const kBox1 = " M0,0 L1,0 L1,1 L0,1 Z";

// `lines` within a clip to the box (left, top, right, bottom) in the user space of `ctm`.
std::vector<std::string> clippedTo(const Matrix& ctm, std::array<double, 4> box,
                                   const std::vector<std::string>& lines) {
    const auto [l, t, r, b] = box;
    std::ostringstream clip;
    clip << "clip " << describe(ctm) << " M" << l << "," << t << " L" << r << "," << t << " L" << r
         << "," << b << " L" << l << "," << b << " Z";
    std::vector<std::string> out = {"save", clip.str()};
    out.insert(out.end(), lines.begin(), lines.end());
    out.push_back("restore");
    return out;
}

std::vector<std::string> concatenated(std::vector<std::string> a,
                                      const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(InterpreterTransparencyTest, BlendModesGroupEachPainting) {
    struct Case {
        const char* content;
        std::vector<std::string> lines;
    };
    // Each group is clipped to what its painting reaches, and two device pixels more.
    const std::string fill = std::string("fill [1 0 0 1 0 0] rgba(0,0,0,1)") + kBox1;
    const double kHalfDiagonal = std::sqrt(2.0) / 2;  // a square cap's reach past its end
    const std::string stroke =
        std::string("stroke w1 cap0 join0 [1 0 0 1 0 0] rgba(0,0,0,1)") + kBox1;
    const Case cases[] = {
        {"/Mul gs 0 0 1 1 re f",
         clippedTo({}, {-2, -2, 3, 3}, {"group opacity1 blend1 [1 0 0 1 0 0]", fill, "end group"})},
        {"/Hue gs 0 0 1 1 re f",
         clippedTo({}, {-2, -2, 3, 3},
                   {"group opacity1 blend12 [1 0 0 1 0 0]", fill, "end group"})},
        {"/Mul gs /Back gs 0 0 1 1 re f", {fill}},
        {"q /Mul gs Q 0 0 1 1 re f", {"save", "restore", fill}},
        {"/Mul gs 0 0 1 1 re B",
         concatenated(clippedTo({}, {-2, -2, 3, 3},
                                {"group opacity1 blend1 [1 0 0 1 0 0]", fill, "end group"}),
                      clippedTo({}, {-7, -7, 8, 8},  // as far as a miter of limit 10 may reach
                                {"group opacity1 blend1 [1 0 0 1 0 0]", stroke, "end group"}))},
        {"/Mul gs 2 0 0 1 0 0 cm 0 0 1 1 re 2 j S",
         clippedTo({2, 0, 0, 1, 0, 0},  // a bevel reaches no further than a square cap
                   {-2 - kHalfDiagonal, -2 - kHalfDiagonal, 3 + kHalfDiagonal, 3 + kHalfDiagonal},
                   {"group opacity1 blend1 [2 0 0 1 0 0]",
                    std::string("stroke w1 cap0 join2 [2 0 0 1 0 0] rgba(0,0,0,1)") + kBox1,
                    "end group"})},
        {"/Mul gs 10 0 0 10 0 0 cm /Im0 Do",
         clippedTo({10, 0, 0, 10, 0, 0}, {-0.2, -0.2, 1.2, 1.2},
                   {"group opacity1 blend1 [10 0 0 10 0 0]",
                    "image 1x1 [10 0 0 10 0 0] alpha1 255,0,0,255", "end group"})},
        {"/Mul gs BI /W 1 /H 1 /BPC 8 /CS /G ID \x80 EI",
         clippedTo({}, {-2, -2, 3, 3},
                   {"group opacity1 blend1 [1 0 0 1 0 0]",
                    "image 1x1 [1 0 0 1 0 0] alpha1 128,128,128,255", "end group"})},
        {"/Mul gs /Sh0 sh",
         {"save", "group opacity1 blend1 [1 0 0 1 0 0]",
          "gradient axial 0,0 1,0 r0,0 64 stops rgba(0,0,0,1) rgba(1,1,1,1) [1 0 0 1 0 0] alpha1",
          "end group", "restore"}},
        {"/Shape gs /Mul gs 2 0 0 2 0 0 cm /Plain Do",
         {"save", "clip [2 0 0 2 0 0] M0,0 L10,0 L10,10 L0,10 Z",
          "group opacity1 blend1 [2 0 0 2 0 0]",
          "fill [2 0 0 2 0 0] rgba(0,0,0,1) M0,0 L2,0 L2,2 L0,2 Z", "end group", "restore"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.content), c.lines) << c.content;
    }
}

TEST_F(InterpreterTransparencyTest, SoftMasksAreDrawnFromTheirFormsInTheTransformTheyWereSetIn) {
    const std::vector<std::string> maskForm = {
        "save",
        "clip [2 0 0 2 0 0] M0,0 L10,0 L10,10 L0,10 Z",
        "group opacity1 blend0 [2 0 0 2 0 0]",
        "fill [2 0 0 2 0 0] rgba(1,1,1,1) M0,0 L5,0 L5,5 L0,5 Z",
        "end group",
        "restore",
    };
    const auto masked = [&](const std::string& head, const std::string& painted) {
        std::vector<std::string> lines = {head};
        lines.insert(lines.end(), maskForm.begin(), maskForm.end());
        lines.push_back("end mask");
        lines.push_back("group opacity1 blend0 [3 0 0 3 0 0]");
        lines.push_back(painted);
        lines.push_back("end group");
        // Within the content's own q, and the clip to what is painted.
        return concatenated(
            concatenated({"save"}, clippedTo({3, 0, 0, 3, 0, 0},
                                             {-2.0 / 3, -2.0 / 3, 5.0 / 3, 5.0 / 3}, lines)),
            {"restore"});
    };
    const std::string fill = "fill [3 0 0 3 0 0] rgba(0,0,0,1)" + std::string(kBox1);
    EXPECT_EQ(run("q 2 0 0 2 0 0 cm /Lum gs 1.5 0 0 1.5 0 0 cm 0 0 1 1 re f"),
              masked("mask luminosity rgba(0,0,1,1) [2 0 0 2 0 0] transfer 255,127,0", fill))
        << "the backdrop in the group's space and the transfer function sampled";
    EXPECT_EQ(run("q 2 0 0 2 0 0 cm /Alp gs 1.5 0 0 1.5 0 0 cm 0 0 1 1 re f"),
              masked("mask alpha rgba(0,0,0,1) [2 0 0 2 0 0]", fill));
    const std::string plain = "fill [1 0 0 1 0 0] rgba(0,0,0,1)" + std::string(kBox1);
    EXPECT_EQ(run("/Lum gs /NoMask gs 0 0 1 1 re f"), std::vector<std::string>{plain})
        << "/None clears the mask";
    EXPECT_EQ(run("q /Lum gs Q 0 0 1 1 re f"), (std::vector<std::string>{"save", "restore", plain}))
        << "Q restores the state without the mask";
    EXPECT_EQ(run("/Bad gs 0 0 1 1 re f"), std::vector<std::string>{plain})
        << "a mask without its form masks nothing";
}

TEST_F(InterpreterTransparencyTest, FormsWithAGroupAreDrawnAsTransparencyGroups) {
    EXPECT_EQ(run("/Half gs /Mul gs /Grp Do 0 0 1 1 re f"),
              (std::vector<std::string>{
                  "save",
                  "clip [1 0 0 1 0 0] M0,0 L10,0 L10,10 L0,10 Z",
                  "group opacity0.5 blend1 isolated knockout [1 0 0 1 0 0]",
                  std::string("fill [1 0 0 1 0 0] rgba(1,0,0,1)") + kBox1,
                  "end group",
                  "restore",
                  "save",
                  "clip [1 0 0 1 0 0] M-2,-2 L3,-2 L3,3 L-2,3 Z",
                  "group opacity1 blend1 [1 0 0 1 0 0]",
                  std::string("fill [1 0 0 1 0 0] rgba(0,0,0,0.5)") + kBox1,
                  "end group",
                  "restore",
              }))
        << "the group takes the alpha and blend mode, which start afresh inside it";
    const std::vector<std::string> own = run("/Own Do");
    EXPECT_EQ(std::count(own.begin(), own.end(), "end mask"), 1)
        << "a mask set inside a form masks what the form paints";
    EXPECT_EQ(own.back(), "restore");
}

TEST_F(InterpreterTransparencyTest, TheStateCarriesShapeAndKnockoutFlags) {
    RecordingDevice device;
    run("");
    const Object resources = document_->fetch({50, 0});
    Interpreter interpreter(*document_, device, resources.asDict(), Matrix{});
    EXPECT_FALSE(interpreter.state().alphaIsShape);
    EXPECT_TRUE(interpreter.state().textKnockout);
    const std::string content = "/Shape gs /Lum gs";
    interpreter.run(std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    EXPECT_TRUE(interpreter.state().alphaIsShape);
    EXPECT_FALSE(interpreter.state().textKnockout);
    ASSERT_NE(interpreter.state().softMask, nullptr);
    EXPECT_EQ(interpreter.state().softMask->form, (Ref{51, 0}));
}

// Patterns: where tiles go, what colour an uncoloured cell paints in, the bounds on tiles and
// nesting, and shading patterns filling and stroking.
class PatternInterpreterTest : public testing::Test {
  protected:
    std::vector<std::string> run(const std::string& content) {
        fixtures::PdfLayout layout = fixtures::pagesPdf({"BT ET"});
        const auto tiling = [](const std::string& entries, const std::string& cell) {
            return fixtures::streamBody("/PatternType 1 /TilingType 1 " + entries, cell);
        };
        layout.objects.push_back(
            {30,
             "<< /ColorSpace << /CsP [/Pattern /DeviceRGB] >> /XObject << /FmP 50 0 R >> "
             "/Pattern << /P1 41 0 R /P2 42 0 R /P3 43 0 R /P4 44 0 R /P5 45 0 R /Q 60 0 R "
             "/Sp 46 0 R /Sq 47 0 R /Big 48 0 R /Busy 49 0 R >> >>"});
        layout.objects.push_back(
            {41, tiling("/PaintType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 /Resources << >>",
                        "0 0 5 5 re f")});
        layout.objects.push_back({42, tiling("/PaintType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 "
                                             "/Matrix [1 0 0 1 5 0] /Resources << >>",
                                             "0 0 5 5 re f")});
        layout.objects.push_back(
            {43, tiling("/PaintType 2 /BBox [0 0 10 10] /XStep 10 /YStep 10 /Resources << >>",
                        "1 0 0 rg 0 0 5 5 re f")});
        layout.objects.push_back({44, tiling("/PaintType 1 /BBox [0 0 0.01 0.01] /XStep 0.01 "
                                             "/YStep 0.01 /Resources << >>",
                                             "0 0 5 5 re f")});
        layout.objects.push_back(
            {45, tiling("/PaintType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 "
                        "/Resources << /Pattern << /Again 45 0 R >> >>",
                        "/Pattern cs /Again scn 0 0 1 1 re f 0 g 0 0 2 2 re f")});
        // A cell of 14 000 bytes, and one of a thousand operators.
        layout.objects.push_back(
            {48, tiling("/PaintType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 /Resources << >>",
                        "%" + std::string(14000, 'x') + "\n0 0 5 5 re f")});
        std::string busy;
        for (int k = 0; k < 1000; ++k) {
            busy += "n ";
        }
        layout.objects.push_back(
            {49,
             tiling("/PaintType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 /Resources << >>", busy)});
        // A chain of patterns, each cell filling with the next.
        for (int k = 0; k < 6; ++k) {
            layout.objects.push_back(
                {60 + k, tiling("/PaintType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 "
                                "/Resources << /Pattern << /Q " +
                                    std::to_string(61 + k) + " 0 R >> >>",
                                "/Pattern cs /Q scn 0 0 10 10 re f")});
        }
        const std::string axial =
            "/Shading << /ShadingType 2 /ColorSpace /DeviceRGB /Coords [0 0 10 0] /Function "
            "<< /FunctionType 2 /Domain [0 1] /C0 [1 0 0] /C1 [0 0 1] /N 1 >> ";
        layout.objects.push_back({46, "<< /PatternType 2 " + axial + ">> >>"});
        layout.objects.push_back({47, "<< /PatternType 2 /Matrix [2 0 0 2 0 0] " + axial +
                                          "/Background [0 1 0] >> /ExtGState << /ca 0.5 >> >>"});
        layout.objects.push_back(
            {50, fixtures::streamBody("/Subtype /Form /BBox [0 0 100 100] /Matrix [1 0 0 1 100 0] "
                                      "/Resources 30 0 R",
                                      "/Pattern cs /P1 scn 0 0 10 10 re f")});
        file_ = fixtures::buildPdf(layout);
        document_ =
            Document::open(std::span(reinterpret_cast<const uint8_t*>(file_.data()), file_.size()));
        EXPECT_NE(document_, nullptr);
        const Object resources = document_->fetch({30, 0});
        RecordingDevice device;
        Interpreter interpreter(*document_, device, resources.asDict(), Matrix{});
        interpreter.run(
            std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
        return device.lines;
    }

    // The fills a run makes, without their paths.
    std::vector<std::string> fills(const std::string& content) {
        std::vector<std::string> out;
        for (const std::string& line : run(content)) {
            if (line.starts_with("fill")) {
                out.push_back(line.substr(0, line.find(')') + 1));
            }
        }
        return out;
    }

    std::string file_;
    std::unique_ptr<Document> document_;
};

TEST_F(PatternInterpreterTest, TilesCoverThePaintedAreaInPatternSpace) {
    EXPECT_EQ(run("/Pattern cs /P1 scn 0 0 10 10 re f"),
              (std::vector<std::string>{
                  "save",
                  "clip [1 0 0 1 0 0] M0,0 L10,0 L10,10 L0,10 Z",
                  "save",
                  "clip [1 0 0 1 0 0] M0,0 L10,0 L10,10 L0,10 Z",
                  "fill [1 0 0 1 0 0] rgba(0,0,0,1) M0,0 L5,0 L5,5 L0,5 Z",
                  "restore",
                  "restore",
              }))
        << "one tile: the path's clip, then the cell clipped to its box";
    struct Case {
        const char* content;
        std::vector<std::string> fills;
    };
    const Case cases[] = {
        {"/Pattern cs /P1 scn 0 0 20 20 re f",
         {"fill [1 0 0 1 0 0] rgba(0,0,0,1)", "fill [1 0 0 1 10 0] rgba(0,0,0,1)",
          "fill [1 0 0 1 0 10] rgba(0,0,0,1)", "fill [1 0 0 1 10 10] rgba(0,0,0,1)"}},
        // The pattern space is where the page began, not the current transform.
        {"2 0 0 2 0 0 cm /Pattern cs /P1 scn 0 0 10 5 re f",
         {"fill [1 0 0 1 0 0] rgba(0,0,0,1)", "fill [1 0 0 1 10 0] rgba(0,0,0,1)"}},
        {"/Pattern cs /P2 scn 0 0 10 10 re f",
         {"fill [1 0 0 1 -5 0] rgba(0,0,0,1)", "fill [1 0 0 1 5 0] rgba(0,0,0,1)"}},
        {"/FmP Do", {"fill [1 0 0 1 100 0] rgba(0,0,0,1)"}},
        // A stroke reaches the tiles within half its width (times the miter limit) of it.
        {"/Pattern CS /P1 SCN 1 M 2 3 m 8 3 l S", {"fill [1 0 0 1 0 0] rgba(0,0,0,1)"}},
        {"/Pattern CS /P1 SCN 2 3 m 8 3 l S",
         {"fill [1 0 0 1 -10 -10] rgba(0,0,0,1)", "fill [1 0 0 1 0 -10] rgba(0,0,0,1)",
          "fill [1 0 0 1 10 -10] rgba(0,0,0,1)", "fill [1 0 0 1 -10 0] rgba(0,0,0,1)",
          "fill [1 0 0 1 0 0] rgba(0,0,0,1)", "fill [1 0 0 1 10 0] rgba(0,0,0,1)",
          "fill [1 0 0 1 -10 10] rgba(0,0,0,1)", "fill [1 0 0 1 0 10] rgba(0,0,0,1)",
          "fill [1 0 0 1 10 10] rgba(0,0,0,1)"}},
        {"/CsP cs 0 0 1 /P3 scn 0 0 10 10 re f", {"fill [1 0 0 1 0 0] rgba(0,0,1,1)"}},
        {"/Pattern cs /P4 scn 0 0 10 10 re f", {"fill [1 0 0 1 0 0] rgba(0.5,0.5,0.5,1)"}},
        {"/Pattern cs /P5 scn 0 0 10 10 re f", {"fill [1 0 0 1 0 0] rgba(0,0,0,1)"}},
        {"/Pattern cs /Q scn 0 0 10 10 re f", {"fill [1 0 0 1 0 0] rgba(0.5,0.5,0.5,1)"}},
        {"/Pattern cs /NoSuch scn 0 0 10 10 re f", {}},
        {"/Pattern cs 0 0 10 10 re f", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fills(c.content), c.fills) << c.content;
    }
    const std::vector<std::string> stroked = run("/Pattern CS /P1 SCN 1 M 2 3 m 8 3 l S");
    ASSERT_GT(stroked.size(), 1u);
    EXPECT_EQ(stroked[1], "clip stroke w1 [1 0 0 1 0 0] M2,3 L8,3")
        << "a stroke with a tiling pattern clips to the stroke's outline";
}

// 140 x 140 tiles of a 14 000-byte cell would read more than the cells' bound; of a thousand
// operators, would run more than the operators' bound, which ends the drawing.
TEST_F(PatternInterpreterTest, CellsReadAndOperatorsRunAreBounded) {
    EXPECT_EQ(fills("/Pattern cs /Big scn 0 0 1400 1400 re f"),
              (std::vector<std::string>{"fill [1 0 0 1 0 0] rgba(0.5,0.5,0.5,1)"}));
    const std::vector<std::string> lines =
        run("/Pattern cs /Busy scn 0 0 1400 1400 re f 0 g 0 0 1 1 re f");
    const auto cells =
        std::count(lines.begin(), lines.end(), "clip [1 0 0 1 0 0] M0,0 L10,0 L10,10 L0,10 Z");
    const auto tiles = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("clip [1 0 0 1 ") && line.ends_with("M0,0 L10,0 L10,10 L0,10 Z");
    });
    EXPECT_EQ(cells, 1);
    EXPECT_GT(tiles, 10000);
    EXPECT_LT(tiles, 140 * 140);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("fill"); }),
              0)
        << "nothing is drawn past the bound";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "save"),
              std::count(lines.begin(), lines.end(), "restore"));
}

TEST_F(PatternInterpreterTest, ShadingPatternsPaintTheirShadingWithinThePath) {
    EXPECT_EQ(run("/Pattern cs /Sq scn 1 0 0 1 7 0 cm 0 0 10 10 re f"),
              (std::vector<std::string>{
                  "save",
                  "clip [1 0 0 1 7 0] M0,0 L10,0 L10,10 L0,10 Z",
                  "fill [1 0 0 1 7 0] rgba(0,1,0,0.5) M0,0 L10,0 L10,10 L0,10 Z",
                  "save",
                  "gradient axial 0,0 10,0 r0,0 64 stops rgba(1,0,0,1) rgba(0,0,1,1) "
                  "[2 0 0 2 0 0] alpha0.5",
                  "restore",
                  "restore",
              }))
        << "under the pattern's matrix from the pattern space, over its background, with the "
           "pattern's own alpha";
    EXPECT_EQ(run("/Pattern CS /Sp SCN 3 w 0 0 m 10 0 l S"),
              (std::vector<std::string>{
                  "save",
                  "clip stroke w3 [1 0 0 1 0 0] M0,0 L10,0",
                  "save",
                  "gradient axial 0,0 10,0 r0,0 64 stops rgba(1,0,0,1) rgba(0,0,1,1) "
                  "[1 0 0 1 0 0] alpha1",
                  "restore",
                  "restore",
              }));
}

}  // namespace
}  // namespace reader::pdf
