#include "app_state.h"

#include <QPrinter>

namespace viewer {

AppState& appState() {
    static AppState state;
    return state;
}

QPrinter& appPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

}  // namespace viewer
