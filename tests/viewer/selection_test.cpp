// Selection, copy, find and marking in the VYN/QD view, on the offscreen platform: the text
// tool's two clicks, Select All with either tool, the copied picture, the search forms and the
// find dialog's searches across pages.
#include <vyn/vynfile.h>

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app_state.h"
#include "document_window.h"
#include "find_dialog.h"
#include "main_window.h"
#include "message_answer.h"
#include "opened_window.h"
#include "search_forms.h"
#include "stream_builder.h"
#include "vyn_view.h"
#include "vyn_writer.h"

using namespace viewer;

namespace {

const std::string kZhong = "\xd6\xd0", kWen = "\xce\xc4", kShu = "\xca\xe9";  // 中 文 书

std::string fullWidth(std::string_view ascii) {
    std::string out;
    for (char c : ascii) {
        out += '\xA3';
        out += char(uint8_t(c) | 0x80);
    }
    return out;
}

// Page units of the test pages: 742 to the inch, so 96-dpi pixels are units * 96 / 742.
constexpr int kLineY = 1000, kLineX = 1000, kAdvance = 300;

int pixels(int units) { return units * 96 / 742; }

// A document whose pages each hold one line of GB2312 text.
QString textDocument(const QTemporaryDir& dir, const QString& name,
                     const std::vector<std::string>& pages, int32_t docType = 2) {
    vyn::fixtures::DocumentLayout layout;
    layout.docType = docType;
    for (const std::string& text : pages) {
        vyn::fixtures::StreamBuilder stream;
        stream.font(4, 5, 5).lineAt(kLineY).text(kLineX, text, kAdvance).endOfPage();
        vyn::fixtures::PageLayout page;
        page.words = stream.words();
        layout.pages.push_back(page);
    }
    const QString path = dir.filePath(name);
    vyn::fixtures::writeFile(path.toStdString(), vyn::fixtures::buildDocument(layout).bytes);
    return path;
}

}  // namespace

class SelectionTest : public QObject {
    Q_OBJECT

    using Opened = OpenedWindow;

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(VYNFile_Init() == 1);
    }
    void cleanupTestCase() { VYNFile_Exit(); }
    void init() {
        appState() = AppState{};
        VYNFile_SetCodePage(936);
        QApplication::clipboard()->clear();
    }

    void searchFormsInTheirOrder() {
        const std::vector<QByteArray> forms = searchForms("aB\xd6\xd0");
        QCOMPARE(forms.size(), size_t(6));
        QCOMPARE(forms[0], QByteArray("aB\xd6\xd0"));
        QCOMPARE(forms[1], QByteArray("ab\xd6\xd0"));
        QCOMPARE(forms[2], QByteArray("AB\xd6\xd0"));
        QCOMPARE(forms[3], QByteArray("\xa3\xe1\xa3\xc2\xd6\xd0"));
        QCOMPARE(forms[4], QByteArray("\xa3\xc1\xa3\xc2\xd6\xd0"));
        QCOMPARE(forms[5], QByteArray("\xa3\xe1\xa3\xe2\xd6\xd0"));
        QCOMPARE(fullWidthForm(" "), QByteArray("\xa3\xa0"));
        QCOMPARE(fullWidthForm("\x01\x80"), QByteArray("\x01\x80"));
        // A Big5 character whose second byte is an ASCII letter stays whole.
        QCOMPARE(searchForms("\xa4\x61")[2], QByteArray("\xa4\x61"));
        QVERIFY(fitsSearchForms(QByteArray(127, 'a')));
        QVERIFY(!fitsSearchForms(QByteArray(128, 'a')));
    }

    // Two clicks select the text between them and put it on the clipboard as Unicode.
    void twoClicksSelectAndCopyText() {
        QFETCH(bool, traditional);
        QTemporaryDir dir;
        appState().simplifiedDisplay = !traditional;
        VYNFile_SetCodePage(traditional ? 950 : 936);
        Opened opened(textDocument(dir, "text.vyn", {kZhong + kWen + kShu}));
        VynView& view = opened.view();
        opened.window.dispatch(CommandId::SelectTool);
        QCOMPARE(view.tool(), VynView::Tool::TextSelect);
        const int y = pixels(kLineY) + 2;
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(pixels(kLineX) + 2, y));
        QVERIFY(!view.hasSelectedText());
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                          QPoint(pixels(kLineX + 2 * kAdvance) + 3, y));
        QVERIFY(view.hasSelectedText());
        QCOMPARE(QApplication::clipboard()->text(),
                 traditional ? QStringLiteral("中文書") : QStringLiteral("中文书"));
        opened.window.updateCommandStates();
        QVERIFY(opened.window.action(CommandId::EditCopy)->isEnabled());
        opened.window.dispatch(CommandId::EditCopy);
        QVERIFY(!view.hasSelectedText());
        QVERIFY(!opened.window.action(CommandId::EditCopy)->isEnabled());
    }
    void twoClicksSelectAndCopyText_data() {
        QTest::addColumn<bool>("traditional");
        QTest::newRow("simplified") << false;
        QTest::newRow("traditional") << true;
    }

    // Marks and selections are part of the page's drawing: a paint after each change shows
    // the page as a fresh drawing does.
    void marksAndSelectionsReachThePaints() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "text.vyn", {kZhong + kWen + kShu + kZhong}));
        VynView& view = opened.view();
        const QImage plain = view.shownViewport(1.0);
        QCOMPARE(view.markVariants(QByteArray::fromStdString(kZhong)), 2);
        const QImage marked = view.shownViewport(1.0);
        QVERIFY(marked != plain);
        QCOMPARE(marked, view.renderViewport(1.0));
        opened.window.dispatch(CommandId::EditCopy);
        const QImage copied = view.shownViewport(1.0);
        QCOMPARE(copied, view.renderViewport(1.0));

        opened.window.dispatch(CommandId::SelectTool);
        const int y = pixels(kLineY) + 2;
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(pixels(kLineX) + 2, y));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                          QPoint(pixels(kLineX + 2 * kAdvance) + 3, y));
        QVERIFY(view.hasSelectedText());
        const QImage selected = view.shownViewport(1.0);
        QVERIFY(selected != copied);
        QCOMPARE(selected, view.renderViewport(1.0));
        opened.window.dispatch(CommandId::EditCopy);
        QCOMPARE(view.shownViewport(1.0), view.renderViewport(1.0));
    }

    void selectAllWithTheTextToolCopiesThePageText() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "text.vyn", {kShu + kZhong}));
        opened.window.dispatch(CommandId::EditSelectAll);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("书中"));
    }

    // With the area tool, Select All then Copy on a page taller than the window puts the page
    // on the clipboard drawn afresh, two pixels smaller each way.
    void selectAllAndCopyAPageTallerThanTheWindow() {
        Opened opened(QStringLiteral(BRINDLE_SAMPLES_DIR "/demo.vyn"), {900, 500});
        VynView& view = opened.view();
        opened.window.dispatch(CommandId::CopyBitmap);
        QCOMPARE(view.tool(), VynView::Tool::AreaSelect);
        opened.window.dispatch(CommandId::EditSelectAll);
        QCOMPARE(view.selectionRectangle(), QRect(QPoint(0, 0), view.pageSize()));
        opened.window.dispatch(CommandId::EditCopy);
        const QImage picture = QApplication::clipboard()->image();
        QCOMPARE(picture.size(), view.pageSize() - QSize(2, 2));
        // The lower half, beyond the window, holds the page's ink too.
        const QImage lower =
            picture.copy(0, picture.height() / 2, picture.width(), picture.height() / 2);
        int dark = 0;
        for (int y = 0; y < lower.height(); y += 2) {
            for (int x = 0; x < lower.width(); x += 2) {
                dark += qGray(lower.pixel(x, y)) < 100 ? 1 : 0;
            }
        }
        QVERIFY(dark > 200);
        QVERIFY(view.selectionRectangle().isEmpty());
    }

    // A band copies what the window shows inside it; a band released where it started selects
    // nothing.
    void bandSelection() {
        Opened opened(QStringLiteral(BRINDLE_SAMPLES_DIR "/demo.vyn"));
        VynView& view = opened.view();
        opened.window.dispatch(CommandId::CopyBitmap);
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(50, 60));
        QTest::mouseMove(view.viewport(), QPoint(120, 100));
        QTest::mouseMove(view.viewport(), QPoint(250, 160));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(250, 160));
        QCOMPARE(view.selectionRectangle(), QRect(50, 60, 200, 100));
        opened.window.updateCommandStates();
        QVERIFY(opened.window.action(CommandId::EditCopy)->isEnabled());
        opened.window.dispatch(CommandId::EditCopy);
        const QImage picture = QApplication::clipboard()->image();
        QCOMPARE(picture.size(), QSize(198, 98));
        const QImage shown = view.renderViewport(1.0).copy(51, 61, 198, 98);
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32),
                 shown.convertToFormat(QImage::Format_RGB32));

        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(80, 80));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(80, 80));
        QVERIFY(view.selectionRectangle().isEmpty());
        opened.window.updateCommandStates();
        QVERIFY(!opened.window.action(CommandId::EditCopy)->isEnabled());
    }

    // Scanned documents have no text: selecting text, Select All and Find are off, the area
    // tool works.
    void scannedDocumentsDisableTextCommands() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "scan.vyn", {kZhong}, 23112));
        opened.window.updateCommandStates();
        for (CommandId off :
             {CommandId::SelectTool, CommandId::EditSelectAll, CommandId::EditFind}) {
            QVERIFY(!opened.window.action(off)->isEnabled());
        }
        QVERIFY(opened.window.action(CommandId::CopyBitmap)->isEnabled());
    }

    // "abc" is found on a page holding only "ＡＢＣ"; a page without it says so.
    void findOnThePage() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "find.vyn", {fullWidth("ABC"), kZhong + kWen}));
        VynView& view = opened.view();
        FindDialog dialog(&view);
        dialog.setText("abc");
        QVERIFY(dialog.findOnPage());
        QCOMPARE(QByteArray::fromStdString(appState().searchText), QByteArray("abc"));
        view.goToPage(2);
        const auto message = answerNextMessage();
        QVERIFY(!dialog.findOnPage());
        QCOMPARE(message->text, QStringLiteral("Not Find in this page!"));
    }

    // Searching towards the last page starts on the next page and stops where the term is;
    // from the last page it searches the last page again and reports the whole file.
    void findAcrossPages() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "pages.vyn", {kZhong, kWen, kShu, kWen + kShu, kZhong}));
        VynView& view = opened.view();
        FindDialog dialog(&view);
        dialog.setText(QStringLiteral("书"));
        QVERIFY(dialog.findTowardsLast());
        QCOMPARE(view.page(), 3);
        QVERIFY(dialog.findTowardsLast());
        QCOMPARE(view.page(), 4);
        auto message = answerNextMessage();
        QVERIFY(!dialog.findTowardsLast());
        QCOMPARE(view.page(), 5);
        QCOMPARE(message->text, QStringLiteral("Not Find in this file!"));
        QVERIFY(dialog.findTowardsFirst());
        QCOMPARE(view.page(), 4);
        dialog.setText(QStringLiteral("中"));
        QVERIFY(dialog.findTowardsFirst());
        QCOMPARE(view.page(), 1);
        QVERIFY(dialog.findTowardsFirst());  // the first page is searched again
        dialog.setText(QStringLiteral("文"));
        message = answerNextMessage();
        QVERIFY(!dialog.findTowardsFirst());
        QCOMPARE(message->text, QStringLiteral("Not Find in this file!"));
        QCOMPARE(view.page(), 1);
    }

    // Cancel stops a search through many pages where it is, without a message.
    void cancelStopsASearch() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "long.vyn", std::vector<std::string>(200, kZhong)));
        VynView& view = opened.view();
        FindDialog dialog(&view);
        dialog.setText(QStringLiteral("书"));
        QTimer::singleShot(0, &dialog, [&dialog] { static_cast<QDialog&>(dialog).reject(); });
        const auto message = answerNextMessage();
        QVERIFY(!dialog.findTowardsLast());
        QVERIFY(view.page() > 1 && view.page() < 200);
        QVERIFY(message->text.isEmpty());
        QCoreApplication::processEvents();
    }

    // A term whose full-width form does not fit is refused with a message, and the shared
    // search text is kept.
    void overlongTermsAreRefused() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "find.vyn", {kZhong}));
        FindDialog dialog(&opened.view());
        dialog.setText(QString(200, u'a'));
        const auto message = answerNextMessage();
        QVERIFY(!dialog.findOnPage());
        QVERIFY2(message->text.contains(QStringLiteral("太长")), qPrintable(message->text));
        QVERIFY(appState().searchText.empty());
    }

    void findDialogClosesWithItsView() {
        QTemporaryDir dir;
        Opened opened(textDocument(dir, "find.vyn", {kZhong}));
        opened.window.dispatch(CommandId::EditFind);
        QPointer<FindDialog> dialog = opened.view().findChild<FindDialog*>();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        opened.window.dispatch(CommandId::FileClose);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
    }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
