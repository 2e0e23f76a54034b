// SPDX-License-Identifier: MIT
#pragma once
// Writing whole files so that a failure loses nothing and nobody else reads
// them: new files and folders are the user's alone.

#include <functional>
#include <string>
#include <string_view>

#include "engine/storage/posix_system.h"

namespace cf {

// Replaces the file at `path` with `contents`: writes a temporary file
// ".NAME.cf-tmp-XXXXXX" beside it (a name no person gives a file), flushes
// it to disk, then renames it over the path. The replaced file's
// permissions are kept; a new file is readable by the user alone (0600). A
// symbolic link at the path is replaced, never followed. On failure the
// old file is untouched, `error` gets the reason (SystemErrorText), and
// false is returned. Temporary files that an earlier, killed replacement
// left beside the path are removed first.
bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error = nullptr);

// The same with the contents given piece by piece, so that a large file
// need not be held whole in memory: `nextPiece` is called until it gives an
// empty piece. `written`, when given, receives the new file's status as it
// took the path's place.
bool ReplaceFileContents(const std::string& path, const std::function<std::string_view()>& nextPiece,
                         std::string* error = nullptr, posix::FileStatus* written = nullptr);

// Removes the temporary files of ReplaceFileContents that a killed program
// left beside `path`; those a running program is still writing stay, and
// so does every other file, whatever its name.
void RemoveAbandonedTemporaryFiles(const std::string& path);

// Creates the folder `path` and every missing folder above it, each closed
// to other users (0700); folders that exist keep their permissions. True
// when `path` is a folder afterwards.
bool MakePrivateDirectories(const std::string& path);

}  // namespace cf
