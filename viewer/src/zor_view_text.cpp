// The PDF/ZOR view on the page's text: the selection by flow or by rectangle, the marks over
// the page, and the find dialog's searches.
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "text_runs.h"
#include "zor_view.h"

namespace viewer {

namespace {

const QColor kSelectionColour(0, 90, 255, 80);
const QColor kHitColour(255, 170, 0, 80);
const QColor kCurrentHitColour(255, 110, 0, 170);
constexpr qsizetype kLongestTerm = 259;  // characters

}  // namespace

// The text of the page the reader has loaded (the page shown, but after a page that failed to
// load), which the reader reads once for each page.
const reader::PageText& ZorView::shownText() { return reader_.pageText(); }

double ZorView::pixelsPerPointX() const { return screen().dpiX * scale_ / 100.0 / 72.0; }

double ZorView::pixelsPerPointY() const { return screen().dpiY * scale_ / 100.0 / 72.0; }

QRectF ZorView::toViewport(const reader::TextBox& box) const {
    const QPointF origin = QPointF(pageOffset() - scrollPosition());
    return QRectF(QPointF(origin.x() + box.left * pixelsPerPointX(),
                          origin.y() + box.top * pixelsPerPointY()),
                  QPointF(origin.x() + box.right * pixelsPerPointX(),
                          origin.y() + box.bottom * pixelsPerPointY()));
}

// The two points span an area of the page. In rectangle mode it takes the characters in it;
// otherwise the text flows from the character at one point to the character at the other, in
// reading order, whichever was clicked first.
void ZorView::selectText(QPoint first, QPoint second) {
    const QPoint offset = pageOffset();
    const auto toPoints = [&](QPoint p) {
        return QPointF((p.x() - offset.x()) / pixelsPerPointX(),
                       (p.y() - offset.y()) / pixelsPerPointY());
    };
    const QPointF a = toPoints(first);
    const QPointF b = toPoints(second);
    reader::TextBox area{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                         std::max(a.y(), b.y())};
    const reader::PageText& page = shownText();
    if (rectangleSelection_) {
        selectedText_ = QString::fromStdString(reader::textInArea(page, area));
        selectionRuns_ = runsInArea(page, area);
        return;
    }
    reader::TextPosition from;
    reader::TextPosition to;
    if (reader::dragBounds(page, a.x(), a.y(), b.x(), b.y(), from, to) ||
        reader::dragBounds(page, b.x(), b.y(), a.x(), a.y(), from, to)) {
        // Nor does it begin or end on a space between words.
        const auto space = [&](const reader::TextPosition& at) {
            const reader::TextChar& c = page.blocks[at.block].lines[at.line].chars[at.index];
            return c.added || c.c == U' ';
        };
        while (from < to && space(from) &&
               from.index + 1 < page.blocks[from.block].lines[from.line].chars.size()) {
            ++from.index;
        }
        while (from < to && space(to) && to.index > 0) {
            --to.index;
        }
        selectedText_ = QString::fromStdString(reader::textBetween(page, from, to));
        selectionRuns_ = runsBetween(page, from, to);
    } else {
        selectedText_.clear();
        selectionRuns_.clear();
    }
}

void ZorView::paintMarks(QPainter& painter) {
    painter.save();
    painter.setPen(Qt::NoPen);
    const std::vector<reader::TextMatch>& hits = shownHits();
    for (size_t i = 0; i < hits.size(); ++i) {
        painter.setBrush(i == currentHit_ ? kCurrentHitColour : kHitColour);
        for (const reader::TextBox& box : hits[i].boxes) {
            painter.drawRect(toViewport(box));
        }
    }
    if (selectionShown_) {
        painter.setBrush(kSelectionColour);
        for (const reader::TextBox& box : selectionRuns_) {
            painter.drawRect(toViewport(box));
        }
    }
    painter.restore();
}

const std::vector<reader::TextMatch>& ZorView::shownHits() const {
    static const std::vector<reader::TextMatch> none;
    return hitsPage_ == currentPage_ ? hits_ : none;
}

// The reader finds the term in every form the VYN/QD view tries and in either script, so the
// term is taken as typed.
FindTarget::Refusal ZorView::takeSearchTerm(const QString& text) {
    if (text.size() > kLongestTerm) {
        return Refusal::kTooLong;
    }
    searchTerm_ = text.toStdString();
    return Refusal::kNone;
}

int ZorView::markOnPage() {
    showHits(reader::findText(shownText(), searchTerm_), 0);
    return int(hits_.size());
}

void ZorView::showHits(std::vector<reader::TextMatch> hits, size_t current) {
    hits_ = std::move(hits);
    hitsPage_ = currentPage_;
    currentHit_ = current;
    if (currentHit_ < hits_.size() && !hits_[currentHit_].boxes.empty()) {
        scrollIntoView(hits_[currentHit_].boxes.front());
    }
    viewport()->update();
}

// A place outside the window comes to its middle, as far as the scroll bars reach.
void ZorView::scrollIntoView(const reader::TextBox& box) {
    const QRectF place = toViewport(box);
    const QSize client = clientSize();
    if (place.left() < 0 || place.right() > client.width()) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(place.center().x()) -
                                        client.width() / 2);
    }
    if (place.top() < 0 || place.bottom() > client.height()) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(place.center().y()) -
                                      client.height() / 2);
    }
}

void ZorView::beginPageSearch() {
    searchedPage_ = currentPage_;
    if (!searcher_) {
        auto searcher = std::make_unique<CReader>();
        if (!password_.isEmpty()) {
            searcher->SetPassword(password_.toUtf8().constData());
        }
        if (searcher->Open(path_.toLocal8Bit().constData()) != 0) {
            searcher_ = std::move(searcher);
        }
    }
}

// Past the first or the last page the search takes that page again, as the VYN/QD view does.
int ZorView::searchNextPage(bool towardsLast) {
    searchedPage_ = std::clamp(searchedPage_ + (towardsLast ? 1 : -1), 1, pageCount());
    searchedTowardsLast_ = towardsLast;
    searchedHits_.clear();
    if (searchedPage_ == currentPage_) {
        searchedHits_ = reader::findText(shownText(), searchTerm_);
    } else if (searcher_ && searcher_->GetPage(searchedPage_) != 0) {
        searchedHits_ = reader::findText(searcher_->pageText(), searchTerm_);
    }
    return int(searchedHits_.size());
}

bool ZorView::searchedEnd(bool towardsLast) const {
    return !searcher_ || (towardsLast ? searchedPage_ >= pageCount() : searchedPage_ <= 1);
}

// A search that finds nothing leaves the page shown as it was; one that finds the term shows
// its page with the place nearest the search's start as the current one.
void ZorView::endPageSearch(bool found) {
    if (!found) {
        searchedHits_.clear();
        return;
    }
    if (searchedPage_ != currentPage_) {
        showPage(searchedPage_);
    }
    if (reader_.currentPage() == searchedPage_) {
        const size_t count = searchedHits_.size();
        showHits(std::move(searchedHits_), searchedTowardsLast_ ? 0 : count - 1);
        emit viewChanged();
    }
}

}  // namespace viewer
