#include "display_options.h"

#include <vyn/vynfile.h>

#include <QMessageBox>

#include "app_state.h"
#include "settings.h"

namespace viewer {

namespace {

void applyPageText(bool simplified) {
    appState().simplifiedDisplay = simplified;
    VYNFile_SetCodePage(simplified ? 936 : 950);
}

const char* languageValue(bool simplified) { return simplified ? "GB" : "BIG5"; }

}  // namespace

bool choosePageTextWithoutView(bool simplified) {
    if (!MachineSettings().writeText("LANGUAGE", languageValue(simplified))) {
        return false;
    }
    applyPageText(simplified);
    return true;
}

bool choosePageTextInView(bool simplified) {
    const MachineSettings store;
    if (const std::optional<QString> problem = store.writeProblem()) {
        QMessageBox::information(nullptr, QStringLiteral("Error"), *problem);
        return false;
    }
    store.writeText("LANGUAGE", languageValue(simplified));
    applyPageText(simplified);
    return true;
}

bool chooseBaseFont(const QString& face) {
    if (!MachineSettings().writeText("FONT", face)) {
        return false;
    }
    VYNFile_SetBaseFontName(face.toLocal8Bit().constData());
    return true;
}

bool storeBackgroundColour(const QColor& colour) {
    if (!MachineSettings().writeColour(colourRef(colour))) {
        return false;
    }
    appState().backgroundColour = colourRef(colour);
    return true;
}

uint32_t colourRef(const QColor& colour) {
    return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

QColor colourOf(uint32_t colourRef) {
    return QColor(int(colourRef & 0xFF), int(colourRef >> 8 & 0xFF), int(colourRef >> 16 & 0xFF));
}

}  // namespace viewer
