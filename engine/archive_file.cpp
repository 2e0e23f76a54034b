#include "engine/archive_file.h"

#include "engine/cp1252.h"
#include "engine/safe_file.h"
#include "engine/text_fields.h"
#include "engine/work_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace cf {
namespace {

// Field names for the messages, in file order.
constexpr std::array<const char*, kArchiveFieldCount> kFieldNames = {
    "Cognome", "Nome", "Codice fiscale", "Sesso", "Data", "Luogo", "Provincia",
};

constexpr char kUnrepresentable[] = "caratteri non rappresentabili nella codifica Windows-1252";

// Sort weight of each Windows-1252 byte: letters fold to lower case (ASCII,
// Latin-1 and the code page's Š Œ Ž Ÿ), and the comma weighs less than any
// other byte, so a field sorts before the longer ones it begins
// ("DE" before "DE ROSSI", "ROSSI" before "ROSSINI").
constexpr std::array<unsigned char, 256> kSortWeight = [] {
    std::array<unsigned char, 256> weight{};
    for (int byte = 0; byte < 256; ++byte) {
        int folded = byte;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
            folded = byte + 0x20;
        else if (byte == 0x8A || byte == 0x8C || byte == 0x8E)
            folded = byte + 0x10;
        else if (byte == 0x9F)
            folded = 0xFF;
        weight[byte] = static_cast<unsigned char>(byte == ',' ? 0 : folded < ',' ? folded + 1 : folded);
    }
    return weight;
}();

ArchiveResult WriteFailure(const std::string& path, std::string_view reason)
{
    return {false, "Impossibile scrivere l'archivio " + path + ": " + std::string(reason) + "."};
}

// The character of `field` that would break the line apart on reading, named
// for a message; nullptr when there is none.
const char* SeparatorProblem(std::string_view field)
{
    if (field.find('"') != std::string_view::npos)
        return "virgolette";
    if (field.find(',') != std::string_view::npos)
        return "virgola";
    if (field.find_first_of("\r\n") != std::string_view::npos)
        return "ritorno a capo";
    return nullptr;
}

// Appends the record to `out` as one archive line. Returns the index of the
// first field Windows-1252 cannot hold, or -1 when the line is complete.
int AppendLine(const ArchiveRecord& record, std::string& out)
{
    for (int k = 0; k < kArchiveFieldCount; ++k) {
        out += k == 0 ? "\"" : ",\"";
        if (!AppendUtf8AsCp1252(record[k], out))
            return k;
        out += '"';
    }
    out += "\r\n";
    return -1;
}

ArchiveStamp StampOf(const struct stat& info)
{
    return {true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

// Holds an exclusive advisory lock on the archive file while it lives, so
// that appends and rewrites of several instances take turns.
class ArchiveLock {
public:
    explicit ArchiveLock(int fd) : fd_(fd)
    {
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~ArchiveLock() { ::flock(fd_, LOCK_UN); }
    ArchiveLock(const ArchiveLock&) = delete;
    ArchiveLock& operator=(const ArchiveLock&) = delete;

private:
    int fd_;
};

// Whether the path still names the file open as `fd` (a rewrite by another
// instance replaces the file while we wait for its lock).
bool StillAtPath(int fd, const std::string& path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
}

// Reads a regular file whole; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents, ArchiveStamp& stamp)
{
    // O_NONBLOCK: a FIFO planted at the path must not hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        stamp = StampOf(info);
        contents.resize(static_cast<std::size_t>(info.st_size));
        std::size_t filled = 0;
        for (;;) {
            if (filled == contents.size())
                contents.resize(filled + 4096);  // the file grew meanwhile
            const ssize_t got = ::read(fd, contents.data() + filled, contents.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        contents.resize(filled);
    }
    ::close(fd);
    return ok;
}

// Whether the last line of a file of `size` bytes open as `fd` is ended by
// CR LF or a CR, so that a new line can follow it directly.
bool EndsWithLineEnd(int fd, off_t size, int& error)
{
    if (size == 0)
        return true;
    char tail[2] = {};
    const off_t start = size >= 2 ? size - 2 : 0;
    const ssize_t got = ::pread(fd, tail, static_cast<std::size_t>(size - start), start);
    if (got != size - start) {
        error = got < 0 ? errno : EIO;
        return false;
    }
    const char last = tail[got - 1];
    return last == '\r' || (last == '\n' && got == 2 && tail[0] == '\r');
}

// One line of the file with its sort key: the line without its quotes,
// byte by byte weighted, stored in a buffer shared by all lines. `prefix`
// holds the first eight key bytes, zero-padded, most significant first: most
// comparisons end there.
struct ArchiveLine {
    std::string_view text;
    std::uint64_t prefix;
    std::size_t keyStart;
    std::size_t keyLength;
    bool ascii;
};

// Cuts `bytes` into lines (CR LF or a CR alone ends one; a last line needs no
// end) and fills `keys` with their sort keys.
std::vector<ArchiveLine> CutLines(std::string_view bytes, std::string& keys)
{
    std::vector<ArchiveLine> lines;
    lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r')) + 1);
    keys.assign(bytes.size(), '\0');
    std::size_t keyEnd = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\r', start);
        std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        else if (next < bytes.size() && bytes[next] == '\n')
            ++next;
        const std::string_view text = bytes.substr(start, end - start);
        const std::size_t keyStart = keyEnd;
        unsigned char highBits = 0;
        for (const char byte : text) {
            highBits |= static_cast<unsigned char>(byte) & 0x80;
            if (byte != '"')
                keys[keyEnd++] = static_cast<char>(kSortWeight[static_cast<unsigned char>(byte)]);
        }
        std::uint64_t prefix = 0;
        for (std::size_t i = keyStart; i < keyStart + 8; ++i)
            prefix = prefix << 8 | (i < keyEnd ? static_cast<unsigned char>(keys[i]) : 0u);
        lines.push_back({text, prefix, keyStart, keyEnd - keyStart, highBits == 0});
        start = next;
    }
    return lines;
}

// The seven fields of a quote-stripped line, as GetField gives them: a line
// without a comma is every field; missing fields are empty; fields past the
// seventh are dropped.
void SplitFields(std::string_view text, ArchiveRecord& record)
{
    if (text.find(',') == std::string_view::npos) {
        record.fill(std::string(text));
        return;
    }
    for (std::string& field : record) {
        const std::size_t comma = text.find(',');
        field.assign(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
}

std::string UserDataDirectory()
{
    std::string base;
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && dataHome[0] == '/') {
        base = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* user = ::getpwuid(::getuid());
            home = user ? user->pw_dir : "";
        }
        base = std::string(home) + "/.local/share";
    }
    std::string directory = base + "/codicefiscale/";
    std::error_code ignored;  // a directory that cannot be made shows up as a write failure
    std::filesystem::create_directories(directory, ignored);
    return directory;
}

}  // namespace

std::string ArchivePath()
{
    const std::string programDirectory = ProgramDirectory();
    if (!programDirectory.empty() && ::access(programDirectory.c_str(), W_OK) == 0)
        return programDirectory + kArchiveFileName;
    return UserDataDirectory() + kArchiveFileName;
}

ArchiveResult AppendArchiveRecord(const std::string& path, const ArchiveRecord& record)
{
    for (int k = 0; k < kArchiveFieldCount; ++k) {
        if (const char* problem = SeparatorProblem(record[k]))
            return {false, std::string("Il campo ") + kFieldNames[k] +
                               " contiene caratteri non ammessi nell'archivio: " + problem + "."};
    }
    std::string line;
    if (const int field = AppendLine(record, line); field >= 0)
        return {false, std::string("Il campo ") + kFieldNames[field] +
                           " contiene caratteri non ammessi nell'archivio: " + kUnrepresentable + "."};

    // O_NOFOLLOW: a symbolic link planted at the path is refused, never written through.
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
        if (fd < 0) {
            return WriteFailure(path, errno == ELOOP ? "al suo posto c'è un collegamento simbolico"
                                                     : std::strerror(errno));
        }
        ::flock(fd, LOCK_EX);
        // Replaced by another instance's rewrite while we waited: append to the new file.
        if (attempt < 10 && !StillAtPath(fd, path)) {
            ::close(fd);
            fd = -1;
        }
    }
    const auto fail = [&](std::string_view reason) {
        ::close(fd);
        return WriteFailure(path, reason);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fail(std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        return fail("non è un file normale");
    int error = 0;
    if (!EndsWithLineEnd(fd, info.st_size, error)) {
        if (error != 0)
            return fail(std::strerror(error));
        line.insert(0, "\r\n");  // close an unterminated last line instead of joining it
    }

    // One write, so the line goes in whole or is taken back whole.
    ssize_t written;
    do {
        written = ::write(fd, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    if (written != static_cast<ssize_t>(line.size())) {
        const std::string reason = written < 0 ? std::strerror(errno) : "scrittura incompleta, spazio su disco esaurito";
        (void)::ftruncate(fd, info.st_size);
        return fail(reason);
    }
    if (::fsync(fd) != 0) {
        const std::string reason = std::strerror(errno);
        (void)::ftruncate(fd, info.st_size);
        return fail(reason);
    }
    if (::close(fd) != 0)
        return WriteFailure(path, std::strerror(errno));
    return {};
}

std::vector<ArchiveRecord> LoadArchive(const std::string& path, ArchiveStamp* stamp)
{
    std::string bytes;
    ArchiveStamp found;
    const bool read = ReadWholeFile(path, bytes, found);
    if (stamp)
        *stamp = found;
    if (!read)
        return {};
    std::string keys;
    std::vector<ArchiveLine> lines = CutLines(bytes, keys);
    const std::string_view keyText(keys);
    std::stable_sort(lines.begin(), lines.end(), [keyText](const ArchiveLine& a, const ArchiveLine& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return keyText.substr(a.keyStart, a.keyLength) < keyText.substr(b.keyStart, b.keyLength);
    });

    std::vector<ArchiveRecord> records(lines.size());
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // The line without its quotes, cut at its commas.
        text.clear();
        for (const char byte : lines[i].text)
            if (byte != '"')
                text += byte;
        if (!lines[i].ascii)  // ASCII is already UTF-8
            text = Cp1252ToUtf8(text);
        SplitFields(text, records[i]);
    }
    return records;
}

ArchiveResult RewriteArchive(const std::string& path, std::span<const ArchiveRecord> rows,
                             ArchiveStamp* loaded)
{
    std::string contents;
    contents.reserve(rows.size() * 80);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (const int field = AppendLine(rows[row], contents); field >= 0) {
            return WriteFailure(path, std::string("il campo ") + kFieldNames[field] + " della riga " +
                                          std::to_string(row + 1) + " contiene " + kUnrepresentable);
        }
    }
    // Lock the file being replaced, so no append lands in it unseen.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    std::optional<ArchiveLock> lock;
    ArchiveStamp current;
    struct stat info {};
    if (fd >= 0) {
        lock.emplace(fd);
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            current = StampOf(info);
    }
    if (loaded && current != *loaded) {
        lock.reset();
        if (fd >= 0)
            ::close(fd);
        return {false, "L'archivio " + path +
                           " è stato modificato da un altro programma dopo la sua apertura: nessun dato è stato "
                           "eliminato. Riaprire l'archivio e ripetere l'operazione."};
    }
    std::string error;
    const bool replaced = ReplaceFileContents(path, contents, &error);
    if (replaced && loaded && ::lstat(path.c_str(), &info) == 0)
        *loaded = StampOf(info);
    lock.reset();
    if (fd >= 0)
        ::close(fd);
    if (!replaced)
        return WriteFailure(path, error);
    return {};
}

}  // namespace cf
