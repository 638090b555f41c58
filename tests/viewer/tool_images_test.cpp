// The toolbar images and mouse-tool cursors: each is built into the program, drawn at its
// sizes, and none is mistaken for another.
#include "tool_images.h"

#include <QApplication>
#include <QPixmap>
#include <QTest>

using namespace viewer;

namespace {

constexpr CommandId kToolbarCommands[] = {
    CommandId::FileOpen,
    CommandId::FileSaveAs,
    CommandId::EditCopy,
    CommandId::FilePrint,
    CommandId::DragTool,
    CommandId::SelectTool,
    CommandId::CopyBitmap,
    CommandId::ZoomInTool,
    CommandId::ZoomOutTool,
    CommandId::OriginalSize,
    CommandId::FitHeight,
    CommandId::FitWidth,
    CommandId::FirstPage,
    CommandId::PreviousPage,
    CommandId::NextPage,
    CommandId::LastPage,
    CommandId::GoToPage,
    CommandId::RectangleSelection,
    CommandId::BackgroundColour,
    CommandId::EditFind,
    CommandId::Exit,
    CommandId::About,
    CommandId::FullWindow,
};

constexpr ToolCursor kCursors[] = {
    ToolCursor::ZoomIn,   ToolCursor::ZoomOut,        ToolCursor::DragUp,
    ToolCursor::DragDown, ToolCursor::TextFirstPoint, ToolCursor::TextSecondPoint,
    ToolCursor::Area,
};

// Something drawn on a transparent ground: some pixels clear, some solid.
bool isDrawing(const QImage& image) {
    bool clear = false;
    bool solid = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            clear |= alpha == 0;
            solid |= alpha == 255;
        }
    }
    return clear && solid;
}

// The pairs of images that are the same, by their labels.
QStringList repeats(const QList<QImage>& images, const QStringList& labels) {
    QStringList same;
    for (int i = 0; i < images.size(); ++i) {
        for (int j = i + 1; j < images.size(); ++j) {
            if (images[i] == images[j]) {
                same.append(labels[i] + " = " + labels[j]);
            }
        }
    }
    return same;
}

}  // namespace

class ToolImagesTest : public QObject {
    Q_OBJECT

  private slots:
    void toolbarIconsAtBothDensities() {
        QList<QImage> normal;
        QList<QImage> dense;
        QStringList labels;
        for (CommandId id : kToolbarCommands) {
            const QIcon icon = commandIcon(id);
            const QPixmap small = icon.pixmap(QSize(18, 18), 1.0);
            const QPixmap large = icon.pixmap(QSize(18, 18), 2.0);
            const QByteArray what = QByteArray::number(int(id));
            QVERIFY2(!small.isNull() && isDrawing(small.toImage()), what);
            QVERIFY2(!large.isNull() && isDrawing(large.toImage()), what);
            QCOMPARE(small.size(), QSize(18, 18));
            QCOMPARE(large.size(), QSize(36, 36));  // the @2x drawing, not the small one enlarged
            normal.append(small.toImage().convertToFormat(QImage::Format_ARGB32));
            dense.append(large.toImage().convertToFormat(QImage::Format_ARGB32));
            labels.append(what);
        }
        QCOMPARE(repeats(normal, labels), QStringList());
        QCOMPARE(repeats(dense, labels), QStringList());
    }

    void otherCommandsHaveNoIcon() {
        for (CommandId id : {CommandId::FileNew, CommandId::ZoomDialog, CommandId::KeyCtrlB}) {
            QVERIFY2(commandIcon(id).isNull(), QByteArray::number(int(id)));
        }
    }

    void cursorsWithHotSpotsInside() {
        QList<QImage> images;
        QStringList labels;
        for (ToolCursor tool : kCursors) {
            const QCursor cursor = toolCursor(tool);
            const QByteArray what = QByteArray::number(int(tool));
            QVERIFY2(!cursor.pixmap().isNull() && isDrawing(cursor.pixmap().toImage()), what);
            QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
            QVERIFY2(cursor.pixmap().rect().contains(cursor.hotSpot()), what);
            images.append(cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32));
            labels.append(what);
        }
        QCOMPARE(repeats(images, labels), QStringList());
    }
};

QTEST_MAIN(ToolImagesTest)
#include "tool_images_test.moc"
