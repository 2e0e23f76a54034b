// SPDX-License-Identifier: MIT
#pragma once
// Runs a program as a child process for tests: standard input from
// /dev/null, standard output and error captured, killed when it overruns its
// time so that no test can hang.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace cf::test {

struct ProcessResult {
    int exitStatus = -1;  // -1 when killed by a signal
    bool timedOut = false;
    std::string out;
    std::string err;
};

class ChildProcess {
public:
    // Held: standard output is a pipe filled to the brim before the program
    // starts, so that its first write waits until the output is read.
    enum class Output { Free, Held };

    // Starts program (a path, or a name looked up in PATH) with the
    // arguments and exactly the given environment ("NAME=value" entries).
    ChildProcess(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                 Output output = Output::Free);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Reads standard output up to and including its first line end; empty
    // when none comes within the timeout.
    std::string ReadLine(std::chrono::milliseconds timeout);

    // Waits until the program has ended and closed its output; kills it
    // after the timeout.
    ProcessResult Wait(std::chrono::milliseconds timeout);

    void Kill();
    // Sends the signal to the program, if it runs.
    void Signal(int signal);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string pendingOut_;
};

ProcessResult RunProcess(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Full path of a program found in PATH, or empty.
std::string FindProgram(const std::string& name);

}  // namespace cf::test
