// SPDX-License-Identifier: MIT
#include "engine/date_mask.h"

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
// character at the same position, as far as both texts reach.
void ResetToMask(std::u16string& text, std::size_t position, std::u16string_view mask)
{
    const std::size_t end = std::min(text.size(), mask.size());
    for (std::size_t i = std::max<std::size_t>(position, 1); i <= end; ++i)
        text[i - 1] = mask[i - 1];
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
    else if (position > mask.size() || !HasPosition(box.text, position))
        return kConsumed;
    else if (selection.length == 0)
        box.text[position - 1] = u'0';
    else
        ResetToMask(box.text, position, mask);
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
    box.text[position - 1] = u'0';
    PlaceCaret(box, position - 1);
    return kConsumed;
}

DateMaskKeyResult TypeDigit(DateMaskBox& box, char16_t digit, std::u16string_view mask)
{
    const Selection selection = ClampedSelection(box);
    // At the end of the mask the last character is overwritten.
    const std::size_t position = std::min(selection.caret + 1, mask.size());
    // A text shorter than the mask may have no such position: leave it as is.
    if (!HasPosition(box.text, position))
        return kConsumed;
    if (selection.length > 0)
        ResetToMask(box.text, position, mask);
    box.text[position - 1] = digit;
    PlaceCaret(box, CharAt(box.text, position + 1) == u'/' ? position + 1 : position);
    return kConsumed;
}

}  // namespace

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

}  // namespace cf
