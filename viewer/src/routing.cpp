#include "routing.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace viewer {

DocumentKind documentKindOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string start(5, '\0');
    in.read(start.data(), std::streamsize(start.size()));
    start.resize(size_t(std::max<std::streamsize>(in.gcount(), 0)));
    std::string upper = start;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return start.starts_with("%PDF-") || upper.starts_with("ZOR") ? DocumentKind::PdfZor
                                                                  : DocumentKind::VynQd;
}

}  // namespace viewer
