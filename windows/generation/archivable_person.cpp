// SPDX-License-Identifier: MIT
#include "windows/generation/archivable_person.h"

#include "engine/text/cp1252.h"
#include "engine/text/latin_letters.h"
#include "engine/text/utf8.h"

namespace cf::generation {

std::string ArchivableText(std::string_view text)
{
    std::string kept;
    std::string encoded;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t character = NextUtf8Character(text, i);
        if (character == kInvalidCharacter)
            continue;
        const std::string_view written = text.substr(start, i - start);
        encoded.clear();
        if (AppendUtf8AsCp1252(written, encoded))
            kept.append(written);
        else
            kept.append(BaseLettersOf(character));
    }
    return kept;
}

Person ArchivablePerson(Person person)
{
    for (std::string* field : {&person.surname, &person.firstName, &person.place})
        *field = ArchivableText(*field);
    return person;
}

}  // namespace cf::generation
