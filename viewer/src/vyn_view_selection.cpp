// Selection in the VYN/QD view: the text tool's two clicks, Select All, Copy of text or a picture,
// and taking and marking a search term in its six forms.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStringEncoder>

#include "app_state.h"
#include "search_forms.h"
#include "surface/qt_surface.h"
#include "surface/text_decode.h"
#include "vyn_view.h"

namespace viewer {

namespace {

constexpr qsizetype kLongestTerm = 259;  // bytes of the shared search text

constexpr uint32_t kMarkColour = 0x0000FF;      // red
constexpr uint32_t kMarkBackground = 0xDEDE00;  // cyan-blue behind the marked text
constexpr uint8_t kGb2312CharSet = 134, kBig5CharSet = 136;

}  // namespace

void VynView::setMarkColours() {
    VYNFile_SetMarkColor(document_, kMarkColour);
    VYNFile_SetMarkBkColor(document_, kMarkBackground);
}

QString VynView::selectedText() const {
    const std::string_view bytes(textBuffer_.data(),
                                 strnlen(textBuffer_.data(), textBuffer_.size()));
    const std::u16string text =
        surface::decodeText(bytes, appState().simplifiedDisplay ? kGb2312CharSet : kBig5CharSet);
    return QString::fromStdU16String(text);
}

void VynView::putTextOnClipboard() { QApplication::clipboard()->setText(selectedText()); }

// The first click marks where the text starts; the second marks the text between the two and
// puts it on the clipboard.
void VynView::textSelectionClick(QPoint point) {
    setMarkColours();
    const QPoint onPage = point + scrollPosition();
    if (!awaitingPoint_) {
        firstPoint_ = onPage;
        VYNFile_GetTextBetweenPoints(document_, onPage.x(), onPage.y(), onPage.x(), onPage.y(),
                                     textBuffer_.data(), kTextBufferSize);
        awaitingPoint_ = true;
        textSelected_ = false;
    } else {
        awaitingPoint_ = false;
        VYNFile_GetTextBetweenPoints(document_, firstPoint_.x(), firstPoint_.y(), onPage.x(),
                                     onPage.y(), textBuffer_.data(), kTextBufferSize);
        textSelected_ = true;
        putTextOnClipboard();
    }
    hitTest(point);
    pageDrawingChanged();  // the engine marks the selected text
    viewport()->update();
    emit viewChanged();
}

void VynView::selectAll() {
    const QSize page = pageSize();
    selection_ = QRect(QPoint(0, 0), page);
    if (tool_ == Tool::AreaSelect) {
        band_.selectArea(selection_);
    } else {
        flash_ = selection_;
        VYNFile_GetTextInRect(document_, VynRect{0, 0, page.width(), page.height()},
                              textBuffer_.data(), kTextBufferSize);
        putTextOnClipboard();
    }
    pageDrawingChanged();
    viewport()->update();
    emit viewChanged();
}

// The area as a picture, two pixels smaller than the area: what the window shows, or, when the
// area reaches the window's bottom or beyond, the page drawn afresh.
QImage VynView::selectionPicture() {
    QImage picture(selection_.size() - QSize(2, 2), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(selection_.adjusted(0, 0, -1, -1));
    if (viewport()->height() - (selection_.bottom() + 1) > 0) {
        const QImage screen = renderViewport(1.0);
        painter.drawImage(QPoint(0, 0), screen, selection_.adjusted(1, 1, -1, -1));
    } else {
        const QSize page = pageSize();
        surface::QtSurface surface(painter, {screenDpiX_, screenDpiY_},
                                   {picture.width(), picture.height()});
        VYNFile_Show(document_, &surface, VynRect{1, 1, page.width() - 1, page.height() + 1}, 0, 0);
    }
    return picture;
}

void VynView::copy() {
    if (tool_ == Tool::AreaSelect) {
        if (selection_.width() <= 2 || selection_.height() <= 2) {
            return;
        }
        QApplication::clipboard()->setImage(selectionPicture());
        selection_ = QRect();
        band_.clear();
    } else {
        putTextOnClipboard();
        setMarkColours();
        VYNFile_MarkString(document_, "");
        pageDrawingChanged();
        textSelected_ = false;
        selection_ = QRect();
    }
    viewport()->update();
    emit viewChanged();
}

int VynView::markVariants(const QByteArray& text) {
    setMarkColours();
    int found = 0;
    for (const QByteArray& form : searchForms(text)) {
        found = VYNFile_MarkString(document_, form.constData());
        pageDrawingChanged();
        if (found > 0) {
            viewport()->update();
            break;
        }
    }
    return found;
}

FindTarget::Refusal VynView::takeSearchTerm(const QString& text) {
    QStringEncoder encoder(appState().simplifiedDisplay ? "GB2312" : "Big5",
                           QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        return Refusal::kUnrepresentable;
    }
    if (bytes.size() > kLongestTerm || !fitsSearchForms(bytes)) {
        return Refusal::kTooLong;
    }
    appState().searchText = bytes.toStdString();
    return Refusal::kNone;
}

int VynView::markOnPage() { return markVariants(QByteArray::fromStdString(appState().searchText)); }

int VynView::searchNextPage(bool towardsLast) {
    runCommand(towardsLast ? CommandId::NextPage : CommandId::PreviousPage);
    return markOnPage();
}

}  // namespace viewer
