// The server-address dialog (服务器配置) and the about dialog with its two links.
#pragma once

#include <QDialog>

class QLineEdit;

namespace viewer {

class HyperLink;

class ServerDialog : public QDialog {
    Q_OBJECT

  public:
    /// The longest address the dialog takes.
    static constexpr int kLongestAddress = 100;

    explicit ServerDialog(QWidget* parent = nullptr);
    void setAddress(const QString& address);
    /// Stores the address in the profile; an address that is too long keeps the dialog open.
    void accept() override;

  private:
    QLineEdit* address_;
};

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
    HyperLink* serviceLink() const { return service_; }
    HyperLink* projectLink() const { return project_; }

  private:
    HyperLink* service_;
    HyperLink* project_;
};

}  // namespace viewer
