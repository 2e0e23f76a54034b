// SPDX-License-Identifier: MIT
#include "windows/frame/italian_date.h"

#include <array>

namespace cf::frame {
namespace {

// Monday first, as QDate::dayOfWeek counts (1 = Monday).
const std::array<QString, 7> kDays = {QStringLiteral("Lunedì"),    QStringLiteral("Martedì"),
                                      QStringLiteral("Mercoledì"), QStringLiteral("Giovedì"),
                                      QStringLiteral("Venerdì"),   QStringLiteral("Sabato"),
                                      QStringLiteral("Domenica")};

const std::array<QString, 12> kMonths = {
    QStringLiteral("Gennaio"), QStringLiteral("Febbraio"), QStringLiteral("Marzo"),
    QStringLiteral("Aprile"),  QStringLiteral("Maggio"),   QStringLiteral("Giugno"),
    QStringLiteral("Luglio"),  QStringLiteral("Agosto"),   QStringLiteral("Settembre"),
    QStringLiteral("Ottobre"), QStringLiteral("Novembre"), QStringLiteral("Dicembre")};

}  // namespace

QString ItalianLongDate(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1 %2 %3 %4")
        .arg(kDays.at(static_cast<std::size_t>(date.dayOfWeek() - 1)))
        .arg(date.day())
        .arg(kMonths.at(static_cast<std::size_t>(date.month() - 1)))
        .arg(date.year());
}

}  // namespace cf::frame
