#include "app_state.h"
#include "document_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>

namespace viewer {

std::optional<QString> downloadedCopyName(const QString& path) {
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const QString name = path.mid(nameStart);
    const qsizetype bracket = name.indexOf(u'[');
    if (bracket <= 0) {
        return std::nullopt;
    }
    const bool vyn = name.indexOf(QStringLiteral(".vyn"), 1, Qt::CaseInsensitive) >= 1;
    return path.left(nameStart + bracket) + (vyn ? QStringLiteral(".vyn") : QStringLiteral(".qd"));
}

bool replaceWithCopy(const QString& source, const QString& target) {
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() || out.write(block) != block.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

QString saveAsName(const QString& chosen, const QString& extension) {
    const qsizetype at = chosen.indexOf(extension, 0, Qt::CaseInsensitive);
    return (at >= 0 ? chosen.left(at) : chosen) + extension.toLower();
}

void saveCopyOf(const QString& path, const QString& filter, const QString& extension,
                QWidget* owner) {
    const QString chosen = QFileDialog::getSaveFileName(owner, QString(), QString(), filter,
                                                        nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) {
        return;
    }
    const QString target = saveAsName(chosen, extension);
    if (!QFile::copy(path, target)) {
        QMessageBox::warning(
            owner, QString::fromLatin1(kProgramTitle),
            QFile::exists(target)
                ? QCoreApplication::translate("SaveAs", "文件已存在：%1").arg(target)
                : QCoreApplication::translate("SaveAs", "无法保存到：%1").arg(target));
    }
}

}  // namespace viewer
