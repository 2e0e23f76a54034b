// SPDX-License-Identifier: MIT
#pragma once
// In-memory streams for the tests of the modes that read and write streams.

#include <cstdio>
#include <string>
#include <string_view>

namespace cf::test {

// A stream reading the given text.
class InputText {
public:
    explicit InputText(std::string_view text) : text_(text), file_(fmemopen(text_.data(), text_.size(), "r"))
    {
    }
    ~InputText() { std::fclose(file_); }
    InputText(const InputText&) = delete;
    InputText& operator=(const InputText&) = delete;
    std::FILE* file() const { return file_; }

private:
    std::string text_;
    std::FILE* file_;
};

// A stream gathering what is written to it.
class OutputText {
public:
    OutputText() : file_(open_memstream(&data_, &size_)) {}
    ~OutputText()
    {
        std::fclose(file_);
        std::free(data_);
    }
    OutputText(const OutputText&) = delete;
    OutputText& operator=(const OutputText&) = delete;
    std::FILE* file() const { return file_; }
    std::string text()
    {
        std::fflush(file_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

}  // namespace cf::test
