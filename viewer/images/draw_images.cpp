// Draws the viewer's toolbar images and mouse-tool cursors as PNG files into the folder given:
//   draw_viewer_images viewer/images
// The build uses the committed PNGs; run this only to change them. Icons are drawn on an 18-unit
// grid, once at one pixel a unit and once at two; lines sit on half units so both come out sharp.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cstdio>

namespace {

const QColor kOutline(0x3b, 0x3f, 0x45);
const QColor kAccent(0x2a, 0x6e, 0xbb);
const QColor kAccentLight(0xc4, 0xda, 0xf3);
const QColor kPaper(Qt::white);
const QColor kTextLine(0x8d, 0x93, 0x9b);
const QColor kMachine(0x6b, 0x71, 0x78);
const QColor kCursorInk(0x14, 0x14, 0x14);

QPen pen(const QColor& colour, qreal width = 1, Qt::PenCapStyle cap = Qt::FlatCap) {
    return QPen(colour, width, Qt::SolidLine, cap, Qt::MiterJoin);
}

void shape(QPainter& p, const QPolygonF& outline, const QColor& fill) {
    p.setPen(pen(kOutline));
    p.setBrush(fill);
    p.drawPolygon(outline);
}

// A sheet of paper with its top right corner turned down.
void page(QPainter& p, const QRectF& r, qreal fold = 3) {
    shape(p,
          {r.topLeft(),
           {r.right() - fold, r.top()},
           {r.right(), r.top() + fold},
           r.bottomRight(),
           r.bottomLeft()},
          kPaper);
    shape(p,
          {{r.right() - fold, r.top()},
           {r.right() - fold, r.top() + fold},
           {r.right(), r.top() + fold}},
          kAccentLight);
}

// Lines of text, one unit high and two apart, starting at row `top`.
void textLines(QPainter& p, int left, int top, int width, int count, const QColor& colour) {
    for (int i = 0; i < count; ++i) {
        p.fillRect(QRect(left, top + 2 * i, width - (i % 2) * 2, 1), colour);
    }
}

// A rectangle's border of two-unit dashes on whole units.
void dashedFrame(QPainter& p, const QRect& r, const QColor& colour) {
    for (int x = r.left(); x <= r.right(); x += 4) {
        const int w = std::min(2, r.right() - x + 1);
        p.fillRect(QRect(x, r.top(), w, 1), colour);
        p.fillRect(QRect(x, r.bottom(), w, 1), colour);
    }
    for (int y = r.top(); y <= r.bottom(); y += 4) {
        const int h = std::min(2, r.bottom() - y + 1);
        p.fillRect(QRect(r.left(), y, 1, h), colour);
        p.fillRect(QRect(r.right(), y, 1, h), colour);
    }
}

// A lens centred on `centre` with its handle running down to the right as far as `handleEnd`.
void magnifier(QPainter& p, QPointF centre, qreal radius, qreal ring, QPointF handleEnd,
               qreal handle, const QColor& ink) {
    const QPointF handleStart = centre + QPointF(radius, radius) * 0.7;
    p.setPen(pen(ink, handle, Qt::RoundCap));
    p.drawLine(handleStart, handleEnd);
    p.setPen(pen(ink, ring));
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(centre, radius, radius);
}

// A hand in a 16-unit box: fingers drawn one by one so each one's outline shows over its
// neighbour, then the palm, whose outline is taken away again where the fingers join it.
struct Digit {
    QPointF base, tip;
};

void hand(QPainter& p, const QList<Digit>& digits, qreal outline, const QColor& ink) {
    constexpr qreal kFinger = 2.2;
    const QRectF palm(3.5, 7.5, 9, 7);
    for (const Digit& d : digits) {
        p.setPen(pen(ink, kFinger + 2 * outline, Qt::RoundCap));
        p.drawLine(d.base, d.tip);
        p.setPen(pen(kPaper, kFinger, Qt::RoundCap));
        p.drawLine(d.base, d.tip);
    }
    p.setPen(pen(ink, outline));
    p.setBrush(kPaper);
    p.drawRoundedRect(palm, 2.5, 2.5);
    p.save();
    const qreal edge = outline / 2 + 0.1;
    p.setClipRect(palm.adjusted(-edge, -edge, edge, edge));
    p.setPen(pen(kPaper, kFinger, Qt::RoundCap));
    for (const Digit& d : digits) {
        p.drawLine(d.base, d.tip);
    }
    p.restore();
}

// Four fingers, then the thumb.
const QList<Digit> kFingersSpread = {{{5, 9}, {4.2, 3.6}},
                                     {{7.2, 9}, {7, 2.6}},
                                     {{9.4, 9}, {9.8, 3}},
                                     {{11.4, 9.5}, {12.6, 5.2}},
                                     {{5, 12}, {1.8, 8.8}}};
const QList<Digit> kFingersCurled = {{{5, 9}, {5, 6.4}},
                                     {{7.2, 9}, {7.2, 5.8}},
                                     {{9.4, 9}, {9.4, 6}},
                                     {{11.4, 9.5}, {11.5, 6.8}},
                                     {{5, 12}, {3, 10.2}}};

void mirrored(QPainter& p, void (*draw)(QPainter&)) {
    p.save();
    p.translate(18, 0);
    p.scale(-1, 1);
    draw(p);
    p.restore();
}

// --- Toolbar icons ---

void drawOpen(QPainter& p) {
    shape(p, {{1.5, 14.5}, {1.5, 2.5}, {6.5, 2.5}, {8.5, 4.5}, {14.5, 4.5}, {14.5, 14.5}},
          kAccentLight);
    shape(p, {{1.5, 14.5}, {4.5, 7.5}, {17.5, 7.5}, {14.5, 14.5}}, kAccent);
}

void drawSaveAs(QPainter& p) {
    p.setPen(pen(kOutline));
    p.setBrush(kAccent);
    p.drawRect(QRectF(1.5, 1.5, 12, 12));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 6, 4));
    p.fillRect(QRect(8, 2, 2, 3), kOutline);
    p.drawRect(QRectF(3.5, 8.5, 8, 5));
    textLines(p, 5, 10, 5, 2, kTextLine);
    // The arrow leads out of the disk's corner, edged in white so it reads over the disk.
    const QPolygonF arrow = {{9, 14},    {13, 14}, {13, 11.5}, {17, 15},
                             {13, 18.5}, {13, 16}, {9, 16}};
    p.setPen(pen(kPaper, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(arrow);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawPolygon(arrow);
}

void drawCopy(QPainter& p) {
    p.setPen(pen(kOutline));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 1.5, 9, 11));
    textLines(p, 3, 4, 6, 3, kTextLine);
    page(p, QRectF(6.5, 5.5, 9, 11));
    textLines(p, 8, 9, 6, 3, kAccent);
}

void drawPrint(QPainter& p) {
    p.setPen(pen(kOutline));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 9, 6));
    p.setBrush(kMachine);
    p.drawRoundedRect(QRectF(1.5, 6.5, 15, 7), 1.5, 1.5);
    p.fillRect(QRect(13, 8, 2, 1), kAccentLight);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 10.5, 9, 6));
    textLines(p, 6, 12, 6, 2, kAccent);
}

void drawDrag(QPainter& p) {
    p.translate(1, 1);
    hand(p, kFingersSpread, 1, kOutline);
}

void drawSelectText(QPainter& p) {
    p.setPen(pen(kAccent, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{1.5, 16}, {5.5, 3.5}, {9.5, 16}});
    p.drawLine(QPointF(3.2, 11.5), QPointF(7.8, 11.5));
    p.fillRect(QRect(13, 2, 1, 14), kOutline);
    p.fillRect(QRect(11, 1, 2, 1), kOutline);
    p.fillRect(QRect(14, 1, 2, 1), kOutline);
    p.fillRect(QRect(11, 16, 2, 1), kOutline);
    p.fillRect(QRect(14, 16, 2, 1), kOutline);
}

void drawCopyArea(QPainter& p) {
    dashedFrame(p, QRect(1, 2, 16, 14), kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentLight);
    p.drawEllipse(QPointF(12.5, 6.5), 1.8, 1.8);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF{{3, 13}, {7, 7}, {10, 11}, {12, 9}, {15, 13}});
}

void drawZoomIn(QPainter& p) {
    magnifier(p, {7, 7}, 5.5, 1.5, {15.5, 15.5}, 3, kOutline);
    p.fillRect(QRect(4, 6, 6, 2), kAccent);
    p.fillRect(QRect(6, 4, 2, 6), kAccent);
}

void drawZoomOut(QPainter& p) {
    magnifier(p, {7, 7}, 5.5, 1.5, {15.5, 15.5}, 3, kOutline);
    p.fillRect(QRect(4, 6, 6, 2), kAccent);
}

void drawOriginalSize(QPainter& p) {
    page(p, QRectF(2.5, 1.5, 13, 15));
    for (int x : {4, 11}) {  // the two ones
        p.fillRect(QRect(x + 1, 6, 2, 7), kAccent);
        p.fillRect(QRect(x, 7, 1, 1), kAccent);
    }
    p.fillRect(QRect(8, 7, 2, 2), kAccent);
    p.fillRect(QRect(8, 11, 2, 2), kAccent);
}

void drawFitHeight(QPainter& p) {
    page(p, QRectF(3.5, 1.5, 11, 15));
    p.fillRect(QRect(8, 5, 2, 8), kAccent);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF{{5.5, 6}, {12.5, 6}, {9, 2.5}});
    p.drawPolygon(QPolygonF{{5.5, 12}, {12.5, 12}, {9, 15.5}});
}

void drawFitWidth(QPainter& p) {
    page(p, QRectF(3.5, 1.5, 11, 15));
    p.fillRect(QRect(4, 8, 10, 2), kAccent);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF{{4.5, 5}, {4.5, 13}, {0.5, 9}});
    p.drawPolygon(QPolygonF{{13.5, 5}, {13.5, 13}, {17.5, 9}});
}

void drawPreviousPage(QPainter& p) { shape(p, {{12.5, 2.5}, {12.5, 15.5}, {4.5, 9}}, kAccent); }

void drawNextPage(QPainter& p) { mirrored(p, drawPreviousPage); }

void drawFirstPage(QPainter& p) {
    p.setPen(pen(kOutline));
    p.setBrush(kAccent);
    p.drawRect(QRectF(2.5, 2.5, 2, 13));
    shape(p, {{15.5, 2.5}, {15.5, 15.5}, {6.5, 9}}, kAccent);
}

void drawLastPage(QPainter& p) { mirrored(p, drawFirstPage); }

void drawGoToPage(QPainter& p) {
    page(p, QRectF(2.5, 1.5, 13, 15));
    for (int x : {7, 10}) {
        p.fillRect(QRect(x, 6, 1, 9), kAccent);
    }
    for (int y : {8, 12}) {
        p.fillRect(QRect(5, y, 8, 1), kAccent);
    }
}

void drawSelectRectangle(QPainter& p) {
    dashedFrame(p, QRect(1, 1, 16, 16), kOutline);
    p.fillRect(QRect(5, 5, 8, 2), kAccent);
    p.fillRect(QRect(8, 7, 2, 7), kAccent);
}

void drawBackgroundColour(QPainter& p) {
    p.setPen(pen(kOutline));
    p.setBrush(kAccentLight);
    p.drawRect(QRectF(1.5, 1.5, 11, 15));
    textLines(p, 3, 4, 8, 6, kOutline);
    QPainterPath drop;
    drop.moveTo(14.5, 7.5);
    drop.cubicTo(15.5, 9.5, 17.5, 11, 17.5, 13.5);
    drop.arcTo(QRectF(11.5, 10.5, 6, 6), 0, -180);
    drop.cubicTo(11.5, 11, 13.5, 9.5, 14.5, 7.5);
    p.setPen(pen(kOutline));
    p.setBrush(kAccent);
    p.drawPath(drop);
}

void drawFind(QPainter& p) {
    page(p, QRectF(1.5, 1.5, 10, 14));
    textLines(p, 3, 5, 5, 5, kTextLine);
    magnifier(p, {11, 10}, 3.8, 1.5, {16.5, 16.5}, 2.5, kOutline);
}

// A globe with a magnifier over it: asking the knowledge service.
void drawKnowledge(QPainter& p) {
    const QPointF centre(7.5, 7.5);
    p.setPen(pen(kOutline));
    p.setBrush(kAccentLight);
    p.drawEllipse(centre, 6, 6);
    p.setPen(pen(kAccent));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 2.5, 6);
    p.drawLine(QPointF(1.5, 7.5), QPointF(13.5, 7.5));
    p.drawLine(QPointF(2.5, 4.5), QPointF(12.5, 4.5));
    p.drawLine(QPointF(2.5, 10.5), QPointF(12.5, 10.5));
    magnifier(p, {12.5, 12.5}, 2.8, 1.3, {17, 17}, 2.2, kOutline);
}

void drawExit(QPainter& p) {
    p.setPen(pen(kOutline));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 1.5, 9, 15));
    shape(p, {{2.5, 1.5}, {7.5, 3.5}, {7.5, 16.5}, {2.5, 16.5}}, kAccent);
    p.fillRect(QRect(6, 9, 1, 2), kPaper);
    p.fillRect(QRect(9, 8, 4, 2), kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawPolygon(QPolygonF{{12.5, 5}, {17, 9}, {12.5, 13}});
}

void drawAbout(QPainter& p) {
    p.setPen(pen(kOutline));
    p.setBrush(kAccent);
    p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
    p.fillRect(QRect(8, 4, 2, 2), kPaper);
    p.fillRect(QRect(8, 7, 2, 7), kPaper);
    p.fillRect(QRect(7, 7, 1, 1), kPaper);
    p.fillRect(QRect(7, 13, 4, 1), kPaper);
}

void drawFullWindow(QPainter& p) {
    p.setPen(pen(kAccent));
    p.setBrush(kAccentLight);
    p.drawRect(QRectF(6.5, 6.5, 5, 5));
    for (int turn = 0; turn < 4; ++turn) {
        p.save();
        p.translate(9, 9);
        p.rotate(90 * turn);
        p.translate(-9, -9);
        p.setPen(pen(kOutline, 1.5));
        p.drawLine(QPointF(5.5, 5.5), QPointF(3, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(kOutline);
        p.drawPolygon(QPolygonF{{1, 1}, {6, 1}, {1, 6}});
        p.restore();
    }
}

struct Icon {
    const char* name;
    void (*draw)(QPainter&);
};

// The contents pane's images, 16 units square: the root, an entry, and an entry selected.
void drawContentsRoot(QPainter& p) {
    shape(p, {{2.5, 2.5}, {12.5, 2.5}, {12.5, 13.5}, {2.5, 13.5}}, kAccent);
    p.fillRect(QRectF(3, 12, 10, 1.5), kPaper);
    p.setPen(pen(kOutline));
    p.drawLine(QPointF(13.5, 4), QPointF(13.5, 14.5));
    p.drawLine(QPointF(4, 14.5), QPointF(13.5, 14.5));
    p.fillRect(QRectF(5, 5, 6, 1), kAccentLight);
    p.fillRect(QRectF(5, 7, 4, 1), kAccentLight);
}

void drawContentsEntry(QPainter& p) {
    page(p, QRectF(3.5, 1.5, 9, 13));
    textLines(p, 5, 5, 6, 4, kTextLine);
}

void drawContentsEntrySelected(QPainter& p) {
    page(p, QRectF(3.5, 1.5, 9, 13));
    p.fillRect(QRectF(4, 4, 8, 8), kAccentLight);
    textLines(p, 5, 5, 6, 4, kAccent);
}

const Icon kContentsImages[] = {
    {"contents-root", drawContentsRoot},
    {"contents-entry", drawContentsEntry},
    {"contents-entry-selected", drawContentsEntrySelected},
};

const Icon kIcons[] = {
    {"open", drawOpen},
    {"save-as", drawSaveAs},
    {"copy", drawCopy},
    {"print", drawPrint},
    {"drag", drawDrag},
    {"select-text", drawSelectText},
    {"copy-area", drawCopyArea},
    {"zoom-in", drawZoomIn},
    {"zoom-out", drawZoomOut},
    {"original-size", drawOriginalSize},
    {"fit-height", drawFitHeight},
    {"fit-width", drawFitWidth},
    {"first-page", drawFirstPage},
    {"previous-page", drawPreviousPage},
    {"next-page", drawNextPage},
    {"last-page", drawLastPage},
    {"go-to-page", drawGoToPage},
    {"select-rectangle", drawSelectRectangle},
    {"background-colour", drawBackgroundColour},
    {"find", drawFind},
    {"knowledge", drawKnowledge},
    {"exit", drawExit},
    {"about", drawAbout},
    {"full-window", drawFullWindow},
};

// --- Cursors, 32 pixels, one unit a pixel unless scaled ---

// Figures of two-pixel strokes on a 6 by 9 grid, for the text cursors' point numbers.
void figure(QPainter& p, QPoint origin, const char* const (&rows)[9], const QColor& colour) {
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; rows[y][x]; ++x) {
            if (rows[y][x] == '#') {
                p.fillRect(QRect(origin.x() + x, origin.y() + y, 1, 1), colour);
            }
        }
    }
}

const char* const kOne[9] = {"..##..", ".###..", "####..", "..##..", "..##..",
                             "..##..", "..##..", "..##..", "######"};
const char* const kTwo[9] = {".####.", "##..##", "....##", "...##.", "..##..",
                             ".##...", "##....", "##....", "######"};

void zoomCursor(QPainter& p) { magnifier(p, {12, 12}, 8.5, 2, {27, 27}, 4, kCursorInk); }

void drawCursorZoomIn(QPainter& p) {
    zoomCursor(p);
    p.fillRect(QRect(7, 11, 10, 2), kCursorInk);
    p.fillRect(QRect(11, 7, 2, 10), kCursorInk);
}

void drawCursorZoomOut(QPainter& p) {
    zoomCursor(p);
    p.fillRect(QRect(7, 11, 10, 2), kCursorInk);
}

void drawCursorDragUp(QPainter& p) {
    p.scale(2, 2);
    hand(p, kFingersSpread, 0.8, kCursorInk);
}

void drawCursorDragDown(QPainter& p) {
    p.scale(2, 2);
    hand(p, kFingersCurled, 0.8, kCursorInk);
}

void textCursor(QPainter& p) {
    p.fillRect(QRect(11, 6, 2, 20), kCursorInk);
    p.fillRect(QRect(8, 4, 8, 2), kCursorInk);
    p.fillRect(QRect(8, 26, 8, 2), kCursorInk);
}

void drawCursorTextFirst(QPainter& p) {
    textCursor(p);
    figure(p, {19, 19}, kOne, kAccent);
}

void drawCursorTextSecond(QPainter& p) {
    textCursor(p);
    figure(p, {19, 19}, kTwo, kAccent);
}

void drawCursorArea(QPainter& p) {
    for (const QRect& arm : {QRect(1, 15, 11, 1), QRect(19, 15, 11, 1), QRect(15, 1, 1, 11),
                             QRect(15, 19, 1, 11), QRect(15, 15, 1, 1)}) {
        p.fillRect(arm, kCursorInk);
    }
    dashedFrame(p, QRect(19, 19, 10, 8), kAccent);
}

const Icon kCursors[] = {
    {"cursor-zoom-in", drawCursorZoomIn},
    {"cursor-zoom-out", drawCursorZoomOut},
    {"cursor-drag-up", drawCursorDragUp},
    {"cursor-drag-down", drawCursorDragDown},
    {"cursor-text-first", drawCursorTextFirst},
    {"cursor-text-second", drawCursorTextSecond},
    {"cursor-area", drawCursorArea},
};

QImage render(void (*draw)(QPainter&), int size, qreal scale) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    draw(p);
    return image;
}

// A one-pixel white rim around everything drawn, so a cursor shows on dark pages too.
QImage withRim(const QImage& drawing) {
    QImage silhouette = drawing;
    {
        QPainter p(&silhouette);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(silhouette.rect(), Qt::white);
    }
    QImage result(drawing.size(), drawing.format());
    result.fill(Qt::transparent);
    QPainter p(&result);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            p.drawImage(dx, dy, silhouette);
        }
    }
    p.drawImage(0, 0, drawing);
    return result;
}

bool save(const QImage& image, const QString& path) {
    if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (const Icon& icon : kIcons) {
        const QString name = QString::fromLatin1(icon.name);
        ok &= save(render(icon.draw, 18, 1), out.filePath(name + ".png"));
        ok &= save(render(icon.draw, 36, 2), out.filePath(name + "@2x.png"));
    }
    for (const Icon& image : kContentsImages) {
        const QString name = QString::fromLatin1(image.name);
        ok &= save(render(image.draw, 16, 1), out.filePath(name + ".png"));
        ok &= save(render(image.draw, 32, 2), out.filePath(name + "@2x.png"));
    }
    for (const Icon& cursor : kCursors) {
        ok &= save(withRim(render(cursor.draw, 32, 1)),
                   out.filePath(QString::fromLatin1(cursor.name) + ".png"));
    }
    return ok ? 0 : 1;
}
