// SPDX-License-Identifier: MIT
#include "engine/places/place_names.h"

#include <algorithm>

#include "engine/text/latin_letters.h"
#include "engine/text/utf8.h"

namespace cf {
namespace {

bool IsBlank(char32_t c)
{
    return c == ' ' || c == '\t' || c == 0xA0;
}

bool IsApostrophe(char32_t c)
{
    return c == '\'' || c == '`' || c == 0x2019 || c == 0xB4;
}

bool IsVowel(char c)
{
    return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U';
}

// The upper-case letters a character stands for: itself for A-Z and a-z,
// its base letters for an accented Latin letter; empty for anything else.
std::string_view LettersOf(char32_t c, char (&ascii)[1])
{
    if (c >= 'a' && c <= 'z')
        c -= 'a' - 'A';
    if (c >= 'A' && c <= 'Z') {
        ascii[0] = static_cast<char>(c);
        return {ascii, 1};
    }
    return BaseLettersOf(c);
}

// Writes the folded text into a buffer, refusing to run past its end.
class FoldedText {
public:
    explicit FoldedText(std::span<char> buffer) : buffer_(buffer) {}

    bool Append(std::string_view text)
    {
        if (pendingBlank_ && size_ > 0) {
            if (!Put(' '))
                return false;
        }
        pendingBlank_ = false;
        for (char c : text)
            if (!Put(c))
                return false;
        return true;
    }
    void Blank() { pendingBlank_ = true; }
    std::string_view View() const { return {buffer_.data(), size_}; }

private:
    bool Put(char c)
    {
        if (size_ == buffer_.size())
            return false;
        buffer_[size_++] = c;
        return true;
    }

    std::span<char> buffer_;
    std::size_t size_ = 0;
    bool pendingBlank_ = false;
};

// Whether the text is already in the table's form: characters of table
// names only, single blanks between words.
bool IsFolded(std::string_view text)
{
    if (text.empty() || text.front() == ' ' || text.back() == ' ')
        return false;
    char previous = 0;
    for (char c : text) {
        const bool allowed = (c >= 'A' && c <= 'Z') || c == '\'' || c == '-' || c == '.' || c == '('
                             || c == ')' || (c == ' ' && previous != ' ');
        if (!allowed)
            return false;
        previous = c;
    }
    return true;
}

}  // namespace

std::string_view FoldPlaceName(std::string_view text, std::span<char> buffer)
{
    if (IsFolded(text))
        return text.size() <= buffer.size() ? text : std::string_view();
    constexpr char32_t kEnd = 0x110000;  // past every character
    FoldedText folded(buffer);
    std::size_t pos = 0;
    auto read = [&] { return pos < text.size() ? NextUtf8Character(text, pos) : kEnd; };
    char32_t next = read();
    while (next != kEnd) {
        const char32_t c = next;
        next = read();
        if (c == kInvalidCharacter)
            return {};
        char ascii[1];
        const std::string_view letters = LettersOf(c, ascii);
        bool ok = true;
        if (!letters.empty()) {
            ok = folded.Append(letters);
            // An accented vowel ending a word is written vowel + apostrophe.
            char nextAscii[1];
            const bool accented = c >= 0x80;
            if (ok && accented && letters.size() == 1 && IsVowel(letters[0])
                && (next == kEnd || LettersOf(next, nextAscii).empty()))
                ok = folded.Append("'");
        } else if (IsBlank(c)) {
            folded.Blank();
        } else if (IsApostrophe(c)) {
            ok = folded.Append("'");
        } else if (c < 0x80 && c >= 0x20 && c != 0x7F) {
            const char plain = static_cast<char>(c);
            ok = folded.Append({&plain, 1});
        } else {
            return {};
        }
        if (!ok)
            return {};
    }
    return folded.View();
}

std::string_view PlaceNameKey(std::string_view folded, std::span<char> buffer)
{
    auto isLetter = [](char c) { return c >= 'A' && c <= 'Z'; };
    auto dropped = [&](std::size_t i) {
        return folded[i] == '\'' && i > 0 && IsVowel(folded[i - 1])
               && (i + 1 == folded.size() || !isLetter(folded[i + 1]));
    };
    std::size_t i = 0;
    while (i < folded.size() && !dropped(i))
        ++i;
    if (i == folded.size())
        return folded;
    if (folded.size() > buffer.size())
        return {};
    std::size_t size = 0;
    for (std::size_t j = 0; j < folded.size(); ++j)
        if (!dropped(j))
            buffer[size++] = folded[j];
    return {buffer.data(), size};
}

PlaceQuery SplitProvince(std::string_view foldedName)
{
    const std::size_t size = foldedName.size();
    auto isLetter = [](char c) { return c >= 'A' && c <= 'Z'; };
    if (size < 6 || foldedName.substr(size - 5, 2) != " (" || foldedName[size - 1] != ')'
        || !isLetter(foldedName[size - 3]) || !isLetter(foldedName[size - 2]))
        return {foldedName, {}};
    return {foldedName.substr(0, size - 5), foldedName.substr(size - 3, 2)};
}

std::string_view SanremoAsTheTableWritesIt(std::string_view typedPlace)
{
    constexpr std::string_view kTwoWords = "SAN REMO";
    const auto sameLetter = [](char typed, char upper) {
        return typed == upper || (typed >= 'a' && typed <= 'z' && typed - 'a' + 'A' == upper);
    };
    const bool twoWords = typedPlace.size() == kTwoWords.size()
                          && std::equal(typedPlace.begin(), typedPlace.end(), kTwoWords.begin(), sameLetter);
    return twoWords ? std::string_view("SANREMO") : typedPlace;
}

}  // namespace cf
