// SPDX-License-Identifier: MIT
#include "engine/code/date_mask.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace cf {
namespace {

using enum MaskKey;

// A key pressed (DateMaskKey) or a character typed (DateMaskCharacter).
struct Key {
    std::optional<MaskKey> pressed;
    char32_t typed = 0;
};
constexpr Key Typed(char32_t character)
{
    return {std::nullopt, character};
}
constexpr Key Pressed(MaskKey key)
{
    return {key, 0};
}

DateMaskKeyResult Send(DateMaskBox& box, Key key, std::u16string_view mask = kDateMask)
{
    return key.pressed ? DateMaskKey(box, *key.pressed, mask) : DateMaskCharacter(box, key.typed, mask);
}

TEST(DateMaskSequences, TypingFillsTheMaskAndBackspaceClearsBackwards)
{
    DateMaskBox box{std::u16string(kDateMask), 0, 0};
    const std::pair<char32_t, int> typing[] = {{U'0', 1}, {U'3', 3}, {U'0', 4},
                                               {U'7', 6}, {U'8', 7}, {U'5', 8}};
    for (const auto& [digit, caret] : typing) {
        Send(box, Typed(digit));
        EXPECT_EQ(box.caret, caret) << "after " << static_cast<char>(digit);
    }
    EXPECT_EQ(box.text, u"03/07/85");

    const std::pair<std::u16string_view, int> erasing[] = {
        {u"03/07/80", 7}, {u"03/07/00", 6}, {u"03/00/00", 4}};
    for (const auto& [text, caret] : erasing) {
        Send(box, Pressed(Backspace));
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caret, caret);
    }
}

struct KeyCase {
    const char* what;
    std::u16string_view text;
    int caret, selection;
    Key key;
    std::u16string_view expectedText;
    int expectedCaret, expectedSelection;
    bool consumed, beep;
};

constexpr KeyCase kKeyCases[] = {
    {"digit after a two-digit year", u"03/07/85", 8, 0, Typed('9'), u"03/07/859", 9, 0, true, false},
    {"digit after a four-digit year", u"03/07/1985", 10, 0, Typed('9'), u"03/07/1985", 10, 0, true, true},
    {"digit after an unfinished year", u"03/07/8 ", 8, 0, Typed('9'), u"03/07/8 ", 8, 0, true, true},
    {"digit inside a four-digit year", u"03/07/1985", 8, 0, Typed('7'), u"03/07/1975", 9, 0, true, false},
    {"digit over a longer year", u"03/07/1985", 6, 4, Typed('2'), u"03/07/2 ", 7, 0, true, false},
    {"backspace in a longer year", u"03/07/1985", 10, 0, Pressed(Backspace), u"03/07/198", 9, 0, true, false},
    {"delete in a longer year", u"03/07/1985", 8, 0, Pressed(Delete), u"03/07/195", 8, 0, true, false},
    {"digit over a whole short text", u"3/7/85", 0, 6, Typed('1'), u"1 /  /  ", 1, 0, true, false},
    {"delete a longer text", u"03/07/1985", 0, 10, Pressed(Delete), kDateMask, 0, 0, true, false},
    {"digit before a slash", u"03/07/85", 2, 0, Typed('1'), u"03107/85", 3, 0, true, false},
    {"digit over a selection", u"03/07/85", 3, 2, Typed('1'), u"03/1 /  ", 4, 0, true, false},
    {"letter", u"03/07/85", 4, 1, Typed('a'), u"03/07/85", 4, 1, true, true},
    {"Ctrl+C", u"03/07/85", 4, 1, Typed(3), u"03/07/85", 4, 1, true, true},
    {"Ctrl+V", u"03/07/85", 4, 1, Typed(22), u"03/07/85", 4, 1, true, true},
    {"code ending like a digit", u"03/07/85", 4, 1, Typed(0x10035), u"03/07/85", 4, 1, true, true},
    {"backspace after a slash", u"03/07/85", 3, 0, Pressed(Backspace), u"00/07/85", 1, 0, true, false},
    {"backspace at the start", u"03/07/85", 0, 0, Pressed(Backspace), u"03/07/85", 0, 0, true, false},
    {"backspace on all", u"03/07/85", 0, 8, Pressed(Backspace), kDateMask, 0, 0, true, false},
    {"delete", u"03/07/85", 1, 0, Pressed(Delete), u"00/07/85", 1, 0, true, false},
    {"delete before a slash", u"03/07/85", 2, 0, Pressed(Delete), u"03007/85", 2, 0, true, false},
    {"delete at the end", u"03/07/85", 8, 0, Pressed(Delete), u"03/07/85", 8, 0, true, false},
    {"delete a selection", u"03/07/85", 3, 1, Pressed(Delete), u"03/  /  ", 3, 0, true, false},
    {"delete all", u"03/07/85", 0, 8, Pressed(Delete), kDateMask, 0, 0, true, false},
    {"left into the empty part", u"03/  /  ", 8, 0, Pressed(Left), u"03/  /  ", 3, 0, true, false},
    {"right into the empty part", u"03/  /  ", 4, 0, Pressed(Right), u"03/  /  ", 3, 0, true, false},
    {"right over a slash", u"03/07/85", 1, 2, Pressed(Right), u"03/07/85", 3, 0, true, false},
    {"left over a slash", u"03/07/85", 6, 0, Pressed(Left), u"03/07/85", 4, 0, true, false},
    {"left at the start", u"03/07/85", 1, 1, Pressed(Left), u"03/07/85", 1, 1, false, false},
    {"right at the end", u"03/07/85", 7, 1, Pressed(Right), u"03/07/85", 7, 1, false, false},
    {"up", u"03/07/85", 4, 1, Pressed(Up), u"03/07/85", 4, 1, true, false},
    {"down", u"03/07/85", 4, 1, Pressed(Down), u"03/07/85", 4, 1, true, false},
    {"digit into nothing", u"", 0, 0, Typed('5'), u"", 0, 0, true, false},
    {"delete on nothing", u"", 0, 0, Pressed(Delete), u"", 0, 0, true, false},
    {"digit past a short text", u"03/", 3, 0, Typed('5'), u"03/", 3, 0, true, false},
    {"digit with the caret far out", u"03/07", 100, 0, Typed('5'), u"03/07", 100, 0, true, false},
    {"backspace over a first slash", u"/3/07/85", 1, 0, Pressed(Backspace), u"/3/07/85", 1, 0, true, false},
    {"digit with negative caret", u"03/07/85", -3, -2, Typed('1'), u"13/07/85", 1, 0, true, false},
};

TEST(DateMaskSequences, AFourDigitYearIsTypedAsWritten)
{
    DateMaskBox box{std::u16string(kDateMask), 0, 0};
    for (char32_t digit : std::u32string_view(U"150319805"))
        Send(box, Typed(digit));
    EXPECT_EQ(box.text, u"15/03/1980");
    EXPECT_EQ(box.caret, 10);
}

struct PasteCase {
    std::u16string_view text;
    int caret, selection;
    std::u16string_view pasted;
    std::u16string_view expectedText;
    int expectedCaret;
    bool beep;
};

constexpr PasteCase kPasteCases[] = {
    {kDateMask, 0, 8, u"15031980", u"15/03/1980", 10, false},
    {kDateMask, 0, 8, u"150380", u"15/03/80", 8, false},
    {kDateMask, 0, 0, u"3/7/85", u"03/07/85", 8, false},
    {u"03/07/85", 0, 8, u" 15.03.1980\n", u"15/03/1980", 10, false},
    {u"03/07/85", 0, 8, u"1-1-2000", u"01/01/2000", 10, false},
    {u"03/07/85", 0, 8, u"nato il 15/03/80", u"15/03/80", 8, false},
    {u"03/07/85", 3, 0, u"1", u"03/17/85", 4, false},
    {u"03/07/85", 6, 2, u"1985", u"03/07/1985", 10, false},
    {u"03/07/85", 0, 8, u"abc/", u"03/07/85", 0, true},
    {u"03/07/1985", 10, 0, u"1", u"03/07/1985", 10, true},
    {u"03/07/85", 0, 8, u"15031980 1", u"03/07/85", 0, true},
};

// A paste types its digits; a paste that cannot be typed whole changes
// nothing.
TEST(DateMaskPastes, TypeTheirDigits)
{
    for (const PasteCase& c : kPasteCases) {
        SCOPED_TRACE(std::string(c.pasted.begin(), c.pasted.end()));
        DateMaskBox box{std::u16string(c.text), c.caret, c.selection};
        const DateMaskKeyResult result = DateMaskPaste(box, c.pasted, kDateMask);
        EXPECT_EQ(box.text, c.expectedText);
        if (!c.beep) {
            EXPECT_EQ(box.caret, c.expectedCaret);
        }
        EXPECT_TRUE(result.consumed);
        EXPECT_EQ(result.beep, c.beep);
    }
}

TEST(DateMaskShape, TwoOrFourDigitYears)
{
    const std::pair<std::u16string_view, bool> texts[] = {
        {kDateMask, true},       {u"03/07/85", true},  {u"03/ 7/8 ", true},
        {u"03/07/1985", true},   {u"03/07/198", true}, {u"03/07/8 5", false},
        {u"03/07/19851", false}, {u"03-07-85", false}, {u"03/07/8", false},
        {u"a3/07/85", false},    {u"", false}};
    for (const auto& [text, fits] : texts)
        EXPECT_EQ(FitsDateMask(text, kDateMask), fits) << std::string(text.begin(), text.end());
    EXPECT_EQ(LongestDateText(kDateMask), 10u);
    EXPECT_EQ(LongestDateText(kDateMask.substr(0, 4)), 4u);
}

TEST(DateMaskKeys, EditTheTextInPlace)
{
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(c.what);
        DateMaskBox box{std::u16string(c.text), c.caret, c.selection};
        const DateMaskKeyResult result = Send(box, c.key);
        EXPECT_EQ(box.text, c.expectedText);
        EXPECT_EQ(box.caret, c.expectedCaret);
        EXPECT_EQ(box.selectionLength, c.expectedSelection);
        EXPECT_EQ(result.consumed, c.consumed);
        EXPECT_EQ(result.beep, c.beep);
    }
}

// Whatever the box and key, a changed box has its caret inside the text, no
// selection, and its old length, or the mask's, or one character more up to
// the longest text, or fewer characters beyond the mask.
TEST(DateMaskKeys, AnyBoxAndKeyLeavesAConsistentBox)
{
    const std::u16string_view texts[] = {u"", u"0", u"/", u"03/", u"/3/07/85", u"03/  /  ", u"03/07/1985"};
    const std::u16string_view masks[] = {kDateMask, kDateMask.substr(0, 4), u""};
    const int positions[] = {INT_MIN, -1, 0, 1, 3, 7, 8, 10, 11, INT_MAX};
    const Key keys[] = {Pressed(Left),   Pressed(Right),     Pressed(Up),    Pressed(Down),
                        Pressed(Delete), Pressed(Backspace), Typed(0),       Typed('/'),
                        Typed('0'),      Typed('9'),         Typed(0x10035), Typed(0xFFFFFFFF)};
    for (std::u16string_view mask : masks)
        for (std::u16string_view text : texts)
            for (int caret : positions)
                for (int selection : positions)
                    for (Key key : keys) {
                        const DateMaskBox before{std::u16string(text), caret, selection};
                        DateMaskBox box = before;
                        const DateMaskKeyResult result = Send(box, key, mask);
                        ASSERT_TRUE(result.consumed || key.pressed);
                        if (box.text == before.text && box.caret == caret && box.selectionLength == selection)
                            continue;
                        ASSERT_TRUE(result.consumed && box.caret >= 0
                                    && static_cast<std::size_t>(box.caret) <= box.text.size()
                                    && box.selectionLength == 0
                                    && (box.text.size() == text.size() || box.text.size() == mask.size()
                                        || (box.text.size() == text.size() + 1
                                            && box.text.size() <= LongestDateText(mask))
                                        || (text.size() > mask.size() && box.text.size() >= mask.size()
                                            && box.text.size() < text.size())))
                            << "key " << (key.pressed ? static_cast<int>(*key.pressed) : -1) << " typed "
                            << static_cast<std::uint32_t>(key.typed) << " caret " << caret << " selection "
                            << selection;
                    }
}

}  // namespace
}  // namespace cf
