#include "documents.h"

#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

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

// Text needs a GUI application; without a display it runs on the offscreen platform.
void ensureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    static int argc = 1;
    static char name[] = "brindle";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

void printJson(const QJsonObject& json) {
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
}

}  // namespace brindle
