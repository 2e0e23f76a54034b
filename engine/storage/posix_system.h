// SPDX-License-Identifier: MIT
#pragma once
// The few calls of the operating system the engine makes (POSIX and Linux):
// file status, open files with their advisory locks, folders, the user and
// the running executable. Failures come back as the system's error numbers
// (errno values, 0 for success); nothing here throws.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cf::posix {

// None: the status could not be read (FileStatus::error says why).
enum class FileType { None, Regular, Directory, SymbolicLink, Other };

struct FileStatus {
    FileType type = FileType::None;
    int error = 0;
    unsigned owner = 0;        // user id
    unsigned group = 0;        // group id
    unsigned permissions = 0;  // the mode's 07777 bits
    std::uint64_t links = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
};

// The status of what the path names, following symbolic links or not.
FileStatus StatusOf(const std::string& path);
FileStatus LinkStatusOf(const std::string& path);

// Whether this user may read, or write, the path.
bool CanRead(const std::string& path);
bool CanWrite(const std::string& path);

// The absolute path with every symbolic link resolved; empty when it cannot
// be resolved.
std::string ResolvedPath(const std::string& path);

// Makes the folder, closed to other users (0700, narrowed by the umask);
// 0 or why not.
int MakeDirectory(const std::string& path);

// Makes a folder closed to other users (0700) with a name no one can
// predict: `path` ends in "XXXXXX", which is replaced by the name made; 0 or
// why not.
int MakeUniqueDirectory(std::string& path);

// The names in a folder, without "." and ".."; none when it cannot be read.
std::vector<std::string> DirectoryEntries(const std::string& directory);

int RemoveFile(const std::string& path);
int RenameFile(const std::string& from, const std::string& to);

// The real and the effective user id of the program.
unsigned UserId();
unsigned EffectiveUserId();

// The user's home folder as the password database gives it; empty when the
// user is unknown to it.
std::string PasswordHomeDirectory();

// The path of the running executable; empty when the system does not tell.
std::string ExecutablePath();

// For tests only: a function that File::Sync calls before it flushes, to
// slow the flush down and widen the moment two instances race in; nullptr
// (the default) for none.
void SetBeforeSyncForTesting(void (*beforeSync)());

enum class LockKind { Shared, Exclusive };

// An open file, closed when the object goes. Every file is opened
// close-on-exec; those opened by path follow no symbolic link in the last
// component and do not block opening a FIFO.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    static File OpenForReading(const std::string& path);
    static File OpenForWriting(const std::string& path);
    // Appends, made readable by the user alone (0600) when missing.
    static File OpenForAppending(const std::string& path);
    static File OpenDirectory(const std::string& path);
    // A new file readable by the user alone (0600): `path` ends in "XXXXXX",
    // which is replaced by the name made.
    static File CreateTemporary(std::string& path);

    bool isOpen() const { return fd_ >= 0; }
    // Why the file could not be opened.
    int error() const { return error_; }

    FileStatus status() const;

    // Advisory lock of the whole file, released at close: Lock waits for
    // it, TryLock does not.
    void Lock(LockKind kind);
    bool TryLock(LockKind kind);

    // Reads from the current position to the end into `contents`, which
    // first gets room for `expected` bytes; 0 or why not.
    int ReadToEnd(std::string& contents, std::size_t expected);
    // The byte at `offset`: 0, why not, or EIO when the file is shorter.
    int ReadByteAt(std::int64_t offset, char& byte);
    // One write of `data` (retried only when interrupted); `written` gets
    // how much went in.
    int Write(std::string_view data, std::size_t& written);
    int Sync();
    int Truncate(std::int64_t size);
    int SetPermissions(unsigned permissions);
    int Close();

private:
    File(int fd, int error) : fd_(fd), error_(error) {}
    static File Opened(int fd);

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace cf::posix
