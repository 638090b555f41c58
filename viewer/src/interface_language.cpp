#include "interface_language.h"

namespace viewer {

QString translationFileName(InterfaceLanguage language) {
    switch (language) {
        case InterfaceLanguage::English: return QStringLiteral("brindle_en");
        case InterfaceLanguage::Big5: return QStringLiteral("brindle_zh_TW");
        case InterfaceLanguage::BuiltIn: break;
    }
    return {};
}

QString profileWord(InterfaceLanguage language) {
    switch (language) {
        case InterfaceLanguage::English: return QStringLiteral("ENGLISH");
        case InterfaceLanguage::Big5: return QStringLiteral("BIG5");
        case InterfaceLanguage::BuiltIn: break;
    }
    return QStringLiteral("GB");
}

bool InterfaceTranslations::switchTo(InterfaceLanguage language, const QString& folder) {
    std::unique_ptr<QTranslator> next;
    if (language != InterfaceLanguage::BuiltIn) {
        next = std::make_unique<QTranslator>();
        if (!next->load(translationFileName(language), folder)) {
            return false;
        }
    }
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
    }
    translator_ = std::move(next);
    if (translator_) {
        QCoreApplication::installTranslator(translator_.get());
    }
    current_ = language;
    return true;
}

}  // namespace viewer
