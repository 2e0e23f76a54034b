// SPDX-License-Identifier: MIT
// Appending a person whose seven fields are arbitrary bytes (each field
// after a byte giving its length): a person the archive takes loads back
// exactly as given, twice when appended twice, and survives a rewrite; one
// it refuses leaves the file as it was, with a message.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/storage/archive_file.h"
#include "fuzz_target.h"
#include "scratch_folder.h"

namespace {

using cf::fuzz::Fail;

std::string_view NextField(std::string_view& input)
{
    if (input.empty())
        return {};
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(input[0]), input.size() - 1);
    const std::string_view field = input.substr(1, length);
    input.remove_prefix(1 + length);
    return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    cf::Person person;
    for (std::string* field : {&person.surname, &person.firstName, &person.code, &person.sex,
                               &person.birthDate, &person.place, &person.province})
        field->assign(NextField(input));

    const std::string path = cf::fuzz::ScratchFolder() + cf::kArchiveFileName;
    std::remove(path.c_str());
    const cf::ArchiveResult first = cf::AppendToArchive(path, person);
    if (!first.ok) {
        const cf::LoadedArchive none = cf::LoadArchive(path);
        if (first.message.empty() || !none.empty() || none.stamp().exists)
            Fail();
        return 0;
    }
    if (!cf::AppendToArchive(path, person).ok)
        Fail();
    const auto holdsTwice = [&person](const cf::LoadedArchive& archive) {
        return archive.size() == 2 && archive.person(0) == person && archive.person(1) == person;
    };
    cf::LoadedArchive loaded = cf::LoadArchive(path);
    if (!holdsTwice(loaded))
        Fail();
    if (!cf::RewriteArchive(path, loaded).ok || !holdsTwice(cf::LoadArchive(path)))
        Fail();
    return 0;
}
