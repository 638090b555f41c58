#include "app_state.h"
#include "hyperlink.h"

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>

#include "open_address.h"

namespace viewer {

namespace {

const QColor kLinkColour(0, 0, 238);
const QColor kVisitedColour(85, 26, 139);

}  // namespace

HyperLink::HyperLink(const QString& text, QWidget* parent)
    : QLabel(text, parent), opener_(openAddress) {
    setCursor(Qt::PointingHandCursor);
    setUnderline(true);
}

void HyperLink::setAddress(const QString& address) {
    address_ = address;
    if (text().isEmpty()) {
        setText(address);
    }
    setToolTip(address_);
    fitText();
}

void HyperLink::setUnderline(bool on) {
    QFont underlined = font();
    underlined.setUnderline(on);
    setFont(underlined);
    fitText();
    update();
}

void HyperLink::fitText() { setFixedSize(sizeHint()); }

QColor HyperLink::textColour() const {
    return over_ ? palette().color(QPalette::Highlight) : visited_ ? kVisitedColour : kLinkColour;
}

void HyperLink::enterEvent(QEnterEvent* event) {
    over_ = true;
    update();
    QLabel::enterEvent(event);
}

void HyperLink::leaveEvent(QEvent* event) {
    over_ = false;
    update();
    QLabel::leaveEvent(event);
}

void HyperLink::paintEvent(QPaintEvent* event) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour());
    setPalette(colours);
    QLabel::paintEvent(event);
}

void HyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        return;
    }
    const int result = opener_(address_.isEmpty() ? text() : address_);
    if (result > 32) {
        visited_ = true;
        update();
        return;
    }
    QApplication::beep();
    QMessageBox::warning(this, QString::fromLatin1(kProgramTitle), hyperlinkErrorText(result));
}

}  // namespace viewer
