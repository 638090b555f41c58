// brindle lowres: a copy of a document whose one-bit pictures are reduced to 200 dots per inch.
#include <QJsonObject>
#include <cstdio>
#include <filesystem>

#include "command_line.h"
#include "documents.h"

namespace brindle {

namespace {

uintmax_t sizeOf(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

}  // namespace

int runLowres(Arguments& args) {
    const std::string input = args.takePositional("IN");
    const std::string output = args.takePositional("OUT");
    args.expectNoMore();
    // Readers take any path containing ".qd" for a QD file, which the VYN copy is not.
    if (output.find(".qd") != std::string::npos || output.find(".QD") != std::string::npos) {
        throw UsageError("OUT must not contain \".qd\" or \".QD\": the copy is a VYN file");
    }

    std::unique_ptr<vyn::VynDocument> document = openVyn(input);
    const std::filesystem::path folder =
        std::filesystem::absolute(std::filesystem::path(output)).parent_path();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        throw Failure(output, "no such folder");
    }
    const uintmax_t bytesIn = sizeOf(input);
    if (document->SaveAsLowResolution(output) != 0) {
        throw Failure(output,
                      "cannot write the copy (not writable, no space left, or a damaged page)");
    }
    const uintmax_t bytesOut = sizeOf(output);
    const int pages = document->pageCount();
    if (args.json()) {
        printJson(QJsonObject{{"file", QString::fromStdString(output)},
                              {"pages", pages},
                              {"bytes_in", qint64(bytesIn)},
                              {"bytes_out", qint64(bytesOut)}});
    } else {
        std::printf("%s  %d pages, %ju -> %ju bytes\n", output.c_str(), pages, bytesIn, bytesOut);
    }
    return kSuccess;
}

}  // namespace brindle
