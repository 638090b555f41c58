#include "page_images.h"

#include <QImage>
#include <QJsonObject>
#include <cstdio>

#include "command_line.h"
#include "documents.h"
#include "page_list.h"
#include "png_file.h"

namespace brindle {

PageImages::PageImages(std::string pattern, const std::vector<int32_t>& pages, bool listed,
                       bool json)
    : pattern_(std::move(pattern)), listed_(listed), json_(json) {
    expectPageNumber(pattern_, pages.size());
}

void PageImages::write(int32_t page, const QImage& image) {
    const std::string file = pageFileName(pattern_, page);
    if (!writePng(image, file)) {
        throw Failure(file, "cannot write the image");
    }
    if (json_) {
        written_.append(QJsonObject{{"file", QString::fromStdString(file)},
                                    {"page", page},
                                    {"width", image.width()},
                                    {"height", image.height()}});
    } else {
        std::printf("%s  page %d, %d x %d pixels\n", file.c_str(), page, image.width(),
                    image.height());
    }
}

void PageImages::report() const {
    if (!json_) {
        return;
    }
    if (listed_) {
        printJson(QJsonObject{{"pages", written_}});
    } else if (!written_.isEmpty()) {
        printJson(written_.first().toObject());
    }
}

}  // namespace brindle
