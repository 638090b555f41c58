#include "article.h"

#include "figures.h"
#include "gb_text.h"
#include "page_composer.h"

namespace samples {

namespace {

constexpr uint16_t kLeft = 620, kRight = 5516;
constexpr uint16_t kBodySize = 5, kBodyPitch = 180;

// Picture boxes in page units: 742 units to the inch, the pictures at 300 dots per inch.
constexpr uint16_t pageUnits(int pixels) { return uint16_t(pixels * 742 / 300); }

void runningHead(PageComposer& page, const char* pageNumber) {
    page.font(kSong, 3);
    page.text(kLeft, 380, "中文学术期刊");
    page.flushRight(380, kRight, "2026年12月  第38卷  第12期");
    page.rule(kDouble, kLeft, 500, kRight, 500);
    page.heavyRule(kPlain, kLeft, 8250, kRight, 8250);
    page.font(kSong, 4);
    page.centred(8330, kLeft, kRight, pageNumber);
}

void heading(PageComposer& page, uint16_t y, const char* text) {
    page.font(kHei, 7);
    page.text(kLeft, y, text);
}

void subheading(PageComposer& page, uint16_t y, const char* text) {
    page.font(kHei, 5);
    page.text(kLeft, y, text);
}

uint16_t body(PageComposer& page, uint16_t y, const char* text) {
    page.font(kSong, kBodySize);
    return page.paragraph(y, kLeft, kRight, kBodyPitch, text);
}

// c = √(a² + b²), numbered (1), with the radical drawn over the box of its operand.
void distanceFormula(PageComposer& page, uint16_t y) {
    // The exponents are raised by 40, which the engine draws as 60 page units; the radical's
    // bar runs a little above their cells and its sign reaches 120 below the line's top.
    constexpr int16_t kExponentRaise = -40;
    const int exponentTop = y + PageComposer::drawnRaise(kExponentRaise);
    const auto barY = uint16_t(exponentTop - 12);
    page.font(kSong, kBodySize);
    uint16_t x = page.text(2300, y, "c = ");
    const uint16_t boxLeft = uint16_t(x + 90);
    x = page.text(boxLeft, y, "a");
    page.font(kSong, 2);
    page.raiseNext(kExponentRaise);
    x = page.text(x, y, "2");
    page.font(kSong, kBodySize);
    x = page.text(uint16_t(x + 20), y, "+ b");
    page.font(kSong, 2);
    page.raiseNext(kExponentRaise);
    x = page.text(x, y, "2");
    // The sign's stroke meets the bar a fifth of its height right of the radical's x, so the
    // radical starts that far left of the operand.
    const auto height = uint16_t(y + 120 - barY);
    const auto signX = uint16_t(boxLeft - height / 5);
    page.radical(signX, barY, uint16_t(x - signX + 20), height);
    page.font(kSong, kBodySize);
    page.flushRight(y, kRight, "(1)");
}

// |x| defined by cases, the cases held by a brace.
void casesFormula(PageComposer& page, uint16_t y) {
    page.font(kSong, kBodySize);
    const uint16_t x = page.text(2100, uint16_t(y + 90), "f(x) = ");
    page.bracket(3, uint16_t(x + 60), uint16_t(y - 10), uint16_t(x + 60), uint16_t(y + 300));
    page.text(uint16_t(x + 160), y, "x，    x ≥ 0");
    page.text(uint16_t(x + 160), uint16_t(y + 180), "-x，   x < 0");
    page.flushRight(uint16_t(y + 90), kRight, "(2)");
}

vyn::fixtures::PageLayout firstPage() {
    PageComposer page;
    runningHead(page, "· 1 ·");

    page.font(kHei, 11);
    page.centred(760, kLeft, kRight, "页面字流的绘制与全文检索");
    page.font(kKai, 6);
    page.centred(1130, kLeft, kRight, "张  明    李小华    王  芳");
    page.font(kSong, 3);
    page.centred(1330, kLeft, kRight, "（北方大学 信息科学与技术学院，北京 100084）");

    // The abstract in a frame.
    page.frame(kLeft, 1500, kRight - kLeft, 820);
    page.font(kHei, 4);
    page.text(kLeft + 100, 1580, "摘要：");
    page.font(kKai, 4);
    page.paragraph(
        1580, kLeft + 100, kRight - 100, 150,
        "    本文介绍一种汉字排版文档的阅读方法。页面以字流形式保存，字流中的每个字"
        "都带有位置，命令字设定行位置、字体与字号，另有线条、边框、括号、根号等版面"
        "元素以及嵌入的图片。阅读器逐字解释字流，把页面单位换算为设备像素，再用系统"
        "字体绘出文字。实验表明，该方法每页绘制时间不足10ms，并能按原样打印与检索全文。");
    page.font(kHei, 4);
    page.text(kLeft + 100, 2180, "关键词：");
    page.font(kKai, 4);
    page.text(kLeft + 100 + 4 * PageComposer::cellOf(4), 2180,
              "字流；排版；全文检索；简繁转换；VYN");
    page.rule(kThickThin, kLeft, 2420, kRight, 2420);

    heading(page, 2560, "1  引言");
    uint16_t y = body(page, 2800,
                      "学术期刊与学位论文大量以排版系统的输出形式保存。与通用的页面描述格式不同，"
                      "这类文件不记录字形轮廓，只记录每个字的编码、位置和字号，由阅读端选用合适的"
                      "字体绘出。这样的文件体积小，一篇十页的论文通常只有几十KB，适合在网络上传播。"
                      "本文所述的阅读器支持VYN与QD两种格式，页面宽度以每英寸742个单位计量，字号"
                      "以每英寸289个单位计量。设页面上一点到原点的水平距离为a，垂直距离为b，则");
    distanceFormula(page, uint16_t(y + 40));
    y = body(page, uint16_t(y + 280), "绝对值函数可以写成分段的形式：");
    casesFormula(page, uint16_t(y + 20));

    // The figure and the photo side by side, with their captions.
    const uint16_t figureTop = uint16_t(y + 440);
    page.picture(kLeft + 60, figureTop, pageUnits(kChartWidth), pageUnits(kChartHeight),
                 "FIG1.PIC");
    const uint16_t photoWidth = pageUnits(kPhotoWidth) * 3 / 4;
    const uint16_t photoHeight = pageUnits(kPhotoHeight) * 3 / 4;
    page.picture(uint16_t(kRight - photoWidth - 60), figureTop, photoWidth, photoHeight,
                 "FIG2.JPG");
    const uint16_t captionY = uint16_t(figureTop + pageUnits(kChartHeight) + 60);
    page.font(kKai, 4);
    page.centred(captionY, kLeft, 3000, "图1  字流元素的分布");
    page.centred(captionY, uint16_t(kRight - photoWidth - 60), kRight - 60, "图2  嵌入的照片");

    y = body(page, uint16_t(captionY + 230),
             "图1给出了一页中各类元素所占的比例，图2是一张嵌入页面的照片。对于扫描页面，"
             "阅读器按300dpi的分辨率解码一位图像，缩小显示时先转换为灰度，因此文字边缘依然"
             "清晰。照片以JPEG格式保存，绘制时按页面上的位置与大小缩放。");
    body(page, y,
         "绘制一页时，阅读器先按屏幕的分辨率与缩放比例算出页面的像素大小，再逐项处理字流："
         "行位置命令改变当前行，字体命令改变字体与字号，字符按坐标绘出，线条与边框用一像素"
         "或更宽的画笔绘出。字体只在状态改变时重新选择，所以同一字体的一段文字只需创建一次"
         "字体。显示为繁体时，每个字在绘制前由GB2312转换为Big5编码，页面的排版位置不变。");

    // A footnote under a short dotted rule.
    page.rule(kDotted, kLeft, 7880, 2200, 7880);
    page.font(kSong, 2);
    page.text(kLeft, 7960, "收稿日期：2026-10-08；基金项目：国家自然科学基金（61234567）");
    page.text(kLeft, 8070, "作者简介：张明（1980-），男，教授，主要研究方向为中文信息处理。");

    vyn::fixtures::PageLayout layout;
    layout.words = page.finish();
    layout.printedNumber = 1;
    layout.pictures = {{0, codedChart()}, {1, landscapeJpeg()}};
    return layout;
}

// Three boxes joined by arrows, with a tick under the last one.
void flowDiagram(PageComposer& page, uint16_t y) {
    const char* steps[] = {"读取字流", "解释命令", "绘制字符"};
    page.font(kSong, 4);
    const uint16_t boxWidth = 900, boxHeight = 240;
    for (int i = 0; i < 3; ++i) {
        const uint16_t left = uint16_t(kLeft + 300 + i * 1500);
        page.cornerFrame(left, y, uint16_t(left + boxWidth), uint16_t(y + boxHeight));
        page.centred(uint16_t(y + 70), left, uint16_t(left + boxWidth), steps[i]);
        if (i < 2) {
            page.rule(kArrow, uint16_t(left + boxWidth + 60), uint16_t(y + boxHeight / 2),
                      uint16_t(left + 1440), uint16_t(y + boxHeight / 2));
        }
    }
    page.ellipse(kLeft + 150, uint16_t(y + boxHeight / 2), 100, 70);
    page.checkMark(uint16_t(kLeft + 300 + 3000 + boxWidth + 80), uint16_t(y + 60), 120);
}

// A table of three columns framed, its head set off by a triple rule.
uint16_t commandTable(PageComposer& page, uint16_t y) {
    const char* rows[][3] = {{"命令", "含义", "操作数"},
                             {"8001", "行位置", "1"},
                             {"8002", "字体与字号", "1"},
                             {"8006", "线条", "5或7"},
                             {"800A", "图片", "13"}};
    const uint16_t left = 1300, right = 4836, rowHeight = 200;
    const uint16_t columns[] = {left, 2300, 3900, right};
    const uint16_t bottom = uint16_t(y + 5 * rowHeight);
    page.cornerFrame(left, y, right, bottom);
    page.rule(kTriple, left, uint16_t(y + rowHeight), right, uint16_t(y + rowHeight));
    for (uint16_t r = 2; r < 5; ++r) {
        page.rule(kDotted, left, uint16_t(y + r * rowHeight), right, uint16_t(y + r * rowHeight));
    }
    for (int c = 1; c < 3; ++c) {
        page.rule(kPlain, columns[c], y, columns[c], bottom);
    }
    for (int r = 0; r < 5; ++r) {
        page.font(r == 0 ? kHei : kSong, 4);
        for (int c = 0; c < 3; ++c) {
            page.centred(uint16_t(y + r * rowHeight + 55), columns[c], columns[c + 1], rows[r][c]);
        }
    }
    page.font(kKai, 4);
    page.centred(uint16_t(bottom + 60), kLeft, kRight, "表1  常用命令字");
    return uint16_t(bottom + 300);
}

vyn::fixtures::PageLayout secondPage() {
    PageComposer page;
    runningHead(page, "· 2 ·");

    heading(page, 640, "2  方法");
    subheading(page, 880, "2.1  页面字流");
    uint16_t y = body(page, 1100,
                      "页面字流是一串16位的字。小于8000H的字是下一个字符的横坐标，其后紧跟该字符"
                      "的双字节编码；不小于8000H的字是命令，其后是数目固定的操作数。阅读器读到"
                      "页末命令或字数用完时停止。");
    subheading(page, uint16_t(y + 40), "2.1.1  字符与命令");
    y = body(page, uint16_t(y + 260),
             "表1列出了几个常用的命令字。线条命令给出线型与两个端点，边框命令给出宽度、高度"
             "与左上角，括号与根号按给定的矩形绘出。图片命令记下图片的位置与名称，图片本身"
             "保存在页面数据之后。");
    y = commandTable(page, uint16_t(y + 60));
    flowDiagram(page, y);
    y = uint16_t(y + 400);

    subheading(page, y, "2.2  检索");
    y = body(page, uint16_t(y + 220),
             "检索时阅读器用同一个字符扫描器逐页取出文字，跳过空格，把找到的字在页面上标记"
             "出来。简体页面可以转换为繁体显示，转换在绘制每个字之前进行，不改变文件内容。");
    heading(page, uint16_t(y + 60), "3  结论");
    y = body(page, uint16_t(y + 300),
             "本文的阅读器能够准确绘出排版文档的各类元素，并支持选择、复制、检索与打印。"
             "今后的工作包括竖排页面的支持与更多字体的映射。");

    heading(page, uint16_t(y + 60), "参考文献");
    page.font(kSong, 3);
    const uint16_t refs = uint16_t(y + 300);
    page.text(kLeft, refs,
              "[1] 张明，李小华. 汉字排版系统的字流格式[J]. 计算机学报，2019，42(3)：15-22.");
    page.text(kLeft, uint16_t(refs + 140),
              "[2] Smith J, Wang F. Typesetting Chinese text for the screen[M]. Beijing: "
              "Science Press, 2020.");
    page.text(kLeft, uint16_t(refs + 280),
              "[3] 王芳. 扫描文档的二值图像压缩[D]. 北京：北方大学，2021.");

    vyn::fixtures::PageLayout layout;
    layout.words = page.finish();
    layout.printedNumber = 2;
    return layout;
}

}  // namespace

vyn::fixtures::DocumentLayout demoArticle(bool qd) {
    vyn::fixtures::DocumentLayout desc;
    desc.qd = qd;
    desc.version = 400;
    desc.docType = 2;
    desc.width = kPageWidth;
    desc.height = kPageHeight;
    desc.pages = {firstPage(), secondPage()};
    desc.contents = {
        {toGb2312("1 引言"), "", "1", 1},       {toGb2312("2 方法"), "", "2", 1},
        {toGb2312("2.1 页面字流"), "", "2", 2}, {toGb2312("2.1.1 字符与命令"), "", "2", 3},
        {toGb2312("2.2 检索"), "", "2", 2},     {toGb2312("3 结论"), "", "2", 1},
        {toGb2312("参考文献"), "", "2", 1}};
    return desc;
}

}  // namespace samples
