// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The widgets' pictures, compiled into the program as Qt resources.
namespace cf::widget_images {

// 250 x 75 toolbar strip: 10 x 3 cells of 25 x 25 pixels.
inline const QString kToolbarStrip = QStringLiteral(":/widgets/toolbar_strip.png");
// 16 x 16 icons of the status bar panes.
inline const QString kTitlePaneIcon = QStringLiteral(":/widgets/status_title.png");
inline const QString kDatePaneIcon = QStringLiteral(":/widgets/status_date.png");

}  // namespace cf::widget_images
