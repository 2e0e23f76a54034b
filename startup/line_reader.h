// SPDX-License-Identifier: MIT
#pragma once
// Reads a text stream line by line through a buffer of fixed size, so that
// no input, however long, is ever held whole in memory.

#include <cstddef>
#include <cstdio>
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

private:
    // Reads more input after the unread part; false when none came.
    bool Fill();

    std::FILE* input_;
    std::size_t maxLength_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atStart_ = true;
    bool failed_ = false;
};

}  // namespace cf
