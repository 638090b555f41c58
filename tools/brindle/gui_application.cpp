#include "gui_application.h"

#include <QGuiApplication>
#include <cstdlib>
#include <stdexcept>

namespace brindle {

GuiScope* GuiScope::current_ = nullptr;

GuiScope::GuiScope() { current_ = this; }

GuiScope::~GuiScope() {
    application_.reset();
    current_ = nullptr;
}

void ensureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (GuiScope::current_ == nullptr) {
        throw std::logic_error("drawing needs a GuiScope");
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // QGuiApplication keeps references to these for its lifetime.
    static int argc = 1;
    static char name[] = "brindle";
    static char* argv[] = {name, nullptr};
    GuiScope::current_->application_ = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace brindle
