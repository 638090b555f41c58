// The go-to-page dialog (到指定页) and the zoom dialog (指定大小), with the checks of what
// is typed into them.
#pragma once

#include <QDialog>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;

namespace viewer {

/// The "确定" and "取消" buttons of a dialog, accepting and rejecting it.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

/// What the go-to-page dialog's entry asks for.
struct PageChoice {
    enum class Result { Page, NotAnInteger, OutOfRange };
    Result result;
    int page = 0;
};
PageChoice checkPageEntry(const QString& text, int pageCount);

/// The percentage a zoom entry asks for; none unless the entry is a positive number.
std::optional<double> checkZoomEntry(const QString& text);

class GotoPageDialog : public QDialog {
    Q_OBJECT
  public:
    GotoPageDialog(int pageCount, int currentPage, QWidget* parent = nullptr);
    int page() const { return page_; }
    void accept() override;

  private:
    QLineEdit* entry_;
    int pageCount_;
    int page_ = 0;
};

class ZoomDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ZoomDialog(QWidget* parent = nullptr);
    /// The percentage entered, above 0.
    double percent() const { return percent_; }
    void accept() override;

  private:
    QComboBox* entry_;
    double percent_ = 100.0;
};

}  // namespace viewer
