// SPDX-License-Identifier: MIT
#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace cf::test {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Appends what is readable from fd; closes it and sets it to -1 at its end.
void Drain(int& fd, std::string& into)
{
    char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
        into.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& command,
                           const std::vector<std::string>& environment, Output output)
{
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return;
    }
    if (output == Output::Held) {
        fcntl(outPipe[1], F_SETFL, O_NONBLOCK);
        while (write(outPipe[1], "...............", 16) > 0) {
        }
        fcntl(outPipe[1], F_SETFL, 0);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);

    std::vector<std::string> arguments = command;
    std::vector<std::string> variables = environment;
    // A sanitizer build's settings reach the child too.
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
        if (const char* value = std::getenv(name))
            variables.push_back(std::string(name) + "=" + value);
    const std::vector<char*> argv = Pointers(arguments);
    const std::vector<char*> envp = Pointers(variables);
    const std::string program =
        command.front().find('/') == std::string::npos ? FindProgram(command.front()) : command.front();
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    out_ = outPipe[0];
    err_ = errPipe[0];
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        Kill();
        Wait(std::chrono::seconds(5));
    }
    if (out_ >= 0)
        close(out_);
    if (err_ >= 0)
        close(err_);
}

std::string ChildProcess::ReadLine(std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    std::size_t end;
    while ((end = pendingOut_.find('\n')) == std::string::npos && out_ >= 0) {
        pollfd ready{out_, POLLIN, 0};
        if (poll(&ready, 1, RemainingMs(deadline)) <= 0)
            return {};
        Drain(out_, pendingOut_);
    }
    if (end == std::string::npos)
        return {};
    std::string line = pendingOut_.substr(0, end + 1);
    pendingOut_.erase(0, end + 1);
    return line;
}

ProcessResult ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    ProcessResult result;
    if (pid_ <= 0)
        return result;
    const Clock::time_point deadline = Clock::now() + timeout;
    result.out = std::move(pendingOut_);
    pendingOut_.clear();
    while (out_ >= 0 || err_ >= 0) {
        pollfd streams[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        const int ready = poll(streams, 2, RemainingMs(deadline));
        if (ready == 0) {
            result.timedOut = true;
            Kill();
            break;
        }
        if (ready < 0)
            continue;
        if (out_ >= 0 && streams[0].revents != 0)
            Drain(out_, result.out);
        if (err_ >= 0 && streams[1].revents != 0)
            Drain(err_, result.err);
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (!result.timedOut && WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    return result;
}

void ChildProcess::Kill()
{
    Signal(SIGKILL);
}

void ChildProcess::Signal(int signal)
{
    if (pid_ > 0)
        kill(pid_, signal);
}

ProcessResult RunProcess(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                         std::chrono::milliseconds timeout)
{
    ChildProcess child(command, environment);
    return child.Wait(timeout);
}

std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string directories = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= directories.size()) {
        std::size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        const std::string candidate = directories.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

}  // namespace cf::test
