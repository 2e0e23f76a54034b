// SPDX-License-Identifier: MIT
#include "engine/storage/safe_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "other_process.h"
#include "test_files.h"

namespace cf {
namespace {

namespace fs = std::filesystem;

class SafeFile : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(directory_.empty()); }

    static unsigned Mode(const std::string& path)
    {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0xFFFFu;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TemporaryDirectory temporary_;
    const std::string directory_ = temporary_.path();
    const std::string path_ = directory_ + "/codarc.dat";
};

TEST_F(SafeFile, NewFilesAreTheUsersAloneAndReplacedFilesKeepTheirPermissions)
{
    const mode_t oldMask = ::umask(0);  // even the widest umask opens nothing
    ASSERT_TRUE(ReplaceFileContents(path_, "new"));
    EXPECT_EQ(Mode(path_), 0600u);

    ::chmod(path_.c_str(), 0640);
    ASSERT_TRUE(ReplaceFileContents(path_, "again"));
    EXPECT_EQ(Mode(path_), 0640u);
    ::umask(oldMask);
}

TEST_F(SafeFile, PrivateDirectoriesAreMadeClosedAndExistingOnesKeepTheirMode)
{
    ::chmod(directory_.c_str(), 0755);
    const std::string deep = directory_ + "/a/b/c";
    const mode_t oldMask = ::umask(0);
    EXPECT_TRUE(MakePrivateDirectories(deep));
    ::umask(oldMask);
    for (const std::string& folder : {directory_ + "/a", directory_ + "/a/b", deep})
        EXPECT_EQ(Mode(folder), 0700u) << folder;
    EXPECT_EQ(Mode(directory_), 0755u);
    EXPECT_TRUE(MakePrivateDirectories(deep));

    std::ofstream(directory_ + "/file") << "x";
    EXPECT_FALSE(MakePrivateDirectories(directory_ + "/file"));
    EXPECT_FALSE(MakePrivateDirectories(directory_ + "/file/below"));
}

// Temporary files of killed replacements go; those of a replacement still
// running stay, and so does every file a person named, whatever its name:
// copies of the archive such as "codarc.dat.giugno" once went at every start.
TEST_F(SafeFile, AbandonedTemporaryFilesAreRemovedButNotOnesInUseNorTheUsersOwn)
{
    const std::vector<std::string> usersOwn = {"codarc.dat",
                                               "codarc.dat.backup",
                                               "codarc.dat.202406",
                                               "codarc.dat.giugno",
                                               "codarc.dat.copia1",
                                               "codarc.dat.Ab12Cd",
                                               "codarc.dat.bak",
                                               ".codarc.dat.Ab12Cd",
                                               ".codarc.dat.cf-tmp-Ab12Cde",
                                               ".varnel.cod.cf-tmp-Ab12Cd"};
    for (const std::string& name : usersOwn)
        std::ofstream(directory_ + "/" + name) << "x";
    for (const char* name : {".codarc.dat.cf-tmp-Ab12Cd", ".codarc.dat.cf-tmp-zz99ZZ"})
        std::ofstream(directory_ + "/" + name) << "x";

    // A running replacement holds its temporary file locked.
    test::OtherProcess writer([this] {
        const int fd = ::open((directory_ + "/.codarc.dat.cf-tmp-zz99ZZ").c_str(), O_RDWR);
        ::flock(fd, LOCK_EX);
    });
    ASSERT_TRUE(writer.holding());

    std::vector<std::string> expected = usersOwn;
    expected.push_back(".codarc.dat.cf-tmp-zz99ZZ");
    std::sort(expected.begin(), expected.end());
    RemoveAbandonedTemporaryFiles(path_);
    EXPECT_EQ(Names(), expected);

    writer.Release();
    // The next replacement (a delete) sweeps what its killed predecessors
    // left, and leaves no temporary file of its own.
    ASSERT_TRUE(ReplaceFileContents(path_, "new"));
    std::erase(expected, ".codarc.dat.cf-tmp-zz99ZZ");
    EXPECT_EQ(Names(), expected);

    // A path without a file name (no archive place) has no temporary files.
    std::ofstream(directory_ + "/.bashrc") << "x";
    RemoveAbandonedTemporaryFiles(directory_ + "/");
    RemoveAbandonedTemporaryFiles("");
    EXPECT_TRUE(fs::exists(directory_ + "/.bashrc"));
}

}  // namespace
}  // namespace cf
