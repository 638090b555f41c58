// Optional content: groups the default configuration turns off, membership dictionaries by
// policy and by visibility expression, and what does not hide content.
#include "content/optional_content.h"

#include <gtest/gtest.h>

#include "object/parser.h"
#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

// Groups 10 (on), 11 (off) and 12 (on, the base state being overridden by /ON).
std::string documentWith(const std::string& configuration) {
    fixtures::PdfLayout layout = fixtures::pagesPdf({"BT ET"});
    layout.objects[0].body =
        "<< /Type /Catalog /Pages 2 0 R /OCProperties << /OCGs [10 0 R 11 0 R 12 0 R] /D " +
        configuration + " >> >>";
    for (int n : {10, 11, 12}) {
        layout.objects.push_back({n, "<< /Type /OCG /Name (g" + std::to_string(n) + ") >>"});
    }
    return fixtures::buildPdf(layout);
}

Object parsed(const std::string& text) {
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return Parser(bytes).parseObject().value_or(Object());
}

TEST(OptionalContentTest, MembershipFollowsTheDefaultConfiguration) {
    struct Case {
        const char* oc;
        bool visible;
    };
    const Case cases[] = {
        {"10 0 R", true},
        {"11 0 R", false},
        {"12 0 R", true},
        {"<< /Type /OCMD /OCGs [10 0 R 11 0 R] >>", true},  // AnyOn
        {"<< /Type /OCMD /OCGs [10 0 R 11 0 R] /P /AllOn >>", false},
        {"<< /Type /OCMD /OCGs [10 0 R 11 0 R] /P /AnyOff >>", true},
        {"<< /Type /OCMD /OCGs [10 0 R 12 0 R] /P /AnyOff >>", false},
        {"<< /Type /OCMD /OCGs 11 0 R /P /AllOff >>", true},
        {"<< /Type /OCMD /OCGs [] >>", true},
        {"<< /Type /OCMD /OCGs [11 0 R] /VE [/Not 11 0 R] >>", true},
        {"<< /Type /OCMD /VE [/And 10 0 R [/Or 11 0 R 12 0 R]] >>", true},
        {"<< /Type /OCMD /VE [/And 10 0 R 11 0 R] >>", false},
        {"<< /Type /OCMD /VE [/Not 10 0 R] >>", false},
        {"<< /Type /OCMD /VE [/Xor 11 0 R] >>", true},
        {"77 0 R", true},  // a group the file lacks
        {"(not a group)", true},
    };
    const std::string file = documentWith("<< /BaseState /OFF /ON [10 0 R 12 0 R] >>");
    const auto document =
        Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    ASSERT_NE(document, nullptr);
    const OptionalContent content = OptionalContent::read(*document);
    for (const Case& c : cases) {
        EXPECT_EQ(content.visible(*document, parsed(c.oc)), c.visible) << c.oc;
    }
}

TEST(OptionalContentTest, ConfigurationsAndTheirAbsence) {
    struct Case {
        const char* configuration;
        bool g10;
        bool g11;
    };
    const Case cases[] = {
        {"<< >>", true, true},
        {"<< /OFF [11 0 R] >>", true, false},
        {"<< /BaseState /OFF >>", false, false},
        {"<< /BaseState /Unchanged /OFF [10 0 R] /ON [10 0 R] >>", false, true},
        {"(damaged)", true, true},
    };
    for (const Case& c : cases) {
        const std::string file = documentWith(c.configuration);
        const auto document =
            Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
        ASSERT_NE(document, nullptr);
        const OptionalContent content = OptionalContent::read(*document);
        EXPECT_EQ(content.visible(*document, Object::ref({10, 0})), c.g10) << c.configuration;
        EXPECT_EQ(content.visible(*document, Object::ref({11, 0})), c.g11) << c.configuration;
    }
}

}  // namespace
}  // namespace reader::pdf
