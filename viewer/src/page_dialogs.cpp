#include "app_state.h"
#include "page_dialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <cmath>

namespace viewer {

namespace {

const char* const kWrongEntry = QT_TRANSLATE_NOOP("PageDialogs", "输入错误!请重新输入.");
const char* const kNotAnInteger = QT_TRANSLATE_NOOP("PageDialogs", "请键入一个整数。");

QString message(const char* text) { return QCoreApplication::translate("PageDialogs", text); }

}  // namespace

QDialogButtonBox* okCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QObject::tr("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

PageChoice checkPageEntry(const QString& text, int pageCount) {
    bool isInteger = false;
    const int page = text.trimmed().toInt(&isInteger);
    if (!isInteger) {
        return {PageChoice::Result::NotAnInteger};
    }
    if (page < 1 || page > pageCount) {
        return {PageChoice::Result::OutOfRange, page};
    }
    return {PageChoice::Result::Page, page};
}

std::optional<double> checkZoomEntry(const QString& text) {
    bool isNumber = false;
    const double percent = text.trimmed().toDouble(&isNumber);
    // A percentage of 0 or below, or not a number, is no zoom.
    if (!isNumber || !std::isfinite(percent) || percent <= 0) {
        return std::nullopt;
    }
    return percent;
}

GotoPageDialog::GotoPageDialog(int pageCount, int currentPage, QWidget* parent)
    : QDialog(parent),
      entry_(new QLineEdit(QString::number(currentPage), this)),
      pageCount_(pageCount) {
    setWindowTitle(tr("到指定页"));
    auto* total = new QLineEdit(QString::number(pageCount), this);
    total->setReadOnly(true);
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(new QLabel(tr("共有页面"), this));
    totalRow->addWidget(total);
    totalRow->addWidget(new QLabel(tr("页"), this));
    auto* form = new QFormLayout(this);
    form->addRow(totalRow);
    form->addRow(tr("页码"), entry_);
    form->addRow(okCancelButtons(this));
}

void GotoPageDialog::accept() {
    const PageChoice entry = checkPageEntry(entry_->text(), pageCount_);
    if (entry.result == PageChoice::Result::NotAnInteger) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramTitle), message(kNotAnInteger));
        return;  // the dialog stays open
    }
    if (entry.result == PageChoice::Result::OutOfRange) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramTitle), message(kWrongEntry));
        reject();
        return;
    }
    page_ = entry.page;
    QDialog::accept();
}

ZoomDialog::ZoomDialog(QWidget* parent) : QDialog(parent), entry_(new QComboBox(this)) {
    setWindowTitle(tr("指定大小"));
    entry_->setEditable(true);
    entry_->addItems(
        {"25", "50", "75", "100", "125", "150", "175", "200", "300", "400", "500", "750"});
    entry_->setCurrentText(QStringLiteral("100"));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("输入指定的缩放百分比:"), this));
    row->addWidget(entry_);
    row->addWidget(new QLabel(QStringLiteral("%"), this));
    auto* form = new QFormLayout(this);
    form->addRow(row);
    form->addRow(okCancelButtons(this));
}

void ZoomDialog::accept() {
    const std::optional<double> percent = checkZoomEntry(entry_->currentText());
    if (!percent) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramTitle), message(kWrongEntry));
        return;  // the dialog stays open for a usable entry
    }
    percent_ = *percent;
    QDialog::accept();
}

}  // namespace viewer
