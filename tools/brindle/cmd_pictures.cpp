// brindle pictures: the decoded pictures of one page, written as PNG files.
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>

#include "command_line.h"
#include "documents.h"
#include "surface/qt_surface.h"

namespace brindle {

int runPictures(Arguments& args) {
    const std::string pageText = args.requireOption("p");
    const std::string folder = args.requireOption("o");
    const std::string path = args.takePositional("FILE");
    args.expectNoMore();
    const int page = parsePageNumber(pageText);

    std::unique_ptr<vyn::VynDocument> document = openVyn(path);
    if (page > document->pageCount()) {
        throw Failure(path, "has " + std::to_string(document->pageCount()) + " pages, not " +
                                std::to_string(page));
    }
    if (!document->LoadPage(page - 1)) {
        throw Failure(path, "page " + std::to_string(page) + " is damaged");
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        throw Failure(folder, "cannot make the folder");
    }

    QJsonArray written;
    for (int32_t i = 0; i < int32_t(document->pictureEntries().size()); ++i) {
        const vyn::DibPicture* picture = document->picture(i);
        const QImage image = picture != nullptr ? surface::toQImage(picture->dib()) : QImage();
        if (image.isNull()) {
            continue;  // an empty place, an unknown type or a picture that did not decode
        }
        const std::string file =
            (std::filesystem::path(folder) /
             ("page" + std::to_string(page) + "-picture" + std::to_string(i + 1) + ".png"))
                .string();
        if (!image.save(QString::fromStdString(file), "PNG")) {
            throw Failure(file, "cannot write the picture");
        }
        if (args.json()) {
            written.append(QJsonObject{{"index", i + 1},
                                       {"file", QString::fromStdString(file)},
                                       {"width", picture->width()},
                                       {"height", picture->height()},
                                       {"bits", picture->bitCount()}});
        } else {
            std::printf("%s  %d x %d, %d bits\n", file.c_str(), picture->width(), picture->height(),
                        picture->bitCount());
        }
    }
    if (args.json()) {
        printJson(QJsonObject{{"page", page}, {"pictures", written}});
    }
    return kSuccess;
}

}  // namespace brindle
