// SPDX-License-Identifier: MIT
#include "windows/generation/missing_datum.h"

#include <QLineEdit>

#include "widgets/form_controls.h"
#include "windows/generation/date_box.h"

namespace cf::generation {

bool HoldsNoDatum(const QLineEdit& box)
{
    return box.text().trimmed().isEmpty() || box.text() == DateMask();
}

std::optional<MissingDatum> FirstMissingDatum(const std::array<QLineEdit*, 5>& boxes)
{
    static const QString kCaptions[] = {QStringLiteral("Cognome"), QStringLiteral("Nome"),
                                        QStringLiteral("Sesso"), QStringLiteral("Data di nascita"),
                                        QStringLiteral("Luogo")};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (HoldsNoDatum(*boxes[i]))
            return MissingDatum{boxes[i], widgets::kMissingData + QStringLiteral(": ") + kCaptions[i]};
    return std::nullopt;
}

}  // namespace cf::generation
