#pragma once
// Writing whole files so that a failure loses nothing.

#include <string>
#include <string_view>

namespace cf {

// Replaces the file at `path` with `contents`: writes a temporary file in
// the same directory, flushes it to disk, then renames it over the path. A
// symbolic link at the path is replaced, never followed. On failure the old
// file is untouched, `error` gets the system's reason, and false is returned.
bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error = nullptr);

}  // namespace cf
