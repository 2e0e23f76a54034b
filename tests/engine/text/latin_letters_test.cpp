// SPDX-License-Identifier: MIT
// Base letters of the Latin letters, from the generated Unicode table, and
// the walk over a UTF-8 text.

#include <gtest/gtest.h>

#include <string>

#include "engine/text/latin_letter_table.h"
#include "engine/text/latin_letters.h"
#include "engine/text/utf8.h"

namespace cf {
namespace {

std::string Letters(std::string_view text)
{
    std::string letters;
    ForEachBaseLetter(text, [&letters](char letter) { letters += letter; });
    return letters;
}

TEST(LatinLetters, DecomposedAndNamedBaseLetters)
{
    // Latin-1, Romanian comma below, Vietnamese, stroke letters without a
    // decomposition, ligatures, fullwidth forms.
    EXPECT_EQ(Letters("ÀÉÎÕÜÇÑÿ"), "AEIOUCNY");
    EXPECT_EQ(Letters("ȘȚșț"), "STST");
    EXPECT_EQ(Letters("Nguyễn Đức"), "NGUYENDUC");
    EXPECT_EQ(Letters("ŁØĐĦŦłøđħ"), "LODHTLODH");
    EXPECT_EQ(Letters("ßẞÆæŒœÞþĲǅﬁ"), "SSSSAEAEOEOETHTHIJDZFI");
    EXPECT_EQ(Letters("Ａｂ"), "AB");
    EXPECT_EQ(Letters("ıĸ"), "IK");
}

TEST(LatinLetters, WhatIsNoLatinLetterIsSkipped)
{
    EXPECT_EQ(Letters("ПЕТРОВ ΑΒΓ 日本 ×÷ª° 2-'."), "");
    EXPECT_EQ(Letters("ǝɔə"), "") << "turned and open letters and schwa have no base letter";
    EXPECT_EQ(BaseLettersOf(U'\u0301'), "") << "a lone combining accent";
}

TEST(LatinLetters, MalformedBytesSwallowNoLetter)
{
    EXPECT_EQ(Letters("\xC8RBA"), "RBA");
    EXPECT_EQ(Letters("RO\xE0\x80MA"), "ROMA");
    EXPECT_EQ(Letters("RO\xF0\x9F"), "RO");
    EXPECT_EQ(Letters("\xFF\xFEROSSI"), "ROSSI");
    EXPECT_EQ(Letters("E\xCC\x81"), "E") << "a decomposed accent follows its letter";
}

TEST(LatinLetters, TableIsOrderedAndHoldsOnlyUpperCaseLetters)
{
    const auto table = LatinLetterTable();
    ASSERT_GT(table.size(), 500u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(static_cast<unsigned>(table[i - 1].codePoint),
                      static_cast<unsigned>(table[i].codePoint));
        }
        const std::string_view letters = table[i].letters;
        EXPECT_FALSE(letters.empty());
        for (char c : letters)
            EXPECT_TRUE(c >= 'A' && c <= 'Z') << std::hex << static_cast<unsigned>(table[i].codePoint);
    }
}

TEST(Utf8, ValidityOfWholeTexts)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("Forlì, Ș, 日本, 😀"));
    for (const char* bad :
         {"\xC8RBA", "\xC3", "\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80", "\xFF"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

}  // namespace
}  // namespace cf
