// The viewer's start-up decisions, its settings, its routing by content, the dialogs' checks
// and the contents tree, on the offscreen platform.
#include <vyn/vynfile.h>

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "contents_tree.h"
#include "document_window.h"
#include "page_dialogs.h"
#include "routing.h"
#include "settings.h"
#include "startup.h"
#include "zor_view.h"

using namespace viewer;

namespace {

DirItem item(const char* title, int level, const char* page) {
    DirItem entry{};
    std::strncpy(entry.title, title, sizeof entry.title - 1);
    std::strncpy(entry.pageNumber, page, sizeof entry.pageNumber - 1);
    entry.level = level;
    return entry;
}

// The tree as text: each item's title indented by its depth.
QStringList treeText(const QTreeWidget& tree) {
    QStringList lines;
    std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* node,
                                                                int depth) {
        lines << QString(depth * 2, ' ') + node->text(0);
        for (int i = 0; i < node->childCount(); ++i) {
            walk(node->child(i), depth + 1);
        }
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        walk(tree.topLevelItem(i), 0);
    }
    return lines;
}

const QString kSamples = QStringLiteral(BRINDLE_SAMPLES_DIR);

}  // namespace

class ViewerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // Settings go to the test folders of QStandardPaths, not the user's own.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(VYNFile_Init() == 1);
    }
    void cleanupTestCase() { VYNFile_Exit(); }

    void startCommands_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("page");
        QTest::newRow("open") << "open /papers/A.vyn?12" << int(StartCommand::Kind::Open)
                              << "/papers/A.vyn" << 12;
        QTest::newRow("page 0 is page 1")
            << "open d:/x.vyn?0" << int(StartCommand::Kind::Open) << "d:/x.vyn" << 1;
        QTest::newRow("no question mark")
            << "open d:/x.vyn" << int(StartCommand::Kind::None) << "" << 1;
        QTest::newRow("another word")
            << "view d:/x.vyn?3" << int(StartCommand::Kind::None) << "" << 1;
        QTest::newRow("print") << "PRINT /a/B.vyn?2" << int(StartCommand::Kind::Print) << "/a/B.vyn"
                               << 2;
    }
    void startCommands() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, path);
        QFETCH(int, page);
        const StartCommand command = parseStartCommand(text.toStdString());
        QCOMPARE(int(command.kind), kind);
        if (kind != int(StartCommand::Kind::None)) {
            QCOMPARE(QString::fromStdString(command.path), path);
            QCOMPARE(command.page, page);
        }
    }

    void codePages() {
        QCOMPARE(codePageOfLocale("zh_TW.UTF-8"), 950);
        QCOMPARE(codePageOfLocale("zh_HK"), 950);
        QCOMPARE(codePageOfLocale("zh_CN.UTF-8"), 936);
        QCOMPARE(codePageOfLocale("zh_SG"), 936);
        QCOMPARE(codePageOfLocale("en_US.UTF-8"), 1252);
    }

    void routingByContent_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("pdf");
        QTest::newRow("pdf") << QByteArray("%PDF-1.4\n") << true;
        QTest::newRow("zor") << QByteArray("ZOR 2.00") << true;
        QTest::newRow("zor in lower case") << QByteArray("zor 1.00") << true;
        QTest::newRow("vyn") << QByteArray("\x90\x01\x00\x00", 4) << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void routingByContent() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, pdf);
        QTemporaryDir dir;
        // The name says nothing: a PDF named .vyn still goes to the PDF/ZOR type.
        const QString path = dir.filePath("file.vyn");
        std::ofstream(path.toStdString(), std::ios::binary).write(bytes.constData(), bytes.size());
        QCOMPARE(documentKindOf(path.toStdString()) == DocumentKind::PdfZor, pdf);
        QCOMPARE(documentKindOf(dir.filePath("missing").toStdString()), DocumentKind::VynQd);
    }

    void displayChoices_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("systemLanguage");
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("baseFont");
        QTest::newRow("big5 in lower case") << "big5"
                                            << "" << 0x0804 << 950 << "";
        QTest::newRow("GB") << "GB"
                            << "" << 0x0404 << 936 << "";
        QTest::newRow("Big 5 with a blank, Taiwan") << "Big 5"
                                                    << "" << 0x0404 << 950 << "";
        QTest::newRow("nothing, mainland") << ""
                                           << "" << 0x0804 << 936 << "SimSun";
        QTest::newRow("nothing, mainland, a font")
            << ""
            << "FZShuSong-Z01" << 0x0804 << 936 << "FZShuSong-Z01";
        QTest::newRow("nothing, Hong Kong") << ""
                                            << "" << 0x0C04 << 950 << "";
    }
    void displayChoices() {
        QFETCH(QString, language);
        QFETCH(QString, font);
        QFETCH(int, systemLanguage);
        QFETCH(int, codePage);
        QFETCH(QString, baseFont);
        const DisplayChoice choice = chooseDisplay(language, font, uint16_t(systemLanguage));
        QCOMPARE(choice.codePage, codePage);
        QCOMPARE(choice.simplified, codePage == 936);
        QCOMPARE(choice.baseFont, baseFont);
    }

    void interfaceLanguages() {
        QVERIFY(chooseInterfaceLanguage("GB", 1252) == InterfaceLanguage::BuiltIn);
        QVERIFY(chooseInterfaceLanguage("", 1252) == InterfaceLanguage::English);
        QVERIFY(chooseInterfaceLanguage("", 950) == InterfaceLanguage::Big5);
        QVERIFY(chooseInterfaceLanguage("", 936) == InterfaceLanguage::BuiltIn);
        QVERIFY(chooseInterfaceLanguage("ENGLISH", 936) == InterfaceLanguage::English);
        QCOMPARE(languageIdOfLocale("zh_MO"), uint16_t(0x1404));
    }

    // A write into a store that does not exist creates it and stores nothing; the next stores.
    void machineStore() {
        QTemporaryDir dir;
        const MachineSettings store(dir.filePath("Morla/ORVELLE.ini"));
        QCOMPARE(store.readColour(), 0xFFFFFFu);
        QVERIFY(!store.writeText("LANGUAGE", "BIG5"));
        QCOMPARE(store.readText("LANGUAGE"), QString());
        QVERIFY(store.writeText("LANGUAGE", "BIG5"));
        QCOMPARE(store.readText("LANGUAGE"), QString("BIG5"));
        QVERIFY(store.writeColour(0x00C0FFEE));
        QCOMPARE(store.readColour(), 0x00C0FFEEu);
        QCOMPARE(store.readText("COLOR"), QString());  // a number is no text
        QVERIFY(store.writeText("COLOR", "blue"));
        QCOMPARE(store.readColour(), 0xFFFFFFu);  // a text is no colour
        const ProfileSettings profile(dir.filePath("Morla/Orvelle.ini"));
        for (const char* file : {"a", "b", "c", "d", "e", "b"}) {
            profile.addRecentFile(file);
        }
        QCOMPARE(profile.recentFiles(), (QStringList{"b", "e", "d", "c"}));
    }

    void dialogEntries() {
        QVERIFY(checkPageEntry("3", 12).result == PageChoice::Result::Page);
        QCOMPARE(checkPageEntry(" 12 ", 12).page, 12);
        QVERIFY(checkPageEntry("13", 12).result == PageChoice::Result::OutOfRange);
        QVERIFY(checkPageEntry("0", 12).result == PageChoice::Result::OutOfRange);
        QVERIFY(checkPageEntry("2.5", 12).result == PageChoice::Result::NotAnInteger);
        QVERIFY(checkPageEntry("", 12).result == PageChoice::Result::NotAnInteger);
        QCOMPARE(checkZoomEntry("75"), std::optional<double>(75.0));
        QCOMPARE(checkZoomEntry(" 12.5 "), std::optional<double>(12.5));
        QVERIFY(!checkZoomEntry("0"));
        QVERIFY(!checkZoomEntry("-50"));
        QVERIFY(!checkZoomEntry("abc"));
    }

    // The tree of entries with their levels, as text with each entry's image numbers.
    void contentsTreeShapes() {
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, levels);
        QFETCH(QStringList, expected);
        std::vector<DirItem> items;
        for (qsizetype i = 0; i < titles.size(); ++i) {
            const QByteArray title = titles[i].toLocal8Bit();
            items.push_back(item(title.constData(), levels[i], "1"));
        }
        ContentsTree tree;
        tree.build(items);
        QStringList shape;
        std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* node,
                                                                    int depth) {
            const auto [normal, selected] = ContentsTree::imagesOf(node);
            shape << QString(depth * 2, ' ') + node->text(0) +
                         QStringLiteral(" %1/%2").arg(int(normal)).arg(int(selected));
            for (int i = 0; i < node->childCount(); ++i) {
                walk(node->child(i), depth + 1);
            }
        };
        walk(tree.topLevelItem(0), 0);
        QCOMPARE(shape, expected);
    }
    void contentsTreeShapes_data() {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("1 2 2 3 1")
            << QStringList{"A", "B", "C", "D", "E"} << QList<int>{1, 2, 2, 3, 1}
            << QStringList{"目录 3/3",  "  A 0/1",     "    B 0/1",
                           "    C 0/1", "      D 0/1", "  E 0/1"};
        QTest::newRow("1 2 2: a sibling keeps its normal image")
            << QStringList{"A", "B", "C"} << QList<int>{1, 2, 2}
            << QStringList{"目录 3/3", "  A 0/1", "    B 0/1", "    C 0/0"};
        QTest::newRow("1 3 2: the third climbs to the root and is dropped")
            << QStringList{"A", "B", "C"} << QList<int>{1, 3, 2}
            << QStringList{"目录 3/3", "  A 0/1", "    B 0/1"};
        QTest::newRow("an unclosed sign is shown")
            << QStringList{"<fig1", "<fig2>"} << QList<int>{1, 1}
            << QStringList{"目录 3/3", "  <fig1 0/1"};
    }

    void contentsTreeLevels() {
        ContentsTree tree;
        const DirItem items[] = {item("A", 1, "1"), item("B", 2, "2"), item("C", 2, "3"),
                                 item("D", 3, "4"), item("E", 1, "5"), item("<fig1>", 1, "6"),
                                 item("F", 0, "7"), item("G", 3, "8")};
        tree.build(items);
        QCOMPARE(treeText(tree),
                 (QStringList{"目录", "  A", "    B", "    C", "      D", "  E", "    G"}));
        QCOMPARE(tree.pageOfEntry(4), 4);
        QCOMPARE(tree.pageOfEntry(0), 0);
        // Choosing an entry asks for its page once; choosing it again asks nothing.
        QSignalSpy chosen(&tree, &ContentsTree::pageChosen);
        QTreeWidgetItem* c = tree.topLevelItem(0)->child(0)->child(1);
        tree.setCurrentItem(c);
        tree.setCurrentItem(c);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toInt(), 3);
        tree.setCurrentItem(tree.topLevelItem(0));
        QCOMPARE(chosen.count(), 1);
    }

    // A PDF's outline nests as a catalog does; entries the document shows closed stay
    // collapsed, and an entry asks for its place when it has one, for its page otherwise,
    // and for nothing when it leads nowhere.
    void contentsTreeOutline() {
        const auto entry = [](const char* title, int level, int pageIndex,
                              std::optional<double> top, bool open) {
            reader::OutlineItem item;
            item.title = title;
            item.level = level;
            item.open = open;
            item.destination.pageIndex = pageIndex;
            item.destination.top = top;
            return item;
        };
        const std::vector<reader::OutlineItem> items = {
            entry("第一章", 1, 0, 700, true), entry("1.1", 2, 1, std::nullopt, false),
            entry("1.1.1", 3, 2, 300, false), entry("附录", 1, 3, std::nullopt, false),
            entry("A", 2, 4, 10, false),      entry("nowhere", 1, -1, std::nullopt, false)};
        ContentsTree tree;
        tree.buildOutline(items);
        QCOMPARE(treeText(tree), (QStringList{"目录", "  第一章", "    1.1", "      1.1.1",
                                              "  附录", "    A", "  nowhere"}));
        QTreeWidgetItem* root = tree.topLevelItem(0);
        QVERIFY(root->isExpanded());
        QVERIFY(root->child(0)->isExpanded());
        QVERIFY(!root->child(0)->child(0)->isExpanded());
        QVERIFY(!root->child(1)->isExpanded());
        QSignalSpy pages(&tree, &ContentsTree::pageChosen);
        QSignalSpy places(&tree, &ContentsTree::placeChosen);
        tree.setCurrentItem(root->child(0)->child(0)->child(0));
        tree.setCurrentItem(root->child(1));
        tree.setCurrentItem(root->child(2));
        QCOMPARE(places.count(), 1);
        QCOMPARE(places.at(0).at(0).toInt(), 3);
        QCOMPARE(places.at(0).at(1).toDouble(), 300.0);
        QCOMPARE(pages.count(), 1);
        QCOMPARE(pages.at(0).at(0).toInt(), 4);
    }

    // A PDF or ZOR file opens in the PDF/ZOR view whatever its name; one that does not open
    // as a PDF gives no window.
    void pdfDocumentsOpenInTheirView() {
        QTemporaryDir dir;
        const QString renamed = dir.filePath("paper.vyn");
        QVERIFY(QFile::copy(kSamples + "/demo.zor", renamed));
        DocumentWindow zor(renamed);
        QVERIFY(zor.isValid());
        QVERIFY(zor.zorView() != nullptr && zor.view() == nullptr);
        QVERIFY(zor.contents() != nullptr);
        DocumentWindow pdf(kSamples + "/demo.pdf");
        QVERIFY(pdf.isValid() && pdf.zorView() != nullptr);
        QVERIFY(pdf.contents() == nullptr);
        const QString broken = dir.filePath("broken.pdf");
        std::ofstream(broken.toStdString()) << "%PDF-1.4\n";
        QVERIFY(!DocumentWindow(broken).isValid());
    }
};

QTEST_MAIN(ViewerTest)
#include "viewer_test.moc"
