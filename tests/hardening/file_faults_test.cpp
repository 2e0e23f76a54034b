// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "archive_line.h"
#include "engine/places/embedded_resources.h"
#include "engine/places/place_table.h"
#include "engine/storage/archive_file.h"
#include "engine/storage/safe_file.h"
#include "engine/storage/work_files.h"
#include "scratch_mount.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

using cf::test::ReadFileBytes;
using cf::test::TemporaryDirectory;

std::vector<cf::Person> Records(int count, const std::string& surname)
{
    std::vector<cf::Person> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back({.surname = surname,
                        .firstName = "PERSONA " + std::to_string(i),
                        .sex = "F",
                        .birthDate = "03/07/85",
                        .place = "ROMA",
                        .province = "RM",
                        .code = "BNCLCU85L43H501J"});
    return rows;
}

// A delete as the archive window makes one: the archive loaded, its first
// row taken out, the rest written back.
cf::ArchiveResult DeleteFirst(const std::string& path)
{
    cf::LoadedArchive archive = cf::LoadArchive(path);
    archive.Remove(0);
    return cf::RewriteArchive(path, archive);
}

// Runs a shell command line and gives its standard output and exit status.
std::pair<std::string, int> RunShell(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pipe ? ::pclose(pipe) : -1;
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(KilledRewrite, ArchiveIsAlwaysTheOldOrTheNewOneWhole)
{
    TemporaryDirectory directory;
    const std::string path = directory.path() + "/" + cf::kArchiveFileName;
    std::string oldBytes;
    for (const cf::Person& row : Records(4096, "VECCHIO"))
        oldBytes += cf::test::ArchiveLine(row) + "\r\n";
    ASSERT_TRUE(cf::ReplaceFileContents(path, oldBytes));

    // A delete, timed; then the old archive again.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(DeleteFirst(path).ok);
    const auto rewriteTime = std::chrono::steady_clock::now() - started;
    const std::string newBytes = ReadFileBytes(path);
    ASSERT_EQ(newBytes.size(), oldBytes.size() - cf::test::ArchiveLine(Records(1, "VECCHIO")[0]).size() - 2);
    ASSERT_TRUE(cf::ReplaceFileContents(path, oldBytes));

    // Kill points spread from before the rewrite starts to after it ends.
    std::mt19937 random(20261208);
    const long rewriteMicroseconds =
        std::chrono::duration_cast<std::chrono::microseconds>(rewriteTime).count();
    std::uniform_int_distribution<long> delay(0, rewriteMicroseconds * 3 / 2);
    int killsBefore = 0;
    int killsAfter = 0;
    for (int kill = 0; kill < 50; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DeleteFirst(path);
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const std::string bytes = ReadFileBytes(path);
        ASSERT_TRUE(bytes == oldBytes || bytes == newBytes)
            << "kill " << kill << ": archive of " << bytes.size()
            << " bytes is neither the old nor the new one";
        if (bytes == newBytes) {
            ++killsAfter;
            ASSERT_TRUE(cf::ReplaceFileContents(path, oldBytes));
        } else {
            ++killsBefore;
        }
    }
    // A killed rewrite may leave its temporary file, full of personal data:
    // the next start takes it away.
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(directory.path()))
        leftovers +=
            entry.path().filename().string().starts_with("." + std::string(cf::kArchiveFileName) + ".");
    cf::RemoveAbandonedTemporaryFiles(path);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, std::vector<std::string>{cf::kArchiveFileName});
    std::printf("50 kills: %d left the old archive, %d the new one, 0 damaged; %d temporary files removed\n",
                killsBefore, killsAfter, leftovers);
}

TEST(FullDisk, AppendAndRewriteReportTheFailureAndLoseNothing)
{
    ScratchMount disk(64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system to fill: " << disk.failure();
    const std::string path = disk.path() + "/" + cf::kArchiveFileName;

    int appended = 0;
    cf::ArchiveResult result;
    while (appended < 10000 && (result = cf::AppendToArchive(path, Records(1, "PIENO")[0])).ok)
        ++appended;
    ASSERT_FALSE(result.ok) << "the disk never filled";
    EXPECT_NE(result.message.find("Impossibile scrivere l'archivio"), std::string::npos) << result.message;
    const std::string full = ReadFileBytes(path);
    EXPECT_EQ(cf::LoadArchive(path).size(), static_cast<std::size_t>(appended))
        << "a half-written line was left";

    cf::LoadedArchive archive = cf::LoadArchive(path);
    archive.Insert(cf::test::ArchiveLine(Records(1, "ALTRO")[0]));
    const cf::ArchiveResult rewrite = cf::RewriteArchive(path, archive);
    EXPECT_FALSE(rewrite.ok);
    EXPECT_FALSE(rewrite.message.empty());
    EXPECT_EQ(ReadFileBytes(path), full);
}

TEST(ReadOnlyProgramDirectory, ArchiveGoesToTheUserDataDirectory)
{
    ScratchMount programDirectory(16 * 1024 * 1024);
    if (!programDirectory.mounted())
        GTEST_SKIP() << "no read-only program directory: " << programDirectory.failure();
    const std::string program = programDirectory.path() + "/archive_at_default_path";
    fs::copy_file(CF_ARCHIVE_AT_DEFAULT_PATH, program);
    ASSERT_TRUE(programDirectory.MakeReadOnly());

    TemporaryDirectory data;
    const auto [out, status] =
        RunShell("XDG_DATA_HOME='" + data.path() + "' HOME='" + data.path() + "' '" + program + "'");
    const std::string expected = data.path() + "/codicefiscale/" + cf::kArchiveFileName;
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, expected + "\n");
    EXPECT_EQ(cf::LoadArchive(expected).size(), 1u);
}

TEST(PlantedLinks, WorkFilesNeverFollowTheirLinks)
{
    TemporaryDirectory runtime;
    const std::string target = runtime.path() + "/precious";
    std::ofstream(target) << "keep me";
    const std::string work = runtime.path() + "/codicefiscale";  // the program's folder
    ASSERT_EQ(::mkdir(work.c_str(), 0700), 0);
    const char* workFiles[] = {"varnel.cod", "varnel.htm", "codicefiscale.htm"};
    for (const char* name : workFiles)
        ASSERT_EQ(::symlink(target.c_str(), (work + "/" + name).c_str()), 0);

    // The command-line mode writes and deletes "varnel.cod".
    const auto [out, status] = RunShell("env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR='" + runtime.path()
                                        + "' '" + CF_EXECUTABLE + "' BIANCHI,LUCIA,3/7/85,F,ROMA");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "BNCLCU85L43H501J\n");
    EXPECT_FALSE(fs::exists(fs::symlink_status(work + "/varnel.cod")));

    // The help pages are written over their links, then deleted.
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string oldRuntime = old ? old : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    EXPECT_TRUE(cf::WriteResourceFile("varnel.htm", cf::kCommandLineHelpResource));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work + "/varnel.htm")));
    cf::DeleteWorkFile("varnel.htm");
    cf::DeleteWorkFile("codicefiscale.htm");
    ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);

    EXPECT_EQ(ReadFileBytes(target), "keep me");
    for (const char* name : workFiles)
        EXPECT_FALSE(fs::exists(fs::symlink_status(work + "/" + name))) << name;
}

}  // namespace

namespace {

// A windowed instance loading its place list while command-line instances
// start and end around it: the file it reads is always whole, every
// command-line run gives its code, and the last one out removes the file.
TEST(TwoInstances, CommandLineRunsNeverTakeThePlaceFileFromAWindowedOne)
{
    TemporaryDirectory runtime;
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string oldRuntime = old ? old : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const std::string placeFile = runtime.path() + "/codicefiscale/varnel.cod";
    const auto table = cf::ResourceBytes(cf::kPlaceTableResource);
    const std::string whole(reinterpret_cast<const char*>(table.data()), table.size());

    // Command-line instances, one after the other.
    const pid_t runner = ::fork();
    ASSERT_GE(runner, 0);
    if (runner == 0) {
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR='" + runtime.path()
                                    + "' '" + CF_EXECUTABLE + "' BIANCHI,LUCIA,3/7/85,F,ROMA";
        for (int run = 0; run < 12; ++run)
            if (RunShell(command).first != "BNCLCU85L43H501J\n")
                ::_exit(1);
        ::_exit(0);
    }

    // Windowed loads for as long as the command-line runs last (at least 40).
    int status = 0;
    for (int load = 0; load < 40 || ::waitpid(runner, &status, WNOHANG) == 0; ++load) {
        const cf::PlaceFileInUse inUse;
        cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
        ::usleep(5000);  // the splash and the list take their time
        ASSERT_EQ(ReadFileBytes(placeFile), whole) << "load " << load;
    }
    cf::DeletePlaceFile();
    if (!WIFEXITED(status))
        ::waitpid(runner, &status, 0);
    ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a command-line run gave a wrong code";
    EXPECT_FALSE(fs::exists(placeFile));
}

}  // namespace
