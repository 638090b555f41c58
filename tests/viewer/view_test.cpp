// The VYN/QD page view and the main window on the offscreen platform: first update, paging,
// the zoom tools, fitting, dragging, keys, status texts, command states, menus, printing and
// the copies a document's file gets, and the full-window mode.
#include <vyn/vynfile.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app_state.h"
#include "command_table.h"
#include "contents_tree.h"
#include "document_files.h"
#include "document_window.h"
#include "main_window.h"
#include "print_command.h"
#include "vyn_view.h"
#include "vyn_writer.h"

using namespace viewer;

namespace {

const QString kSamples = QStringLiteral(BRINDLE_SAMPLES_DIR);

// A document of `pages` empty A4 pages.
QString blankDocument(const QTemporaryDir& dir, const QString& name, int pages) {
    vyn::fixtures::DocumentLayout layout;
    layout.pages.resize(size_t(pages));
    const QString path = dir.filePath(name);
    vyn::fixtures::writeFile(path.toStdString(), vyn::fixtures::buildDocument(layout).bytes);
    return path;
}

// The share of pixels darker than mid-grey in `area` of `image`.
double inkShare(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return double(dark) / double(area.width() * area.height());
}

// The bounding box of the pixels darker than mid-grey.
QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// A main window's place on the offscreen platform's 800 x 600 screen, clear of its edges.
const QRect kWindowPlace(40, 30, 640, 480);

// Lets the window system's answers to state and geometry changes arrive, and widgets deleted
// later go.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QToolBar* standardToolBar(const MainWindow& window) {
    return window.findChild<QToolBar*>(QStringLiteral("Standard"));
}

// A view of `path` standing alone with a viewport of `size`, after its first update.
struct StandingView {
    explicit StandingView(const QString& path, QSize size = {500, 400}) : window(path) {
        window.resize(size + QSize(window.view()->verticalScrollBar()->sizeHint().width(), 0));
        window.show();
        view().firstUpdate();
        view().setRatio(1.0f);
    }
    VynView& view() { return *window.view(); }
    DocumentWindow window;
};

}  // namespace

class ViewTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(VYNFile_Init() == 1);
    }
    void cleanupTestCase() { VYNFile_Exit(); }
    void init() { appState() = AppState{}; }

    void zoomInToolSteps() {
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        view.runCommand(CommandId::ZoomInTool);
        QCOMPARE(view.tool(), VynView::Tool::ZoomIn);
        const double expected[] = {1.44, 2.0736, 2.986, 4.300, 6.192, 8.916, 12.839, 12.839};
        for (double ratio : expected) {
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(100, 50));
            QVERIFY2(std::abs(view.ratio() - ratio) < 0.001,
                     qPrintable(QString::number(view.ratio())));
        }
    }

    void zoomOutToolSteps() {
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        view.runCommand(CommandId::ZoomOutTool);
        const double expected[] = {0.6944, 0.4823, 0.3349, 0.2326, 0.1615, 0.15, 0.15};
        for (double ratio : expected) {
            // Clicks land on the page, which grows small in the top-left corner.
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            QVERIFY2(std::abs(view.ratio() - ratio) < 0.0001,
                     qPrintable(QString::number(view.ratio())));
        }
    }

    // The clicked point stays under the mouse: the scroll position moves by 0.44 of the
    // point's page coordinates, limited by the page size before the zoom.
    void zoomToolsScrollAroundTheClick() {
        StandingView standing(kSamples + "/demo.vyn", {400, 300});
        VynView& view = standing.view();
        view.runCommand(CommandId::ZoomInTool);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(view.scrollPosition(), QPoint(44, 22));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(view.scrollPosition(), QPoint(44 + int(144 * 0.44), 22 + int(72 * 0.44)));
        view.runCommand(CommandId::ZoomOutTool);
        const QPoint before = view.scrollPosition();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(view.scrollPosition(),
                 before - QPoint(int((100 + before.x()) * 0.3055555555555556),
                                 int((50 + before.y()) * 0.3055555555555556)));
    }

    // A click beside a page smaller than the window is not on the page and does nothing.
    void clicksBesideThePageDoNothing() {
        StandingView standing(kSamples + "/demo.vyn", {900, 400});
        VynView& view = standing.view();
        view.setRatio(0.5f);
        view.runCommand(CommandId::ZoomInTool);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                          QPoint(view.pageSize().width() + 20, 50));
        QCOMPARE(view.ratio(), 0.5f);
    }

    void fitToWidthAndHeight() {
        QTemporaryDir dir;
        StandingView standing(blankDocument(dir, "blank.vyn", 1));
        VynView& view = standing.view();
        const QSize natural = view.pageSize();
        const int besideViewport = standing.window.width() - view.viewport()->width();
        standing.window.resize(natural.width() + 4 + besideViewport, 300);
        view.runCommand(CommandId::FitWidth);
        QCOMPARE(view.ratio(), 1.0f);
        QCOMPARE(view.viewport()->width(), natural.width() + 4);
        const int height = view.viewport()->height();
        view.runCommand(CommandId::FitHeight);
        QCOMPARE(view.ratio(), float(double(height) / natural.height()));
        view.runCommand(CommandId::OriginalSize);
        QCOMPARE(view.ratio(), 1.0f);
    }

    // The first fit fills the window's width, a quarter more from the command line; the start
    // page is shown unless the document has no such page.
    void firstUpdateFitsAndStartsAtThePage() {
        QFETCH(bool, byCommand);
        QFETCH(int, startPage);
        QFETCH(int, shownPage);
        appState().startedByCommand = byCommand;
        appState().startPage = startPage;
        DocumentWindow window(kSamples + "/demo.vyn");
        window.resize(800, 600);
        window.show();
        VynView& view = *window.view();
        view.firstUpdate();
        const double natural = view.pageSize().width();
        QCOMPARE(view.page(), shownPage);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        view.viewport()->repaint();
        const double fit = (view.viewport()->width() - 4) / natural;
        QCOMPARE(view.ratio(), float(byCommand ? fit / 0.75 : fit));
    }
    void firstUpdateFitsAndStartsAtThePage_data() {
        QTest::addColumn<bool>("byCommand");
        QTest::addColumn<int>("startPage");
        QTest::addColumn<int>("shownPage");
        QTest::newRow("opened") << false << 1 << 1;
        QTest::newRow("command line, page 2") << true << 2 << 2;
        QTest::newRow("page past the end") << true << 9 << 1;
    }

    void dragMovesThePageWithTheMouse() {
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        view.setRatio(2.0f);
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 300));
        QTest::mouseMove(view.viewport(), QPoint(100, 290));  // the first move takes the start
        QTest::mouseMove(view.viewport(), QPoint(60, 190));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(60, 190));
        QCOMPARE(view.scrollPosition(), QPoint(40, 100));
        // Dragging down at the top does not move.
        view.verticalScrollBar()->setValue(0);
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(view.viewport(), QPoint(100, 110));
        QTest::mouseMove(view.viewport(), QPoint(100, 200));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(100, 200));
        QCOMPARE(view.scrollPosition().y(), 0);
    }

    void keysScrollByTheWindowAndTurnPages() {
        MainWindow window;
        window.resize(1000, 700);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.openDocument(kSamples + "/demo.vyn"));
        VynView& view = *window.activeDocument()->view();
        view.setRatio(2.0f);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.scrollPosition().y(), view.viewport()->height());
        QTest::keyClick(&view, Qt::Key_End);
        QCOMPARE(view.scrollPosition(), QPoint(view.horizontalScrollBar()->maximum(),
                                               view.verticalScrollBar()->maximum()));
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(view.scrollPosition(), QPoint(0, 0));
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(view.page(), 2);
        QTest::keyClick(&view, Qt::Key_PageUp);
        QCOMPARE(view.page(), 1);
        QTest::keyClick(&view, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(view.page(), 2);
    }

    void statusTexts() {
        QTemporaryDir dir;
        MainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(window.openDocument(blankDocument(dir, "twelve.vyn", 12)));
        VynView& view = *window.activeDocument()->view();
        QVERIFY(view.goToPage(3));
        view.setRatio(0.75f);
        const QStringList panes = window.statusTexts();
        QCOMPARE(panes.value(1), QStringLiteral("当前页面:3/12"));
        QCOMPARE(panes.value(2), QStringLiteral("页面缩放比例为:75.00%"));
        QCOMPARE(panes.value(0), QStringLiteral("就绪"));
        QVERIFY(!view.goToPage(13));
        QVERIFY(!view.goToPage(0));
        QCOMPARE(view.page(), 3);
    }

    // Enabled states follow the page and the document; commands nobody answers are disabled.
    void commandStates() {
        QFETCH(int, pages);
        QFETCH(int, page);
        QFETCH(bool, backward);
        QFETCH(bool, forward);
        QFETCH(bool, goTo);
        QTemporaryDir dir;
        MainWindow window;
        window.show();
        QVERIFY(window.openDocument(blankDocument(dir, "doc.vyn", pages)));
        QVERIFY(window.activeDocument()->view()->goToPage(page));
        window.updateCommandStates();
        QCOMPARE(window.action(CommandId::FirstPage)->isEnabled(), backward);
        QCOMPARE(window.action(CommandId::PreviousPage)->isEnabled(), backward);
        QCOMPARE(window.action(CommandId::NextPage)->isEnabled(), forward);
        QCOMPARE(window.action(CommandId::LastPage)->isEnabled(), forward);
        QCOMPARE(window.action(CommandId::GoToPage)->isEnabled(), goTo);
        for (CommandId always :
             {CommandId::OriginalSize, CommandId::FitWidth, CommandId::ZoomDialog,
              CommandId::FileSaveAs, CommandId::FilePrint, CommandId::FileOpen}) {
            QVERIFY(window.action(always)->isEnabled());
        }
        for (CommandId unanswered :
             {CommandId::RectangleSelection, CommandId::KeyCtrlB, CommandId::EditCut,
              CommandId::EditPaste, CommandId::EditUndo}) {
            QVERIFY(!window.action(unanswered)->isEnabled());
        }
        QVERIFY(window.action(CommandId::DragTool)->isChecked());
        window.dispatch(CommandId::ZoomInTool);
        QVERIFY(window.action(CommandId::ZoomInTool)->isChecked());
        QVERIFY(!window.action(CommandId::DragTool)->isChecked());
    }
    void commandStates_data() {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("backward");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<bool>("goTo");
        QTest::newRow("one page") << 1 << 1 << false << false << false;
        QTest::newRow("first of five") << 5 << 1 << false << true << true;
        QTest::newRow("middle of five") << 5 << 3 << true << true << true;
        QTest::newRow("last of five") << 5 << 5 << true << false << true;
    }

    // The menu bar follows the active document's kind; items carry their texts and prompts.
    void menuBarsAndPrompts() {
        QTemporaryDir dir;
        MainWindow window;
        window.show();
        const auto titles = [&window] {
            QStringList list;
            for (QAction* menu : window.menuBar()->actions()) {
                list << menu->text();
            }
            return list;
        };
        QCOMPARE(titles(), (QStringList{"文件(&F)", "选项", "查看(&V)", "帮助(&H)"}));
        QVERIFY(window.openDocument(kSamples + "/demo.vyn"));
        QCOMPARE(window.shownMenuBar(), MenuBar::VynDocument);
        QCOMPARE(titles(), (QStringList{"文件(&F)", "编辑(&E)", "浏览(&B)", "页面(&P)", "选项",
                                        "查看(&V)", "窗口(&W)", "知识网络服务(&s)", "帮助(&H)"}));
        QVERIFY(window.openDocument(kSamples + "/demo.pdf"));
        QCOMPARE(window.shownMenuBar(), MenuBar::PdfDocument);
        QVERIFY(!titles().contains("选项"));
        window.documentArea()->closeAllSubWindows();
        QCOMPARE(window.shownMenuBar(), MenuBar::NoDocument);

        QCOMPARE(window.action(CommandId::ZoomInTool)->text(), QStringLiteral("放大\tCtrl++"));
        QCOMPARE(window.action(CommandId::ZoomInTool)->statusTip(), QStringLiteral("放大页面比例"));
        QCOMPARE(window.action(CommandId::ZoomInTool)->toolTip(), QStringLiteral("放大"));
        QVERIFY(window.action(CommandId::EditCopy)->shortcuts().contains(QKeySequence("Ctrl+Ins")));
        QVERIFY(
            window.action(CommandId::FirstPage)->shortcuts().contains(QKeySequence("Ctrl+PgUp")));
        // Every command of the toolbar has an action with an icon.
        for (const std::optional<CommandId>& id : toolBarLayout()) {
            if (id) {
                QVERIFY(!window.action(*id)->icon().isNull());
            }
        }
    }

    // Printing puts each page at its natural size in the middle of the sheet, and the view
    // shows what it showed before.
    void printingCentresThePages() {
        QTemporaryDir dir;
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        QVERIFY(view.goToPage(2));
        view.setRatio(0.5f);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(150);
        printer.setOutputFileName(dir.filePath("out.pdf"));
        QVERIFY(view.print(printer, 1, 2));
        QVERIFY(!view.print(printer, 3, 4));
        QCOMPARE(view.page(), 2);
        QCOMPARE(view.ratio(), 0.5f);
        QFile out(dir.filePath("out.pdf"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 2);

        // On an image sheet twice the page's size the ink lands in the middle.
        const QSize natural = view.pageSize() / 0.5;
        QImage sheet(natural * 2, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        QVERIFY(view.printOn(painter, sheet.size(), 96, 1, 1, {}));
        painter.end();
        const QRect ink = inkBounds(sheet);
        QVERIFY(!ink.isEmpty());
        QVERIFY(ink.left() >= natural.width() / 2 && ink.right() < natural.width() * 3 / 2);
        QVERIFY(ink.top() >= natural.height() / 2 && ink.bottom() < natural.height() * 3 / 2);
    }

    // The "print FILE?PAGE" start prints the whole document.
    void printCommandPrintsEveryPage() {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(150);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        QVERIFY(printDocument(blankDocument(dir, "three.vyn", 3), printer));
        QFile out(dir.filePath("printed.pdf"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 3);
        QVERIFY(!printDocument(dir.filePath("missing.vyn"), printer));
    }

    void copyNames() {
        QCOMPARE(saveAsName("/home/a/paper"), QStringLiteral("/home/a/paper.vyn"));
        QCOMPARE(saveAsName("/home/a/paper.vyn"), QStringLiteral("/home/a/paper.vyn"));
        QCOMPARE(saveAsName("/home/a/paper.VYN.bak"), QStringLiteral("/home/a/paper.vyn"));
        QCOMPARE(saveAsName("/home/a/paper.qd"), QStringLiteral("/home/a/paper.qd.vyn"));
        QCOMPARE(downloadedCopyName("/web/paper[1].vyn"), std::optional<QString>("/web/paper.vyn"));
        QCOMPARE(downloadedCopyName("/web/paper[1].qd"), std::optional<QString>("/web/paper.qd"));
        QCOMPARE(downloadedCopyName("/web/paper.vyn"), std::nullopt);
        QCOMPARE(downloadedCopyName("/web/[1].vyn"), std::nullopt);
        QCOMPARE(downloadedCopyName("/web[2]/paper.vyn"), std::nullopt);
    }

    // Opening paper[1].vyn keeps a copy as paper.vyn, replacing an older one, and titles the
    // window with it.
    void downloadedCopyIsKept() {
        QTemporaryDir dir;
        const QString downloaded = blankDocument(dir, "paper[1].vyn", 2);
        QFile older(dir.filePath("paper.vyn"));
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("old");
        older.close();
        DocumentWindow window(downloaded);
        QCOMPARE(window.windowTitle(), QStringLiteral("PAPER.VYN"));
        QFile copy(dir.filePath("paper.vyn"));
        QFile original(downloaded);
        QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), original.readAll());
    }

    // On a screen of two device pixels per pixel the page is drawn at twice the resolution,
    // not enlarged.
    void highDensityScreensGetSharpPages() {
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        const QImage single = view.renderViewport(1.0);
        const QImage doubled = view.renderViewport(2.0);
        QCOMPARE(doubled.size(), view.viewport()->size() * 2);
        QCOMPARE(doubled.devicePixelRatio(), 2.0);
        const QImage enlarged = single.scaled(doubled.size());
        int differing = 0;
        for (int y = 0; y < doubled.height(); ++y) {
            for (int x = 0; x < doubled.width(); ++x) {
                differing +=
                    std::abs(qGray(doubled.pixel(x, y)) - qGray(enlarged.pixel(x, y))) > 60 ? 1 : 0;
            }
        }
        QVERIFY2(differing > doubled.width() * doubled.height() / 200,
                 qPrintable(QString::number(differing)));
        // The same page at both densities: the ink covers about the same share.
        const QRect all(QPoint(0, 0), single.size());
        QVERIFY(std::abs(inkShare(single, all) - inkShare(doubled.scaled(single.size()), all)) <
                0.02);
    }

    // A paint cuts the visible part out of the page bitmap: at every scroll position it shows
    // what drawing the page afresh there shows, and scrolling draws nothing again.
    void scrolledPaintsComeFromThePageBitmap() {
        QFETCH(qreal, pixelRatio);
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        view.setRatio(1.3f);
        view.shownViewport(pixelRatio);
        const int drawings = view.pageBitmapDrawings();
        const QPoint ends(view.horizontalScrollBar()->maximum(),
                          view.verticalScrollBar()->maximum());
        QVERIFY(ends.x() > 0 && ends.y() > 0);
        for (QPoint at : {ends / 3, QPoint(ends.x(), 0), ends, QPoint(7, ends.y() / 2)}) {
            view.horizontalScrollBar()->setValue(at.x());
            view.verticalScrollBar()->setValue(at.y());
            const QImage shown = view.shownViewport(pixelRatio);
            QCOMPARE(shown.size(), view.viewport()->size() * pixelRatio);
            QCOMPARE(shown, view.renderViewport(pixelRatio));
        }
        QCOMPARE(view.pageBitmapDrawings(), drawings);
    }
    void scrolledPaintsComeFromThePageBitmap_data() {
        QTest::addColumn<qreal>("pixelRatio");
        QTest::newRow("single") << 1.0;
        QTest::newRow("one and a half") << 1.5;
        QTest::newRow("double") << 2.0;
    }

    // Whatever changes the page's drawing draws the bitmap again: the next paint shows the
    // changed page as a fresh drawing does.
    void changesDrawThePageBitmapAgain() {
        QFETCH(int, change);
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        view.verticalScrollBar()->setValue(view.pageSize().height() / 2);  // the figures
        const QImage before = view.shownViewport(1.0);
        switch (change) {
            case 0: view.loadPage(2); break;
            case 1: view.setRatio(1.5f); break;
            case 2: view.zoomInAt(QPoint(100, 50)); break;
            case 3: view.setBackground(QColor(0xE0, 0xF0, 0xD0)); break;
            case 4: view.setPicturesShown(false); break;
            default: QFAIL("no such change");
        }
        const QImage after = view.shownViewport(1.0);
        QVERIFY(after != before);
        QCOMPARE(after, view.renderViewport(1.0));
    }
    void changesDrawThePageBitmapAgain_data() {
        QTest::addColumn<int>("change");
        QTest::newRow("page") << 0;
        QTest::newRow("ratio") << 1;
        QTest::newRow("zoom tool") << 2;
        QTest::newRow("background") << 3;
        QTest::newRow("pictures off") << 4;
    }

    // Each density has its bitmap drawn for it.
    void pageBitmapFollowsTheDensity() {
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        QCOMPARE(view.shownViewport(2.0), view.renderViewport(2.0));
        QCOMPARE(view.shownViewport(1.0), view.renderViewport(1.0));
        QCOMPARE(view.shownViewport(2.0), view.renderViewport(2.0));
    }

    // A page too large to keep as a bitmap is drawn for each paint, as it looks.
    void hugePagesAreDrawnForEachPaint() {
        StandingView standing(kSamples + "/demo.vyn");
        VynView& view = standing.view();
        view.setRatio(7.0f);
        view.verticalScrollBar()->setValue(view.pageSize().height() / 2);
        const int drawings = view.pageBitmapDrawings();
        QCOMPARE(view.shownViewport(1.0), view.renderViewport(1.0));
        QCOMPARE(view.pageBitmapDrawings(), drawings);
    }

    // The sample in a 1280 x 800 window: the contents pane and the page are drawn.
    void mainWindowScreenshot() {
        MainWindow window;
        window.resize(1280, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.openDocument(kSamples + "/demo.vyn"));
        DocumentWindow* document = window.activeDocument();
        QVERIFY(document->contents() != nullptr);
        QCoreApplication::processEvents();
        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(1280, 800));
        const QRect tree(document->contents()->mapTo(&window, QPoint(0, 0)),
                         document->contents()->size());
        const QRect page(document->view()->viewport()->mapTo(&window, QPoint(0, 0)),
                         document->view()->viewport()->size());
        QVERIFY(inkShare(shot, tree.adjusted(4, 4, -4, -4)) > 0.005);
        QVERIFY(inkShare(shot, page.adjusted(4, 4, -4, -4)) > 0.01);
        // The first fit leaves the page as wide as the view.
        QVERIFY(std::abs(document->view()->pageSize().width() -
                         (document->view()->viewport()->width() - 4)) <= 1);
        // Choosing a contents entry turns to its page.
        QTreeWidgetItem* root = document->contents()->topLevelItem(0);
        document->contents()->setCurrentItem(root->child(root->childCount() - 1));
        QCOMPARE(document->view()->page(), 2);
        // A page past the end shows the first page.
        document->view()->showPageFromContents(999);
        QCOMPARE(document->view()->page(), 1);
    }

    // Entering hides the bars that were shown, fills the screen and maximises the child;
    // leaving puts back the window's place and state, the bars that were shown and the child's
    // state.
    void fullWindowPutsBackWhatItChanged() {
        QFETCH(bool, windowMaximised);
        QFETCH(bool, toolBarShown);
        QFETCH(bool, statusBarShown);
        QFETCH(bool, childMaximised);
        MainWindow window;
        window.setGeometry(kWindowPlace);
        if (windowMaximised) {
            window.showMaximized();
        } else {
            window.show();
        }
        QVERIFY(window.openDocument(kSamples + "/demo.vyn"));
        QMdiSubWindow* child = window.documentArea()->activeSubWindow();
        if (!childMaximised) {
            child->showNormal();
            child->setGeometry(10, 10, 300, 200);
        }
        if (!toolBarShown) {
            window.dispatch(CommandId::ToolBar);
        }
        if (!statusBarShown) {
            window.dispatch(CommandId::StatusBar);
        }
        settle();
        const QRect place = window.geometry();
        const QRect childPlace = child->geometry();
        QToolBar* toolBar = standardToolBar(window);

        window.dispatch(CommandId::FullWindow);
        settle();
        QVERIFY(window.fullWindow().isOn());
        QVERIFY(window.isFullScreen());
        QCOMPARE(window.geometry(), window.screen()->geometry());
        QVERIFY(!toolBar->isVisible());
        QVERIFY(!window.statusBar()->isVisible());
        QVERIFY(child->isMaximized());
        QVERIFY(window.action(CommandId::FullWindow)->isEnabled());
        QVERIFY(window.action(CommandId::FullWindow)->isChecked());

        window.dispatch(CommandId::FullWindow);
        settle();
        QVERIFY(!window.fullWindow().isOn());
        QVERIFY(!window.isFullScreen());
        QCOMPARE(window.isMaximized(), windowMaximised);
        QCOMPARE(window.geometry(), place);
        QCOMPARE(toolBar->isVisible(), toolBarShown);
        QCOMPARE(window.statusBar()->isVisible(), statusBarShown);
        QCOMPARE(child->isMaximized(), childMaximised);
        QCOMPARE(child->geometry(), childPlace);
        QVERIFY(!window.action(CommandId::FullWindow)->isChecked());
    }
    void fullWindowPutsBackWhatItChanged_data() {
        QTest::addColumn<bool>("windowMaximised");
        QTest::addColumn<bool>("toolBarShown");
        QTest::addColumn<bool>("statusBarShown");
        QTest::addColumn<bool>("childMaximised");
        QTest::newRow("everything shown") << false << true << true << true;
        QTest::newRow("toolbar hidden, child restored") << false << false << true << false;
        QTest::newRow("status bar hidden") << false << true << false << true;
        QTest::newRow("window maximised") << true << true << true << false;
    }

    // While the mode is on a floating bar holds its one button, which leaves the mode.
    void fullWindowBarLeavesTheMode() {
        MainWindow window;
        window.setGeometry(kWindowPlace);
        window.show();
        QVERIFY(window.openDocument(kSamples + "/demo.vyn"));
        window.dispatch(CommandId::FullWindow);
        settle();
        QAction* fullWindow = window.action(CommandId::FullWindow);
        const QPointer<QToolBar> bar = window.fullWindow().bar();
        QVERIFY(bar != nullptr);
        QVERIFY(bar->isWindow());
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->windowTitle(), QStringLiteral("Full Window"));
        QCOMPARE(bar->allowedAreas(), Qt::NoToolBarArea);
        QCOMPARE(bar->pos(), QPoint(300, 200));
        QCOMPARE(bar->actions(), QList<QAction*>{fullWindow});
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(fullWindow));
        QVERIFY(button != nullptr);
        QVERIFY(button->autoRaise());
        QCOMPARE(button->toolTip(), QStringLiteral("全屏幕"));

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!window.fullWindow().isOn());
        settle();
        QVERIFY(bar.isNull());
        QVERIFY(!window.isFullScreen());
        QCOMPARE(window.geometry(), kWindowPlace);
    }

    // Without a document the command is disabled and does nothing, even when run directly.
    void fullWindowNeedsADocument() {
        MainWindow window;
        window.setGeometry(kWindowPlace);
        window.show();
        QVERIFY(!window.action(CommandId::FullWindow)->isEnabled());
        window.dispatch(CommandId::FullWindow);
        window.runCommand(CommandId::FullWindow);
        settle();
        QVERIFY(!window.fullWindow().isOn());
        QVERIFY(!window.isFullScreen());
        QCOMPARE(window.geometry(), kWindowPlace);
        QVERIFY(standardToolBar(window)->isVisible());
        QVERIFY(window.statusBar()->isVisible());
        QCOMPARE(window.findChildren<QToolBar*>().size(), 1);
    }

    // Closing the main window leaves the mode first.
    void closingLeavesFullWindow() {
        MainWindow window;
        window.setGeometry(kWindowPlace);
        window.show();
        QVERIFY(window.openDocument(kSamples + "/demo.vyn"));
        window.dispatch(CommandId::FullWindow);
        settle();
        const QPointer<QToolBar> bar = window.fullWindow().bar();
        QVERIFY(window.close());
        settle();
        QVERIFY(!window.fullWindow().isOn());
        QVERIFY(!window.isFullScreen());
        QVERIFY(bar.isNull());
        QVERIFY(standardToolBar(window)->isVisibleTo(&window));
        QVERIFY(window.statusBar()->isVisibleTo(&window));
    }
};

QTEST_MAIN(ViewTest)
#include "view_test.moc"
