// SPDX-License-Identifier: MIT
#pragma once
// Reads a text stream line by line through a buffer of fixed size, so that
// no input, however long, is ever held whole in memory.

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

namespace cf {

struct InputLine {
    std::string_view text;  // without its line end; empty when too long
    bool tooLong = false;   // the line ran past the limit and was skipped
};

class LineReader {
public:
    // Lines longer than maxLength bytes are skipped, not stored.
    LineReader(std::FILE* input, std::size_t maxLength);

    // The next line: ended by LF, by CR LF, or by the end of the input; a
    // UTF-8 byte order mark at the start of the input is dropped. The text
    // stays valid until the next call. False at the end of the input or
    // when reading fails.
    bool Next(InputLine& line);

    // Whether reading stopped on an error rather than at the end.
    bool failed() const { return failed_; }

    // Called before a read that would wait for the input, which has no more
    // data ready: the moment to flush the answers so far to a program that
    // writes a line and waits for its answer.
    void OnWait(std::function<void()> beforeWait) { beforeWait_ = std::move(beforeWait); }

private:
    // Reads more input after the unread part: whatever the input has ready
    // (a pipe's line as soon as it is written), up to the free space; false
    // when none came.
    bool Fill();
    // Whether a read would return at once: data, the end or an error ready.
    bool InputReady() const;

    std::FILE* input_;
    int descriptor_;  // the input's, -1 for a stream in memory
    std::function<void()> beforeWait_;
    std::size_t maxLength_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atStart_ = true;
    bool failed_ = false;
};

}  // namespace cf
