// SPDX-License-Identifier: MIT
#include "engine/storage/safe_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "engine/storage/posix_system.h"
#include "engine/storage/system_error.h"

namespace cf {
namespace {

// A temporary file of "NAME" is ".NAME" + this + mkstemp's six random
// characters: hidden, and marked so that no file a person names is ever
// taken for one (".codarc.dat.cf-tmp-Ab12Cd", never "codarc.dat.giugno").
constexpr std::string_view kTemporaryMarker = ".cf-tmp-";
constexpr std::size_t kRandomLength = 6;

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

// The temporary-file name of the file named `target`, random part left out.
std::string TemporaryPrefix(std::string_view target)
{
    std::string prefix(1, '.');
    prefix.append(target).append(kTemporaryMarker);
    return prefix;
}

bool IsTemporaryFileOf(std::string_view name, std::string_view target)
{
    const std::string prefix = TemporaryPrefix(target);
    if (name.size() != prefix.size() + kRandomLength || !name.starts_with(prefix))
        return false;
    const std::string_view random = name.substr(prefix.size());
    return std::all_of(random.begin(), random.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A new temporary file beside `path`, locked for as long as it is open so
// that no sweep of another program takes it; 0 or why not.
int CreateLockedTemporaryFile(const std::string& path, std::string& temporary, posix::File& file)
{
    const std::size_t slash = path.rfind('/');  // npos + 1 is 0: a file in the current folder
    for (int attempt = 0; attempt < 10; ++attempt) {
        temporary = path.substr(0, slash + 1) + TemporaryPrefix(path.substr(slash + 1))
                    + std::string(kRandomLength, 'X');
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
    bool given = false;
    return ReplaceFileContents(
        path,
        [&]() {
            const std::string_view piece = given ? std::string_view() : contents;
            given = true;
            return piece;
        },
        error);
}

bool ReplaceFileContents(const std::string& path, const std::function<std::string_view()>& nextPiece,
                         std::string* error, posix::FileStatus* written)
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

    int writeError = 0;
    for (std::string_view piece = nextPiece(); writeError == 0 && !piece.empty(); piece = nextPiece())
        writeError = WriteAll(file, piece);
    if (writeError == 0)
        writeError = file.Sync();
    if (writeError != 0) {
        posix::RemoveFile(temporary);
        return Fail(error, writeError);
    }
    if (written)
        *written = file.status();
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
