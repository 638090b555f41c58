#include "info_dialogs.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_state.h"
#include "command_id.h"
#include "hyperlink.h"
#include "knowledge_query.h"
#include "page_dialogs.h"
#include "settings.h"
#include "tool_images.h"

namespace viewer {

namespace {

const char* const kProjectAddress = "https://brindle.example.org/";

}  // namespace

ServerDialog::ServerDialog(QWidget* parent) : QDialog(parent), address_(new QLineEdit(this)) {
    setWindowTitle(tr("服务器配置"));
    auto* group = new QGroupBox(tr("服务器地址"), this);
    auto* inside = new QVBoxLayout(group);
    inside->addWidget(address_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(okCancelButtons(this));
    address_->setMinimumWidth(360);
    address_->setText(ProfileSettings().serverAddress());
}

void ServerDialog::setAddress(const QString& address) { address_->setText(address); }

void ServerDialog::accept() {
    if (address_->text().size() > kLongestAddress) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramTitle),
                             tr("“请填入不多于%1个的字符。”").arg(kLongestAddress));
        address_->setFocus();
        return;
    }
    if (!address_->text().trimmed().isEmpty() && !isWebAddress(address_->text())) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramTitle), notAWebAddressText());
        address_->setFocus();
        return;
    }
    ProfileSettings().setServerAddress(address_->text());
    QDialog::accept();
}

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent),
      service_(new HyperLink(QString(), this)),
      project_(new HyperLink(QString(), this)) {
    setWindowTitle(tr("关于VYN文件浏览器"));
    auto* picture = new QLabel(this);
    picture->setPixmap(commandIcon(CommandId::About).pixmap(36, 36));
    picture->setCursor(Qt::WhatsThisCursor);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* texts = new QVBoxLayout(frame);
    texts->addWidget(new QLabel(tr("BrindleViewer：VYN/QD 与 PDF/ZOR 文件浏览器"), frame));
    texts->addWidget(new QLabel(tr("中文期刊论文与学位论文的阅读器"), frame));
    service_->setAddress(QString::fromLatin1(kDefaultServerAddress));
    project_->setAddress(QString::fromLatin1(kProjectAddress));
    texts->addWidget(service_);
    texts->addWidget(project_);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(frame, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

}  // namespace viewer
