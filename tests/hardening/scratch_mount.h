// SPDX-License-Identifier: MIT
#pragma once
// A small tmpfs mounted for one test, and unmounted when it ends.

#include <string>

class ScratchMount {
public:
    // Mounts a tmpfs of `bytes` on a fresh directory; check mounted() before use.
    explicit ScratchMount(unsigned long bytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& path() const { return path_; }
    const std::string& failure() const { return failure_; }
    bool MakeReadOnly();

private:
    std::string path_;
    std::string failure_;
    bool mounted_ = false;
};
