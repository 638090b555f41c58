// Where brindle render puts the pages it draws: one PNG file per page, named by the output
// pattern, and the report of what was written.
#pragma once

#include <QJsonArray>
#include <cstdint>
#include <string>
#include <vector>

class QImage;

namespace brindle {

class PageImages {
  public:
    /// `pattern` names the files; its "%d" (or "%0Nd") stands for the page number. A usage
    /// error when `pages` holds more than one page and the pattern has no such place. `listed`:
    /// the pages were asked for as a list, which --json reports as one.
    PageImages(std::string pattern, const std::vector<int32_t>& pages, bool listed, bool json);

    /// Writes the image of `page` to its file and, without --json, prints a line for it; throws
    /// Failure when the file cannot be written.
    void write(int32_t page, const QImage& image);
    /// With --json, prints what was written.
    void report() const;

  private:
    std::string pattern_;
    bool listed_;
    bool json_;
    QJsonArray written_;
};

}  // namespace brindle
