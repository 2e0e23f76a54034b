// SPDX-License-Identifier: MIT
#include "engine/safe_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "engine/posix_system.h"
#include "engine/system_error.h"

namespace cf {
namespace {

// mkstemp's six random characters after the target's name and a dot.
constexpr std::string_view kTemporarySuffix = ".XXXXXX";

bool Fail(std::string* error, int code)
{
    if (error)
        *error = SystemErrorText(code);
    return false;
}

int WriteAll(posix::File& file, std::string_view contents)
{
    while (!contents.empty()) {
        std::size_t written = 0;
        if (const int error = file.Write(contents, written))
            return error;
        contents.remove_prefix(written);
    }
    return 0;
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
// that no sweep of another program takes it; 0 or why not.
int CreateLockedTemporaryFile(const std::string& path, std::string& temporary, posix::File& file)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        temporary = path + std::string(kTemporarySuffix);
        file = posix::File::CreateTemporary(temporary);
        if (!file.isOpen())
            return file.error();
        file.Lock(posix::LockKind::Exclusive);
        // Swept away between its creation and the lock: take another one.
        if (const posix::FileStatus status = file.status(); status.error == 0 && status.links > 0)
            return 0;
    }
    file = posix::File();
    return EAGAIN;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error)
{
    RemoveAbandonedTemporaryFiles(path);
    std::string temporary;
    posix::File file;
    if (const int created = CreateLockedTemporaryFile(path, temporary, file))
        return Fail(error, created);

    // Keep the permissions of the file being replaced; a new file keeps
    // mkstemp's 0600.
    if (const posix::FileStatus old = posix::LinkStatusOf(path); old.type == posix::FileType::Regular)
        file.SetPermissions(old.permissions);

    int writeError = WriteAll(file, contents);
    if (writeError == 0)
        writeError = file.Sync();
    if (writeError != 0) {
        posix::RemoveFile(temporary);
        return Fail(error, writeError);
    }
    // Renamed while still locked, so that no sweep sees it unheld.
    if (const int renameError = posix::RenameFile(temporary, path)) {
        posix::RemoveFile(temporary);
        return Fail(error, renameError);
    }
    if (const int closeError = file.Close())
        return Fail(error, closeError);
    return true;
}

void RemoveAbandonedTemporaryFiles(const std::string& path)
{
    // npos + 1 is 0: a path without a slash names a file in the current folder.
    const std::size_t slash = path.rfind('/');
    const std::string folder = path.substr(0, slash + 1);
    const std::string target = path.substr(slash + 1);
    if (target.empty())
        return;  // no file, so no temporary files of it (".bashrc" is none)
    for (const std::string& name : posix::DirectoryEntries(folder.empty() ? "." : folder)) {
        if (!IsTemporaryFileOf(name, target))
            continue;
        posix::File file = posix::File::OpenForReading(folder + name);
        if (!file.isOpen())
            continue;
        // Only the user's own plain files that no running program holds.
        const posix::FileStatus status = file.status();
        if (status.type == posix::FileType::Regular && status.owner == posix::EffectiveUserId()
            && file.TryLock(posix::LockKind::Exclusive))
            posix::RemoveFile(folder + name);
    }
}

bool MakePrivateDirectories(const std::string& path)
{
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        // The umask may narrow 0700, never widen it.
        posix::MakeDirectory(path.substr(0, end));
        if (end == std::string::npos)
            break;
    }
    return posix::StatusOf(path).type == posix::FileType::Directory;
}

}  // namespace cf
