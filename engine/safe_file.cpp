#include "engine/safe_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cf {
namespace {

// mkstemp's six random characters after the target's name and a dot.
constexpr std::string_view kTemporarySuffix = ".XXXXXX";

bool Fail(std::string* error, int code)
{
    if (error)
        *error = std::strerror(code);
    return false;
}

bool WriteAll(int fd, std::string_view contents)
{
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool IsTemporaryFileOf(std::string_view name, std::string_view target)
{
    if (name.size() != target.size() + kTemporarySuffix.size() || !name.starts_with(target)
        || name[target.size()] != '.')
        return false;
    const std::string_view random = name.substr(target.size() + 1);
    return std::all_of(random.begin(), random.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A new temporary file beside `path`, locked for as long as it is open so
// that no sweep of another program takes it; -1 with errno on failure.
int CreateLockedTemporaryFile(const std::string& path, std::string& temporary)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        temporary = path + std::string(kTemporarySuffix);
        const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // Swept away between its creation and the lock: take another one.
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error)
{
    RemoveAbandonedTemporaryFiles(path);
    std::string temporary;
    const int fd = CreateLockedTemporaryFile(path, temporary);
    if (fd < 0)
        return Fail(error, errno);

    // Keep the permissions of the file being replaced; a new file keeps
    // mkstemp's 0600.
    struct stat old {};
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);

    const bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (!written) {
        ::unlink(temporary.c_str());
        ::close(fd);
        return Fail(error, writeError);
    }
    // Renamed while still locked, so that no sweep sees it unheld.
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        ::close(fd);
        return Fail(error, renameError);
    }
    if (::close(fd) != 0)
        return Fail(error, errno);
    return true;
}

void RemoveAbandonedTemporaryFiles(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string target = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (target.empty())
        return;  // no file, so no temporary files of it (".bashrc" is none)
    DIR* folder = ::opendir(directory.c_str());
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder)) {
        if (!IsTemporaryFileOf(entry->d_name, target))
            continue;
        const int fd = ::openat(::dirfd(folder), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Only the user's own plain files that no running program holds.
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(folder);
}

bool MakePrivateDirectories(const std::string& path)
{
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        // The umask may narrow 0700, never widen it.
        ::mkdir(path.substr(0, end).c_str(), 0700);
        if (end == std::string::npos)
            break;
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace cf
