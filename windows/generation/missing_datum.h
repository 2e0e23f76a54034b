// SPDX-License-Identifier: MIT
#pragma once
// A person's datum missing from the boxes that hold it: what Generate, and
// the verification window's comparison, refuse before anything else.

#include <QString>

#include <array>
#include <optional>

class QLineEdit;

namespace cf::generation {

// Whether a box holds nothing but blanks, or, for a date box, the mask.
bool HoldsNoDatum(const QLineEdit& box);

struct MissingDatum {
    QLineEdit* box;
    QString message;  // "Manca almeno un dato fondamentale: Sesso"
};

// The first of a person's boxes (surname, first name, sex, date and place
// of birth, in this order) that holds no datum, with the message that names
// it; nothing when every box holds one.
std::optional<MissingDatum> FirstMissingDatum(const std::array<QLineEdit*, 5>& boxes);

}  // namespace cf::generation
