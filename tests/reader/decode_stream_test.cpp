// Filter names and chains: streams decoded through several filters, abbreviations, refusals,
// and filtered page contents.
#include "filters/decode_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "vyn_writer.h"
#include "xref/stream_data.h"

namespace reader {
namespace {

std::vector<uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

std::string deflated(std::string_view text) {
    uLongf size = compressBound(uLong(text.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(text.data()), uLong(text.size()), 9);
    out.resize(size);
    return out;
}

std::string ascii85(std::string_view data) {
    std::string out;
    for (size_t i = 0; i < data.size(); i += 4) {
        const size_t n = std::min<size_t>(4, data.size() - i);
        uint32_t value = 0;
        for (size_t k = 0; k < 4; ++k) {
            value = value << 8 | (k < n ? uint8_t(data[i + k]) : 0);
        }
        if (n == 4 && value == 0) {
            out += 'z';
            continue;
        }
        char group[5];
        for (int k = 4; k >= 0; --k) {
            group[k] = char('!' + value % 85);
            value /= 85;
        }
        out.append(group, n + 1);
    }
    return out + "~>";
}

std::optional<std::string> decode(std::string_view text, std::string_view filters,
                                  DecodeParam param = {}) {
    int codes[kMaxFilters];
    int count = 0;
    GetFilterName(filters, 0, codes, count);
    if (count < 0) {
        return std::nullopt;
    }
    const std::vector<uint8_t> data = bytesOf(text);
    const auto out = DecodeStream(data, param, std::span<const int>(codes, size_t(count)));
    return out ? std::optional<std::string>(std::string(out->begin(), out->end())) : std::nullopt;
}

TEST(DecodeStreamTest, FilterNamesFullAbbreviatedAndRefused) {
    struct Case {
        const char* text;
        int count;
        std::vector<int> codes;
    };
    for (const Case& c : {Case{" /FlateDecode", 1, {kFlate}}, Case{"/Fl", 1, {kFlate}},
                          Case{" [ /ASCII85Decode /FlateDecode ]", 2, {kAscii85, kFlate}},
                          Case{"[/AHx/LZW/RL/CCF]", 4, {kAsciiHex, kLzw, kRunLength, kCcittFax}},
                          Case{"/DCT /Length 5", 1, {kDct}}, Case{"/JBIG2Decode", 1, {kJbig2}},
                          Case{"/JPXDecode", 1, {kJpx}}, Case{"/Crypt", -1, {}},
                          Case{"[/Fl /Fl /Fl /Fl /Fl]", -1, {}}}) {
        int codes[kMaxFilters] = {};
        int count = 0;
        GetFilterName(c.text, 0, codes, count);
        EXPECT_EQ(count, c.count) << c.text;
        if (count > 0) {
            EXPECT_EQ(std::vector<int>(codes, codes + count), c.codes) << c.text;
        }
    }
}

TEST(DecodeStreamTest, ChainsDecodeToThePlainStream) {
    const std::string plain = "BT /F1 12 Tf 72 720 Td (Hello, world) Tj ET\n";
    EXPECT_EQ(decode(ascii85(deflated(plain)), "[/ASCII85Decode /FlateDecode]"), plain);
    EXPECT_EQ(decode(ascii85(deflated(plain)), "[/A85 /Fl]"), plain);
    EXPECT_EQ(decode("4142>", "/AHx"), "AB");
    EXPECT_EQ(decode(deflated(plain), "/Fl"), plain);
    EXPECT_EQ(decode("", "/Fl"), "") << "empty input decodes to nothing";
    EXPECT_EQ(decode(plain, ""), plain) << "no filter keeps the bytes";
}

TEST(DecodeStreamTest, PredictedFlateDataIsUnpredicted) {
    // PNG Up rows of 3 bytes, tag 2 each: 1 2 3, then each byte one more.
    const std::string rows = {2, 1, 2, 3, 2, 1, 1, 1};
    DecodeParam param;
    param.predictor = 15;
    param.columns = 3;
    EXPECT_EQ(decode(deflated(rows), "/FlateDecode", param), std::string({1, 2, 3, 2, 3, 4}));
}

TEST(DecodeStreamTest, FilteredPageContentsAreDecoded) {
    const std::string content = "BT (decoded) Tj ET";
    fixtures::PdfLayout layout = fixtures::pagesPdf({"unused"});
    layout.objects[3].body = fixtures::streamBody("/Filter /FlateDecode", deflated(content));
    vyn::fixtures::TempDir dir;
    const auto path = fixtures::writePdf(dir, layout, "a.pdf");
    CReader reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    ASSERT_EQ(reader.GetPage(1), 1);
    ASSERT_EQ(reader.pageContents().size(), 1u);
    EXPECT_EQ(reader.pageContents()[0], content);
    EXPECT_EQ(reader.ReadStreamByID(4), std::optional(bytesOf(content)));
}

// Each filter takes the parameters at its place in /DecodeParms; values may be indirect, and
// decoding stops at the bytes asked for.
TEST(DecodeStreamTest, ParametersGoWithTheirFilterAndDecodingStopsAtTheLimit) {
    const std::string rows = {2, 1, 2, 3, 2, 1, 1, 1};
    std::string hex;
    for (const char c : deflated(rows)) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        hex += kDigits[uint8_t(c) >> 4];
        hex += kDigits[uint8_t(c) & 15];
    }
    const auto raw = std::span(reinterpret_cast<const uint8_t*>(hex.data()), hex.size());
    const pdf::Object columns = pdf::Object::integer(3);
    const pdf::ValueResolver resolve = [&](const pdf::Object& value) {
        return value.asRef() ? columns : value;
    };
    const auto dictWith = [](pdf::Object parms) {
        pdf::Dict dict;
        dict.set("Filter",
                 pdf::Object::array({pdf::Object::name("AHx"), pdf::Object::name("FlateDecode")}));
        dict.set("DecodeParms", std::move(parms));
        return dict;
    };
    pdf::Dict predictor;
    predictor.set("Predictor", pdf::Object::integer(15));
    predictor.set("Columns", pdf::Object::ref({9, 0}));
    const pdf::Dict own =
        dictWith(pdf::Object::array({pdf::Object(), pdf::Object::dict(predictor)}));
    EXPECT_EQ(pdf::decodeStreamData(raw, own, resolve), (std::vector<uint8_t>{1, 2, 3, 2, 3, 4}));
    EXPECT_EQ(pdf::decodeStreamData(raw, own, resolve, 4), (std::vector<uint8_t>{1, 2, 3, 2}));
    const pdf::Dict first = dictWith(pdf::Object::array({pdf::Object::dict(predictor)}));
    EXPECT_EQ(pdf::decodeStreamData(raw, first, resolve), bytesOf(rows))
        << "parameters of the first filter are not the second's";
}

}  // namespace
}  // namespace reader
