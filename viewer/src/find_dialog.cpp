#include "find_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

#include "app_state.h"
#include "find_target.h"
#include "vyn_view.h"
#include "zor_view.h"

namespace viewer {

FindDialog::FindDialog(VynView* view) : FindDialog(view, view) {}

FindDialog::FindDialog(ZorView* view) : FindDialog(view, view) {}

FindDialog::FindDialog(FindTarget* target, QWidget* owner)
    : QDialog(owner), target_(target), text_(new QLineEdit(this)) {
    setWindowTitle(tr("查找"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* find = new QPushButton(tr("查找"), this);
    auto* backward = new QPushButton(tr("向前查找"), this);
    auto* forward = new QPushButton(tr("向后查找"), this);
    cancel_ = new QPushButton(tr("取消"), this);
    find->setDefault(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("输入要查找的文字:"), this), 0, 0);
    layout->addWidget(text_, 1, 0);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {find, backward, forward, cancel_}) {
        buttons->addWidget(button);
    }
    layout->addLayout(buttons, 0, 1, 3, 1);
    connect(find, &QPushButton::clicked, this, &FindDialog::findOnPage);
    connect(backward, &QPushButton::clicked, this, &FindDialog::findTowardsFirst);
    connect(forward, &QPushButton::clicked, this, &FindDialog::findTowardsLast);
    connect(cancel_, &QPushButton::clicked, this, &FindDialog::reject);
}

void FindDialog::setText(const QString& text) { text_->setText(text); }

// Cancel stops a search under way; otherwise it closes the dialog.
void FindDialog::reject() {
    if (searching_) {
        stopRequested_ = true;
        return;
    }
    QDialog::reject();
}

void FindDialog::tell(const QString& message) {
    QMessageBox::information(this, QString::fromLatin1(kProgramTitle), message);
}

bool FindDialog::takeSearchText() {
    switch (target_->takeSearchTerm(text_->text())) {
        case FindTarget::Refusal::kNone: return true;
        case FindTarget::Refusal::kUnrepresentable:
            tell(tr("要查找的文字中有页面文字无法表示的字符。"));
            return false;
        case FindTarget::Refusal::kTooLong:
            tell(tr("要查找的文字太长，请缩短后再查找。"));
            return false;
    }
    return false;
}

bool FindDialog::findOnPage() {
    if (!takeSearchText()) {
        return false;
    }
    if (target_->markOnPage() < 1) {
        tell(QStringLiteral("Not Find in this page!"));
        return false;
    }
    return true;
}

bool FindDialog::findTowardsFirst() { return takeSearchText() && findPageByPage(false); }

bool FindDialog::findTowardsLast() { return takeSearchText() && findPageByPage(true); }

// Starts on the neighbouring page and goes on until the term is found or the first or last
// page has been searched; the window stays responsive and Cancel stops the search.
bool FindDialog::findPageByPage(bool towardsLast) {
    searching_ = true;
    stopRequested_ = false;
    target_->beginPageSearch();
    int found = target_->searchNextPage(towardsLast);
    const QPointer<FindDialog> alive(this);
    while (found < 1 && !stopRequested_ && !target_->searchedEnd(towardsLast)) {
        showProgress(tr("正在查找第 %1/%2 页")
                         .arg(target_->searchedPage())
                         .arg(target_->searchedPageCount()));
        QApplication::processEvents();
        if (!alive) {
            return false;  // the view closed, and this dialog with it
        }
        found = target_->searchNextPage(towardsLast);
    }
    target_->endPageSearch(found > 0);
    searching_ = false;
    showProgress(QString());
    if (found < 1 && !stopRequested_) {
        tell(QStringLiteral("Not Find in this file!"));
    }
    return found > 0;
}

void FindDialog::showProgress(const QString& text) {
    if (auto* window = qobject_cast<QMainWindow*>(target_->findOwner()->window())) {
        if (text.isEmpty()) {
            window->statusBar()->clearMessage();
        } else {
            window->statusBar()->showMessage(text);
        }
    }
}

}  // namespace viewer
