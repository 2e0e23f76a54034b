// SPDX-License-Identifier: MIT
// Comparing a code that corresponds with a person's data allocates nothing:
// this program's operator new counts every allocation of the process.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/code/person_match.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

TEST(MatchPerson, AllocatesNothingWhenTheCodeCorresponds)
{
    const std::pair<const char*, cf::TypedPerson> cases[] = {
        {"BNCLCU85L43H501J", {"BIANCHI", "LUCIA", "03/07/85", "F", "ROMA"}},
        {"BNCLCU85L43H50MB", {"Bianchi", "Lucia", "3/7/1985", "f", "Roma"}},  // a homocode
        {"HBRNNA90H41A952C", {"HUBER", "ANNA", "01/06/1990", "F", "BOZEN"}},  // another name of the place
        {"DNGZOE05T71D704B", {"D'ANGELO", "ZOË", "31/12/2005", "F", "FORLÌ"}},
    };
    constexpr cf::Date kToday{2026, 12, 8};
    // The catalog of places is built on first use.
    ASSERT_TRUE(cf::MatchPerson(cases[0].first, cases[0].second, kToday).corresponds());
    for (const auto& [code, person] : cases) {
        const long before = allocations;
        const bool corresponds = cf::MatchPerson(code, person, kToday).corresponds();
        EXPECT_EQ(allocations - before, 0) << code;
        EXPECT_TRUE(corresponds) << code;
    }
}
