// The find dialog: looks for a word on the page shown, or page by page towards the first or
// the last page, marking what it finds. It belongs to the view that opened it and closes
// with it.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace viewer {

class FindTarget;
class VynView;
class ZorView;

class FindDialog : public QDialog {
    Q_OBJECT

  public:
    explicit FindDialog(VynView* view);
    explicit FindDialog(ZorView* view);

    /// The three searches, as the dialog's buttons run them; false when nothing was found
    /// (the dialog has said so) or the term was refused.
    bool findOnPage();
    bool findTowardsFirst();
    bool findTowardsLast();
    void setText(const QString& text);

  protected:
    void reject() override;

  private:
    FindDialog(FindTarget* target, QWidget* owner);
    /// Gives the dialog's text to the view; false (after saying why) when it cannot be
    /// searched for.
    bool takeSearchText();
    bool findPageByPage(bool towardsLast);
    void showProgress(const QString& text);
    void tell(const QString& message);

    FindTarget* target_;
    QLineEdit* text_;
    QPushButton* cancel_;
    bool searching_ = false;
    bool stopRequested_ = false;
};

}  // namespace viewer
