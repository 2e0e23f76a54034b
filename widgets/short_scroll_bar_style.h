// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace cf::widgets {

// The application's style for a scroll bar too short for its usual arrow
// buttons and thumb (the archive list's is 43 pixels high): the arrows take
// at most a quarter of its length each and the thumb may shrink to an eighth,
// so that the thumb has room to move and dragging it scrolls in proportion.
// Longer scroll bars look as the style draws them.
class ShortScrollBarStyle : public QProxyStyle {
    Q_OBJECT

public:
    ShortScrollBarStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace cf::widgets
