// Opening the documents a subcommand names, with the failure message brindle prints.
#pragma once

#include <QJsonObject>
#include <memory>
#include <string>

#include "document/vyn_document.h"

namespace brindle {

/// Opens a VYN or QD file; throws Failure with the reason when it does not open.
std::unique_ptr<vyn::VynDocument> openVyn(const std::string& path);

/// Writes `json` (one document) to standard output followed by a newline.
void printJson(const QJsonObject& json);

}  // namespace brindle
