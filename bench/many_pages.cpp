#include "many_pages.h"

#include <cstdlib>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "pdf_builder.h"
#include "vyn_writer.h"

namespace bench {

std::string manyPagesPdf(int pages) {
    std::vector<std::string> contents;
    contents.reserve(size_t(pages));
    for (int i = 1; i <= pages; ++i) {
        contents.push_back("BT /F1 12 Tf 72 720 Td (Page " + std::to_string(i) + ") Tj ET");
    }
    return reader::fixtures::buildPdf(reader::fixtures::pagesPdf(contents));
}

std::filesystem::path manyPagesFile(int pages, XrefForm form) {
    static vyn::fixtures::TempDir dir;
    static std::map<std::pair<int, XrefForm>, std::filesystem::path> made;
    const auto key = std::make_pair(pages, form);
    if (const auto found = made.find(key); found != made.end()) {
        return found->second;
    }
    const std::string stem = "pages-" + std::to_string(pages);
    const std::filesystem::path classic = dir.path() / (stem + "-table.pdf");
    if (!std::filesystem::exists(classic)) {
        const std::string bytes = manyPagesPdf(pages);
        dir.write(classic.filename().string(),
                  std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
    std::filesystem::path path = classic;
    if (form == XrefForm::ObjectStreams) {
        path = dir.path() / (stem + "-objstm.pdf");
        const std::string command = "qpdf --object-streams=generate '" + classic.string() + "' '" +
                                    path.string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            path.clear();
        }
    }
    made[key] = path;
    return path;
}

}  // namespace bench
