// The interface's language: the built-in Simplified Chinese texts, or English or Traditional
// Chinese from translation files beside the program.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>
#include <memory>

#include "settings.h"

namespace viewer {

/// The name of a language's translation file without ".qm"; empty for the built-in texts.
QString translationFileName(InterfaceLanguage language);
/// The profile's word for a language: "ENGLISH", "BIG5" or "GB".
QString profileWord(InterfaceLanguage language);

class InterfaceTranslations {
  public:
    /// Switches the application's texts to `language`, reading its file from `folder`; false
    /// when the file cannot be loaded, the current language staying.
    bool switchTo(InterfaceLanguage language,
                  const QString& folder = QCoreApplication::applicationDirPath());
    InterfaceLanguage current() const { return current_; }

  private:
    std::unique_ptr<QTranslator> translator_;
    InterfaceLanguage current_ = InterfaceLanguage::BuiltIn;
};

}  // namespace viewer
