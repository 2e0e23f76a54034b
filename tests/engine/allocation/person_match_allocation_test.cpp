// SPDX-License-Identifier: MIT
// Comparing a code that corresponds with a person's data allocates nothing:
// this program's operator new counts every allocation of the process.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "engine/person_match.h"

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

namespace cf {
namespace {

TEST(MatchPerson, AllocatesNothingWhenTheCodeCorresponds)
{
    constexpr Date kToday{2026, 12, 8};
    struct Case {
        const char* code;
        TypedPerson data;
    };
    const Case cases[] = {
        {"BNCLCU85L43H501J", {"BIANCHI", "LUCIA", "03/07/85", "F", "ROMA"}},
        {"BNCLCU85L43H50MB", {"Bianchi", "Lucia", "3/7/1985", "f", "Roma"}},  // a homocode
        {"FOXIOX01A01Z110U", {"FO", "IO", "01/01/2001", "M", "FRANCIA"}},
        {"DLCNMR00B69I138Z", {"DE LUCA", "ANNA MARIA", "29/02/00", "F", "SANREMO"}},
        // Another name of the code: the place's second language, an accent.
        {"HBRNNA90H41A952C", {"HUBER", "ANNA", "01/06/1990", "F", "BOZEN"}},
        {"DNGZOE05T71D704B", {"D'ANGELO", "ZOË", "31/12/2005", "F", "FORLÌ"}},
    };
    // The catalog of places is built on first use.
    ASSERT_TRUE(MatchPerson(cases[0].code, cases[0].data, kToday).corresponds());
    for (const Case& c : cases) {
        const long before = allocations;
        const PersonMatch match = MatchPerson(c.code, c.data, kToday);
        const long made = allocations - before;
        EXPECT_TRUE(match.corresponds()) << c.code;
        EXPECT_EQ(made, 0) << c.code;
    }
}

}  // namespace
}  // namespace cf
