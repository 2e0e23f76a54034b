// SPDX-License-Identifier: MIT
// Appends one record to the archive at its default place and prints that
// place: run from a read-only directory, it shows where the archive goes.
#include <cstdio>

#include "engine/storage/archive_file.h"

int main()
{
    const std::string path = cf::ArchivePath();
    const cf::ArchiveResult result = cf::AppendToArchive(path, {.surname = "BIANCHI",
                                                                .firstName = "LUCIA",
                                                                .sex = "F",
                                                                .birthDate = "03/07/85",
                                                                .place = "ROMA",
                                                                .province = "RM",
                                                                .code = "BNCLCU85L43H501J"});
    std::printf("%s\n", path.c_str());
    if (!result.ok)
        std::fprintf(stderr, "%s\n", result.message.c_str());
    return result.ok ? 0 : 1;
}
