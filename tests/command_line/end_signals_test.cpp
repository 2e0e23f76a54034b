// SPDX-License-Identifier: MIT
// The windowed program ended by a shutdown (SIGTERM), Ctrl+C (SIGINT) or a
// logout (SIGHUP): it ends through its own way out, as "Esci" does, and
// leaves no work file behind.

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include "child_process.h"
#include "test_files.h"

namespace cf::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout)
{
    for (auto waited = 0ms; waited < timeout; waited += 20ms) {
        if (fs::exists(path))
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

TEST(EndSignals, WindowedProgramEndsCleanlyOnEachSignal)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TemporaryDirectory runtime;
        TemporaryDirectory home;
        const std::string work = runtime.path() + "/codicefiscale";
        ChildProcess program({CF_EXECUTABLE}, {"PATH=/usr/bin:/bin", "QT_QPA_PLATFORM=offscreen",
                                               "XDG_RUNTIME_DIR=" + runtime.path(), "HOME=" + home.path(),
                                               "XDG_DATA_HOME=" + home.path()});
        ASSERT_TRUE(WaitForFile(work + "/varnel.cod", 20s)) << "the program did not start";
        program.Signal(signal);
        const ProcessResult result = program.Wait(20s);

        EXPECT_FALSE(result.timedOut) << strsignal(signal) << " did not end the program";
        EXPECT_EQ(result.exitStatus, 0) << strsignal(signal);
        EXPECT_TRUE(fs::is_empty(work)) << strsignal(signal) << " left work files";
    }
}

}  // namespace
}  // namespace cf::test
