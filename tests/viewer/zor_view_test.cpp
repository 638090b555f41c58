// The PDF/ZOR page view on the offscreen platform: the zoom tools' steps, fitting, paging,
// centring, the selection mark and the copied text, the area copy, the ZOR contents pane and
// the password of an encrypted file.
#include "zor_view.h"

#include <vyn/vynfile.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>

#include "app_state.h"
#include "contents_tree.h"
#include "document_window.h"
#include "main_window.h"
#include "reader/rdll.h"

using namespace viewer;

namespace {

const QString kPdf = QStringLiteral(BRINDLE_SAMPLES_DIR "/demo.pdf");
const QString kZor = QStringLiteral(BRINDLE_SAMPLES_DIR "/demo.zor");
const QString kOutlinePdf = QStringLiteral(BRINDLE_FIXTURES_DIR "/pdf/outline.pdf");
// Encrypted with the user password "user128" and the owner password "owner128".
const QString kLocked = QStringLiteral(BRINDLE_FIXTURES_DIR "/pdf/encryption/r3_rc4_128_user.pdf");
// Encrypted with an empty user password.
const QString kUnlocked = QStringLiteral(BRINDLE_FIXTURES_DIR "/pdf/encryption/r4_rc4_128.pdf");

// A view of `path` standing alone with a viewport of `size`, after its first update.
struct StandingView {
    explicit StandingView(const QString& path, QSize size = {803, 600}) : window(path) {
        window.resize(size);
        window.show();
        ZorView& v = view();
        window.resize(size + window.size() - v.viewport()->size());
        v.firstUpdate();
    }
    ZorView& view() { return *window.zorView(); }
    DocumentWindow window;
};

int darkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return dark;
}

}  // namespace

class ZorViewTest : public QObject {
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

    void zoomToolSteps() {
        StandingView standing(kPdf);
        ZorView& view = standing.view();
        view.runCommand(CommandId::ZoomInTool);
        for (int scale : {140, 196, 200, 200}) {
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            QCOMPARE(view.scale(), scale);
        }
        view.runCommand(CommandId::OriginalSize);
        QCOMPARE(view.scale(), 100);
        view.runCommand(CommandId::ZoomOutTool);
        for (int scale : {71, 50, 35, 25, 25}) {
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            QCOMPARE(view.scale(), scale);
        }
    }

    // A 595-point page on a 96-dpi screen in a view 803 pixels wide fits at 99 %.
    void fitWidthAndHeight() {
        StandingView standing(kPdf);
        ZorView& view = standing.view();
        QCOMPARE(view.viewport()->width(), 803);
        view.runCommand(CommandId::FitWidth);
        QCOMPARE(view.scale(), 99);
        view.runCommand(CommandId::FitHeight);
        QCOMPARE(view.scale(), int((view.viewport()->height() - 100) / (595 / 72.0 * 96) * 100));
        view.setScale(500);  // above 200: ignored
        QCOMPARE(view.scale(), int((view.viewport()->height() - 100) / (595 / 72.0 * 96) * 100));
        QCOMPARE(view.ratioStatus(),
                 QString::asprintf("页面缩放比例为:%04.2f%%", double(view.scale())));
    }

    // A page smaller than the window is centred; a larger one keeps a 25-pixel margin.
    void pagesAreCentred() {
        StandingView standing(kPdf, {1000, 1300});
        ZorView& view = standing.view();
        view.setScale(50);
        const QSize page = view.scrollSize() - QSize(50, 50);
        QCOMPARE(view.pageOffset(), QPoint((1000 - page.width()) / 2, (1300 - page.height()) / 2));
        view.setScale(150);
        QCOMPARE(view.pageOffset(), QPoint(25, 25));
    }

    // Next then previous comes back to page 1 with the scroll at the origin; a page change
    // removes the selection mark.
    void pagingResetsScrollAndSelection() {
        StandingView standing(kPdf);
        ZorView& view = standing.view();
        view.setScale(200);
        view.verticalScrollBar()->setValue(300);
        view.runCommand(CommandId::SelectTool);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(400, 160));
        QVERIFY(view.isSelectionShown());
        view.runCommand(CommandId::NextPage);
        QCOMPARE(view.page(), 2);
        QVERIFY(!view.isSelectionShown());
        view.runCommand(CommandId::PreviousPage);
        QCOMPARE(view.page(), 1);
        QCOMPARE(view.scrollPosition(), QPoint(0, 0));
        QCOMPARE(view.pageStatus(), QStringLiteral("当前页面:1/3"));
        QVERIFY(!view.goToPage(4));
        QVERIFY(view.goToPage(3));
        QCOMPARE(view.page(), 3);
    }

    // Two clicks across the title select it; its text is on the clipboard when the button
    // comes up.
    void twoClicksCopyTheSelectedText() {
        StandingView standing(kPdf);
        ZorView& view = standing.view();
        QApplication::clipboard()->clear();
        view.runCommand(CommandId::SelectTool);
        // The title runs across the page about 110 points from its top.
        const QPoint offset = view.pageOffset();
        const int y = offset.y() + int(104 * 96 / 72.0);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(offset.x() + 10, y));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(offset.x() + 780, y));
        QVERIFY(view.hasSelectedText());
        QVERIFY2(QApplication::clipboard()->text().contains(QStringLiteral("阅读器")),
                 qPrintable(QApplication::clipboard()->text()));
        view.runCommand(CommandId::EditCopy);
        QVERIFY(!view.hasSelectedText());
    }

    // The area tool copies what the reader draws in the band, also below the window's edge.
    void areaCopy() {
        StandingView standing(kPdf);
        ZorView& view = standing.view();
        view.runCommand(CommandId::CopyBitmap);
        const QPoint offset = view.pageOffset();
        const QPoint start = offset + QPoint(80, 120);
        const QPoint end(offset.x() + 700, view.viewport()->height() + 120);
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(view.viewport(), end);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, end);
        QCOMPARE(view.selectionRectangle(), QRect(start, end).adjusted(0, 0, -1, -1));
        view.runCommand(CommandId::EditCopy);
        const QImage picture = QApplication::clipboard()->image();
        QCOMPARE(picture.size(), QSize(end.x() - start.x() - 2, end.y() - start.y() - 2));
        const QRect below(0, picture.height() - 120, picture.width(), 110);
        QVERIFY(darkPixels(picture, below) > 50);
        QVERIFY(view.selectionRectangle().isEmpty());
    }

    // On a screen of two device pixels per pixel the reader draws the page at twice the
    // resolution (run with QT_SCALE_FACTOR=2).
    void highDensityScreens() {
        StandingView standing(kPdf, {600, 400});
        ZorView& view = standing.view();
        if (view.viewport()->devicePixelRatioF() != 2.0) {
            QSKIP("needs a screen of pixel ratio 2");
        }
        const QImage shown = view.renderViewport();
        QCOMPARE(shown.size(), view.viewport()->size() * 2);
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QVERIFY(std::abs(view.scrollSize().width() - int(595 / 72.0 * 192)) <= 4);
        view.runCommand(CommandId::FitWidth);
        QCOMPARE(view.scale(), int((600 * 2 - 10) / (595 / 72.0 * 192) * 100));
        QVERIFY(darkPixels(view.renderViewport(), QRect(QPoint(0, 0), shown.size())) > 1000);
    }

    // Printing puts every page on its own sheet; the view shows its page and scale again.
    void printingIntoAFile() {
        QTemporaryDir dir;
        StandingView standing(kZor);
        ZorView& view = standing.view();
        view.runCommand(CommandId::NextPage);
        view.setScale(150);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(150);
        printer.setOutputFileName(dir.filePath("out.pdf"));
        QVERIFY(view.print(printer, 1, 3));
        QCOMPARE(view.page(), 2);
        QCOMPARE(view.scale(), 150);
        QFile out(dir.filePath("out.pdf"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 3);
        QVERIFY(bytes.size() > 20000);  // the pages hold their text and the photograph
    }

    // The ZOR file's catalog fills the contents pane, whose entries turn pages; Find is there
    // for the page text.
    void zorContentsPaneNavigates() {
        MainWindow window;
        window.resize(1200, 800);
        window.show();
        QVERIFY(window.openDocument(kZor));
        DocumentWindow* document = window.activeDocument();
        QVERIFY(document->zorView() != nullptr);
        QVERIFY(document->contents() != nullptr);
        QTreeWidgetItem* root = document->contents()->topLevelItem(0);
        QCOMPARE(root->childCount(), 4);
        document->contents()->setCurrentItem(root->child(2));  // 3 表格与结论
        QCOMPARE(document->zorView()->page(), 3);
        QCOMPARE(window.statusTexts().value(1), QStringLiteral("当前页面:3/3"));
        window.updateCommandStates();
        QVERIFY(window.action(CommandId::EditFind)->isEnabled());
        QVERIFY(!window.action(CommandId::EditSelectAll)->isEnabled());
        QVERIFY(window.action(CommandId::RectangleSelection)->isEnabled());
    }

    // A PDF's outline fills the contents pane as a ZOR catalog does: its entries turn pages
    // and scroll to their places, and the status bar gives the page's label.
    void pdfOutlineContentsPaneNavigates() {
        MainWindow window;
        window.resize(1000, 600);
        window.show();
        QVERIFY(window.openDocument(kOutlinePdf));
        DocumentWindow* document = window.activeDocument();
        QVERIFY(document->zorView() != nullptr);
        QVERIFY(document->contents() != nullptr);
        QTreeWidgetItem* root = document->contents()->topLevelItem(0);
        QCOMPARE(root->childCount(), 3);
        QCOMPARE(root->child(0)->text(0), QStringLiteral("封面 Cover"));
        QCOMPARE(root->child(1)->text(0), QStringLiteral("Chapter 1"));
        QCOMPARE(root->child(1)->childCount(), 2);
        QVERIFY(root->child(1)->isExpanded());
        QVERIFY(!root->child(2)->isExpanded());  // the document shows the appendix closed
        ZorView* view = document->zorView();
        view->firstUpdate();
        QCOMPARE(window.statusTexts().value(1), QStringLiteral("当前页面:1/5 (i)"));

        // 1.2 Results: page 4 at 400 points from its bottom, about half way down the page.
        document->contents()->setCurrentItem(root->child(1)->child(1));
        QCOMPARE(view->page(), 4);
        const double pagePixels =
            792.0 * view->logicalDpiY() * view->viewport()->devicePixelRatioF() / 72.0;
        const int expected =
            int(std::lround(view->pageOffset().y() + (792 - 400) * pagePixels / 792));
        QVERIFY(view->verticalScrollBar()->maximum() >= expected);
        QVERIFY(std::abs(view->scrollPosition().y() - expected) <= 2);
        QCOMPARE(window.statusTexts().value(1), QStringLiteral("当前页面:4/5 (2)"));

        // Appendix: the top of page 5, labelled A-1.
        document->contents()->setCurrentItem(root->child(2));
        QCOMPARE(view->page(), 5);
        QCOMPARE(view->pageLabel(), QStringLiteral("A-1"));
        QVERIFY(view->scrollPosition().y() <= view->pageOffset().y() + 2);
        QCOMPARE(window.statusTexts().value(1), QStringLiteral("当前页面:5/5 (A-1)"));
    }

    // An encrypted file asks for its password until it opens or the asking is cancelled.
    void encryptedFilesAskForTheirPassword() {
        struct Case {
            QString path;
            QStringList answers;  // a null text cancels
            bool opens;
            QList<bool> asked;  // again, each time the prompt was asked
        };
        const Case cases[] = {
            {kLocked, {"wrong", "user128"}, true, {false, true}},
            {kLocked, {"owner128"}, true, {false}},
            {kLocked, {QString()}, false, {false}},
            {kLocked, {"wrong", "worse", QString()}, false, {false, true, true}},
            {kUnlocked, {}, true, {}},
        };
        for (const Case& c : cases) {
            QList<bool> asked;
            ZorView view(c.path);
            const bool opened = view.open([&](bool again) -> std::optional<QString> {
                asked.append(again);
                const QString answer = c.answers.value(int(asked.size()) - 1);
                return answer.isNull() ? std::nullopt : std::optional<QString>(answer);
            });
            QCOMPARE(opened, c.opens);
            QCOMPARE(asked, c.asked);
            QCOMPARE(view.passwordCancelled(), !c.opens);
            QCOMPARE(view.pageCount(), c.opens ? 1 : 0);
        }
    }

    // The main window asks in a password field; Cancel opens nothing and says nothing more.
    void theMainWindowAsksForAPassword() {
        MainWindow window;
        window.show();
        for (const QString& answer : {QString(), QStringLiteral("user128")}) {
            QString prompt, message;
            QLineEdit::EchoMode echo = QLineEdit::Normal;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                prompt = dialog->labelText();
                echo = dialog->textEchoMode();
                // A message box after the prompt is answered too, so that the test goes on.
                QTimer::singleShot(0, [&] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                        message = box->text();
                        box->accept();
                    }
                });
                if (answer.isNull()) {
                    dialog->reject();
                } else {
                    dialog->setTextValue(answer);
                    dialog->accept();
                }
            });
            QCOMPARE(window.openDocument(kLocked), !answer.isNull());
            QCoreApplication::processEvents();
            QVERIFY2(prompt.contains("r3_rc4_128_user.pdf"), qPrintable(prompt));
            QCOMPARE(echo, QLineEdit::Password);
            QCOMPARE(message, QString());
            QCOMPARE(window.activeDocument() != nullptr, !answer.isNull());
        }
    }
};

QTEST_MAIN(ZorViewTest)
#include "zor_view_test.moc"
