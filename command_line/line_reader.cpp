// SPDX-License-Identifier: MIT
#include "command_line/line_reader.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace cf {
namespace {

constexpr std::size_t kMinimumBuffer = 64 * 1024;

}  // namespace

LineReader::LineReader(std::FILE* input, std::size_t maxLength)
    : input_(input),
      descriptor_(fileno(input)),
      maxLength_(maxLength),
      buffer_(std::max(kMinimumBuffer, 2 * (maxLength + 2)))
{
}

bool LineReader::InputReady() const
{
    pollfd input{descriptor_, POLLIN, 0};
    return descriptor_ < 0 || poll(&input, 1, 0) != 0;
}

bool LineReader::Fill()
{
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (beforeWait_ && !InputReady())
        beforeWait_();
    char* const free = buffer_.data() + end_;
    const std::size_t room = buffer_.size() - end_;
    std::size_t got = 0;
    if (descriptor_ < 0) {
        got = std::fread(free, 1, room, input_);
        failed_ = failed_ || (got == 0 && std::ferror(input_));
    } else {
        // read() rather than fread(), which would wait to fill the whole
        // room before returning a line a pipe already holds.
        ssize_t count;
        while ((count = read(descriptor_, free, room)) < 0 && errno == EINTR) {
        }
        failed_ = failed_ || count < 0;
        got = count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    end_ += got;
    return got > 0;
}

bool LineReader::Next(InputLine& line)
{
    line = {};
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        std::size_t length;
        if (newline != nullptr) {
            length = static_cast<std::size_t>(newline - start);
            begin_ += length + 1;
        } else if (end_ - begin_ > maxLength_ + 1) {
            // Longer than any line we keep (a CR may still follow the
            // limit): drop what we have and look for the line's end.
            line.tooLong = true;
            begin_ = end_ = 0;
            if (!Fill())
                return !failed_;
            continue;
        } else if (Fill()) {
            continue;
        } else if (end_ > begin_ && !failed_) {
            length = end_ - begin_;  // a last line without a line end
            begin_ = end_;
        } else {
            return line.tooLong && !failed_;
        }
        if (length > 0 && start[length - 1] == '\r')
            --length;
        std::string_view text(start, length);
        if (atStart_ && text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        atStart_ = false;
        if (text.size() > maxLength_)
            line.tooLong = true;
        if (!line.tooLong)
            line.text = text;
        return true;
    }
}

}  // namespace cf
