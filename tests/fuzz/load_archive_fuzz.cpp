// SPDX-License-Identifier: MIT
// Loading an archive file of arbitrary bytes. Whatever loads must survive a
// rewrite and a second load with every row unchanged, since the archive
// window rewrites the file from the rows it loaded. (Their order may change:
// a legacy line with too few fields sorts by the fields it gains.)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "engine/archive_file.h"
#include "engine/safe_file.h"

namespace {

const std::string& ArchiveFile()
{
    static const std::string path = [] {
        // On a memory file system when there is one: a rewrite flushes to disk.
        std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        pattern += "/cf-fuzz-archive-XXXXXX";
        const char* directory = ::mkdtemp(pattern.data());
        if (!directory)
            std::abort();
        return std::string(directory) + "/codarc.dat";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = ArchiveFile();
    if (!cf::ReplaceFileContents(path, {reinterpret_cast<const char*>(data), size}))
        std::abort();
    const auto rows = cf::LoadArchive(path);
    if (!cf::RewriteArchive(path, rows).ok)
        std::abort();
    auto before = rows;
    auto after = cf::LoadArchive(path);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    if (after != before)
        std::abort();
    return 0;
}
