// SPDX-License-Identifier: MIT
#pragma once
// The watch over the waits of a print job on the print server. The job runs
// on a worker thread and marks each wait. A keeper thread looks at every
// watch 20 times a second and stops the job whose wait has lasted longer
// than PrintServerWait(); the window's thread stops one when the clerk
// cancels. Stopping cuts the job's connection, which ends whatever wait the
// print library is in, and makes every later wait fail at once.

#include <atomic>
#include <chrono>
#include <mutex>

#include <sys/types.h>

namespace cf::platform {

// The longest wait for one answer of the print server.
std::chrono::milliseconds PrintServerWait();
// Changes that limit; for tests, which cannot wait seconds for each case.
void SetPrintServerWait(std::chrono::milliseconds wait);
// The limit in whole seconds, as messages state it.
int PrintServerWaitSeconds();

class ServerWatch {
public:
    enum class Stop { None, Cancelled, TimedOut };

    ServerWatch();
    ~ServerWatch();
    ServerWatch(const ServerWatch&) = delete;
    ServerWatch& operator=(const ServerWatch&) = delete;

    // Worker side. The connection on which the next waits happen (-1: none).
    void SetConnection(int fd);
    // A wait on the server begins or ends.
    void BeginWait();
    void EndWait();
    // Why the job was stopped, if it was.
    Stop stop() const { return stop_.load(); }
    bool stopped() const { return stop() != Stop::None; }

    // True when a wait has lasted longer than PrintServerWait().
    bool Overdue() const;
    // Stops the job: its connection is cut, and every later wait fails at
    // once. The first reason given stays.
    void Interrupt(Stop why);

private:
    void CutConnection();  // with mutex_ held

    mutable std::mutex mutex_;
    int fd_ = -1;
    ino_t socket_ = 0;  // the connection's socket, so that a reused number is left alone
    bool waiting_ = false;
    std::chrono::steady_clock::time_point waitStart_;
    std::atomic<Stop> stop_{Stop::None};
};

// Stops every watched job, as the program ends.
void StopEveryServerWatch();

// Marks one wait on the server for the time of a scope.
class ServerWait {
public:
    explicit ServerWait(ServerWatch& watch) : watch_(watch) { watch_.BeginWait(); }
    ~ServerWait() { watch_.EndWait(); }
    ServerWait(const ServerWait&) = delete;
    ServerWait& operator=(const ServerWait&) = delete;

private:
    ServerWatch& watch_;
};

}  // namespace cf::platform
