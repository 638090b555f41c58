// brindle replace-code: one character code rewritten throughout a VYN or QD file, through a
// copy that takes the file's place when complete.
#include <QJsonObject>
#include <cstdio>

#include "command_line.h"
#include "documents.h"

namespace brindle {

int runReplaceCode(Arguments& args) {
    const std::string path = args.takePositional("FILE");
    const std::string code = args.takePositional("HEX");
    const std::string replacement = args.takePositional("REPL");
    args.expectNoMore();
    auto isHexCode = [](const std::string& text) {
        return text.size() == 4 &&
               text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    };
    if (!isHexCode(code) || !isHexCode(replacement)) {
        throw UsageError("HEX and REPL must be four hexadecimal digits each, such as b0a1");
    }
    const std::string bytes = {char(std::stoi(replacement.substr(0, 2), nullptr, 16)),
                               char(std::stoi(replacement.substr(2, 2), nullptr, 16))};
    const std::unique_ptr<vyn::VynDocument> document = openVyn(path);
    const int count = document->ReplaceFZWithGBK(code.c_str(), bytes.c_str());
    if (count == vyn::VynDocument::kReplaceFailed) {
        throw Failure(path,
                      "cannot be rewritten (no permission to write its folder, or the disk "
                      "is full); it is as it was");
    }
    if (args.json()) {
        printJson(QJsonObject{{"replaced", count}});
    } else {
        std::printf("%d replaced\n", count);
    }
    return kSuccess;
}

}  // namespace brindle
