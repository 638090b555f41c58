// The knowledge query: a selected term sent to the knowledge web service by opening the
// address made of the service's base address and the term.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QWidget;

namespace viewer {

/// The query's address: the base trimmed, with "/" after it unless it ends so, then
/// "knowledgeframe.asp?word=" and the trimmed term's bytes percent-encoded (a web address
/// cannot carry raw bytes). None when the base is empty or no web address.
std::optional<QString> knowledgeAddress(const QString& base, const QByteArray& term);

/// Whether `address` (trimmed) is an http or https address with a host: the only kind the
/// knowledge service may have, so that a query never opens a file, a share or a script.
bool isWebAddress(const QString& address);

/// The message for a service address that is not a web address.
QString notAWebAddressText();

/// Runs the query for `term` (in the page text's code page; `text` is the same in Unicode),
/// as the profile's "SvrAddress" entries say: "url" the base, "encoding" = "utf8" sends the
/// term as UTF-8. Says so when nothing is selected, no address is set or it is no web address.
void runKnowledgeQuery(QWidget* owner, bool selected, const QByteArray& term, const QString& text);

}  // namespace viewer
