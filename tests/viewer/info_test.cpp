// The server-address and about dialogs, the hyperlink and the knowledge query's address, on
// the offscreen platform.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <memory>

#include "engine_messages.h"
#include "hyperlink.h"
#include "info_dialogs.h"
#include "knowledge_query.h"
#include "message_answer.h"
#include "open_address.h"
#include "settings.h"

using namespace viewer;

class InfoTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QFile::remove(settingsFolder() + "/Orvelle.ini"); }

    void knowledgeAddresses() {
        QFETCH(QString, base);
        QFETCH(QByteArray, term);
        QFETCH(QString, address);
        QCOMPARE(knowledgeAddress(base, term).value_or(QString()), address);
    }
    void knowledgeAddresses_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QByteArray>("term");
        QTest::addColumn<QString>("address");
        QTest::newRow("base ending in a slash")
            << "http://k.example.org/kns/" << QByteArray("abc")
            << "http://k.example.org/kns/knowledgeframe.asp?word=abc";
        QTest::newRow("base ending in asp")
            << " http://k.example.org/kns.asp " << QByteArray("abc")
            << "http://k.example.org/kns.asp/knowledgeframe.asp?word=abc";
        QTest::newRow("trimmed term, inner blank kept")
            << "http://k/" << QByteArray("  a b \r\n") << "http://k/knowledgeframe.asp?word=a%20b";
        QTest::newRow("GB2312 bytes") << "http://k/" << QByteArray("\xd6\xd0\xce\xc4")
                                      << "http://k/knowledgeframe.asp?word=%D6%D0%CE%C4";
        QTest::newRow("no base") << "  " << QByteArray("abc") << QString();
        QTest::newRow("upper-case scheme")
            << "HTTPS://k/" << QByteArray("a") << "HTTPS://k/knowledgeframe.asp?word=a";
        for (const char* notWeb : {"file:///etc/", "smb://server/share/", "javascript:alert(1)",
                                   "ftp://k/", "k.example.org/", "http:///path/"}) {
            QTest::newRow(notWeb) << notWeb << QByteArray("abc") << QString();
        }
    }

    void queryWithoutASelection() {
        const auto message = answerNextMessage();
        runKnowledgeQuery(nullptr, false, "abc", "abc");
        QCOMPARE(message->text, QStringLiteral("没有选中要查询的知识点!"));
        const auto blank = answerNextMessage();
        runKnowledgeQuery(nullptr, true, "   ", "   ");
        QCOMPARE(blank->text, QStringLiteral("没有选中要查询的知识点!"));
    }

    void hyperlinkErrorTexts() {
        QCOMPARE(hyperlinkErrorText(26),
                 QStringLiteral("Unable to open hyperlink:\n\nA sharing violation occurred. "));
        QCOMPARE(hyperlinkErrorText(99),
                 QStringLiteral("Unable to open hyperlink:\n\nUnknown Error (99) occurred."));
    }

    // A link shows its address when it has no text, looks visited after a successful click,
    // and reports a failed one.
    void hyperlinkClicks() {
        HyperLink link{QString()};
        link.setAddress("http://k.example.org/");
        QCOMPARE(link.text(), QStringLiteral("http://k.example.org/"));
        QCOMPARE(link.toolTip(), QStringLiteral("http://k.example.org/"));
        QVERIFY(link.font().underline());
        QCOMPARE(link.textColour(), QColor(0, 0, 238));
        QString opened;
        link.setOpener([&opened](const QString& address) {
            opened = address;
            return kAddressOpened;
        });
        link.show();
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(opened, QStringLiteral("http://k.example.org/"));
        QVERIFY(link.isVisited());
        QCOMPARE(link.textColour(), QColor(85, 26, 139));

        HyperLink failing(QStringLiteral("link"));
        failing.setOpener([](const QString&) { return 26; });
        failing.show();
        const auto message = answerNextMessage();
        QTest::mouseClick(&failing, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(message->text, hyperlinkErrorText(26));
        QVERIFY(!failing.isVisited());
        failing.setUnderline(false);
        QVERIFY(!failing.font().underline());
    }

    // The address is at most 100 characters: a longer one keeps the dialog open.
    void serverDialogBound() {
        ServerDialog dialog;
        QCOMPARE(dialog.findChild<QLineEdit*>()->text(),
                 QString::fromLatin1(kDefaultServerAddress));
        dialog.setAddress(QString(101, u'a'));
        const auto message = answerNextMessage();
        dialog.accept();
        QCOMPARE(message->text, QStringLiteral("“请填入不多于100个的字符。”"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(ProfileSettings().serverAddress(), QString::fromLatin1(kDefaultServerAddress));
        const QString longest = QStringLiteral("http://k/") + QString(91, u'a');
        dialog.setAddress(longest);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ProfileSettings().serverAddress(), longest);
    }

    // Only web addresses are taken: anything else keeps the dialog open with a message, and a
    // stored one is refused when the query runs.
    void serverDialogTakesWebAddressesOnly() {
        ServerDialog dialog;
        for (const char* address : {"file:///home/", "smb://server/share", "javascript:x()"}) {
            dialog.setAddress(QString::fromLatin1(address));
            const auto message = answerNextMessage();
            dialog.accept();
            QCOMPARE(message->text, notAWebAddressText());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(ProfileSettings().serverAddress(), QString::fromLatin1(kDefaultServerAddress));
        }
        ProfileSettings().setServerAddress(QStringLiteral("file:///etc/"));
        const auto message = answerNextMessage();
        runKnowledgeQuery(nullptr, true, "abc", "abc");
        QCOMPARE(message->text, notAWebAddressText());
    }

    // An engine message waits for the event loop, and the same message again is left out.
    void engineMessagesAreShownOnce() {
        queueEngineMessage("JPEG Fatal Error", "Bogus marker length");
        queueEngineMessage("JPEG Fatal Error", "Bogus marker length");
        const auto first = answerNextMessage();
        QCoreApplication::processEvents();
        QCOMPARE(first->title, QStringLiteral("JPEG Fatal Error"));
        QCOMPARE(first->text, QStringLiteral("Bogus marker length"));
        const auto second = answerNextMessage();
        QCoreApplication::processEvents();
        QVERIFY(second->text.isEmpty());
        QCoreApplication::processEvents();
    }

    void aboutDialogLinks() {
        AboutDialog dialog;
        QCOMPARE(dialog.serviceLink()->address(), QString::fromLatin1(kDefaultServerAddress));
        QVERIFY(!dialog.projectLink()->address().isEmpty());
        QVERIFY(dialog.serviceLink()->font().underline());
    }
};

QTEST_MAIN(InfoTest)
#include "info_test.moc"
