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
#include <QStringEncoder>

#include "app_state.h"
#include "search_forms.h"
#include "vyn_view.h"

namespace viewer {

namespace {

constexpr qsizetype kLongestTerm = 259;

}  // namespace

FindDialog::FindDialog(VynView* view) : QDialog(view), view_(view), text_(new QLineEdit(this)) {
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
    QStringEncoder encoder(appState().simplifiedDisplay ? "GB2312" : "Big5",
                           QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text_->text());
    if (encoder.hasError()) {
        tell(tr("要查找的文字中有页面文字无法表示的字符。"));
        return false;
    }
    if (bytes.size() > kLongestTerm || !fitsSearchForms(bytes)) {
        tell(tr("要查找的文字太长，请缩短后再查找。"));
        return false;
    }
    appState().searchText = bytes.toStdString();
    return true;
}

bool FindDialog::findOnPage() {
    if (!takeSearchText()) {
        return false;
    }
    if (view_->markVariants(QByteArray::fromStdString(appState().searchText)) < 1) {
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
    const QByteArray term = QByteArray::fromStdString(appState().searchText);
    const CommandId step = towardsLast ? CommandId::NextPage : CommandId::PreviousPage;
    searching_ = true;
    stopRequested_ = false;
    view_->runCommand(step);
    int found = view_->markVariants(term);
    const QPointer<FindDialog> alive(this);
    while (found < 1 && !stopRequested_ &&
           !(towardsLast ? view_->onLastPage() : view_->onFirstPage())) {
        showProgress(tr("正在查找第 %1/%2 页").arg(view_->page()).arg(view_->pageCount()));
        QApplication::processEvents();
        if (!alive) {
            return false;  // the view closed, and this dialog with it
        }
        view_->runCommand(step);
        found = view_->markVariants(term);
    }
    searching_ = false;
    showProgress(QString());
    if (found < 1 && !stopRequested_) {
        tell(QStringLiteral("Not Find in this file!"));
    }
    return found > 0;
}

void FindDialog::showProgress(const QString& text) {
    if (auto* window = qobject_cast<QMainWindow*>(view_->window())) {
        if (text.isEmpty()) {
            window->statusBar()->clearMessage();
        } else {
            window->statusBar()->showMessage(text);
        }
    }
}

}  // namespace viewer
