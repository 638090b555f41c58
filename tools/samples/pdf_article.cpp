#include "pdf_article.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "figures.h"
#include "gb_text.h"
#include "pdf_builder.h"

namespace samples {

namespace {

using reader::fixtures::PdfLayout;
using reader::fixtures::PdfObject;

constexpr double kLeft = 72, kRight = 523;
constexpr double kBodySize = 10.5, kBodyLeading = 17;

// The fonts every page names: two GB2312 TrueType faces by their Chinese names and two of the
// standard Latin fonts.
enum class Face { Song, Hei, Helvetica, TimesBold };

const char* resourceName(Face face) {
    switch (face) {
        case Face::Song: return "/F1";
        case Face::Hei: return "/F2";
        case Face::Helvetica: return "/F3";
        case Face::TimesBold: return "/F4";
    }
    return "/F1";
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The advance of GB2312 text in ems: a full cell per double-byte character, half per ASCII.
double emWidth(std::string_view gb) {
    double width = 0;
    for (size_t i = 0; i < gb.size(); ++i) {
        if (static_cast<uint8_t>(gb[i]) >= 0xA1) {
            width += 1;
            ++i;
        } else {
            width += 0.5;
        }
    }
    return width;
}

// Whether the character at `at` is punctuation that must not begin a line; such a character
// hangs past the column's edge instead.
bool closesClause(const std::string& gb, size_t at) {
    if (at + 1 >= gb.size()) {
        return false;
    }
    const auto code =
        uint16_t(static_cast<uint8_t>(gb[at]) << 8 | static_cast<uint8_t>(gb[at + 1]));
    switch (code) {
        case 0xA1A2:
        case 0xA1A3:
        case 0xA1B1:
        case 0xA3A9:
        case 0xA3AC:
        case 0xA3BA:
        case 0xA3BB: return true;
        default: return false;
    }
}

// One page's content stream, written in top-down coordinates of an A4 page (y from its top).
class PdfPage {
  public:
    void text(Face face, double size, double x, double y, std::string_view utf8) {
        setGb(face, size, x, y, toGb2312(utf8));
    }

    void centred(Face face, double size, double y, std::string_view utf8) {
        const double width = emWidth(toGb2312(utf8)) * size;
        text(face, size, (kLeft + kRight - width) / 2, y, utf8);
    }

    // Body text set in lines across the column, `inset` points in from both sides; returns
    // the baseline under the last line.
    double paragraph(double y, std::string_view utf8, double indentEms = 2, double inset = 0) {
        const std::string gb = toGb2312(utf8);
        const double left = kLeft + inset;
        const double lineEms = (kRight - kLeft - 2 * inset) / kBodySize;
        std::string line;
        double used = indentEms;
        double x = left + indentEms * kBodySize;
        for (size_t i = 0; i < gb.size();) {
            const size_t length = static_cast<uint8_t>(gb[i]) >= 0xA1 ? 2 : 1;
            const double advance = length == 2 ? 1 : 0.5;
            if (used + advance > lineEms && !closesClause(gb, i)) {
                setGb(Face::Song, kBodySize, x, y, line);
                y += kBodyLeading;
                line.clear();
                used = 0;
                x = left;
            }
            line.append(gb, i, length);
            used += advance;
            i += length;
        }
        setGb(Face::Song, kBodySize, x, y, line);
        return y + kBodyLeading;
    }

    void rule(double x1, double y1, double x2, double y2, double width) {
        out_ += number(width) + " w " + number(x1) + " " + number(kHeight - y1) + " m " +
                number(x2) + " " + number(kHeight - y2) + " l S\n";
    }

    void box(double x, double y, double width, double height, std::string_view fill) {
        out_ += "q " + std::string(fill) + " rg " + number(x) + " " + number(kHeight - y - height) +
                " " + number(width) + " " + number(height) + " re f Q\n";
    }

    void frame(double x, double y, double width, double height) {
        out_ += "0.6 w " + number(x) + " " + number(kHeight - y - height) + " " + number(width) +
                " " + number(height) + " re S\n";
    }

    void image(std::string_view name, double x, double y, double width, double height) {
        out_ += "q " + number(width) + " 0 0 " + number(height) + " " + number(x) + " " +
                number(kHeight - y - height) + " cm " + std::string(name) + " Do Q\n";
    }

    const std::string& content() const { return out_; }

    static constexpr double kHeight = 842;

  private:
    // A line of GB2312 bytes as a PDF string, its ASCII delimiters escaped.
    void setGb(Face face, double size, double x, double y, const std::string& gb) {
        std::string escaped = "(";
        for (const char c : gb) {
            if (c == '(' || c == ')' || c == '\\') {
                escaped += '\\';
            }
            escaped += c;
        }
        out_ += "BT " + std::string(resourceName(face)) + " " + number(size) + " Tf " + number(x) +
                " " + number(kHeight - y) + " Td " + escaped + ") Tj ET\n";
    }

    std::string out_;
};

void runningHead(PdfPage& page, int pageNumber) {
    page.text(Face::Song, 9, kLeft, 48, "中文学术期刊");
    page.text(Face::Song, 9, 392, 48, "2026年12月  第38卷  第12期");
    page.rule(kLeft, 56, kRight, 56, 1.2);
    page.rule(kLeft, 59, kRight, 59, 0.4);
    page.rule(kLeft, 800, kRight, 800, 1.5);
    page.centred(Face::Song, 9, 816, "- " + std::to_string(pageNumber) + " -");
}

void heading(PdfPage& page, double y, std::string_view utf8) {
    page.text(Face::Hei, 14, kLeft, y, utf8);
}

void subheading(PdfPage& page, double y, std::string_view utf8) {
    page.text(Face::Hei, 11, kLeft, y, utf8);
}

std::string firstPage() {
    PdfPage page;
    runningHead(page, 1);
    page.centred(Face::Hei, 20, 110, "版式文档阅读器的设计与实现");
    page.centred(Face::Song, 12, 140, "王晓明  李文静  张  华");
    page.centred(Face::Song, 9, 160, "(中文信息处理研究所  北京  100080)");
    page.box(kLeft, 176, kRight - kLeft, 112, "0.92 0.94 1");
    page.frame(kLeft, 176, kRight - kLeft, 112);
    page.text(Face::Hei, 10.5, kLeft + 10, 196, "摘要");
    double y = page.paragraph(
        196,
        "本文介绍一种阅读中文期刊论文和学位论文的桌面程序。它打开两类分页文档：一类是排版"
        "系统输出的页面字流，其中嵌有二值图像和照片；另一类是便携文档格式的文件，也可以包在"
        "一个文件头和一层异或掩码之后。程序自行绘制这两类文档的页面，读者可以翻页、缩放、选取"
        "和复制文字、查找全文、打印，并在简体和繁体之间切换页面文字。",
        3, 10);
    page.text(Face::Hei, 10.5, kLeft + 10, y + 4, "关键词");
    page.text(Face::Song, 10.5, kLeft + 60, y + 4, "版式文档；页面绘制；文字选取；全文查找");
    page.text(Face::TimesBold, 10.5, kLeft, 312, "Abstract");
    page.text(Face::Helvetica, 9, kLeft + 52, 312,
              "A desktop reader for Chinese journal articles: paging, zoom, selection, search.");
    page.rule(kLeft, 322, kRight, 322, 0.6);

    heading(page, 350, "1  引言");
    y = page.paragraph(
        372,
        "中文学术文献的数字化已有三十余年的历史。早期的电子期刊以排版系统的页面文件发行，"
        "每页由字符、线条和图像组成；后来便携文档格式逐渐普及，两种格式的文献并存于各类数据库"
        "之中。读者需要一个能同时打开这两类文件的阅读器，它应当快速、稳定，并且在损坏的文件面前"
        "不会崩溃。");
    subheading(page, y + 8, "1.1  研究背景");
    y = page.paragraph(
        y + 30,
        "页面字流以字为单位记录排版结果：字体、字号、位置和字符代码依次排列，线条和框架用"
        "专门的代码表示。图像则以二值编码或JPEG格式嵌入文件之中，并在页面上占据一个矩形区域。"
        "阅读器按照页面的顺序解释这些代码，在屏幕或打印机上重现排版的结果。");
    y = page.paragraph(
        y + 4,
        "便携文档的页面由内容流描述，其中的文字使用嵌入的或系统中的字体绘制。本文的第二节介绍"
        "页面与图像的绘制，第三节介绍表格与结论。");
    return page.content();
}

std::string secondPage() {
    PdfPage page;
    runningHead(page, 2);
    heading(page, 90, "2  页面与图像");
    double y = page.paragraph(
        112,
        "阅读器把每一页绘制在一块与页面等大的画布上，再按照缩放比例显示在窗口之中。照片以"
        "JPEG格式保存，绘制时解码为彩色像素；二值图像则按照其分辨率放大或缩小。");
    subheading(page, y + 8, "2.1  嵌入的照片");
    const double photoTop = y + 24;
    const double photoWidth = 260, photoHeight = photoWidth * kPhotoHeight / kPhotoWidth;
    page.image("/Im1", kLeft, photoTop, photoWidth, photoHeight);
    page.frame(kLeft, photoTop, photoWidth, photoHeight);
    page.text(Face::Song, 9, kLeft + 70, photoTop + photoHeight + 16, "图1  嵌入的照片");

    // A bar chart beside the photograph: axes, five bars and their values.
    const double chartLeft = 360, chartBottom = photoTop + photoHeight, chartHeight = photoHeight;
    page.rule(chartLeft, chartBottom, kRight, chartBottom, 0.8);
    page.rule(chartLeft, chartBottom, chartLeft, chartBottom - chartHeight, 0.8);
    const double values[] = {0.45, 0.7, 0.55, 0.9, 0.65};
    for (int i = 0; i < 5; ++i) {
        const double height = values[i] * (chartHeight - 10);
        const double x = chartLeft + 10 + i * 30;
        page.box(x, chartBottom - height, 20, height,
                 i % 2 == 0 ? "0.25 0.45 0.75" : "0.85 0.45 0.2");
        page.text(Face::Helvetica, 8, x + 4, chartBottom + 10, std::to_string(2022 + i));
    }
    page.text(Face::Song, 9, chartLeft + 30, chartBottom + 28, "图2  历年的下载量");

    subheading(page, photoTop + photoHeight + 50, "2.2  矢量图形");
    y = page.paragraph(
        photoTop + photoHeight + 72,
        "图形由路径组成：直线、矩形和曲线先被描述，再被填充或勾画。线宽、颜色和变换矩阵属于"
        "图形状态，在保存和恢复之间有效。右上方的柱形图就是由矩形路径填充而成的。");
    y = page.paragraph(
        y + 4,
        "文字的绘制与图形相似：每段文字有字体、字号和位置，阅读器在系统中寻找同名的字体，找不到"
        "时使用默认的宋体。选取文字时，阅读器记录每个字符的位置，以便复制和查找。");
    return page.content();
}

std::string thirdPage() {
    PdfPage page;
    runningHead(page, 3);
    heading(page, 90, "3  表格与结论");
    double y = page.paragraph(112, "表1列出了两类文档在阅读器中的主要功能。");

    // A three-column table with a heavier rule above and below.
    const double top = y + 6, row = 22;
    const double columns[] = {kLeft, 200, 360, kRight};
    const char* cells[4][3] = {{"功能", "页面字流", "便携文档"},
                               {"翻页与缩放", "支持", "支持"},
                               {"文字选取与复制", "支持", "支持"},
                               {"简繁转换", "页面文字", "GB2312与Big5"}};
    page.rule(kLeft, top, kRight, top, 1.5);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            page.text(r == 0 ? Face::Hei : Face::Song, 10.5, columns[c] + 8, top + r * row + 15,
                      cells[r][c]);
        }
        page.rule(kLeft, top + (r + 1) * row, kRight, top + (r + 1) * row, r == 3 ? 1.5 : 0.4);
    }
    page.centred(Face::Song, 9, top + 4 * row + 18, "表1  阅读器的主要功能");

    subheading(page, top + 4 * row + 48, "3.1  结论");
    y = page.paragraph(
        top + 4 * row + 70,
        "本文描述的阅读器以同一套界面打开两类文档，页面由程序自行绘制，打印与屏幕显示一致。"
        "今后的工作包括更多的字体格式和更快的全文检索。");

    heading(page, y + 16, "参考文献");
    const char* references[] = {
        "[1] ISO 32000-1: document management, portable document format. 2008.",
        "[2] ITU-T Recommendation T.4, T.6: facsimile coding schemes. 1988.",
        "[3] ISO/IEC 10918-1: digital compression of continuous-tone still images. 1994.",
    };
    double line = y + 40;
    for (const char* reference : references) {
        page.text(Face::Helvetica, 9, kLeft, line, reference);
        line += 15;
    }
    return page.content();
}

}  // namespace

std::string demoPdf() {
    const std::vector<std::string> contents = {firstPage(), secondPage(), thirdPage()};
    PdfLayout layout = reader::fixtures::pagesPdf(contents, "0 0 595 842");
    // Every page shares one resource dictionary: the four fonts and the photograph.
    const std::string resources = "/Resources 30 0 R";
    for (size_t i = 0; i < contents.size(); ++i) {
        layout.objects[2 + 2 * i].body = "<< /Type /Page /Parent 2 0 R " + resources +
                                         " /Contents " + std::to_string(4 + 2 * i) + " 0 R >>";
    }
    layout.objects.push_back({30,
                              "<< /Font << /F1 31 0 R /F2 32 0 R /F3 33 0 R /F4 34 0 R >> "
                              "/XObject << /Im1 35 0 R >> >>"});
    layout.objects.push_back({31, "<< /Type /Font /Subtype /TrueType /BaseFont /#CB#CE#CC#E5 >>"});
    layout.objects.push_back({32, "<< /Type /Font /Subtype /TrueType /BaseFont /#BA#DA#CC#E5 >>"});
    layout.objects.push_back({33, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"});
    layout.objects.push_back({34, "<< /Type /Font /Subtype /Type1 /BaseFont /Times-Bold >>"});
    const std::vector<uint8_t> photo = landscapeJpeg();
    layout.objects.push_back(
        {35, reader::fixtures::streamBody(
                 "/Type /XObject /Subtype /Image /Width " + std::to_string(kPhotoWidth) +
                     " /Height " + std::to_string(kPhotoHeight) +
                     " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /DCTDecode",
                 std::string_view(reinterpret_cast<const char*>(photo.data()), photo.size()))});
    layout.objects.push_back({36, "<< /Title (Demo article) /Producer (make_samples) >>"});
    layout.trailerExtra = "/Info 36 0 R";
    return reader::fixtures::buildPdf(layout);
}

std::vector<DirItem> demoPdfCatalog() {
    struct Entry {
        const char* title;
        int page;
        int level;
    };
    const Entry entries[] = {{"1  引言", 1, 1},       {"1.1  研究背景", 1, 2},
                             {"2  页面与图像", 2, 1}, {"2.1  嵌入的照片", 2, 2},
                             {"2.2  矢量图形", 2, 2}, {"3  表格与结论", 3, 1},
                             {"3.1  结论", 3, 2},     {"参考文献", 3, 1}};
    std::vector<DirItem> items;
    for (const Entry& entry : entries) {
        DirItem item{};
        const std::string title = toGb2312(entry.title);
        std::memcpy(item.title, title.data(), std::min(title.size(), sizeof item.title - 1));
        std::snprintf(item.pageNumber, sizeof item.pageNumber, "%d", entry.page);
        item.level = entry.level;
        items.push_back(item);
    }
    return items;
}

}  // namespace samples
