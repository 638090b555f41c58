// The display options on the offscreen platform: Simplified or Traditional page text with and
// without a VYN/QD view, the pictures switch, the base font and the page background, with what
// each leaves in the machine store; and the interface languages.
#include <vyn/vynfile.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <memory>

#include "app_state.h"
#include "display_options.h"
#include "document_window.h"
#include "interface_language.h"
#include "main_window.h"
#include "message_answer.h"
#include "opened_window.h"
#include "settings.h"
#include "vyn_view.h"

using namespace viewer;

namespace {

const QString kDemo = QStringLiteral(BRINDLE_SAMPLES_DIR "/demo.vyn");

// The share of 8 x 8 blocks whose mean grey differs by more than 24 levels.
double differingBlocks(const QImage& a, const QImage& b) {
    int differing = 0;
    int blocks = 0;
    for (int top = 0; top + 8 <= a.height(); top += 8) {
        for (int left = 0; left + 8 <= a.width(); left += 8) {
            int sumA = 0;
            int sumB = 0;
            for (int y = top; y < top + 8; ++y) {
                for (int x = left; x < left + 8; ++x) {
                    sumA += qGray(a.pixel(x, y));
                    sumB += qGray(b.pixel(x, y));
                }
            }
            differing += std::abs(sumA - sumB) / 64 > 24 ? 1 : 0;
            ++blocks;
        }
    }
    return double(differing) / blocks;
}

}  // namespace

class OptionsTest : public QObject {
    Q_OBJECT

    struct Opened : OpenedWindow {
        Opened() : OpenedWindow(kDemo, {900, 700}) {}
    };

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(VYNFile_Init() == 1);
    }
    void cleanupTestCase() { VYNFile_Exit(); }
    void init() {
        QDir(settingsFolder()).removeRecursively();
        appState() = AppState{};
        VYNFile_SetCodePage(936);
    }

    // From a view the page is drawn again in the other characters at once, and the choice
    // is stored even in a store that did not exist.
    void traditionalTextFromAView() {
        Opened opened;
        VynView& view = opened.view();
        const QImage simplified = view.renderViewport(1.0);
        opened.window.dispatch(CommandId::TraditionalText);
        QVERIFY(!appState().simplifiedDisplay);
        QCOMPARE(MachineSettings().readText("LANGUAGE"), QStringLiteral("BIG5"));
        QVERIFY(opened.window.action(CommandId::TraditionalText)->isChecked());
        QVERIFY(!opened.window.action(CommandId::SimplifiedText)->isChecked());
        const QImage traditional = view.renderViewport(1.0);
        QVERIFY(differingBlocks(simplified, traditional) > 0.01);
        opened.window.dispatch(CommandId::SimplifiedText);
        QCOMPARE(MachineSettings().readText("LANGUAGE"), QStringLiteral("GB"));
        QVERIFY(differingBlocks(simplified, view.renderViewport(1.0)) < 0.001);
    }

    // The page text and the base font are the engine's for every document: a choice made in
    // one view draws the pages of the others again too.
    void sharedChoicesReachEveryViewsPaints() {
        QFETCH(bool, baseFont);
        Opened opened;
        VynView& first = opened.view();
        QVERIFY(opened.window.openDocument(kDemo));
        VynView& second = *opened.window.activeDocument()->view();
        second.setRatio(1.0f);
        QVERIFY(&first != &second);
        MachineSettings().writeText("LANGUAGE", "GB");
        const QImage before = first.shownViewport(1.0);
        const QImage secondBefore = second.shownViewport(1.0);
        if (baseFont) {
            second.applyBaseFont(QStringLiteral("AR PL UKai CN"));
        } else {
            second.setPageText(false);
        }
        for (VynView* view : {&first, &second}) {
            const QImage after = view->shownViewport(1.0);
            QVERIFY(differingBlocks(view == &first ? before : secondBefore, after) > 0.01);
            QCOMPARE(after, view->renderViewport(1.0));
        }
    }
    void sharedChoicesReachEveryViewsPaints_data() {
        QTest::addColumn<bool>("baseFont");
        QTest::newRow("page text") << false;
        QTest::newRow("base font") << true;
    }

    // A store that cannot be written: the "Error" message, and the display stays.
    void unwritableStoreFromAView() {
        Opened opened;
        QVERIFY(QDir().mkpath(settingsFolder() + "/ORVELLE.ini"));  // a folder where the file goes
        const auto message = answerNextMessage();
        opened.window.dispatch(CommandId::TraditionalText);
        QCOMPARE(message->title, QStringLiteral("Error"));
        QVERIFY(!message->text.isEmpty());
        QVERIFY(appState().simplifiedDisplay);
    }

    // With no document the first choice only creates the store; the next is stored and the
    // next document opens in it.
    void pageTextWithoutAView() {
        MainWindow window;
        window.show();
        window.dispatch(CommandId::TraditionalText);
        QVERIFY(appState().simplifiedDisplay);
        window.dispatch(CommandId::TraditionalText);
        QVERIFY(!appState().simplifiedDisplay);
        QCOMPARE(MachineSettings().readText("LANGUAGE"), QStringLiteral("BIG5"));
        window.updateCommandStates();
        QVERIFY(window.action(CommandId::TraditionalText)->isChecked());
        QVERIFY(window.openDocument(kDemo));
        window.activeDocument()->view()->setRatio(1.0f);
        const QImage traditional = window.activeDocument()->view()->renderViewport(1.0);
        window.dispatch(CommandId::SimplifiedText);
        QVERIFY(differingBlocks(traditional, window.activeDocument()->view()->renderViewport(1.0)) >
                0.01);
    }

    // Pictures off leave placeholders; on again, the pictures are decoded again.
    void picturesSwitch() {
        Opened opened;
        VynView& view = opened.view();
        view.verticalScrollBar()->setValue(view.pageSize().height() / 2);  // the figures
        const QImage shown = view.renderViewport(1.0);
        opened.window.dispatch(CommandId::ShowPictures);
        QVERIFY(!view.picturesShown());
        QVERIFY(!opened.window.action(CommandId::ShowPictures)->isChecked());
        QVERIFY(differingBlocks(shown, view.renderViewport(1.0)) > 0.01);
        opened.window.dispatch(CommandId::ShowPictures);
        QVERIFY(opened.window.action(CommandId::ShowPictures)->isChecked());
        QCOMPARE(view.renderViewport(1.0), shown);
    }

    // The view takes a colour at once; it is stored for windows opened later, and a store
    // written for the first time keeps the old colour for them.
    void backgroundColour() {
        Opened opened;
        VynView& view = opened.view();
        MachineSettings().writeText("FONT", "");  // the store exists from here on
        view.applyBackground(QColor(0xE0, 0xF0, 0xD0));
        QCOMPARE(view.background(), QColor(0xE0, 0xF0, 0xD0));
        QCOMPARE(appState().backgroundColour, 0xD0F0E0u);
        QCOMPARE(MachineSettings().readColour(), 0xD0F0E0u);
        const QImage page = view.renderViewport(1.0);
        QCOMPARE(page.pixelColor(2, 2), QColor(0xE0, 0xF0, 0xD0));
        QVERIFY(opened.window.openDocument(kDemo));
        QCOMPARE(opened.window.activeDocument()->view()->background(), QColor(0xE0, 0xF0, 0xD0));
    }

    // The face goes to the store and, once stored, to the engine, which draws with it.
    void baseFont() {
        Opened opened;
        VynView& view = opened.view();
        MachineSettings().writeText("LANGUAGE", "GB");
        view.applyBaseFont(QStringLiteral("AR PL UKai CN"));
        const QImage kai = view.renderViewport(1.0);
        view.applyBaseFont(QStringLiteral("WenQuanYi Zen Hei"));
        QCOMPARE(MachineSettings().readText("FONT"), QStringLiteral("WenQuanYi Zen Hei"));
        QVERIFY(differingBlocks(kai, view.renderViewport(1.0)) > 0.01);
    }

    // English, Traditional Chinese and back: menus, prompts and the checked language follow,
    // the profile keeps the choice, and a PDF/ZOR window keeps its built-in menus.
    void interfaceLanguages() {
        const QString pdf = QStringLiteral(BRINDLE_SAMPLES_DIR "/demo.pdf");
        MainWindow window;
        window.show();
        QVERIFY(window.openDocument(kDemo));
        const auto menuTitles = [&window] {
            QStringList titles;
            for (QAction* menu : window.menuBar()->actions()) {
                titles << menu->text();
            }
            return titles;
        };
        const QStringList builtIn = menuTitles();
        QVERIFY(window.action(CommandId::GbMenu)->isChecked());
        QVERIFY(!window.action(CommandId::GbMenu)->isEnabled());

        window.dispatch(CommandId::EnglishMenu);
        QCOMPARE(window.interfaceLanguage(), InterfaceLanguage::English);
        QCOMPARE(ProfileSettings().interfaceLanguage(), QStringLiteral("ENGLISH"));
        QCOMPARE(menuTitles().first(), QStringLiteral("&File"));
        QCOMPARE(window.action(CommandId::NextPage)->toolTip(), QStringLiteral("Next Page"));
        QCOMPARE(window.statusTexts().first(), QStringLiteral("Ready"));
        QVERIFY(window.action(CommandId::EnglishMenu)->isChecked());
        QVERIFY(!window.action(CommandId::EnglishMenu)->isEnabled());
        QVERIFY(window.action(CommandId::GbMenu)->isEnabled());

        QVERIFY(window.openDocument(pdf));
        QCOMPARE(window.shownMenuBar(), MenuBar::PdfDocument);
        QCOMPARE(menuTitles().first(), QStringLiteral("文件(&F)"));
        window.documentArea()->closeActiveSubWindow();

        window.dispatch(CommandId::Big5Menu);
        QCOMPARE(menuTitles().first(), QStringLiteral("檔案(&F)"));
        QCOMPARE(ProfileSettings().interfaceLanguage(), QStringLiteral("BIG5"));

        window.dispatch(CommandId::GbMenu);
        QCOMPARE(menuTitles(), builtIn);
        QCOMPARE(ProfileSettings().interfaceLanguage(), QStringLiteral("GB"));
        QVERIFY(window.action(CommandId::GbMenu)->isChecked());
        QVERIFY(!window.action(CommandId::EnglishMenu)->isChecked());
    }

    // Every text of the program has its translation in both files, and the compiled files
    // beside the program carry them.
    void translationsAreComplete() {
        for (const char* name : {"brindle_en", "brindle_zh_TW"}) {
            QFile source(QStringLiteral(BRINDLE_TRANSLATIONS_DIR "/%1.ts").arg(name));
            QVERIFY(source.open(QIODevice::ReadOnly));
            const QByteArray text = source.readAll();
            QVERIFY(text.count("<source>") > 100);
            QCOMPARE(text.count("<translation>"), text.count("<source>"));
            QTranslator translator;
            QVERIFY(translator.load(name, QCoreApplication::applicationDirPath()));
            QVERIFY(!translator.translate("Menu", "关于VYN文件浏览器(&A)...").isEmpty());
        }
    }

    // A missing translation file keeps the language in use.
    void missingTranslationKeepsTheLanguage() {
        InterfaceTranslations translations;
        QVERIFY(!translations.switchTo(InterfaceLanguage::English,
                                       QDir::tempPath() + "/no-such-folder"));
        QCOMPARE(translations.current(), InterfaceLanguage::BuiltIn);
        QVERIFY(translations.switchTo(InterfaceLanguage::English));
        QVERIFY(
            !translations.switchTo(InterfaceLanguage::Big5, QDir::tempPath() + "/no-such-folder"));
        QCOMPARE(translations.current(), InterfaceLanguage::English);
        QVERIFY(translations.switchTo(InterfaceLanguage::BuiltIn));
    }
};

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
