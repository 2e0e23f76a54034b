// SPDX-License-Identifier: MIT
// Loading an archive file of arbitrary bytes. Whatever loads must survive a
// rewrite and a second load with every line unchanged, byte for byte and in
// the same order, since the archive window rewrites the file from the lines
// it loaded.
#include <cstdint>
#include <string>

#include "engine/storage/archive_file.h"
#include "engine/storage/safe_file.h"
#include "fuzz_target.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = cf::fuzz::ScratchFolder() + cf::kArchiveFileName;
    if (!cf::ReplaceFileContents(path, {reinterpret_cast<const char*>(data), size}))
        cf::fuzz::Fail();
    cf::LoadedArchive before = cf::LoadArchive(path);
    if (!cf::RewriteArchive(path, before).ok)
        cf::fuzz::Fail();
    const cf::LoadedArchive after = cf::LoadArchive(path);
    if (after.size() != before.size())
        cf::fuzz::Fail();
    for (std::size_t row = 0; row < after.size(); ++row)
        if (after.line(row) != before.line(row) || after.person(row) != before.person(row))
            cf::fuzz::Fail();
    return 0;
}
