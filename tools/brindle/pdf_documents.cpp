#include "pdf_documents.h"

#include <QJsonObject>
#include <filesystem>
#include <fstream>

#include "documents.h"

namespace brindle {

bool isPdfOrZor(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char start[5] = {};
    in.read(start, sizeof start);
    const std::string_view bytes(start, size_t(in.gcount()));
    return bytes.starts_with("%PDF-") || bytes.starts_with("ZOR");
}

ReaderFailure::ReaderFailure(std::string fileName, int errorCode, const std::string& message)
    : Failure(std::move(fileName), message + " (error " + std::to_string(errorCode) + ")"),
      code(errorCode) {}

std::unique_ptr<CReader> openPdf(const std::string& path, bool json,
                                 const std::string& password) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw Failure(path, "no such file");
    }
    auto reader = std::make_unique<CReader>();
    reader->SetPassword(password.c_str());
    if (reader->Open(path.c_str()) == 0) {
        const int code = reader->GetLastErrorCode();
        const std::string message = code != 0 ? reader->GetLastErrorMsg()
                                              : "a ZOR file of a version this reader does not know";
        if (json) {
            printJson(QJsonObject{{"file", QString::fromStdString(path)},
                                  {"error_code", code},
                                  {"error_message", QString::fromStdString(message)}});
        }
        throw ReaderFailure(path, code, message);
    }
    return reader;
}

}  // namespace brindle
