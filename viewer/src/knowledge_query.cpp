#include "knowledge_query.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QUrl>

#include "app_state.h"
#include "open_address.h"
#include "settings.h"

namespace viewer {

bool isWebAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

QString notAWebAddressText() {
    return QCoreApplication::translate("Knowledge", "服务器地址须以 http:// 或 https:// 开头。");
}

std::optional<QString> knowledgeAddress(const QString& base, const QByteArray& term) {
    QString address = base.trimmed();
    if (address.isEmpty() || !isWebAddress(address)) {
        return std::nullopt;
    }
    if (!address.endsWith(u'/')) {
        address += u'/';
    }
    return address + QStringLiteral("knowledgeframe.asp?word=") +
           QString::fromLatin1(term.trimmed().toPercentEncoding());
}

void runKnowledgeQuery(QWidget* owner, bool selected, const QByteArray& term, const QString& text) {
    if (!selected || term.trimmed().isEmpty()) {
        QMessageBox::information(
            owner, QString::fromLatin1(kProgramTitle),
            QCoreApplication::translate("Knowledge", "没有选中要查询的知识点!"));
        return;
    }
    const ProfileSettings profile;
    const bool utf8 =
        profile.serverEncoding().compare(QStringLiteral("utf8"), Qt::CaseInsensitive) == 0;
    const std::optional<QString> address =
        knowledgeAddress(profile.serverAddress(), utf8 ? text.toUtf8() : term);
    if (!address) {
        const bool unset = profile.serverAddress().trimmed().isEmpty();
        QMessageBox::warning(
            owner, QString::fromLatin1(kProgramTitle),
            unset ? QCoreApplication::translate("Knowledge",
                                                "没有设置知识服务的地址，请在“服务器配置”中填写。")
                  : notAWebAddressText());
        return;
    }
    openAddress(*address);
}

}  // namespace viewer
