// File helpers for the files the user keeps (station lists, settings): whole-file reads and
// replacement that never leaves half a file behind.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace vcl {

// True when `path` names an existing file that is not a directory.
bool FileExists(const std::string& path);

// The process's current directory; empty when the system cannot tell (the directory was
// removed), so paths built on it stay relative and their use fails with a clear error.
std::string GetCurrentDir();

// `dir` + "/" + `name`, without adding a second separator when `dir` already ends in one.
// The file functions accept a doubled separator too, so paths built either way work.
std::string JoinPath(const std::string& dir, const std::string& name);

// Reads the whole file into `bytes`. On failure `bytes` is left unchanged and the system's
// error is returned (a directory reads as EISDIR).
std::error_code ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file's contents with `bytes`: they go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the old file. On any failure the old file is
// left as it was, the temporary file is removed and the system's error is returned. A file the
// user made read-only is refused rather than silently replaced.
std::error_code WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace vcl
