// SPDX-License-Identifier: MIT
#pragma once
// The program's work files ("varnel.cod" and the help pages) in the user's
// private work directory. Failures never reach the caller as errors: a file
// that cannot be written is simply missing later.

#include <string>
#include <string_view>

#include "engine/storage/posix_system.h"

namespace cf {

// The program's folder "codicefiscale" in $XDG_RUNTIME_DIR when that is the
// user's private directory, else a 0700 folder of the user's own in the
// temporary directory ($TMPDIR or /tmp): "codicefiscale-UID", or one with an
// unpredictable name when that one is taken by something else; else the
// program's directory. Always ends in '/'.
std::string WorkDirectory();

// Directory of the running executable, ending in '/'.
std::string ProgramDirectory();

// True when the path names a regular file that can be opened for reading.
bool FileExists(const std::string& path);

// Writes embedded resource `resourceId` to WorkDirectory() + fileName,
// replacing any previous file (or symbolic link) whole. True on success.
bool WriteResourceFile(std::string_view fileName, int resourceId);

// Removes WorkDirectory() + fileName if it exists.
void DeleteWorkFile(std::string_view fileName);

// Removes "varnel.cod" from the work directory if it exists, unless another
// instance of the program is using it at this moment (see PlaceFileInUse):
// the last instance to end removes it.
void DeletePlaceFile();

// While an object of this class lives, this program is using "varnel.cod",
// and another instance that ends meanwhile leaves the file alone. It holds a
// shared lock on the work directory; DeletePlaceFile takes it exclusively.
class PlaceFileInUse {
public:
    PlaceFileInUse();
    PlaceFileInUse(const PlaceFileInUse&) = delete;
    PlaceFileInUse& operator=(const PlaceFileInUse&) = delete;

private:
    posix::File directory_;
};

}  // namespace cf
