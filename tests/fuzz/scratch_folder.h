// SPDX-License-Identifier: MIT
#pragma once
// A private folder for the files of a fuzz target: on a memory file system
// when there is one (every rewrite flushes to disk), made on first use and
// removed with everything in it when the program ends.

#include <string>

namespace cf::fuzz {

// The folder, ending in '/'.
const std::string& ScratchFolder();

// Ends the run on a broken rule, removing the folder first.
[[noreturn]] void Fail();

}  // namespace cf::fuzz
