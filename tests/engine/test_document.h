// Opens documents built from a description, keeping their files alive for the test.
#pragma once

#include <memory>
#include <string>

#include "document/vyn_document.h"
#include "surface/font_service.h"
#include "vyn_writer.h"

namespace vyn::fixtures {

struct OpenedDocument {
    TempDir dir;
    std::unique_ptr<VynDocument> document;
};

/// Writes `bytes` as `name` and opens it.
inline std::unique_ptr<OpenedDocument> openBytes(const std::vector<uint8_t>& bytes,
                                                 const std::string& name = "doc.vyn") {
    auto opened = std::make_unique<OpenedDocument>();
    opened->document = VynDocument::Open(opened->dir.write(name, bytes).string());
    return opened;
}

/// A record of the installed-font table, as font selection finds it.
inline surface::LogFont installedFace(std::string_view name,
                                      uint8_t charSet = surface::kGb2312CharSet) {
    surface::LogFont face{};
    face.weight = 400;
    face.charSet = charSet;
    surface::setFaceName(face, name);
    return face;
}

inline std::unique_ptr<OpenedDocument> openLayout(const DocumentLayout& desc) {
    return openBytes(buildDocument(desc).bytes, desc.qd ? "doc.qd" : "doc.vyn");
}

}  // namespace vyn::fixtures
