// SPDX-License-Identifier: MIT
// Loading an archive file of arbitrary bytes. Whatever loads must survive a
// rewrite and a second load with every row unchanged, since the archive
// window rewrites the file from the rows it loaded. (Their order may change:
// a legacy line with too few fields sorts by the fields it gains.)
#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/archive_file.h"
#include "engine/safe_file.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = cf::fuzz::ScratchFolder() + cf::kArchiveFileName;
    if (!cf::ReplaceFileContents(path, {reinterpret_cast<const char*>(data), size}))
        cf::fuzz::Fail();
    const auto rows = cf::LoadArchive(path);
    if (!cf::RewriteArchive(path, rows).ok)
        cf::fuzz::Fail();
    auto before = rows;
    auto after = cf::LoadArchive(path);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    if (after != before)
        cf::fuzz::Fail();
    return 0;
}
