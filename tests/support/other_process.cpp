// SPDX-License-Identifier: MIT
#include "other_process.h"

#include <sys/wait.h>
#include <unistd.h>

namespace cf::test {

OtherProcess::OtherProcess(const std::function<void()>& take)
{
    int ready[2], release[2];
    if (pipe(ready) != 0)
        return;
    if (pipe(release) != 0) {
        close(ready[0]);
        close(ready[1]);
        return;
    }
    child_ = fork();
    if (child_ == 0) {
        close(ready[0]);
        close(release[1]);
        take();
        char byte = 0;
        (void)!write(ready[1], &byte, 1);
        (void)!read(release[0], &byte, 1);
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char byte = 0;
    holding_ = child_ > 0 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
}

OtherProcess::~OtherProcess()
{
    Release();
}

void OtherProcess::Release()
{
    if (release_ >= 0) {
        close(release_);
        release_ = -1;
    }
    if (child_ > 0) {
        waitpid(child_, nullptr, 0);
        child_ = -1;
    }
    holding_ = false;
}

}  // namespace cf::test
