// brindle stream: the decoded data of one stream object of a PDF or ZOR file.
#include <cstdio>

#include "command_line.h"
#include "pdf_documents.h"

namespace brindle {

int runStream(Arguments& args) {
    const std::string path = args.takePositional("FILE");
    const std::string objectText = args.takePositional("OBJ");
    args.expectNoMore();
    char* end = nullptr;
    const long object = std::strtol(objectText.c_str(), &end, 10);
    if (objectText.empty() || *end != '\0' || object < 0 || object > INT32_MAX) {
        throw UsageError("OBJ must be an object number, not '" + objectText + "'");
    }
    if (!isPdfOrZor(path)) {
        throw Failure(path, "not a PDF or ZOR file");
    }
    std::unique_ptr<CReader> reader = openPdf(path, false, args.password());
    const std::optional<std::vector<uint8_t>> data = reader->ReadStreamByID(int32_t(object));
    if (!data) {
        throw Failure(path, "object " + objectText + " is not a stream that decodes");
    }
    std::fwrite(data->data(), 1, data->size(), stdout);
    return kSuccess;
}

}  // namespace brindle
