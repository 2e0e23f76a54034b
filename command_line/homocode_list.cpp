// SPDX-License-Identifier: MIT
#include "command_line/homocode_list.h"

#include "command_line/code_check.h"
#include "command_line/upper_case.h"
#include "engine/code/homocodes.h"
#include "engine/code/verification.h"

namespace cf {

HomocodeList ListHomocodes(std::string_view given)
{
    const std::string code = UpperCase(TrimCode(given));
    HomocodeList list;
    if (!IsValidCodiceFiscale(code)) {
        list.refusal = "Il codice non è un Codice Fiscale formalmente corretto.";
        return list;
    }
    const std::optional<FiscalCode> original = OriginalCode(code);
    if (!original) {
        list.refusal = "Il codice non ha cifre (o lettere di omocodia) dove il Codice Fiscale le ha.";
        return list;
    }
    for (int i = 0; i < kHomocodeCount; ++i)
        list.codes.push_back(Homocode(*original, i).str());
    return list;
}

}  // namespace cf
