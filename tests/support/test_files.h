// SPDX-License-Identifier: MIT
#pragma once
// Files for tests: a private folder of their own, and a file's bytes read
// back whole.

#include <string>

namespace cf::test {

// A fresh folder under the temporary directory, closed to other users,
// removed with its contents at destruction (even after a test took away its
// write permission).
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace cf::test
