// BrindleViewer: starts both libraries, takes the display choices from the settings and the
// locale, and shows the main window; "open FILE?PAGE" opens a document at a page, "print
// FILE?PAGE" prints one on the default printer and ends.
#include <vyn/vynfile.h>

#include <QApplication>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>

#include "app_state.h"
#include "engine_messages.h"
#include "main_window.h"
#include "print_command.h"
#include "reader/rdll.h"
#include "settings.h"
#include "startup.h"

namespace {

// Page text: the machine store's choice, else the system's language.
void applyDisplayChoice(const QString& locale) {
    const viewer::MachineSettings machine;
    const viewer::DisplayChoice display = viewer::chooseDisplay(
        machine.readText("LANGUAGE"), machine.readText("FONT"), viewer::languageIdOfLocale(locale));
    VYNFile_SetBaseFontName(display.baseFont.toLocal8Bit().constData());
    VYNFile_SetCodePage(display.codePage);
    viewer::appState().simplifiedDisplay = display.simplified;
    viewer::appState().backgroundColour = machine.readColour();
}

int printOnDefaultPrinter(const QString& path) {
    if (QPrinterInfo::defaultPrinter().isNull()) {
        std::fprintf(stderr, "BrindleViewer: no default printer to print %s on\n",
                     qPrintable(path));
        return 1;
    }
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    if (!viewer::printDocument(path, printer)) {
        std::fprintf(stderr, "BrindleViewer: %s could not be printed\n", qPrintable(path));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BrindleViewer"));
    if (VYNFile_Init() != 1) {
        std::fprintf(stderr, "BrindleViewer: the page engine did not start\n");
        return 1;
    }
    RDLL_Init(0);
    viewer::showEngineMessages();
    const QString locale = QLocale::system().name();
    applyDisplayChoice(locale);

    const viewer::InterfaceLanguage language =
        viewer::chooseInterfaceLanguage(viewer::ProfileSettings().interfaceLanguage(),
                                        viewer::codePageOfLocale(locale.toStdString()));

    const viewer::StartCommand command =
        viewer::parseStartCommand(application.arguments().mid(1).join(' ').toStdString());
    int result = 0;
    if (command.kind == viewer::StartCommand::Kind::Print) {
        viewer::appState().startedByCommand = true;
        viewer::appState().startPage = command.page;
        result = printOnDefaultPrinter(QString::fromStdString(command.path));
    } else {
        viewer::MainWindow window;
        if (language != viewer::InterfaceLanguage::BuiltIn) {
            window.setInterfaceLanguage(language);
        }
        window.showMaximized();
        if (command.kind == viewer::StartCommand::Kind::Open) {
            viewer::appState().startedByCommand = true;
            viewer::appState().startPage = command.page;
            window.openDocument(QString::fromStdString(command.path));
            // Documents opened later start at their first page.
            viewer::appState().startPage = 1;
        }
        result = application.exec();
    }
    RDLL_Free(0);
    VYNFile_Exit();
    return result;
}
