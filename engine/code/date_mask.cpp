// SPDX-License-Identifier: MIT
#include "engine/code/date_mask.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace cf {
namespace {

constexpr DateMaskKeyResult kPassedOn{false, false};
constexpr DateMaskKeyResult kConsumed{true, false};
constexpr DateMaskKeyResult kRefused{true, true};

// Caret and selection length of the box, brought within its text.
struct Selection {
    std::size_t caret;
    std::size_t length;
};

Selection ClampedSelection(const DateMaskBox& box)
{
    const std::size_t size = box.text.size();
    const std::size_t caret = box.caret <= 0 ? 0 : std::min(static_cast<std::size_t>(box.caret), size);
    const std::size_t length =
        box.selectionLength <= 0 ? 0 : std::min(static_cast<std::size_t>(box.selectionLength), size - caret);
    return {caret, length};
}

bool SelectsWholeText(const Selection& selection, std::u16string_view text)
{
    return selection.caret == 0 && selection.length > 0 && selection.length == text.size();
}

bool HasPosition(std::u16string_view text, std::size_t position)
{
    return position >= 1 && position <= text.size();
}

// The character at a position counted from 1, or 0 when the text has none there.
char16_t CharAt(std::u16string_view text, std::size_t position)
{
    return HasPosition(text, position) ? text[position - 1] : u'\0';
}

// Gives every character from position (from 1) to the end the mask's
// character at the same position, as far as both texts reach; the
// characters beyond the mask (the longer year's) go.
void ResetToMask(std::u16string& text, std::size_t position, std::u16string_view mask)
{
    const std::size_t from = std::max<std::size_t>(position, 1);
    const std::size_t end = std::min(text.size(), mask.size());
    for (std::size_t i = from; i <= end; ++i)
        text[i - 1] = mask[i - 1];
    if (text.size() > mask.size())
        text.resize(std::max(mask.size(), from - 1));
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Whether the mask ends with a two-character year after a slash.
bool HasYearField(std::u16string_view mask)
{
    return mask.size() >= 3 && mask.substr(mask.size() - 3) == u"/  ";
}

// Whether a digit typed at the end of the text lengthens its year: the text
// holds the whole mask, its year holds digits only and is not yet four long.
bool CanLengthenYear(std::u16string_view text, std::u16string_view mask)
{
    if (!HasYearField(mask) || text.size() < mask.size() || text.size() >= LongestDateText(mask))
        return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(mask.size() - 2), text.end(), IsDigit);
}

// Setting the caret drops the selection, as in the text box.
void PlaceCaret(DateMaskBox& box, std::size_t caret)
{
    box.caret = static_cast<int>(std::min<std::size_t>(caret, INT_MAX));
    box.selectionLength = 0;
}

DateMaskKeyResult MoveCaret(DateMaskBox& box, bool right, std::u16string_view mask)
{
    const std::u16string_view text = box.text;
    const std::size_t caret = ClampedSelection(box).caret;
    if (!right && caret == 0)
        return kPassedOn;
    const std::size_t target = right ? caret + 1 : caret - 1;
    // At the ends the box moves the caret by itself.
    if (target < 1 || target >= mask.size() || target > text.size())
        return kPassedOn;

    if (CharAt(text, target) == u' ') {
        // Into the empty part: to the first unfilled position.
        const auto unfilled = std::find_if(text.begin(), text.end(), [](char16_t c) { return c < u'/'; });
        PlaceCaret(box, static_cast<std::size_t>(unfilled - text.begin()));
    } else if (CharAt(text, target + 1) == u'/') {
        PlaceCaret(box, right ? target + 1 : target - 1);
    } else {
        PlaceCaret(box, target);
    }
    return kConsumed;
}

DateMaskKeyResult DeleteNext(DateMaskBox& box, std::u16string_view mask)
{
    const Selection selection = ClampedSelection(box);
    const std::size_t position = selection.caret + 1;
    if (SelectsWholeText(selection, box.text))
        box.text.assign(mask);
    else if (!HasPosition(box.text, position))
        return kConsumed;
    else if (selection.length > 0)
        ResetToMask(box.text, position, mask);
    else if (position > mask.size())
        box.text.erase(position - 1, 1);
    else
        box.text[position - 1] = u'0';
    PlaceCaret(box, selection.caret);
    return kConsumed;
}

DateMaskKeyResult DeletePrevious(DateMaskBox& box, std::u16string_view mask)
{
    const Selection selection = ClampedSelection(box);
    if (SelectsWholeText(selection, box.text)) {
        box.text.assign(mask);
        PlaceCaret(box, 0);
        return kConsumed;
    }
    std::size_t position = selection.caret;
    if (CharAt(box.text, position) == u'/')
        --position;
    // At the start, or a slash in the first position: nothing to clear.
    if (!HasPosition(box.text, position))
        return kConsumed;
    if (position > mask.size())
        box.text.erase(position - 1, 1);
    else
        box.text[position - 1] = u'0';
    PlaceCaret(box, position - 1);
    return kConsumed;
}

DateMaskKeyResult TypeDigit(DateMaskBox& box, char16_t digit, std::u16string_view mask)
{
    const Selection selection = ClampedSelection(box);
    const std::size_t position = selection.caret + 1;
    std::u16string text = box.text;
    // Typing over the whole text starts from the mask, whatever text was
    // there.
    if (SelectsWholeText(selection, text))
        text.assign(mask);
    else if (selection.length > 0)
        ResetToMask(text, position, mask);
    if (HasPosition(text, position)) {
        text[position - 1] = digit;
    } else if (position == text.size() + 1 && CanLengthenYear(text, mask)) {
        text.push_back(digit);
    } else if (position > mask.size()) {
        // At the end of a full text: no digit already typed is overwritten.
        return kRefused;
    } else {
        // A text shorter than the mask has no such position: leave it as is.
        return kConsumed;
    }
    box.text = std::move(text);
    PlaceCaret(box, CharAt(box.text, position + 1) == u'/' ? position + 1 : position);
    return kConsumed;
}

// The digits to type for a pasted text: those of a date written with
// separators, its day and month with two digits each, else all its digits.
std::u16string PastedDigits(std::u16string_view pasted)
{
    std::u16string fields[3];
    std::size_t field = 0;
    bool date = true;
    std::u16string all;
    for (char16_t c : pasted) {
        if (IsDigit(c)) {
            all.push_back(c);
            if (field < 3)
                fields[field].push_back(c);
        } else if ((c == u'/' || c == u'-' || c == u'.') && field < 3 && !fields[field].empty()) {
            ++field;
        } else if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') {
            date = false;
        }
    }
    date = date && field == 2 && fields[0].size() <= 2 && fields[1].size() <= 2
           && (fields[2].size() == 2 || fields[2].size() == 4);
    if (!date)
        return all;
    for (std::size_t i = 0; i < 2; ++i)
        if (fields[i].size() == 1)
            fields[i].insert(fields[i].begin(), u'0');
    return fields[0] + fields[1] + fields[2];
}

}  // namespace

std::size_t LongestDateText(std::u16string_view mask)
{
    return HasYearField(mask) ? mask.size() + 2 : mask.size();
}

bool FitsDateMask(std::u16string_view text, std::u16string_view mask)
{
    if (text.size() < mask.size() || text.size() > LongestDateText(mask))
        return false;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const bool fits = mask[i] == u'/' ? text[i] == u'/' : text[i] == u' ' || IsDigit(text[i]);
        if (!fits)
            return false;
    }
    // A longer year is digits only.
    return text.size() == mask.size()
           || std::all_of(text.begin() + static_cast<std::ptrdiff_t>(mask.size() - 2), text.end(), IsDigit);
}

DateMaskKeyResult DateMaskKey(DateMaskBox& box, MaskKey key, std::u16string_view mask)
{
    switch (key) {
    case MaskKey::Up:
    case MaskKey::Down:
        return kConsumed;
    case MaskKey::Left:
        return MoveCaret(box, false, mask);
    case MaskKey::Right:
        return MoveCaret(box, true, mask);
    case MaskKey::Delete:
        return DeleteNext(box, mask);
    case MaskKey::Backspace:
        return DeletePrevious(box, mask);
    }
    return kPassedOn;
}

DateMaskKeyResult DateMaskCharacter(DateMaskBox& box, char32_t character, std::u16string_view mask)
{
    if (character >= U'0' && character <= U'9')
        return TypeDigit(box, static_cast<char16_t>(character), mask);
    return kRefused;
}

DateMaskKeyResult DateMaskPaste(DateMaskBox& box, std::u16string_view pasted, std::u16string_view mask)
{
    const std::u16string digits = PastedDigits(pasted);
    if (digits.empty())
        return kRefused;
    DateMaskBox typed = box;
    for (char16_t digit : digits) {
        const DateMaskKeyResult result = TypeDigit(typed, digit, mask);
        if (result.beep)
            return kRefused;
    }
    box = std::move(typed);
    return kConsumed;
}

}  // namespace cf
