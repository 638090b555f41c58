// The GUI application that drawing text needs, made only by the commands that draw.
#pragma once

#include <memory>

class QGuiApplication;

namespace brindle {

/// Owns the GUI application while a drawing command runs: ensureGuiApplication() creates it on
/// demand, and it ends with the scope, before static destruction takes down what its
/// destructor still uses.
class GuiScope {
  public:
    GuiScope();
    ~GuiScope();
    GuiScope(const GuiScope&) = delete;
    GuiScope& operator=(const GuiScope&) = delete;

  private:
    friend void ensureGuiApplication();
    static GuiScope* current_;
    std::unique_ptr<QGuiApplication> application_;
};

/// Makes sure a GUI application exists, which text drawing needs; without a display it runs on
/// the offscreen platform. Needs a GuiScope.
void ensureGuiApplication();

}  // namespace brindle
