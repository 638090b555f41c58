#include "documents.h"

#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "command_line.h"

namespace brindle {

std::unique_ptr<vyn::VynDocument> openVyn(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw Failure(path, "no such file");
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        throw Failure(path, "not a regular file");
    }
    std::unique_ptr<vyn::VynDocument> document = vyn::VynDocument::Open(path);
    if (!document) {
        throw Failure(path, "not a VYN or QD document, or damaged");
    }
    return document;
}

GuiScope* GuiScope::current_ = nullptr;

GuiScope::GuiScope() { current_ = this; }

GuiScope::~GuiScope() {
    application_.reset();
    current_ = nullptr;
}

// Text needs a GUI application; without a display it runs on the offscreen platform.
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

void printJson(const QJsonObject& json) {
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
}

}  // namespace brindle
