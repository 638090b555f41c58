// A text that behaves as a web link: coloured and underlined, the address as its tooltip, a
// hand over it, opening the address on a click and looking visited afterwards.
#pragma once

#include <QLabel>
#include <functional>

namespace viewer {

class HyperLink : public QLabel {
    Q_OBJECT

  public:
    /// How an address is opened; returns above 32 on success, else the failure's number.
    using Opener = std::function<int(const QString&)>;

    explicit HyperLink(const QString& text, QWidget* parent = nullptr);

    /// The link's target; a link without text shows it.
    void setAddress(const QString& address);
    QString address() const { return address_; }
    void setUnderline(bool on);
    bool isVisited() const { return visited_; }
    /// The colour the text has now: hover, visited or link colour.
    QColor textColour() const;
    void setOpener(Opener opener) { opener_ = std::move(opener); }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void fitText();

    QString address_;
    bool over_ = false;
    bool visited_ = false;
    Opener opener_;
};

}  // namespace viewer
