// The names under which the viewer copies a document's file: the copy it keeps of a
// downloaded file, and the copy Save As writes.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace viewer {

/// A downloaded copy named like "paper[1].vyn" is kept again as "paper.vyn" ("paper.qd" when
/// the name does not hold ".vyn"): the name up to its first "[" and the extension. None when
/// the file name holds no "[" after its first character. Only the file name is looked at, so
/// that a folder's name never moves the copy into another folder.
std::optional<QString> downloadedCopyName(const QString& path);

/// Copies `source` over `target`; an older target is replaced only once the copy is complete.
bool replaceWithCopy(const QString& source, const QString& target);

/// Save As: the chosen name cut at its first `extension` (".vyn" or ".zor", any case), and
/// the extension after it.
QString saveAsName(const QString& chosen, const QString& extension = QStringLiteral(".vyn"));

/// Copies the document's file to the name Save As chose, never over an existing file; says
/// so when the copy cannot be made.
void saveCopyOf(const QString& path, const QString& filter, const QString& extension,
                QWidget* owner);

}  // namespace viewer
