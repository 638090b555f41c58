#include "documents.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
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

void printJson(const QJsonObject& json) {
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
}

}  // namespace brindle
