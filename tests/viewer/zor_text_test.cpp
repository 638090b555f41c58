// The PDF/ZOR view on its page text: selecting by flow and by rectangle, the Unicode text on
// the clipboard and the selection painted over the page; the find dialog's searches on a page
// and towards either end, with the places found marked.
#include <vyn/vynfile.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "app_state.h"
#include "document_window.h"
#include "find_dialog.h"
#include "message_answer.h"
#include "pdf_builder.h"
#include "reader/rdll.h"
#include "zor_view.h"

using namespace viewer;

namespace {

// Helvetica lines of 24 points, one for each baseline (points from the page's bottom), in the
// font's standard encoding.
std::string lines(const std::vector<std::pair<int, std::string>>& baselinesAndTexts) {
    std::string content;
    for (const auto& [baseline, text] : baselinesAndTexts) {
        content += "BT /F1 24 Tf 72 " + std::to_string(baseline) + " Td (" + text + ") Tj ET\n";
    }
    return content;
}

QString writtenPdf(const QTemporaryDir& dir, const std::vector<std::string>& pages) {
    const QString path = dir.filePath(QStringLiteral("text.pdf"));
    QFile file(path);
    const std::string bytes = reader::fixtures::paddedPdf(reader::fixtures::pagesPdf(pages));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        return {};
    }
    return path;
}

// A view of `path` standing alone, after its first update.
struct StandingView {
    explicit StandingView(const QString& path) : window(path) {
        window.resize(800, 600);
        window.show();
        view().firstUpdate();
    }
    ZorView& view() { return *window.zorView(); }
    DocumentWindow window;
};

// Where a point of the page (points from its top left) stands in the viewport.
QPoint onScreen(const ZorView& view, QPointF point) {
    const QRectF at = view.toViewport({point.x(), point.y(), point.x(), point.y()});
    return (at.topLeft() / view.viewport()->devicePixelRatioF()).toPoint();
}

// Pixels of `area` (device pixels of the viewport) tinted more blue than red, or more red
// than blue.
int tinted(const QImage& image, const QRectF& area, bool blue) {
    int count = 0;
    const QRect pixels = area.toAlignedRect().intersected(image.rect());
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += (blue ? c.blue() - c.red() : c.red() - c.blue()) > 40 ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class ZorTextTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(VYNFile_Init() == 1);
        RDLL_Init(0);
    }
    void cleanupTestCase() {
        RDLL_Free(0);
        VYNFile_Exit();
    }
    void init() { appState() = AppState{}; }

    // Lines stand with their middles about 8 points above their baselines: 84, 124 and 164
    // points from the page's top.
    void selectionTakesTheText_data() {
        QTest::addColumn<bool>("rectangle");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("runs");
        QTest::newRow("along one line") << false << QPointF(60, 164) << QPointF(400, 164)
                                        << QStringLiteral("“CafØ” — ThØ") << 1;
        QTest::newRow("flowing over two lines") << false << QPointF(135, 84) << QPointF(190, 124)
                                                << QStringLiteral("Beta\nGamma De") << 2;
        QTest::newRow("a rectangle")
            << true << QPointF(60, 78) << QPointF(118, 130) << QStringLiteral("Alph\nGam") << 2;
        QTest::newRow("past the text")
            << false << QPointF(60, 300) << QPointF(400, 400) << QString() << 0;
    }
    void selectionTakesTheText() {
        QFETCH(bool, rectangle);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(QString, text);
        QFETCH(int, runs);
        QTemporaryDir dir;
        StandingView standing(
            writtenPdf(dir, {lines({{700, "Alpha Beta"},
                                    {660, "Gamma Delta"},
                                    {620, "\\252Caf\\351\\272 \\320 Th\\351"}})}));
        ZorView& view = standing.view();
        view.runCommand(CommandId::SelectTool);
        if (rectangle) {
            view.runCommand(CommandId::RectangleSelection);
        }
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onScreen(view, from));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onScreen(view, to));
        QCOMPARE(view.selectedText(), text);
        QCOMPARE(QApplication::clipboard()->text(), text);
        QCOMPARE(int(view.selectionRuns().size()), runs);
        const QImage shown = view.renderViewport();
        for (const reader::TextBox& run : view.selectionRuns()) {
            const QRectF area = view.toViewport(run);
            QVERIFY(tinted(shown, area, true) > area.width() * area.height() / 2);
        }
        QApplication::clipboard()->clear();
        view.runCommand(CommandId::EditCopy);
        QCOMPARE(QApplication::clipboard()->text(), text);
        QVERIFY(!view.hasSelectedText());
    }

    // Each search goes on from the page shown; backwards the last place of the page found is
    // the current one. A search that finds nothing says so and leaves the page as it was.
    void findGoesToThePlaces() {
        QTemporaryDir dir;
        StandingView standing(writtenPdf(
            dir, {lines({{700, "Beta and beta"}}), lines({{700, "Nothing here"}}),
                  lines({{700, "Alpha"}, {60, "one BETA two beta"}}), lines({{700, "Gamma"}})}));
        ZorView& view = standing.view();
        view.setScale(200);
        FindDialog dialog(&view);
        dialog.setText(QStringLiteral("beta"));
        QVERIFY(dialog.findOnPage());
        QCOMPARE(view.shownHits().size(), size_t(2));
        QCOMPARE(view.currentHit(), size_t(0));

        QVERIFY(dialog.findTowardsLast());
        QCOMPARE(view.page(), 3);
        QCOMPARE(view.shownHits().size(), size_t(2));
        QCOMPARE(view.currentHit(), size_t(0));
        // The places stand near the page's bottom, scrolled into the window and marked.
        const QRectF current = view.toViewport(view.shownHits()[0].boxes.at(0));
        const QRectF window(QPointF(0, 0),
                            QSizeF(view.viewport()->size()) * view.viewport()->devicePixelRatioF());
        QVERIFY(window.contains(current));
        QVERIFY(tinted(view.renderViewport(), current, false) >
                current.width() * current.height() / 2);

        auto message = answerNextMessage();
        QVERIFY(!dialog.findTowardsLast());
        QCOMPARE(message->text, QStringLiteral("Not Find in this file!"));
        QCOMPARE(view.page(), 3);
        QCOMPARE(view.shownHits().size(), size_t(2));

        QVERIFY(dialog.findTowardsFirst());
        QCOMPARE(view.page(), 1);
        QCOMPARE(view.currentHit(), size_t(1));

        dialog.setText(QStringLiteral("zeta"));
        message = answerNextMessage();
        QVERIFY(!dialog.findOnPage());
        QCOMPARE(message->text, QStringLiteral("Not Find in this page!"));
        QVERIFY(view.shownHits().empty());
    }
};

QTEST_MAIN(ZorTextTest)
#include "zor_text_test.moc"
