// SPDX-License-Identifier: MIT
#include "command_line/output_buffer.h"

#include <cerrno>

#include "engine/storage/system_error.h"

namespace cf {
namespace {

constexpr std::size_t kWriteSize = 64 * 1024;

std::string Reason()
{
    return errno != 0 ? SystemErrorText(errno) : "scrittura incompleta";
}

}  // namespace

bool OutputBuffer::Write()
{
    if (!error_.empty())
        return false;
    errno = 0;
    if (!pending_.empty() && std::fwrite(pending_.data(), 1, pending_.size(), output_) != pending_.size())
        error_ = Reason();
    pending_.clear();
    return error_.empty();
}

bool OutputBuffer::LineDone()
{
    return pending_.size() < kWriteSize ? error_.empty() : Write();
}

bool OutputBuffer::Flush()
{
    if (!Write())
        return false;
    errno = 0;
    if (std::fflush(output_) != 0 || std::ferror(output_))
        error_ = Reason();
    return error_.empty();
}

}  // namespace cf
