// SPDX-License-Identifier: MIT
#include "scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace cf::fuzz {
namespace {

class Folder {
public:
    Folder()
    {
        std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        pattern += "/cf-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern + '/';
    }
    ~Folder() { Remove(); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::string& path() const { return path_; }
    void Remove() const
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

private:
    std::string path_;
};

const Folder& TheFolder()
{
    static const Folder folder;
    return folder;
}

}  // namespace

const std::string& ScratchFolder()
{
    return TheFolder().path();
}

void Fail()
{
    TheFolder().Remove();
    std::abort();
}

}  // namespace cf::fuzz
