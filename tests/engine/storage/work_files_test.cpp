// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "engine/places/embedded_resources.h"
#include "engine/places/place_table.h"
#include "engine/storage/work_files.h"
#include "other_process.h"
#include "test_files.h"

namespace cf {
namespace {

using test::ReadFileBytes;

// Points XDG_RUNTIME_DIR at a fresh private directory for each test.
class WorkFiles : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(directory_.empty());
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        oldRuntime_ = old ? old : "";
        ::setenv("XDG_RUNTIME_DIR", directory_.c_str(), 1);
    }
    void TearDown() override { ::setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1); }

    test::TemporaryDirectory temporary_;
    const std::string directory_ = temporary_.path();
    std::string oldRuntime_;
};

TEST_F(WorkFiles, WorkDirectoryIsAPrivateFolderOfItsOwnInTheRuntimeDirectory)
{
    const std::string own = directory_ + "/codicefiscale/";
    EXPECT_EQ(WorkDirectory(), own);
    struct stat info {};
    ASSERT_EQ(::lstat(own.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ::setenv("XDG_RUNTIME_DIR", (directory_ + "/").c_str(), 1);
    EXPECT_EQ(WorkDirectory(), own);

    // A name taken by something else, or a folder others may enter, is not used.
    ::chmod(own.c_str(), 0755);
    EXPECT_NE(WorkDirectory(), own);
    ::rmdir(own.c_str());
    ASSERT_EQ(::symlink(directory_.c_str(), (directory_ + "/codicefiscale").c_str()), 0);
    EXPECT_NE(WorkDirectory(), own);
}

TEST_F(WorkFiles, SharedOrMissingRuntimeDirectoryFallsBackToOwnTemporaryFolder)
{
    ::chmod(directory_.c_str(), 0777);
    const std::string fallback = WorkDirectory();
    EXPECT_NE(fallback, directory_ + "/");
    struct stat info {};
    ASSERT_EQ(::lstat(fallback.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
    EXPECT_EQ(info.st_uid, ::getuid());
    EXPECT_EQ(fallback.back(), '/');
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(WorkDirectory(), fallback);
}

// A user id no account has, to stand for another user.
uid_t UnusedUserId()
{
    uid_t uid = 54321;
    while (::getpwuid(uid))
        ++uid;
    return uid;
}

// Without a runtime directory, another user who takes the predictable name
// in the temporary directory first (or anything there that is not a
// private folder of ours) gets neither the work files nor a fallback to the
// program's folder: a private folder with an unpredictable name is made,
// and used again by every later call.
TEST_F(WorkFiles, TakenTemporaryFolderNameGivesAPrivateOneWithAnUnpredictableName)
{
    ::unsetenv("XDG_RUNTIME_DIR");
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string restoreTmp = oldTmp ? oldTmp : "";
    ::setenv("TMPDIR", directory_.c_str(), 1);
    const std::string predictable = directory_ + "/codicefiscale-" + std::to_string(::getuid());

    std::vector<std::pair<std::string, std::function<bool()>>> plants = {
        {"a folder others may enter", [&] { return ::mkdir(predictable.c_str(), 0755) == 0; }},
        {"a file", [&] { return std::ofstream(predictable).good(); }},
        {"a link to a private folder",
         [&] { return ::symlink(directory_.c_str(), predictable.c_str()) == 0; }},
    };
    if (::geteuid() == 0) {
        plants.emplace_back("a private folder of another user", [&] {
            return ::mkdir(predictable.c_str(), 0700) == 0
                   && ::chown(predictable.c_str(), UnusedUserId(), UnusedUserId()) == 0;
        });
    }
    for (const auto& [what, plant] : plants) {
        ASSERT_TRUE(plant()) << what;
        const std::string made = WorkDirectory();
        EXPECT_TRUE(made.starts_with(predictable + "-")) << what << ": " << made;
        EXPECT_EQ(made.size(), predictable.size() + 8) << what;
        struct stat info {};
        ASSERT_EQ(::lstat(made.c_str(), &info), 0) << what;
        EXPECT_TRUE(S_ISDIR(info.st_mode)) << what;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << what;
        EXPECT_EQ(info.st_uid, ::getuid()) << what;
        EXPECT_EQ(WorkDirectory(), made) << what;
        ASSERT_TRUE(WriteResourceFile(kPlaceFileName, kPlaceTableResource)) << what;
        EXPECT_TRUE(FileExists(made + kPlaceFileName)) << what;
        DeletePlaceFile();
        EXPECT_FALSE(FileExists(made + kPlaceFileName)) << what;

        struct stat planted {};
        EXPECT_EQ(::lstat(predictable.c_str(), &planted), 0) << what << " was removed";
        ::rmdir(made.c_str());
        std::filesystem::remove(predictable);
    }
    oldTmp ? ::setenv("TMPDIR", restoreTmp.c_str(), 1) : ::unsetenv("TMPDIR");
}

TEST_F(WorkFiles, PlaceFileIsWrittenWholeAndDeleted)
{
    const std::string path = WorkDirectory() + kPlaceFileName;
    std::ofstream(path) << std::string(400000, 'X');  // longer than the table
    ASSERT_TRUE(WriteResourceFile(kPlaceFileName, kPlaceTableResource));
    const auto bytes = ResourceBytes(kPlaceTableResource);
    const std::string expected(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_EQ(ReadFileBytes(path), expected);
    ASSERT_TRUE(WriteResourceFile(kPlaceFileName, kPlaceTableResource));
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_TRUE(FileExists(path));

    DeletePlaceFile();
    EXPECT_FALSE(FileExists(path));
    DeletePlaceFile();  // already gone: nothing happens
    EXPECT_FALSE(WriteResourceFile("unknown.htm", 999));
    EXPECT_FALSE(FileExists(WorkDirectory() + "unknown.htm"));
}

TEST_F(WorkFiles, PlantedSymbolicLinkIsNeverFollowed)
{
    const std::string target = directory_ + "/precious.txt";
    std::ofstream(target) << "keep me";
    const std::string path = WorkDirectory() + kPlaceFileName;
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);

    ASSERT_TRUE(WriteResourceFile(kPlaceFileName, kPlaceTableResource));
    EXPECT_EQ(ReadFileBytes(target), "keep me");
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));

    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
    DeletePlaceFile();
    EXPECT_EQ(ReadFileBytes(target), "keep me");
    EXPECT_NE(::lstat(path.c_str(), &info), 0);
}

TEST_F(WorkFiles, FileExistsOnlyForReadableFiles)
{
    EXPECT_FALSE(FileExists(directory_));
    EXPECT_FALSE(FileExists(directory_ + "/missing"));
    EXPECT_FALSE(FileExists(directory_ + "/missing/file"));
    std::ofstream(directory_ + "/present") << "x";
    EXPECT_TRUE(FileExists(directory_ + "/present"));
    EXPECT_EQ(ProgramDirectory().back(), '/');
}

TEST_F(WorkFiles, UnwritableWorkDirectoryFailsQuietly)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
    ::chmod(directory_.c_str(), 0500);
    EXPECT_FALSE(WriteResourceFile(kPlaceFileName, kPlaceTableResource));
    DeletePlaceFile();
    ::chmod(directory_.c_str(), 0700);
}

}  // namespace
}  // namespace cf

namespace cf {
namespace {

TEST_F(WorkFiles, PlaceFileInUseByAnotherInstanceIsLeftForTheLastOne)
{
    const std::string path = WorkDirectory() + kPlaceFileName;
    ASSERT_TRUE(WriteResourceFile(kPlaceFileName, kPlaceTableResource));

    // Another instance (a child process) is using the file.
    test::OtherProcess other([] { static const PlaceFileInUse use; });
    ASSERT_TRUE(other.holding());
    DeletePlaceFile();
    EXPECT_TRUE(FileExists(path)) << "deleted while another instance used it";

    other.Release();
    DeletePlaceFile();
    EXPECT_FALSE(FileExists(path));
}

TEST_F(WorkFiles, OwnUseEndsBeforeDeleting)
{
    const std::string path = WorkDirectory() + kPlaceFileName;
    {
        PlaceFileInUse use;
        ASSERT_TRUE(WriteResourceFile(kPlaceFileName, kPlaceTableResource));
    }
    DeletePlaceFile();
    EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace cf
