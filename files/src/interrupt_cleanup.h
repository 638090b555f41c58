// Partial files removed when the process is interrupted (SIGINT, SIGTERM, SIGHUP), so that a
// stopped write leaves nothing behind.
#pragma once

namespace files {

/// Removes the file at `path` should the process be interrupted before keepOnInterrupt(path);
/// `path` must stay valid until then. The signals' handlers are installed on the first call,
/// for each signal that has no handler of the program's own.
void removeOnInterrupt(const char* path);
/// Forgets `path`.
void keepOnInterrupt(const char* path);

}  // namespace files
