// BrindleViewer: starts both libraries with the code page of the locale, shows the main window
// and opens a document named by the "open FILE?PAGE" command line.
#include <vyn/vynfile.h>

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include "main_window.h"
#include "reader/rdll.h"
#include "settings.h"
#include "startup.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BrindleViewer"));
    if (VYNFile_Init() != 1) {
        QMessageBox::critical(nullptr, QStringLiteral("BrindleViewer"),
                              QStringLiteral("页面引擎无法启动。"));
        return 1;
    }
    RDLL_Init(0);
    // Page text: the machine store's choice, else the system's language.
    const viewer::MachineSettings machine;
    const QString locale = QLocale::system().name();
    const viewer::DisplayChoice display = viewer::chooseDisplay(
        machine.readText("LANGUAGE"), machine.readText("FONT"), viewer::languageIdOfLocale(locale));
    VYNFile_SetBaseFontName(display.baseFont.toUtf8().constData());
    VYNFile_SetCodePage(display.codePage);

    // The interface language is chosen here; switching to it arrives with the translations.
    const viewer::InterfaceLanguage language = viewer::chooseInterfaceLanguage(
        viewer::ProfileSettings().interfaceLanguage(), viewer::codePageOfLocale(locale.toStdString()));
    application.setProperty("interfaceLanguage", int(language));

    viewer::MainWindow window;
    QStringList words = application.arguments().mid(1);
    const viewer::StartCommand command = viewer::parseStartCommand(words.join(' ').toStdString());
    window.showMaximized();
    if (command.kind != viewer::StartCommand::Kind::None) {
        window.openDocument(QString::fromStdString(command.path), command.page);
    }
    const int result = application.exec();
    RDLL_Free(0);
    VYNFile_Exit();
    return result;
}
