// SPDX-License-Identifier: MIT
#pragma once
// Text for an output stream, gathered and written in large pieces; a write
// that fails is remembered with its reason.

#include <cstdio>
#include <string>

namespace cf {

class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE* output) : output_(output) {}

    // The text still to be written; append to it, then call LineDone.
    std::string& text() { return pending_; }

    // Writes the gathered text once there is enough of it. False once a
    // write has failed.
    bool LineDone();

    // Writes everything gathered and flushes the stream, so that its reader
    // has every line so far. False once a write has failed.
    bool Flush();

    // Why writing failed; empty while it has not.
    const std::string& error() const { return error_; }

private:
    bool Write();

    std::FILE* output_;
    std::string pending_;
    std::string error_;
};

}  // namespace cf
