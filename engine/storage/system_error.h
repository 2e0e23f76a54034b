// SPDX-License-Identifier: MIT
#pragma once
// Why a call of the operating system failed, for a message to the user.

#include <string>

namespace cf {

// The reason for the error number `error` (an errno value), in lower case
// and without a final full stop: Italian texts of the program's own for the
// common errors (permission, no space left, read-only file system, a
// folder, a missing file, too many links...), the system's own text for the
// rare rest.
std::string SystemErrorText(int error);

}  // namespace cf
