// SPDX-License-Identifier: MIT
#pragma once
// Another process holding something, for tests of what the program does
// while another instance holds a lock or a file.

#include <sys/types.h>

#include <functional>

namespace cf::test {

// Runs `take` in a child process, which then waits until Release() or the
// object's end: meanwhile what `take` took (a lock, an open file) is held by
// another process. What `take` must keep lives in the child for good (a
// static, say): the child ends without running destructors.
class OtherProcess {
public:
    explicit OtherProcess(const std::function<void()>& take);
    ~OtherProcess();
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    // Whether the child ran `take` and is waiting.
    bool holding() const { return holding_; }
    // Ends the child and waits for it to be gone.
    void Release();

private:
    pid_t child_ = -1;
    int release_ = -1;  // the child ends when this is written or closed
    bool holding_ = false;
};

}  // namespace cf::test
