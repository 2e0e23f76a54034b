// SPDX-License-Identifier: MIT
#include "engine/storage/work_files.h"

#include <cstdlib>

#include "engine/places/embedded_resources.h"
#include "engine/places/place_table.h"
#include "engine/storage/posix_system.h"
#include "engine/storage/safe_file.h"

namespace cf {
namespace {

std::string WithSlash(std::string directory)
{
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

// A directory that only this user can reach: a real directory (not a link)
// owned by the user, closed to group and others.
bool IsPrivateDirectory(const std::string& path)
{
    const posix::FileStatus status = posix::LinkStatusOf(path);
    return status.type == posix::FileType::Directory && status.owner == posix::UserId()
           && (status.permissions & 077) == 0;
}

// `directory`, made if missing, when it is private; else empty.
std::string PrivateDirectory(const std::string& directory)
{
    posix::MakeDirectory(directory);
    return IsPrivateDirectory(directory) ? WithSlash(directory) : std::string{};
}

// A folder of the program's own in the user's runtime directory, so that
// its files are not loose among other programs' ones.
std::string RuntimeDirectory()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime || !IsPrivateDirectory(runtime))
        return {};
    return PrivateDirectory(WithSlash(runtime) + "codicefiscale");
}

// A folder of the user's own in the temporary directory: the predictable
// "codicefiscale-UID" or, when something not ours or not private holds that
// name (another user may make it first), "codicefiscale-UID-XXXXXX" with
// an unpredictable end, made once and found again by every later call and
// instance (the first such folder of ours by name, so all agree).
std::string PrivateTemporaryDirectory()
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? WithSlash(tmp) : "/tmp/";
    const std::string name = "codicefiscale-" + std::to_string(posix::UserId());
    if (std::string predictable = PrivateDirectory(base + name); !predictable.empty())
        return predictable;

    const std::string prefix = name + '-';
    std::string found;
    for (const std::string& entry : posix::DirectoryEntries(base)) {
        if (entry.size() == prefix.size() + 6 && entry.starts_with(prefix) && (found.empty() || entry < found)
            && IsPrivateDirectory(base + entry))
            found = entry;
    }
    if (!found.empty())
        return base + found + '/';
    std::string made = base + prefix + "XXXXXX";
    return posix::MakeUniqueDirectory(made) == 0 && IsPrivateDirectory(made) ? made + '/' : std::string{};
}

}  // namespace

std::string ProgramDirectory()
{
    const std::string executable = posix::ExecutablePath();
    if (executable.empty())
        return "./";
    return executable.substr(0, executable.rfind('/') + 1);
}

std::string WorkDirectory()
{
    if (std::string runtime = RuntimeDirectory(); !runtime.empty())
        return runtime;
    const std::string temporary = PrivateTemporaryDirectory();
    return temporary.empty() ? ProgramDirectory() : temporary;
}

bool FileExists(const std::string& path)
{
    return posix::StatusOf(path).type == posix::FileType::Regular && posix::CanRead(path);
}

bool WriteResourceFile(std::string_view fileName, int resourceId)
{
    const auto bytes = ResourceBytes(resourceId);
    if (bytes.empty())
        return false;
    const std::string_view contents(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ReplaceFileContents(WorkDirectory() + std::string(fileName), contents);
}

void DeleteWorkFile(std::string_view fileName)
{
    const std::string path = WorkDirectory() + std::string(fileName);
    const posix::FileType type = posix::LinkStatusOf(path).type;
    if (type != posix::FileType::None && type != posix::FileType::Directory)
        posix::RemoveFile(path);
}

void DeletePlaceFile()
{
    posix::File directory = posix::File::OpenDirectory(WorkDirectory());
    if (directory.isOpen() && directory.TryLock(posix::LockKind::Exclusive))
        DeleteWorkFile(kPlaceFileName);
}

PlaceFileInUse::PlaceFileInUse() : directory_(posix::File::OpenDirectory(WorkDirectory()))
{
    if (directory_.isOpen())
        directory_.Lock(posix::LockKind::Shared);
}

}  // namespace cf
