// SPDX-License-Identifier: MIT
#pragma once
// Dates written out in Italian, whatever the system's language.

#include <QDate>
#include <QString>

namespace cf::frame {

// The long form with every word capitalised, e.g. "Martedì 8 Dicembre 2026".
// Empty for an invalid date.
QString ItalianLongDate(const QDate& date);

}  // namespace cf::frame
