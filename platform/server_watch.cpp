// SPDX-License-Identifier: MIT
#include "platform/server_watch.h"

#include <sys/socket.h>
#include <sys/stat.h>

namespace cf::platform {
namespace {

std::atomic<std::chrono::milliseconds::rep> serverWait{5000};

ino_t SocketOf(int fd)
{
    struct stat status {};
    return fd >= 0 && fstat(fd, &status) == 0 && S_ISSOCK(status.st_mode) ? status.st_ino : 0;
}

}  // namespace

std::chrono::milliseconds PrintServerWait()
{
    return std::chrono::milliseconds(serverWait.load());
}

void SetPrintServerWait(std::chrono::milliseconds wait)
{
    serverWait = wait.count();
}

int PrintServerWaitSeconds()
{
    return static_cast<int>((PrintServerWait().count() + 999) / 1000);
}

void ServerWatch::SetConnection(int fd)
{
    const std::lock_guard lock(mutex_);
    fd_ = fd;
    socket_ = SocketOf(fd);
    if (stop_ != Stop::None)
        CutConnection();
}

void ServerWatch::BeginWait()
{
    const std::lock_guard lock(mutex_);
    waiting_ = true;
    waitStart_ = std::chrono::steady_clock::now();
    if (stop_ != Stop::None)
        CutConnection();
}

void ServerWatch::EndWait()
{
    const std::lock_guard lock(mutex_);
    waiting_ = false;
}

bool ServerWatch::Overdue() const
{
    const std::lock_guard lock(mutex_);
    return waiting_ && std::chrono::steady_clock::now() - waitStart_ > PrintServerWait();
}

void ServerWatch::Interrupt(Stop why)
{
    const std::lock_guard lock(mutex_);
    Stop none = Stop::None;
    stop_.compare_exchange_strong(none, why);
    CutConnection();
}

// Shutting the socket down wakes every wait on it with an error, and the
// print library gives up. The socket stays open: the library closes it.
void ServerWatch::CutConnection()
{
    if (fd_ >= 0 && socket_ != 0 && SocketOf(fd_) == socket_)
        shutdown(fd_, SHUT_RDWR);
}

}  // namespace cf::platform
