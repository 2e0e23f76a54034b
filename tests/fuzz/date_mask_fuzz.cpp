// SPDX-License-Identifier: MIT
// The date-mask keys over arbitrary (text, caret, selection, key): the first
// bytes choose a key pressed or a character typed, which one, the caret and
// the selection; the rest is the text.
// The text keeps its length, except when it takes the mask's length, when a
// digit lengthens the year (up to the longest text) or when characters beyond
// the mask go.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "engine/code/date_mask.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return 0;
    constexpr cf::MaskKey kKeys[] = {cf::MaskKey::Left, cf::MaskKey::Right,  cf::MaskKey::Up,
                                     cf::MaskKey::Down, cf::MaskKey::Delete, cf::MaskKey::Backspace};
    const bool pressed = data[0] & 1;
    std::uint16_t key;
    std::int16_t caret, selection;
    std::memcpy(&key, data + 1, 2);
    std::memcpy(&caret, data + 3, 2);
    std::memcpy(&selection, data + 5, 2);
    const std::u16string_view mask = data[7] & 1 ? cf::kDateMask : cf::kDateMask.substr(0, data[7] % 8);

    cf::DateMaskBox box;
    for (std::size_t i = 8; i + 1 < size; i += 2)
        box.text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    box.caret = caret;
    box.selectionLength = selection;
    const std::size_t before = box.text.size();

    const cf::DateMaskKeyResult result = pressed ? cf::DateMaskKey(box, kKeys[key % std::size(kKeys)], mask)
                                                 : cf::DateMaskCharacter(box, key, mask);
    const std::size_t after = box.text.size();
    const bool lengthened = after == before + 1 && after <= cf::LongestDateText(mask);
    const bool shortened = before > mask.size() && after >= mask.size() && after < before;
    if (after != before && after != mask.size() && !lengthened && !shortened)
        std::abort();
    if (result.beep && !result.consumed)
        std::abort();

    // The same text pasted over the whole of an empty box leaves one of the
    // mask's shape.
    cf::DateMaskBox pastedInto{std::u16string(mask), 0, static_cast<int>(mask.size())};
    const std::u16string pasted(box.text);
    cf::DateMaskPaste(pastedInto, pasted, mask);
    if (!cf::FitsDateMask(pastedInto.text, mask) && pastedInto.text != mask)
        std::abort();
    return 0;
}
