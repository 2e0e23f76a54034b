#include "engine/work_files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/embedded_resources.h"
#include "engine/place_table.h"
#include "engine/safe_file.h"

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
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
        && (info.st_mode & 077) == 0;
}

// `directory`, made if missing, when it is private; else empty.
std::string PrivateDirectory(const std::string& directory)
{
    ::mkdir(directory.c_str(), 0700);
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

std::string PrivateTemporaryDirectory()
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? WithSlash(tmp) : "/tmp/";
    return PrivateDirectory(base + "codicefiscale-" + std::to_string(::getuid()));
}

}  // namespace

std::string ProgramDirectory()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return "./";
    const std::string executable(path, static_cast<std::size_t>(length));
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
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), R_OK) == 0;
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
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
        ::unlink(path.c_str());
}

void DeletePlaceFile()
{
    const int directory = ::open(WorkDirectory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0)
        return;
    if (::flock(directory, LOCK_EX | LOCK_NB) == 0)
        DeleteWorkFile(kPlaceFileName);
    ::close(directory);
}

PlaceFileInUse::PlaceFileInUse()
    : directory_(::open(WorkDirectory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (directory_ >= 0)
        while (::flock(directory_, LOCK_SH) != 0 && errno == EINTR) {
        }
}

PlaceFileInUse::~PlaceFileInUse()
{
    if (directory_ >= 0)
        ::close(directory_);
}

}  // namespace cf
