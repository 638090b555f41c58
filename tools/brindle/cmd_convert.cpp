// brindle convert: a filter from standard input to standard output.
#include <duoma/duoma.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "command_line.h"
#include "surface/text_decode.h"

namespace brindle {

namespace {

std::string readAll(std::FILE* in) {
    std::string data;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        data.append(buffer, n);
    }
    if (std::ferror(in)) {
        throw Failure("-", "cannot read standard input");
    }
    return data;
}

}  // namespace

int runConvert(Arguments& args) {
    const std::string from = args.requireOption("from");
    const std::string to = args.requireOption("to");
    args.expectNoMore();
    if (from != "gb" && from != "big5") {
        throw UsageError("--from must be gb or big5");
    }
    if (to != "gb" && to != "big5" && to != "utf8") {
        throw UsageError("--to must be big5, gb or utf8");
    }
    if (from == to) {
        throw UsageError("--from and --to name the same encoding");
    }

    std::string text = readAll(stdin);
    if (text.size() > static_cast<size_t>(INT32_MAX)) {
        throw Failure("-", "input larger than 2 GiB");
    }
    auto* bytes = reinterpret_cast<unsigned char*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    if (to == "big5") {
        Duoma(bytes, length);
    } else if (to == "gb") {
        Big52Gb(bytes, length);
    } else {
        text = surface::decodeTextUtf8(
            text, from == "gb" ? surface::kGb2312CharSet : surface::kBig5CharSet);
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        throw Failure("-", "cannot write standard output");
    }
    return kSuccess;
}

}  // namespace brindle
