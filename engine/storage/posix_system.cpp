// SPDX-License-Identifier: MIT
#include "engine/storage/posix_system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace cf::posix {
namespace {

FileType TypeOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileType::Regular;
    if (S_ISDIR(mode))
        return FileType::Directory;
    if (S_ISLNK(mode))
        return FileType::SymbolicLink;
    return FileType::Other;
}

// The status read by a stat call that returned `result`.
FileStatus StatusFrom(int result, const struct stat& info)
{
    FileStatus status;
    if (result != 0) {
        status.error = errno;
        return status;
    }
    status.type = TypeOf(info.st_mode);
    status.owner = info.st_uid;
    status.group = info.st_gid;
    status.permissions = info.st_mode & 07777;
    status.links = info.st_nlink;
    status.device = info.st_dev;
    status.inode = info.st_ino;
    status.size = info.st_size;
    status.modifiedNanoseconds = std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
    return status;
}

int ErrorOf(int result)
{
    return result == 0 ? 0 : errno;
}

void (*beforeSyncForTesting)() = nullptr;

}  // namespace

void SetBeforeSyncForTesting(void (*beforeSync)())
{
    beforeSyncForTesting = beforeSync;
}

FileStatus StatusOf(const std::string& path)
{
    struct stat info {};
    const int result = ::stat(path.c_str(), &info);
    return StatusFrom(result, info);
}

FileStatus LinkStatusOf(const std::string& path)
{
    struct stat info {};
    const int result = ::lstat(path.c_str(), &info);
    return StatusFrom(result, info);
}

bool CanRead(const std::string& path)
{
    return ::access(path.c_str(), R_OK) == 0;
}

bool CanWrite(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

std::string ResolvedPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return {};
    std::string result(resolved);
    std::free(resolved);
    return result;
}

int MakeDirectory(const std::string& path)
{
    return ErrorOf(::mkdir(path.c_str(), 0700));
}

int MakeUniqueDirectory(std::string& path)
{
    return ::mkdtemp(path.data()) ? 0 : errno;
}

std::vector<std::string> DirectoryEntries(const std::string& directory)
{
    std::vector<std::string> names;
    DIR* folder = ::opendir(directory.c_str());
    if (!folder)
        return names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(folder);
    return names;
}

int RemoveFile(const std::string& path)
{
    return ErrorOf(::unlink(path.c_str()));
}

int RenameFile(const std::string& from, const std::string& to)
{
    return ErrorOf(::rename(from.c_str(), to.c_str()));
}

unsigned UserId()
{
    return ::getuid();
}

unsigned EffectiveUserId()
{
    return ::geteuid();
}

std::string PasswordHomeDirectory()
{
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

std::string ExecutablePath()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length <= 0 ? std::string() : std::string(path, static_cast<std::size_t>(length));
}

File::~File()
{
    if (fd_ >= 0)
        ::close(fd_);
}

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
    }
    return *this;
}

File File::Opened(int fd)
{
    return {fd, fd < 0 ? errno : 0};
}

File File::OpenForReading(const std::string& path)
{
    return Opened(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
}

File File::OpenForWriting(const std::string& path)
{
    return Opened(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
}

File File::OpenForAppending(const std::string& path)
{
    return Opened(
        ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
}

File File::OpenDirectory(const std::string& path)
{
    return Opened(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

File File::CreateTemporary(std::string& path)
{
    return Opened(::mkostemp(path.data(), O_CLOEXEC));
}

FileStatus File::status() const
{
    struct stat info {};
    const int result = ::fstat(fd_, &info);
    return StatusFrom(result, info);
}

void File::Lock(LockKind kind)
{
    while (::flock(fd_, kind == LockKind::Shared ? LOCK_SH : LOCK_EX) != 0 && errno == EINTR) {
    }
}

bool File::TryLock(LockKind kind)
{
    return ::flock(fd_, (kind == LockKind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0;
}

int File::ReadToEnd(std::string& contents, std::size_t expected)
{
    contents.resize(expected);
    std::size_t filled = 0;
    int error = 0;
    for (;;) {
        if (filled == contents.size())
            contents.resize(filled + 4096);  // the file grew meanwhile
        const ssize_t got = ::read(fd_, contents.data() + filled, contents.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errno;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    contents.resize(filled);
    return error;
}

int File::ReadByteAt(std::int64_t offset, char& byte)
{
    const ssize_t got = ::pread(fd_, &byte, 1, offset);
    return got == 1 ? 0 : got < 0 ? errno : EIO;
}

int File::Write(std::string_view data, std::size_t& written)
{
    ssize_t result;
    do {
        result = ::write(fd_, data.data(), data.size());
    } while (result < 0 && errno == EINTR);
    written = result < 0 ? 0 : static_cast<std::size_t>(result);
    return result < 0 ? errno : 0;
}

int File::Sync()
{
    if (beforeSyncForTesting)
        beforeSyncForTesting();
    return ErrorOf(::fsync(fd_));
}

int File::Truncate(std::int64_t size)
{
    return ErrorOf(::ftruncate(fd_, size));
}

int File::SetPermissions(unsigned permissions)
{
    return ErrorOf(::fchmod(fd_, permissions));
}

int File::Close()
{
    return ErrorOf(::close(std::exchange(fd_, -1)));
}

}  // namespace cf::posix
