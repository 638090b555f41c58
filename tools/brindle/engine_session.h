// The engine's library-wide state and one open document, through its exported interface.
#pragma once

#include <vyn/vynfile.h>

#include <string>

namespace brindle {

/// VYNFile_Init for as long as it lives.
struct EngineSession {
    EngineSession() { VYNFile_Init(); }
    ~EngineSession() { VYNFile_Exit(); }
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;
};

/// A document opened through the engine; `handle` is null when it did not open.
struct OpenDocument {
    explicit OpenDocument(const std::string& path) : handle(VYNFile_Open(path.c_str())) {}
    ~OpenDocument() { VYNFile_Close(handle); }
    OpenDocument(const OpenDocument&) = delete;
    OpenDocument& operator=(const OpenDocument&) = delete;
    VynHandle handle;
};

}  // namespace brindle
