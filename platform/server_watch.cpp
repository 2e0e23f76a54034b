// SPDX-License-Identifier: MIT
#include "platform/server_watch.h"

#include <algorithm>
#include <condition_variable>
#include <thread>
#include <vector>

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

// The thread that stops the waits that last too long, whoever started them:
// a job of the window, the list of the printer dialog, the cancelling of a
// job on the server.
class WatchKeeper {
public:
    static WatchKeeper& instance()
    {
        static WatchKeeper keeper;
        return keeper;
    }

    void Add(ServerWatch* watch)
    {
        const std::lock_guard lock(mutex_);
        watches_.push_back(watch);
        if (!thread_.joinable())
            thread_ = std::thread([this] { Run(); });
    }
    void StopAll()
    {
        const std::lock_guard lock(mutex_);
        for (ServerWatch* watch : watches_)
            watch->Interrupt(ServerWatch::Stop::Cancelled);
    }
    void Remove(ServerWatch* watch)
    {
        const std::lock_guard lock(mutex_);
        watches_.erase(std::find(watches_.begin(), watches_.end(), watch));
    }
    ~WatchKeeper()
    {
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

private:
    WatchKeeper() = default;

    // A watch is removed only under the mutex, so none goes while looked at.
    void Run()
    {
        std::unique_lock lock(mutex_);
        while (!ending_) {
            wake_.wait_for(lock, std::chrono::milliseconds(50));
            for (ServerWatch* watch : watches_)
                if (watch->Overdue())
                    watch->Interrupt(ServerWatch::Stop::TimedOut);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<ServerWatch*> watches_;
    std::thread thread_;
    bool ending_ = false;
};

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

void StopEveryServerWatch()
{
    WatchKeeper::instance().StopAll();
}

ServerWatch::ServerWatch()
{
    WatchKeeper::instance().Add(this);
}

ServerWatch::~ServerWatch()
{
    WatchKeeper::instance().Remove(this);
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
