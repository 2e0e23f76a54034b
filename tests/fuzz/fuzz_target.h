// SPDX-License-Identifier: MIT
#pragma once
// The entry point each *_fuzz.cpp defines, called by libFuzzer or, in the
// normal suite, by corpus_driver.cpp over the seed corpus.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
