// Opening the documents a subcommand names, with the failure message brindle prints.
#pragma once

#include <QJsonObject>
#include <memory>
#include <string>

#include "document/vyn_document.h"

class QGuiApplication;

namespace brindle {

/// Opens a VYN or QD file; throws Failure with the reason when it does not open.
std::unique_ptr<vyn::VynDocument> openVyn(const std::string& path);

/// Owns the GUI application for as long as main() runs. Only the commands that draw create the
/// application (through ensureGuiApplication), and it ends with the scope, before static
/// destruction takes down what its destructor still uses.
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

/// Writes `json` (one document) to standard output followed by a newline.
void printJson(const QJsonObject& json);

}  // namespace brindle
